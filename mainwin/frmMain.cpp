// The main window's controls, start-up and shutdown.
#include "frmMain.h"

#include "RegOp.h"
#include "SpanwaveQuickset.h"
#include "appinfo.h"
#include "clsGenStatus.h"
#include "clock.h"
#include "commonprocs.h"
#include "errorhandler.h"
#include "filehandler.h"
#include "forms.h"
#include "frmIOlist.h"
#include "globals.h"
#include "iolog.h"
#include "qtserialcomm.h"
#include "store.h"
#include "tpdrport.h"
#include "vbconv.h"
#include "vberror.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

using Forms::Q;

namespace {

frmMain* g_default = nullptr;

// The value labels of the status and voltage frames.
constexpr int ValueWidth = 170;

using Forms::ArrayName;
using Forms::Named;

QComboBox* NewCombo(const QString& name, QWidget* parent)
{
    auto* combo = Named(new QComboBox(parent), name);
    combo->setMinimumWidth(150);
    combo->setMaxVisibleItems(16);
    return combo;
}

// A sunken value field that shows a text on a back colour.
QLabel* MakeValueLabel(QLabel* label)
{
    label->setStyleSheet(QStringLiteral("QLabel { border: 1px solid #9a9a9a; border-radius: 2px; }"));
    label->ensurePolished(); // the style sheet's palette first, then the back colour
    label->setMinimumWidth(ValueWidth);
    label->setMinimumHeight(22);
    // A value is one line: its box never stretches down a frame.
    label->setSizePolicy(label->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    label->setContentsMargins(4, 0, 4, 0);
    Forms::SetBackColor(label, Forms::vbWhite);
    return label;
}

// The rows of a scheme's frame sit at its top, the room left over below them.
void RowsAtTop(QGridLayout* grid) { grid->setRowStretch(grid->rowCount(), 1); }

} // namespace

frmMain* frmMain::Default() { return g_default; }

frmMain::frmMain(std::unique_ptr<Platform::SerialComm> tpdrPort, std::unique_ptr<Platform::SerialComm> antPort,
                 QWidget* parent)
    : QMainWindow(parent), comTpdr(std::move(tpdrPort)), comANT(std::move(antPort))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Q(AppTitleVersion()));
    if (!comTpdr) {
        comTpdr = std::make_unique<Platform::QtSerialComm>();
    }
    if (!comANT) {
        comANT = std::make_unique<Platform::QtSerialComm>();
    }
    SetTpdrPort(comTpdr.get());
    SetANTPort(comANT.get());

    BuildMenus();
    BuildControls();
    ConnectEvents();
    follower_.emplace([this] { UpdateControls(); });
    g_default = this;
}

frmMain::~frmMain()
{
    follower_.reset();
    UnloadOnce();
    if (ioList_) {
        // The menu it would untick goes before it.
        ioList_->OnUnload = nullptr;
        delete ioList_;
    }
    if (HaveTpdrPort() && &::comTpdr() == comTpdr.get()) {
        SetTpdrPort(nullptr);
    }
    if (HaveANTPort() && &::comANT() == comANT.get()) {
        SetANTPort(nullptr);
    }
    if (g_default == this) {
        g_default = nullptr;
    }
}

// ------------------------------------------------------------------ controls

void frmMain::BuildMenus()
{
    auto item = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        menus_.push_back(action);
        return action;
    };
    auto menu = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(QString::fromLatin1(caption));
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        menus_.push_back(m->menuAction());
        return m;
    };

    mnuSetup = menu("mnuSetup", "S&etup");
    mnuComms = item(mnuSetup, "mnuComms", "&Serial Port Settings...");
    mnuSetupUsermode = item(mnuSetup, "mnuSetupUsermode", "&User Mode...");

    mnuDiagnostics = menu("mnuDiagnostics", "&Diagnostics");
    mnuPing = item(mnuDiagnostics, "mnuPing", "Responder &Trigger (Ping) Test...");
    mnuFreqTest = item(mnuDiagnostics, "mnuFreqTest", "Channel &Range Test...");
    mnuDepthTest = item(mnuDiagnostics, "mnuDepthTest", "Channel &Depth Test...");
    mnuTransceiver = item(mnuDiagnostics, "mnuTransceiver", "Tr&ansponder-to-Transponder Test...");
    mnuCommands = item(mnuDiagnostics, "mnuCommands", "&Commands...");
    mnuBattLife = item(mnuDiagnostics, "mnuBattLife", "Battery &Life...");
    mnuDiagnosticsTankTest = item(mnuDiagnostics, "mnuDiagnosticsTankTest", "&VTL Tank Test...");
    mnuDiagnostics->addSeparator();
    mnuDiagnosticsReset = item(mnuDiagnostics, "mnuDiagnosticsReset", "R&eset Transponder...");
    mnuDiagnosticsInitialise = item(mnuDiagnostics, "mnuDiagnosticsInitialise", "&Initialise Transponder");
    mnuDiagnostics->addSeparator();
    mnuDiagnosticsIO = item(mnuDiagnostics, "mnuDiagnosticsIO", "Display Beacon &Serial IO...");
    mnuDiagnosticsIO->setCheckable(true);

    mnuCalibration = menu("mnuCalibration", "&Calibration");
    mnuCalChanSelectors = item(mnuCalibration, "mnuCalChanSelectors", "&Channel Selectors...");

    mnuAbout = menuBar()->addAction(QStringLiteral("&About"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    menus_.push_back(mnuAbout);
}

void frmMain::BuildControls()
{
    auto* central = Named(new QWidget(this), QStringLiteral("frmMainClient"));
    setCentralWidget(central);

    // General status
    fraStatus = Named(new QGroupBox(QStringLiteral("General Status"), central), QStringLiteral("fraStatus"));
    lblFirmware = MakeValueLabel(Named(new QLabel(fraStatus), "lblFirmware"));
    lblTxFirmware = MakeValueLabel(Named(new QLabel(fraStatus), "lblTxFirmware"));
    lblDepthOnOff = MakeValueLabel(Named(new QLabel(fraStatus), "lblDepthOnOff"));
    lblTypeNumber = MakeValueLabel(Named(new QLabel(fraStatus), "lblTypeNumber"));
    lblSerialNumber = MakeValueLabel(Named(new QLabel(fraStatus), "lblSerialNumber"));
    cmdStatus = Forms::NewButton(fraStatus, "cmdStatus", QStringLiteral("Get &Status"));
    cmdDepth =
        Forms::NewButton(fraStatus, "cmdDepth", QStringLiteral("&More..."), QStringLiteral("Access Depth settings"));
    {
        auto* grid = new QGridLayout(fraStatus);
        const std::pair<const char*, QLabel*> rows[] = {{"Firmware", lblFirmware},
                                                        {"Tx Firmware", lblTxFirmware},
                                                        {"Depth Status", lblDepthOnOff},
                                                        {"Type Number", lblTypeNumber},
                                                        {"Serial Number", lblSerialNumber}};
        int row = 0;
        for (const auto& [caption, value] : rows) {
            QLabel* title = Named(new QLabel(QString::fromLatin1(caption), fraStatus), "");
            title->setObjectName(value->objectName() + QStringLiteral("Caption"));
            controls_.push_back(title);
            grid->addWidget(title, row, 0);
            grid->addWidget(value, row, 1);
            ++row;
        }
        // Tab takes the layout's order: the frame's own command first, then More...
        grid->addWidget(cmdStatus, row, 1);
        grid->addWidget(cmdDepth, 2, 2);
        grid->setColumnStretch(1, 1);
    }

    // Battery voltage
    fraVoltage = Named(new QGroupBox(QStringLiteral("Battery Voltage"), central), QStringLiteral("fraVoltage"));
    lblVoltage = MakeValueLabel(Named(new QLabel(fraVoltage), "lblVoltage"));
    cmdVoltage = Forms::NewButton(fraVoltage, "cmdVoltage", QStringLiteral("Get &Voltage"));
    {
        auto* row = new QHBoxLayout(fraVoltage);
        row->addWidget(lblVoltage, 1);
        row->addWidget(cmdVoltage);
    }

    // Navigation panel
    fraSetup = Named(new QGroupBox(QStringLiteral("Acoustic Navigation"), central), QStringLiteral("fraSetup"));
    fraChanScheme = Named(new QGroupBox(QStringLiteral("Nav Scheme"), fraSetup), QStringLiteral("fraChanScheme"));
    optChanScheme[1] = Named(new QRadioButton(QStringLiteral("&Orvane"), fraChanScheme), ArrayName("optChanScheme", 1));
    optChanScheme[2] = Named(new QRadioButton(QStringLiteral("HPR"), fraChanScheme), ArrayName("optChanScheme", 2));
    fraReplyType = Named(new QGroupBox(QStringLiteral("Reply Type"), fraSetup), QStringLiteral("fraReplyType"));
    optReplyType[1] = Named(new QRadioButton(QStringLiteral(" &Tone"), fraReplyType), ArrayName("optReplyType", 1));
    optReplyType[2] =
        Named(new QRadioButton(QStringLiteral(" &Spanwave") + QChar(0x2122), fraReplyType), ArrayName("optReplyType", 2));
    {
        auto* l = new QVBoxLayout(fraChanScheme);
        l->addWidget(optChanScheme[1]);
        l->addWidget(optChanScheme[2]);
        auto* r = new QVBoxLayout(fraReplyType);
        r->addWidget(optReplyType[1]);
        r->addWidget(optReplyType[2]);
    }

    const QString schemeCaptions[] = {QString(), QStringLiteral("Channel Select"), QStringLiteral("HPR Channel"),
                                      QStringLiteral("Orvane Tone"), QStringLiteral("Orvane Spanwave") + QChar(0x2122)};
    for (int s = 0; s <= 4; ++s) {
        fraNavScheme[s] = Named(new QGroupBox(schemeCaptions[s], fraSetup), ArrayName("fraNavScheme", s));
        fraNavScheme[s]->setMinimumHeight(130);
    }
    for (int s = 2; s <= 4; ++s) {
        txtAddress[s] = Named(new QLineEdit(fraNavScheme[s]), ArrayName("txtAddress", s));
        txtAddress[s]->setMaximumWidth(90);
        lblAddress[s] = Named(new QLabel(QStringLiteral("Address"), fraNavScheme[s]), ArrayName("lblAddress", s));
    }
    for (int s = 3; s <= 4; ++s) {
        cboOrvaneIntChan[s] = NewCombo(ArrayName("cboOrvaneIntChan", s), fraNavScheme[s]);
        lblOrvaneIntChan[s] =
            Named(new QLabel(QStringLiteral("Interrogate"), fraNavScheme[s]), ArrayName("lblOrvaneIntChan", s));
    }

    // Scheme 1: the channel set of firmware outside the Spanwave family
    cboProgrammedChan = NewCombo(QStringLiteral("cboProgrammedChan"), fraNavScheme[1]);
    lblProgrammedChan = Named(new QLabel(QStringLiteral("Programmed"), fraNavScheme[1]), "lblProgrammedChan");
    cboDualModeChan = NewCombo(QStringLiteral("cboDualModeChan"), fraNavScheme[1]);
    lblDualModeChan = Named(new QLabel(QStringLiteral("Dual Personality"), fraNavScheme[1]), "lblDualModeChan");
    lblEndcap = MakeValueLabel(Named(new QLabel(fraNavScheme[1]), "lblEndcap"));
    lblEndcap->setMinimumWidth(150);
    lblEndcapText = Named(new QLabel(QStringLiteral("Endcap (Read Only)"), fraNavScheme[1]), "lblEndcapText");
    {
        auto* g = new QGridLayout(fraNavScheme[1]);
        g->addWidget(lblProgrammedChan, 0, 0);
        g->addWidget(cboProgrammedChan, 0, 1);
        g->addWidget(lblDualModeChan, 1, 0);
        g->addWidget(cboDualModeChan, 1, 1);
        g->addWidget(lblEndcapText, 2, 0);
        g->addWidget(lblEndcap, 2, 1);
        g->setColumnStretch(2, 1);
        RowsAtTop(g);
    }
    // Scheme 2: HPR channel
    cboHPRChan = NewCombo(QStringLiteral("cboHPRChan"), fraNavScheme[2]);
    lblHPRChan = Named(new QLabel(QStringLiteral("HPR300/400"), fraNavScheme[2]), "lblHPRChan");
    {
        auto* g = new QGridLayout(fraNavScheme[2]);
        g->addWidget(lblHPRChan, 0, 0);
        g->addWidget(cboHPRChan, 0, 1);
        g->addWidget(lblAddress[2], 1, 0);
        g->addWidget(txtAddress[2], 1, 1);
        g->setColumnStretch(2, 1);
        RowsAtTop(g);
    }
    // Scheme 3: Orvane tone
    cboOrvaneReplyChan = NewCombo(QStringLiteral("cboOrvaneReplyChan"), fraNavScheme[3]);
    lblOrvaneReplyChan = Named(new QLabel(QStringLiteral("Reply"), fraNavScheme[3]), "lblOrvaneReplyChan");
    {
        auto* g = new QGridLayout(fraNavScheme[3]);
        g->addWidget(lblOrvaneIntChan[3], 0, 0);
        g->addWidget(cboOrvaneIntChan[3], 0, 1);
        g->addWidget(lblOrvaneReplyChan, 1, 0);
        g->addWidget(cboOrvaneReplyChan, 1, 1);
        g->addWidget(lblAddress[3], 2, 0);
        g->addWidget(txtAddress[3], 2, 1);
        g->setColumnStretch(2, 1);
        RowsAtTop(g);
    }
    // Scheme 4: Orvane Spanwave, shown only; the hidden fields hold the values.
    lblAddr = MakeValueLabel(Named(new QLabel(fraNavScheme[4]), "lblAddr"));
    lblAddr->setMinimumWidth(90);
    lblInterrogate[4] = MakeValueLabel(Named(new QLabel(fraNavScheme[4]), ArrayName("lblInterrogate", 4)));
    lblInterrogate[4]->setMinimumWidth(90);
    Label1 = Named(new QLabel(QStringLiteral("Use the Settings Button to modify"), fraNavScheme[4]), "Label1");
    txtAddress[4]->hide();
    cboOrvaneIntChan[4]->hide();
    {
        auto* g = new QGridLayout(fraNavScheme[4]);
        g->addWidget(lblAddress[4], 0, 0);
        g->addWidget(lblAddr, 0, 1);
        g->addWidget(lblOrvaneIntChan[4], 1, 0);
        g->addWidget(lblInterrogate[4], 1, 1);
        g->addWidget(Label1, 2, 0, 1, 3);
        g->setColumnStretch(2, 1);
        RowsAtTop(g);
    }

    cmdRead = Forms::NewButton(fraSetup, "cmdRead", QStringLiteral("&Get"));
    cmdSet = Forms::NewButton(fraSetup, "cmdSet", QStringLiteral("&Set"));
    cmdQuickSet = Forms::NewButton(fraSetup, "cmdQuickSet", QStringLiteral("Quickset Spanwave"));
    {
        auto* v = new QVBoxLayout(fraSetup);
        auto* options = new QHBoxLayout;
        options->addWidget(fraChanScheme);
        options->addWidget(fraReplyType);
        v->addLayout(options);
        auto* stack = new QGridLayout;
        for (QGroupBox* frame : fraNavScheme) {
            stack->addWidget(frame, 0, 0);
        }
        v->addLayout(stack, 1);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(cmdRead);
        buttons->addWidget(cmdSet);
        buttons->addStretch(1);
        buttons->addWidget(cmdQuickSet);
        v->addLayout(buttons);
    }

    // Window buttons, progress and status
    cmdSettings = Forms::NewButton(central, "cmdSettings", QStringLiteral("Setti&ngs..."),
                                   QStringLiteral("Access Multi-TAT and General Parameters"));
    cmdRelease = Forms::NewButton(central, "cmdRelease", QStringLiteral("Re&lease..."),
                                  QStringLiteral("Access Release Controls"));
    cmdDownload = Forms::NewButton(central, "cmdDownload", QStringLiteral("Do&wnload..."),
                                   QStringLiteral("Download firmware to Flash Memory"));
    cmdExit = Forms::NewButton(central, "cmdExit", QStringLiteral("E&xit"), QStringLiteral("Exit program"));
    cmdCancel = Forms::NewButton(central, "cmdCancel", QStringLiteral("&Cancel"), QStringLiteral("Cancel operation"));
    cmdCancel->hide();
    // Leaving, or stopping an exchange, never waits on a field's check.
    Forms::SetCausesValidation(cmdExit, false);
    Forms::SetCausesValidation(cmdCancel, false);
    for (QPushButton* b : {cmdSettings, cmdRelease, cmdDownload, cmdExit, cmdCancel}) {
        b->setMinimumWidth(100);
    }
    prgMain = Named(new QProgressBar(central), QStringLiteral("prgMain"));
    prgMain->setRange(0, 100);
    prgMain->setValue(0);
    prgMain->setTextVisible(false);
    prgMain->setMaximumHeight(14);

    staMain = Forms::NewStatusBar(this, "staMain", staMainPanel1_, "staMainPanel1");
    setStatusBar(staMain);

    {
        auto* root = new QVBoxLayout(central);
        auto* top = new QHBoxLayout;
        auto* left = new QVBoxLayout;
        left->addWidget(fraStatus);
        left->addWidget(fraVoltage);
        left->addStretch(1);
        top->addLayout(left);
        top->addWidget(fraSetup, 1);
        root->addLayout(top, 1);
        root->addWidget(prgMain);
        auto* bottom = new QHBoxLayout;
        bottom->addWidget(cmdSettings);
        bottom->addWidget(cmdRelease);
        bottom->addWidget(cmdDownload);
        bottom->addStretch(1);
        bottom->addWidget(cmdExit);
        bottom->addWidget(cmdCancel);
        root->addLayout(bottom);
    }

    // Everything EnableAllControls reaches: the ports and dialogs are no controls here.
    const std::vector<QWidget*> all = {
        fraStatus, lblFirmware, lblTxFirmware, lblDepthOnOff, lblTypeNumber, lblSerialNumber, cmdStatus, cmdDepth,
        fraVoltage, cmdVoltage, lblVoltage, fraSetup, cboProgrammedChan, lblProgrammedChan, cboDualModeChan,
        lblDualModeChan, lblEndcap, lblEndcapText, cboHPRChan, lblHPRChan, cboOrvaneReplyChan, lblOrvaneReplyChan,
        lblAddr, Label1, fraChanScheme, fraReplyType, cmdRead, cmdSet, cmdQuickSet, cmdSettings, cmdRelease,
        cmdDownload, cmdExit, cmdCancel, prgMain, staMain};
    controls_.insert(controls_.end(), all.begin(), all.end());
    for (int i = 0; i <= 4; ++i) {
        for (QWidget* w : std::initializer_list<QWidget*>{fraNavScheme[i], txtAddress[i], lblAddress[i],
                                                          cboOrvaneIntChan[i], lblOrvaneIntChan[i], lblInterrogate[i]}) {
            if (w != nullptr) {
                controls_.push_back(w);
            }
        }
    }
    for (int i = 1; i <= 2; ++i) {
        controls_.push_back(optChanScheme[i]);
        controls_.push_back(optReplyType[i]);
    }

    resize(780, 440);
}

void frmMain::ConnectEvents()
{
    const auto on = [this](const auto* sender, auto signal, void (frmMain::*handler)()) {
        connect(sender, signal, this, [this, handler] { Handle([this, handler] { (this->*handler)(); }); });
    };
    on(cmdStatus, &QPushButton::clicked, &frmMain::cmdStatus_Click);
    on(cmdDepth, &QPushButton::clicked, &frmMain::cmdDepth_Click);
    on(cmdVoltage, &QPushButton::clicked, &frmMain::cmdVoltage_Click);
    on(cmdRead, &QPushButton::clicked, &frmMain::cmdRead_Click);
    on(cmdSet, &QPushButton::clicked, &frmMain::cmdSet_Click);
    on(cmdQuickSet, &QPushButton::clicked, &frmMain::cmdQuickSet_Click);
    on(cmdSettings, &QPushButton::clicked, &frmMain::cmdSettings_Click);
    on(cmdRelease, &QPushButton::clicked, &frmMain::cmdRelease_Click);
    on(cmdDownload, &QPushButton::clicked, &frmMain::cmdDownload_Click);
    on(cmdExit, &QPushButton::clicked, &frmMain::cmdExit_Click);
    on(cmdCancel, &QPushButton::clicked, &frmMain::cmdCancel_Click);

    on(mnuComms, &QAction::triggered, &frmMain::mnuComms_Click);
    on(mnuSetupUsermode, &QAction::triggered, &frmMain::mnuSetupUsermode_Click);
    on(mnuPing, &QAction::triggered, &frmMain::mnuPing_Click);
    on(mnuFreqTest, &QAction::triggered, &frmMain::mnuFreqTest_Click);
    on(mnuDepthTest, &QAction::triggered, &frmMain::mnuDepthTest_Click);
    on(mnuTransceiver, &QAction::triggered, &frmMain::mnuTransceiver_Click);
    on(mnuCommands, &QAction::triggered, &frmMain::mnuCommands_Click);
    on(mnuBattLife, &QAction::triggered, &frmMain::mnuBattLife_Click);
    on(mnuDiagnosticsTankTest, &QAction::triggered, &frmMain::mnuDiagnosticsTankTest_Click);
    on(mnuCalChanSelectors, &QAction::triggered, &frmMain::mnuCalChanSelectors_Click);
    on(mnuDiagnosticsReset, &QAction::triggered, &frmMain::mnuDiagnosticsReset_Click);
    on(mnuDiagnosticsInitialise, &QAction::triggered, &frmMain::mnuDiagnosticsInitialise_Click);
    on(mnuDiagnosticsIO, &QAction::triggered, &frmMain::mnuDiagnosticsIO_Click);
    on(mnuAbout, &QAction::triggered, &frmMain::mnuAbout_Click);

    // Only a user's click is an event: values set from code raise none.
    for (int i = 1; i <= 2; ++i) {
        connect(optChanScheme[i], &QRadioButton::clicked, this,
                [this, i] { Handle([this, i] { optChanScheme_Click(i); }); });
        connect(optReplyType[i], &QRadioButton::clicked, this,
                [this, i] { Handle([this, i] { optReplyType_Click(i); }); });
    }

    // Focus and mouse events of the fields, and the keys that belong to them.
    for (int s = 2; s <= 4; ++s) {
        keyKeepers_.push_back(txtAddress[s]);
    }
    keyKeepers_.insert(keyKeepers_.end(), {cboOrvaneIntChan[3], cboOrvaneIntChan[4], cboOrvaneReplyChan, cboHPRChan,
                                           cboProgrammedChan, cboDualModeChan, optChanScheme[1], optChanScheme[2],
                                           optReplyType[1], optReplyType[2], cmdCancel, cmdQuickSet});
    for (QWidget* w : keyKeepers_) {
        w->installEventFilter(this);
    }
}

// ------------------------------------------------------------------ events

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) {
        return QMainWindow::eventFilter(watched, event);
    }
    bool handled = false;
    Handle([&] { handled = FieldEvent(widget, event); });
    return handled;
}

bool frmMain::FieldEvent(QWidget* widget, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        // The field keeps its keys: none of them may reach the engineering key buffer.
        static_cast<QObject*>(widget)->event(event);
        event->accept();
        return true;
    }
    const bool lost = Forms::FocusLost(widget, event);
    for (int s = 2; s <= 4; ++s) {
        if (widget != txtAddress[s]) {
            continue;
        }
        // The field handles the event first, so that the whole text stays selected.
        if (event->type() == QEvent::FocusIn) {
            static_cast<QObject*>(widget)->event(event);
            txtAddress_GotFocus(s);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            static_cast<QObject*>(widget)->event(event);
            txtAddress_Click(s);
            return true;
        }
        if (lost) {
            txtAddress_LostFocus(s);
        }
        return false;
    }
    if (lost) {
        if (widget == cboOrvaneIntChan[3]) {
            cboOrvaneIntChan_LostFocus(3);
        } else if (widget == cboOrvaneIntChan[4]) {
            cboOrvaneIntChan_LostFocus(4);
        } else if (widget == cboOrvaneReplyChan) {
            cboOrvaneReplyChan_LostFocus();
        } else if (widget == cboHPRChan) {
            cboHPRChan_LostFocus();
        }
    }
    return false;
}

void frmMain::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).unicode() <= 0xFF) {
        Handle([this, &text] { Form_KeyPress(static_cast<int16_t>(text.at(0).unicode())); });
    }
    QMainWindow::keyPressEvent(event);
}

bool frmMain::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate) {
        KeyBuffer.clear();
    }
    return QMainWindow::event(event);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // The close box leaves without writing the settings file. Under a running
    // handler it ends the exchange and sends nothing more; the window unloads
    // when the handler has ended, never beneath it.
    if (!unloaded_ && handlers_ > 0) {
        if (!closeRequested_) {
            closeRequested_ = true;
            boxHold_.emplace(); // a user who has closed wants no boxes about the cancel
        }
        event->ignore();
        return;
    }
    UnloadOnce();
    event->accept();
}

void frmMain::Handle(const std::function<void()>& handler)
{
    ++handlers_;
    handler();
    --handlers_;
    if (handlers_ == 0 && closeRequested_) {
        boxHold_.reset();
        Unload();
    }
}

void frmMain::MoveFocus(QWidget* control)
{
    if (control != nullptr && control->isVisible() && control->isEnabled()) {
        control->setFocus();
    }
}

// ------------------------------------------------------------------ start-up

void frmMain::Form_Load()
{
    loaded_ = true;
    try {
        RegistryKey = "Software\\" + App::CompanyName() + "\\" + App::Title();
        {
            RegOp reg;
            reg.Key(RegistryKey);
            EngineeringCode = RegText(reg.Value("Engineering"));
        }
        EngineeringMode = VB::UCase(EngineeringCode) == EngineeringAccessCode;
        mnuSetupUsermode->setVisible(EngineeringMode);
        setWindowTitle(Q(AppTitleVersion() + (EngineeringMode ? " : Engineering Mode" : "")));

        AppSettings = clsSettings();
        SpanwaveQuickset::InitQuicksets();

        if (!FileHandler::CheckIniPath(std::string("\\") + FileHandler::SettingsFile,
                                       [this] { ShowMessage(MsgPathNotFound); })) {
            Unload();
            return;
        }
        if (FileHandler::ReadIniFile() != FileHandler::ReadResult::Read) {
            Unload();
            return;
        }
        // A port that will not open has shown its box; the window starts all the same.
        CommonProcs::OpenTpdrCommPort(false);

        MakeStoreObjects();

        CommonProcs::ClearUnsupportedReads(true);
        for (int32_t group = 0; group <= 4; ++group) {
            CommonProcs::ResetParamGroup(group, true, true);
        }
        CommonProcs::ResetParamGroup(5, false, false);
        CommonProcs::ResetParamGroup(6, true, true);
        CommonProcs::ResetParamGroup(7, true, true);
        TpdrChannel.TestChanArrayWrite({-1});
        NavParamsRead = false;
        DepthFitted = false;

        UpdateControls();
        const bool portSet = AppSettings.TpdrComPort() != 0;
        cmdStatus->setEnabled(portSet);
        cmdDownload->setEnabled(portSet);
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "FormLoadErrorHandler (frmMain)");
    }
}

// ------------------------------------------------------------------ shutdown

void frmMain::cmdExit_Click()
{
    try {
        FileHandler::WriteIniFile();
    } catch (const VBError& e) {
        // The old file stays whole. The window stays open so that the settings
        // of this run are not lost: the operator can free the disk or the file
        // and press Exit again, or leave by the close box without saving.
        if (ErrorHandler::FileErrors(e.Number(), true) != ErrorHandler::Action::Continue) {
            ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "cmdExit_Click (frmMain)");
        }
        return;
    }
    Unload();
}

void frmMain::Unload()
{
    UnloadOnce();
    close();
}

void frmMain::UnloadOnce()
{
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    // A window that never loaded has nothing to release and no mode to keep.
    if (loaded_) {
        Form_Unload();
        Form_Terminate();
    }
}

void frmMain::UnloadIOList()
{
    if (ioList_) {
        ioList_->close();
    }
    ShowIOFlag = false;
}

void frmMain::Form_Unload()
{
    if (ShowIOFlag) {
        UnloadIOList();
    }
    for (Platform::SerialComm* port : {comTpdr.get(), comANT.get()}) {
        try {
            if (port->PortOpen()) {
                port->PortOpen(false);
            }
        } catch (const VBError&) {
            // A port that fails to close is closed as far as this program is concerned.
        }
    }
    AppSettings = clsSettings();
    MakeStoreObjects();
}

void frmMain::Form_Terminate()
{
    if (ShowIOFlag) {
        UnloadIOList();
    }
    RegOp reg;
    reg.Key(RegistryKey);
    try {
        reg.Value("Engineering", RegVariant(EngineeringCode));
    } catch (const VBError&) {
        // A number stored under the name will not take the code (or the empty
        // text): the code replaces it as text, so the program still ends and
        // the mode chosen is the mode of the next start.
        if (reg.DeleteValue("Engineering")) {
            reg.Value("Engineering", RegVariant(EngineeringCode));
        }
    }
}
