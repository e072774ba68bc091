#include "frmGenSettings.h"

#include "SpanwaveQuickset.h"
#include "clsFirmware.h"
#include "clsGeneral.h"
#include "clsMultiTAT.h"
#include "clsSettings.h"
#include "clock.h"
#include "clsSpanwaveParams.h"
#include "commonprocs.h"
#include "dialogs.h"
#include "errorhandler.h"
#include "gensettingsowner.h"
#include "genparamfacts.h"
#include "globals.h"
#include "store.h"
#include "tpdrexchange.h"
#include "vbconv.h"
#include "vberror.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

using Forms::Named;
using Forms::NewButton;
using Forms::Q;
using Forms::S;

namespace {

int32_t FW() { return TpdrFirmware.FWVersion(); }

// The presets' command addresses are of the first Spanwave type. On a unit of
// another type the navigation write offers to switch it to that type (and
// checks the address again), so such an address is not refused here. The
// address judged is the one the box shows: one that reads "Invalid" offers
// no Set.
bool CmdAddressOK(const QLineEdit* box)
{
    clsSpanwaveParams shown = NavParams;
    shown.CmdAddressString(S(box->text()));
    if (shown.CmdAddressIsOK()) {
        return true;
    }
    shown.SpanwaveType(1);
    return shown.CmdAddressIsOK();
}

// The list index as the forms runtime knows it: an editable combo counts as
// selected only while its text is one of its items.
int ListIndex(const QComboBox* combo)
{
    return combo->isEditable() ? combo->findText(combo->currentText(), Qt::MatchExactly) : combo->currentIndex();
}

std::string ComboText(const QComboBox* combo) { return S(combo->currentText()); }

// Sets the list index from code with no handler running.
void SetListIndex(QComboBox* combo, int index)
{
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(index);
}

void SetComboText(QComboBox* combo, const std::string& text)
{
    const QSignalBlocker block(combo);
    combo->setEditText(Q(text));
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption)
{
    return Named(new QLabel(caption, parent), name);
}

QLabel* NewLabel(QWidget* parent, const char* name, int index, const QString& caption)
{
    return Named(new QLabel(caption, parent), name, index);
}

QComboBox* NewCombo(QWidget* parent, bool editable)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(editable);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

void SetVisible(std::initializer_list<QWidget*> widgets, bool visible)
{
    for (QWidget* w : widgets) {
        w->setVisible(visible);
    }
}

void SetEnabled(std::initializer_list<QWidget*> widgets, bool enabled)
{
    for (QWidget* w : widgets) {
        w->setEnabled(enabled);
    }
}

const char* const ProcRead = "ReadParamsErrorHandler (frmGenSettings)";
const char* const ProcHandle = "HandleReadParamsErrorHandler (frmGenSettings)";
const char* const ProcWrite = "cmdGenWriteErrorHandler (frmGenSettings)";

// Reports a run-time error the way the procedures of this dialog do.
template <typename F>
bool Guarded(const char* procName, F&& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        ErrorHandler::CatchAllErrors(e, procName);
    }
    return false;
}

} // namespace

frmGenSettings::frmGenSettings(QWidget* owner) : Forms::Dialog(owner), owner_(dynamic_cast<GenSettingsOwner*>(owner))
{
    setObjectName(QStringLiteral("frmGenSettings"));
    BuildControls();
    ConnectEvents();
    Form_Load();
}

frmGenSettings::~frmGenSettings() = default;

template <typename T>
T* frmGenSettings::Control(const char* name) const
{
    return findChild<T*>(QString::fromLatin1(name));
}

// ------------------------------------------------------------------ controls

void frmGenSettings::BuildControls()
{
    picGeneral[0] = Named(BuildGeneralPanel(), "picGeneral", 0);
    picGeneral[1] = Named(BuildQuickSetPanel(), "picGeneral", 1);
    prgGenSettings = Named(new QProgressBar(this), "prgGenSettings");
    prgGenSettings->setRange(0, 100);
    prgGenSettings->setTextVisible(false);
    staSettings = Named(new QStatusBar(this), "staSettings");
    staSettings->setSizeGripEnabled(false);
    staSettingsPanel1 = Named(new QLabel(staSettings), "staSettings_1");
    staSettings->addWidget(staSettingsPanel1, 1);
    tmrReadParams = Named(new QTimer(this), "tmrReadParams");

    auto* panels = new QGridLayout;
    panels->addWidget(picGeneral[0], 0, 0);
    panels->addWidget(picGeneral[1], 0, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addLayout(panels, 1);
    layout->addWidget(prgGenSettings);
    layout->addWidget(staSettings);
}

QWidget* frmGenSettings::BuildGeneralPanel()
{
    auto* panel = new QWidget(this);
    cmdQuickSet = NewButton(panel, "cmdQuickSet", QStringLiteral("&Quickset Spanwave"),
                            QStringLiteral("Return to Quickset Spanwave"));
    cmdProgressCancel[0] = NewButton(panel, "cmdProgressCancel_0", QStringLiteral("&Cancel"), QStringLiteral("Cancel operation"));
    cmdExit[0] = NewButton(panel, "cmdExit_0", QStringLiteral("E&xit"), QStringLiteral("Back to Main menu"));

    fraGen = Named(new QGroupBox(QStringLiteral("General Settings"), panel), "fraGen");
    lblOrvaneIntChan = NewLabel(fraGen, "lblOrvaneIntChan", QStringLiteral("Interrogate"));
    cboOrvaneIntChan = Named(NewCombo(fraGen, false), "cboOrvaneIntChan");
    lblAddress = NewLabel(fraGen, "lblAddress", QStringLiteral("Address"));
    txtAddress = Named(new QLineEdit(fraGen), "txtAddress");
    cboAddress = Named(NewCombo(fraGen, true), "cboAddress");
    // Only showing the address shows it: elsewhere it would be an unlabelled
    // field that edits the address.
    cboAddress->hide();
    lblPowerLevel[0] = NewLabel(fraGen, "lblPowerLevel", 0, QStringLiteral("Power Level"));
    cboPowerLevel[0] = Named(NewCombo(fraGen, false), "cboPowerLevel", 0);

    fraOrvane = Named(new QGroupBox(QStringLiteral("Orvane Channels"), fraGen), "fraOrvane");
    lblGenTAT[0] = NewLabel(fraOrvane, "lblGenTAT", 0, QStringLiteral("Turn-Around-Time"));
    lblGenTAT[1] = NewLabel(fraOrvane, "lblGenTAT", 1, QStringLiteral("mSec"));
    cboGenTAT = Named(NewCombo(fraOrvane, false), "cboGenTAT");
    lblPulseWidth[0] = NewLabel(fraOrvane, "lblPulseWidth", 0, QStringLiteral("Reply Pulse Width"));
    lblPulseWidth[1] = NewLabel(fraOrvane, "lblPulseWidth", 1, QStringLiteral("mSec"));
    txtPulseWidth = Named(new QLineEdit(fraOrvane), "txtPulseWidth");
    lblBlock[0] = NewLabel(fraOrvane, "lblBlock", 0, QStringLiteral("Blocking Period"));
    lblBlock[1] = NewLabel(fraOrvane, "lblBlock", 1, QStringLiteral("Seconds"));
    cboBlock = Named(NewCombo(fraOrvane, true), "cboBlock");

    lblGain[0] = NewLabel(fraGen, "lblGain", 0, QStringLiteral("Gain"));
    cboGain[0] = Named(NewCombo(fraGen, false), "cboGain", 0);
    lblIdentity[0] = NewLabel(fraGen, "lblIdentity", 0, QStringLiteral("Transducer"));
    cboIdentity = Named(NewCombo(fraGen, false), "cboIdentity");
    lblIdentity[1] = NewLabel(fraGen, "lblIdentity", 1, QStringLiteral("Identity"));
    lblRelayOnTime[0] = NewLabel(fraGen, "lblRelayOnTime", 0, QStringLiteral("Relay-On Time"));
    lblRelayOnTime[1] = NewLabel(fraGen, "lblRelayOnTime", 1, QStringLiteral("Seconds"));
    txtRelayOnTime = Named(new QLineEdit(fraGen), "txtRelayOnTime");
    lblVariableTAT[0] = NewLabel(fraGen, "lblVariableTAT", 0, QStringLiteral("Responder Variable TAT"));
    lblVariableTAT[1] = NewLabel(fraGen, "lblVariableTAT", 1, QStringLiteral("mSec"));
    cboVariableTAT = Named(NewCombo(fraGen, true), "cboVariableTAT");
    cmdGenCancel[0] = NewButton(fraGen, "cmdGenCancel_0", QStringLiteral("&Cancel"),
                                QStringLiteral("Reset all unsent General parameters"));
    cmdGenWrite[0] = NewButton(fraGen, "cmdGenWrite_0", QStringLiteral("&Set"),
                               QStringLiteral("Send all changed General parameters to Transponder"));
    cmdGenRead[0] = NewButton(fraGen, "cmdGenRead_0", QStringLiteral("&Get"),
                              QStringLiteral("Read all General parameters from Transponder"));

    fraSpecial = Named(new QGroupBox(QStringLiteral("Special Settings"), panel), "fraSpecial");
    cmdMultiTATs = NewButton(fraSpecial, "cmdMultiTATs", QStringLiteral("&Multi-TATs..."),
                             QStringLiteral("Access Multi-TAT settings"));
    cmdTimedRelease = NewButton(fraSpecial, "cmdTimedRelease", QStringLiteral("&Timed Release..."),
                                QStringLiteral("Access Timed Release setting"));

    auto* orvane = new QGridLayout(fraOrvane);
    orvane->addWidget(lblGenTAT[0], 0, 0);
    orvane->addWidget(cboGenTAT, 0, 1);
    orvane->addWidget(lblGenTAT[1], 0, 2);
    orvane->addWidget(lblPulseWidth[0], 1, 0);
    orvane->addWidget(txtPulseWidth, 1, 1);
    orvane->addWidget(lblPulseWidth[1], 1, 2);
    orvane->addWidget(lblBlock[0], 2, 0);
    orvane->addWidget(cboBlock, 2, 1);
    orvane->addWidget(lblBlock[1], 2, 2);

    auto* gen = new QGridLayout(fraGen);
    gen->addWidget(lblOrvaneIntChan, 0, 0);
    gen->addWidget(cboOrvaneIntChan, 0, 1);
    gen->addWidget(lblAddress, 1, 0);
    auto* address = new QHBoxLayout;
    address->addWidget(txtAddress);
    address->addWidget(cboAddress);
    gen->addLayout(address, 1, 1);
    gen->addWidget(lblPowerLevel[0], 2, 0);
    gen->addWidget(cboPowerLevel[0], 2, 1);
    gen->addWidget(fraOrvane, 3, 0, 1, 3);
    gen->addWidget(lblGain[0], 4, 0);
    gen->addWidget(cboGain[0], 4, 1);
    gen->addWidget(lblIdentity[0], 5, 0);
    auto* identity = new QHBoxLayout;
    identity->addWidget(cboIdentity);
    identity->addWidget(lblIdentity[1]);
    gen->addLayout(identity, 5, 1);
    gen->addWidget(lblRelayOnTime[0], 6, 0);
    gen->addWidget(txtRelayOnTime, 6, 1);
    gen->addWidget(lblRelayOnTime[1], 6, 2);
    gen->addWidget(lblVariableTAT[0], 7, 0);
    gen->addWidget(cboVariableTAT, 7, 1);
    gen->addWidget(lblVariableTAT[1], 7, 2);
    auto* genButtons = new QHBoxLayout;
    genButtons->addWidget(cmdGenCancel[0]);
    genButtons->addWidget(cmdGenWrite[0]);
    genButtons->addWidget(cmdGenRead[0]);
    gen->addLayout(genButtons, 8, 0, 1, 3);

    auto* special = new QHBoxLayout(fraSpecial);
    special->addWidget(cmdMultiTATs);
    special->addWidget(cmdTimedRelease);

    auto* top = new QHBoxLayout;
    top->addWidget(cmdQuickSet);
    top->addStretch();
    top->addWidget(cmdProgressCancel[0]);
    top->addWidget(cmdExit[0]);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(fraGen);
    layout->addWidget(fraSpecial);
    return panel;
}

QWidget* frmGenSettings::BuildQuickSetPanel()
{
    auto* panel = new QWidget(this);
    cmdAdvanced = NewButton(panel, "cmdAdvanced", QStringLiteral("&Advanced"), QStringLiteral("Show all General parameters"));
    cmdProgressCancel[1] = NewButton(panel, "cmdProgressCancel_1", QStringLiteral("&Cancel"), QStringLiteral("Cancel operation"));
    cmdExit[1] = NewButton(panel, "cmdExit_1", QStringLiteral("E&xit"), QStringLiteral("Back to Main menu"));
    Frame1 = Named(new QGroupBox(QStringLiteral("Quickset Spanwave"), panel), "Frame1");
    static const char* const names[] = {"", "A1", "A2", "A3", "B1", "B2", "B3", "C1", "C2", "C3"};
    auto* grid = new QGridLayout;
    for (int i = 1; i <= 9; ++i) {
        QPushButton* button = NewButton(Frame1, "cmdQuick", QString::fromLatin1(names[i]));
        cmdQuick[static_cast<size_t>(i)] = Named(button, "cmdQuick", i);
        QFont font(QStringLiteral("Arial"));
        // Sized for the highlighted caption, so that highlighting moves nothing.
        font.setPointSize(28);
        button->setFont(font);
        button->setMinimumSize(button->sizeHint());
        font.setPointSize(20);
        button->setFont(font);
        grid->addWidget(button, (i - 1) / 3, (i - 1) % 3);
    }
    cmdGenRead[1] = NewButton(Frame1, "cmdGenRead_1", QStringLiteral("&Get"),
                              QStringLiteral("Read all General parameters from Transponder"));
    cmdGenCancel[1] = NewButton(Frame1, "cmdGenCancel_1", QStringLiteral("&Cancel"),
                                QStringLiteral("Reset all unsent General parameters"));
    cmdGenWrite[1] = NewButton(Frame1, "cmdGenWrite_1", QStringLiteral("&Set"),
                               QStringLiteral("Send all changed parameters to Transponder"));
    lblPowerLevel[1] = NewLabel(Frame1, "lblPowerLevel", 1, QStringLiteral("Power"));
    cboPowerLevel[1] = Named(NewCombo(Frame1, false), "cboPowerLevel", 1);
    lblGain[1] = NewLabel(Frame1, "lblGain", 1, QStringLiteral("Gain"));
    cboGain[1] = Named(NewCombo(Frame1, false), "cboGain", 1);
    Label7 = NewLabel(Frame1, "Label7", QStringLiteral("Interrogate"));
    Label10 = NewLabel(Frame1, "Label10", QStringLiteral("Address"));
    Label11 = NewLabel(Frame1, "Label11", QStringLiteral("TAT"));
    for (int i = 0; i < 3; ++i) {
        lblQuickData[static_cast<size_t>(i)] = NewLabel(Frame1, "lblQuickData", i, QString());
        lblQuickData[static_cast<size_t>(i)]->setFrameShape(QFrame::Panel);
        lblQuickData[static_cast<size_t>(i)]->setFrameShadow(QFrame::Sunken);
    }
    Label1[0] = NewLabel(Frame1, "Label1", 0, QStringLiteral("Click the required scheme, A1 to C3; Select Power & Gain."));
    Label1[3] = NewLabel(Frame1, "Label1", 3, QStringLiteral("Click Set to program the transponder."));
    lblSCP = NewLabel(Frame1, "lblSCP",
                      QStringLiteral("Same row e.g. B1+B2+B3 etc = Simultaneous mode.\ninterrogation cycle;\nFaster update "
                                     "rate.\n\nSame column/diagonal e.g. A1+B1+C3 etc = Sequential.\nSeparate "
                                     "interrogation cycles;\nSlower but separate update\nrates.\n\nWARNING: C1, C2 or "
                                     "C3 may cause interference with BOP\nsystems address x00."));
    // No word wrap: a wrapped label's height is no part of the window's
    // minimum size, and the note's last lines were cut off.

    auto* data = new QGridLayout;
    data->addWidget(Label7, 0, 0);
    data->addWidget(lblQuickData[0], 1, 0);
    data->addWidget(Label10, 0, 1);
    data->addWidget(lblQuickData[1], 1, 1);
    data->addWidget(Label11, 0, 2);
    data->addWidget(lblQuickData[2], 1, 2);
    auto* choices = new QGridLayout;
    choices->addWidget(lblPowerLevel[1], 0, 0);
    choices->addWidget(cboPowerLevel[1], 0, 1);
    choices->addWidget(lblGain[1], 1, 0);
    choices->addWidget(cboGain[1], 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdGenCancel[1]);
    buttons->addWidget(cmdGenWrite[1]);
    buttons->addWidget(cmdGenRead[1]);
    auto* frame = new QVBoxLayout(Frame1);
    frame->addWidget(Label1[0]);
    frame->addLayout(grid);
    frame->addLayout(data);
    frame->addLayout(choices);
    frame->addWidget(Label1[3]);
    frame->addLayout(buttons);
    frame->addWidget(lblSCP);

    auto* top = new QHBoxLayout;
    top->addWidget(cmdAdvanced);
    top->addStretch();
    top->addWidget(cmdProgressCancel[1]);
    top->addWidget(cmdExit[1]);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(Frame1);
    return panel;
}

void frmGenSettings::ConnectEvents()
{
    // Leaving a field for these abandons the entry: they never check it. A
    // read replaces what the field held anyway.
    for (QWidget* w : {cmdExit[0], cmdExit[1], cmdGenCancel[0], cmdGenCancel[1], cmdProgressCancel[0],
                       cmdProgressCancel[1], cmdGenRead[0], cmdGenRead[1]}) {
        Forms::SetCausesValidation(w, false);
    }
    for (int i = 0; i < 2; ++i) {
        connect(cmdExit[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { cmdExit_Click(i); });
        connect(cmdProgressCancel[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdProgressCancel_Click(i); });
        connect(cmdGenCancel[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { cmdGenCancel_Click(i); });
        // Get and Set may stay enabled while an exchange runs (Set follows its
        // gate, and the navigation part of a write leaves both alone); a click
        // let through during its waits, or the second of a double click, must
        // not start another read or write on the same link.
        connect(cmdGenRead[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] {
            if (!Forms::FocusRefused(cmdGenRead[static_cast<size_t>(i)]) && !Busy()) {
                cmdGenRead_Click(i);
            }
        });
        connect(cmdGenWrite[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] {
            if (!Forms::FocusRefused(cmdGenWrite[static_cast<size_t>(i)]) && !Busy() && GenWriteAllowed()) {
                cmdGenWrite_Click(i);
            }
        });
        connect(cboGain[static_cast<size_t>(i)], &QComboBox::activated, this, [this, i] { cboGain_Click(i); });
        connect(cboPowerLevel[static_cast<size_t>(i)], &QComboBox::activated, this, [this, i] { cboPowerLevel_Click(i); });
        Forms::OnValidate(cboGain[static_cast<size_t>(i)], [this, i](bool& Cancel) { FieldValidate(1, i, Cancel); });
        Forms::OnValidate(cboPowerLevel[static_cast<size_t>(i)],
                          [this, i](bool& Cancel) { FieldValidate(9, i, Cancel); });
    }
    for (int i = 1; i <= 9; ++i) {
        connect(cmdQuick[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { cmdQuick_Click(i); });
    }
    connect(cmdQuickSet, &QPushButton::clicked, this, &frmGenSettings::cmdQuickSet_Click);
    connect(cmdAdvanced, &QPushButton::clicked, this, &frmGenSettings::cmdAdvanced_Click);
    connect(cmdMultiTATs, &QPushButton::clicked, this, &frmGenSettings::cmdMultiTATs_Click);
    connect(cmdTimedRelease, &QPushButton::clicked, this, &frmGenSettings::cmdTimedRelease_Click);
    connect(cboGenTAT, &QComboBox::activated, this, &frmGenSettings::cboGenTAT_Click);
    connect(cboOrvaneIntChan, &QComboBox::activated, this, &frmGenSettings::cboOrvaneIntChan_Click);
    connect(txtAddress, &QLineEdit::textChanged, this, &frmGenSettings::txtAddress_Change);
    connect(tmrReadParams, &QTimer::timeout, this, &frmGenSettings::tmrReadParams_Timer);

    // One line per field that stores through its own Validate.
    for (const GenParamFacts& row : GenParamTable) {
        if (row.text == GenFieldText::None || row.twins) {
            continue;
        }
        const int32_t n = row.number;
        Forms::OnValidate(Control<QWidget>(row.field), [this, n](bool& Cancel) { FieldValidate(n, 0, Cancel); });
    }
    Forms::OnValidate(txtAddress, [this](bool& Cancel) { txtAddress_Validate(Cancel); });
    Forms::OnKeyPress(txtAddress, [this](int16_t& KeyAscii) { txtAddress_KeyPress(KeyAscii); });

    for (QWidget* w : {static_cast<QWidget*>(txtAddress), static_cast<QWidget*>(txtPulseWidth),
                       static_cast<QWidget*>(txtRelayOnTime), static_cast<QWidget*>(cboOrvaneIntChan)}) {
        w->installEventFilter(this);
    }
}

bool frmGenSettings::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    // Entering one of the boxes, by mouse or keyboard, selects all its text:
    // the box handles the event first so that the selection stays. Coming
    // back from its own menu is no entering.
    const bool entered = event->type() == QEvent::FocusIn &&
                         static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason;
    if (box != nullptr && (entered || event->type() == QEvent::MouseButtonRelease)) {
        box->event(event);
        box->selectAll();
        return true;
    }
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // A refused check has already put the focus back: the field was not left.
        const bool lost = reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                          QApplication::focusWidget() != watched;
        if (lost && watched == txtAddress) {
            txtAddress_LostFocus();
        } else if (lost && watched == cboOrvaneIntChan) {
            cboOrvaneIntChan_LostFocus();
        }
    }
    return Forms::Dialog::eventFilter(watched, event);
}

// ------------------------------------------------------------------ opening and display

void frmGenSettings::Form_Load()
{
    timedRelease_ = std::make_unique<clsTimedRelease>();
    setWindowTitle(QStringLiteral("General Settings") + (EngineeringMode ? QStringLiteral(" : Engineering Mode") : QString()));
    resize(Forms::Twips(4935), height());
    picGeneral[0]->hide();
    picGeneral[1]->show();
    ShowNavScheme();
    picGeneral[1]->setVisible(QuickSetMode);
    picGeneral[0]->setVisible(!QuickSetMode);
    ProgressCancel(false);
    FillGenCombos();
    for (int32_t n = 1; n <= 10; ++n) {
        CopyGenParam(2, n);
        SetGenParamColour(n);
    }
    ColourAddressAndChannel();
    ShowGenParams();
    EnableGenControls(false);
    EnableGenWrite();
    tmrReadParams->setInterval(100);
    tmrReadParams->start();
}

void frmGenSettings::tmrReadParams_Timer()
{
    tmrReadParams->stop();
    cmdGenRead_Click(0);
}

void frmGenSettings::ShowNavScheme()
{
    QuickSetMode = NavParams.NavScheme() == 4;
    QuickSetPanelShown = QuickSetMode;
    SetVisible({cmdQuickSet, lblOrvaneIntChan, cboOrvaneIntChan, lblAddress, txtAddress}, QuickSetMode);
    if (!QuickSetMode) {
        return;
    }
    {
        const QSignalBlocker block(cboOrvaneIntChan);
        cboOrvaneIntChan->clear();
        for (int32_t chan = 0; chan <= 15; ++chan) {
            cboOrvaneIntChan->addItem(Q(NavParams.OrvaneIntChanString(chan)));
        }
        cboOrvaneIntChan->setCurrentIndex(-1);
    }
    const int32_t c = NavParams.OrvaneIntChan();
    if (c != 19 && c < 16 && c >= 0) {
        SetListIndex(cboOrvaneIntChan, c);
        cboOrvaneIntChan_Click();
        lblQuickData[0]->setText(cboOrvaneIntChan->currentText());
    }
    ShownIntChan = NavParams.OrvaneIntChan();
    ShownCmdAddress = VB::CLng(VB::Val(NavParams.CmdAddressString()));
    ShownAddressCode = NavParams.AddressCode();
    ShownChannelCode = NavParams.ChannelCode();
}

void frmGenSettings::FillGenCombos()
{
    const int32_t fw = FW();
    {
        const QSignalBlocker block(cboAddress);
        cboAddress->clear();
        for (int i = 1; i <= 63; ++i) {
            cboAddress->addItem(QString::number(i));
        }
        cboAddress->setCurrentIndex(-1);
    }
    {
        const QSignalBlocker block(txtAddress);
        txtAddress->setToolTip(Q(NavParams.CmdAddressToolTip()));
        txtAddress->setText(Q(NavParams.CmdAddressString()));
    }
    Forms::SetBackColor(txtAddress, static_cast<uint32_t>(NavParams.CmdAddressColor()));
    if (QuickSetMode) {
        lblQuickData[1]->setToolTip(txtAddress->toolTip());
        lblQuickData[1]->setText(txtAddress->text());
        Forms::SetBackColor(lblQuickData[1], static_cast<uint32_t>(NavParams.CmdAddressColor()));
    }
    const QStringList gains = ReadGenParam.EnableOK(fw, 12)
                                  ? QStringList{QStringLiteral("Low"), QStringLiteral("High")}
                                  : QStringList{QStringLiteral("Very Low"), QStringLiteral("Low"), QStringLiteral("Medium"),
                                                QStringLiteral("High")};
    const auto refill = [](QComboBox* combo, const QStringList& items) {
        const QSignalBlocker block(combo);
        combo->clear();
        combo->addItems(items);
        combo->setCurrentIndex(-1);
    };
    for (QComboBox* c : cboGain) {
        refill(c, gains);
    }
    QStringList tats;
    for (int i = 1; i <= 14; ++i) {
        tats << Q(VB::Fixed(i * 62.5, 1));
    }
    refill(cboGenTAT, tats);
    QStringList blocks;
    for (int i = 0; i <= 9; ++i) {
        blocks << Q(VB::Fixed(i * 0.5 + 0.5, 1));
    }
    refill(cboBlock, blocks);
    refill(cboIdentity, {QStringLiteral("Directional"), QStringLiteral("Omni"), QStringLiteral("Remote")});
    for (QComboBox* c : cboPowerLevel) {
        refill(c, {QStringLiteral("Low"), QStringLiteral("High")});
    }
    QStringList vtats;
    const int16_t top = VB::CInt(EditGenParam.VariableTATLimit(false));
    for (float v = EditGenParam.VariableTATLimit(true); v <= top; v += EditGenParam.VariableTATRes()) {
        vtats << Q(VB::NumText(v));
    }
    refill(cboVariableTAT, vtats);
    if (QuickSetMode) {
        for (size_t i = 1; i <= 9; ++i) {
            cmdQuick[i]->setText(Q(Quicksets[i].Name));
            cmdQuick[i]->setToolTip(Q("Click to select " + Quicksets[i].Name));
        }
    }
    SelectedPreset = 0;
    GenToolTips();
}

void frmGenSettings::GenToolTips()
{
    for (const GenParamFacts& row : GenParamTable) {
        const QString tip = Q(ReadGenParam.ToolTip(row.number, row.tipByFirmware ? FW() : 0));
        for (const char* name : row.tips) {
            if (name != nullptr) {
                Control<QWidget>(name)->setToolTip(tip);
            }
        }
    }
}

void frmGenSettings::EnableGenControls(bool Busy)
{
    const int32_t fw = FW();
    std::array<bool, 12> en{};
    for (int32_t n = 1; n <= 11; ++n) {
        en[static_cast<size_t>(n)] = !Busy && ReadGenParam.EnableOK(fw, n) && ReadGenParam.HasBeenRead();
    }
    EnableGain(en[1]);
    fraOrvane->setVisible(NavParams.ChanType() != 2);
    cboAddress->setEnabled(en[2]);
    lblAddress->setEnabled(en[2] || QuickSetMode);
    txtAddress->setEnabled(en[2] || en[8] || QuickSetMode);
    SetEnabled({cboIdentity, lblIdentity[0], lblIdentity[1]}, en[3]);
    SetEnabled({cboGenTAT, lblGenTAT[0], lblGenTAT[1]}, en[4]);
    txtPulseWidth->setEnabled(en[5] && !QuickSetMode);
    SetEnabled({lblPulseWidth[0], lblPulseWidth[1]}, en[5]);
    SetEnabled({cboBlock, lblBlock[0], lblBlock[1]}, en[6]);
    SetEnabled({txtRelayOnTime, lblRelayOnTime[0], lblRelayOnTime[1]}, en[7]);
    EnablePowerLevel(en[9]);
    SetEnabled({cboVariableTAT, lblVariableTAT[0], lblVariableTAT[1]}, en[10]);
    EnableGenWrite();
    SetEnabled({cmdGenCancel[0], cmdGenCancel[1]}, en[11]);
    EnableGenRead(!Busy);
    cmdMultiTATs->setEnabled(!Busy && clsMultiTAT::EnableOK(fw));
    cmdTimedRelease->setEnabled(!Busy && timedRelease_->EnableOK(fw));
    // A preset or a panel switch picked mid-exchange would change what the
    // running write goes on to send.
    for (size_t i = 1; i < cmdQuick.size(); ++i) {
        cmdQuick[i]->setEnabled(!Busy);
    }
    SetEnabled({cmdAdvanced, cmdQuickSet}, !Busy);
    update();
}

void frmGenSettings::CopyGenParam(int32_t Direction, int32_t Param)
{
    const int32_t fw = FW();
    if (ReadGenParam.EnableOK(fw, Param)) {
        const GenParamFacts& row = GenParamRow(Param);
        if (Direction == 0) {
            EditGenParam.OKToWrite(Param, ReadGenParam.ReadOK(Param));
            row.set(EditGenParam, row.get(ReadGenParam));
        } else if (Direction == 1) {
            ReadGenParam.ReadOK(Param, EditGenParam.OKToWrite(Param));
            row.set(ReadGenParam, row.get(EditGenParam));
        }
    } else if (fw != 0) {
        SetDefaults(Param);
    }
}

void frmGenSettings::SetDefaults(int32_t Param)
{
    if (Param < 1 || Param > 10) {
        return;
    }
    ReadGenParam.ReadOK(Param, false);
    EditGenParam.OKToWrite(Param, false);
    // One value outside its range, in the copy the not-read state is judged by.
    static constexpr double outOfRange[] = {0, -1, 0, -1, 61.5, 3.0, -0.5, 0, -1, -1, -1.0};
    clsGeneral& target = Param <= 6 ? ReadGenParam : EditGenParam;
    GenParamRow(Param).set(target, outOfRange[Param]);
}

void frmGenSettings::SetGenParamColour(int32_t Param, uint32_t& Colour)
{
    if (Param < 1 || Param > 10) {
        return;
    }
    const int32_t fw = FW();
    const bool read = ReadGenParam.HasBeenRead();
    const bool supported = ReadGenParam.EnableOK(fw, Param) || fw == 0;
    const bool valid = EditGenParam.OKToWrite(Param);
    const bool same = !GenParamChanged(Param, EditGenParam, ReadGenParam);
    if (!read || !supported || (valid && same)) {
        Colour = Forms::vbWhite;
    } else {
        Colour = valid ? Forms::vbOrange : Forms::vbRed;
    }
    for (const char* name : GenParamRow(Param).coloured) {
        if (name != nullptr) {
            Forms::SetBackColor(Control<QWidget>(name), Colour);
        }
    }
    update();
}

void frmGenSettings::SetGenParamColour(int32_t Param)
{
    uint32_t colour = 0;
    SetGenParamColour(Param, colour);
}

void frmGenSettings::ColourAddressAndChannel()
{
    uint32_t colour = 0;
    SetGenParamColour(2, colour);
    if (colour == Forms::vbWhite) {
        SetGenParamColour(8);
    }
}

void frmGenSettings::ShowBlank(QComboBox* combo)
{
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(-1);
    if (combo->isEditable()) {
        combo->setEditText(QStringLiteral(" "));
    }
}

void frmGenSettings::ShowGenParams()
{
    const int32_t fw = FW();
    // Address
    if (QuickSetMode) {
        lblAddress->setText(QStringLiteral("Address"));
        lblAddress->setVisible(true);
        const std::string t = NavParams.CmdAddressString();
        const auto k = static_cast<uint32_t>(NavParams.CmdAddressColor());
        txtAddress->setVisible(true);
        {
            const QSignalBlocker block(txtAddress);
            txtAddress->setText(Q(t));
        }
        Forms::SetBackColor(txtAddress, k);
        lblQuickData[1]->setText(Q(t));
        Forms::SetBackColor(lblQuickData[1], k);
        const int32_t c = NavParams.OrvaneIntChan();
        SetListIndex(cboOrvaneIntChan, c >= 0 && c < cboOrvaneIntChan->count() ? c : -1);
        cboOrvaneIntChan_Click();
        CheckCmdAddress();
        HighlightQuickButton();
    } else if (ReadGenParam.EnableOK(fw, 2)) {
        ShowAddress();
    }
    // Power level: a move made with the combo disabled runs no handler.
    const bool power = ReadGenParam.EnableOK(fw, 9);
    for (size_t i = 0; i < 2; ++i) {
        lblPowerLevel[i]->setVisible(power);
        cboPowerLevel[i]->setVisible(power);
        if (power) {
            const bool was = cboPowerLevel[i]->isEnabled();
            cboPowerLevel[i]->setEnabled(false);
            if (EditGenParam.OKToWrite(9)) {
                SetListIndex(cboPowerLevel[i], EditGenParam.PowerLevel());
            } else {
                ShowBlank(cboPowerLevel[i]);
            }
            cboPowerLevel[i]->setEnabled(was);
        }
    }
    // Gain: a valid index raises the combo's Click; a blank entry stores nothing.
    const bool gain = ReadGenParam.EnableOK(fw, 1);
    lblGain[0]->setVisible(gain);
    cboGain[0]->setVisible(gain);
    if (gain) {
        for (int i = 0; i < 2; ++i) {
            if (EditGenParam.OKToWrite(1)) {
                SetListIndex(cboGain[static_cast<size_t>(i)], EditGenParam.Gain());
                cboGain_Click(i);
            } else {
                ShowBlank(cboGain[static_cast<size_t>(i)]);
            }
        }
    }
    // Turn-around time
    const bool tat = ReadGenParam.EnableOK(fw, 4);
    SetVisible({lblGenTAT[0], lblGenTAT[1], cboGenTAT}, tat);
    if (tat && !EditGenParam.OKToWrite(4)) {
        ShowBlank(cboGenTAT);
        cboGenTAT_Click();
    } else if (tat) {
        const bool was = cboGenTAT->isEnabled();
        cboGenTAT->setEnabled(false);
        SetListIndex(cboGenTAT, -1);
        int match = -1;
        for (int i = 0; i < cboGenTAT->count() && match < 0; ++i) {
            if (!GenValueDiffers(4, VB::Val(S(cboGenTAT->itemText(i))), EditGenParam.TAT())) {
                match = i;
            }
        }
        if (match >= 0) {
            SetListIndex(cboGenTAT, match);
            cboGenTAT_Click();
        } else {
            Forms::SetBackColor(cboGenTAT, Forms::vbRed);
            Forms::SetBackColor(lblQuickData[2], Forms::vbRed);
            lblQuickData[2]->setText(Q(VB::NumText(EditGenParam.TAT())));
            SetEnabled({cmdGenWrite[0], cmdGenWrite[1]}, false);
        }
        cboGenTAT->setEnabled(was);
    }
    // Blocking period and pulse width
    SetComboText(cboBlock, EditGenParam.OKToWrite(6) ? VB::Fixed(EditGenParam.Block(), 1) : " ");
    txtPulseWidth->setText(Q(EditGenParam.OKToWrite(5) ? VB::Fixed(EditGenParam.PulseWidth(), 1) : " "));
    // Identity
    const bool identity = ReadGenParam.EnableOK(fw, 3);
    lblIdentity[0]->setVisible(identity);
    cboIdentity->setVisible(identity && EngineeringMode);
    lblIdentity[1]->setVisible(identity && !EngineeringMode);
    if (identity) {
        SetListIndex(cboIdentity, EditGenParam.OKToWrite(3) ? EditGenParam.Identity() : -1);
        lblIdentity[1]->setText(cboIdentity->currentText());
    }
    // Relay-on time
    txtRelayOnTime->setText(Q(EditGenParam.OKToWrite(7) ? VB::Fixed(EditGenParam.RelayOnTime(), 1) : " "));
    // Variable turn-around time
    const bool variable = ReadGenParam.EnableOK(fw, 10);
    SetVisible({lblVariableTAT[0], lblVariableTAT[1], cboVariableTAT}, variable);
    if (variable && EditGenParam.OKToWrite(10)) {
        SetListIndex(cboVariableTAT, -1);
        const int match = cboVariableTAT->findText(Q(VB::NumText(EditGenParam.VariableTAT())));
        if (match >= 0) {
            SetListIndex(cboVariableTAT, match);
        } else {
            SetComboText(cboVariableTAT, VB::NumText(EditGenParam.VariableTAT()));
        }
    }
    MarkFieldsShown();
}

void frmGenSettings::MarkFieldsShown()
{
    for (QWidget* field : {static_cast<QWidget*>(txtAddress), static_cast<QWidget*>(cboAddress),
                           static_cast<QWidget*>(cboGain[0]), static_cast<QWidget*>(cboGain[1]),
                           static_cast<QWidget*>(cboIdentity), static_cast<QWidget*>(cboGenTAT),
                           static_cast<QWidget*>(txtPulseWidth), static_cast<QWidget*>(cboBlock),
                           static_cast<QWidget*>(txtRelayOnTime), static_cast<QWidget*>(cboPowerLevel[0]),
                           static_cast<QWidget*>(cboPowerLevel[1]), static_cast<QWidget*>(cboVariableTAT)}) {
        Forms::MarkShown(field);
    }
}

void frmGenSettings::ShowAddress()
{
    const int32_t fw = FW();
    const bool a = EditGenParam.OKToWrite(2);
    const bool c = EditGenParam.OKToWrite(8);
    const bool s = ReadGenParam.EnableOK(fw, 8);
    lblAddress->setVisible(true);
    txtAddress->setVisible(s);
    cboAddress->setVisible(!s);
    if (s) {
        lblAddress->setText(QStringLiteral("Address"));
        const QSignalBlocker block(txtAddress);
        txtAddress->setText(
            Q(a && c ? ReadGenParam.ComposeFullAddressCode(EditGenParam.Address(), EditGenParam.ChannelCode()) : " "));
    } else {
        lblAddress->setText(QStringLiteral("Address Code"));
        SetComboText(cboAddress, a ? VB::Trim(VB::NumText(static_cast<int32_t>(EditGenParam.Address()))) : " ");
    }
    txtAddress->setToolTip(Q(ReadGenParam.ToolTip(2, fw)));
}

void frmGenSettings::CheckCmdAddress()
{
    uint32_t colour = Forms::vbRed;
    if (cboOrvaneIntChan->currentIndex() >= 0) {
        colour = NavParams.OrvaneIntChan() == ShownIntChan ? Forms::vbWhite : Forms::vbOrange;
    } else {
        SetEnabled({cmdGenWrite[0], cmdGenWrite[1]}, false);
    }
    Forms::SetBackColor(cboOrvaneIntChan, colour);
    Forms::SetBackColor(lblQuickData[0], colour);
    if (!CmdAddressOK(txtAddress)) {
        SetEnabled({cmdGenWrite[0], cmdGenWrite[1]}, false);
    }
}

void frmGenSettings::HighlightQuickButton()
{
    for (int i = 1; i <= 9; ++i) {
        QFont font = cmdQuick[static_cast<size_t>(i)]->font();
        font.setPointSize(i == SelectedPreset ? 28 : 20);
        cmdQuick[static_cast<size_t>(i)]->setFont(font);
    }
}

bool frmGenSettings::GenWriteAllowed()
{
    const int32_t fw = FW();
    bool any = false;
    for (int32_t n = 1; n <= 10; ++n) {
        any = any || ReadGenParam.EnableOK(fw, n);
    }
    if (!any || !ReadGenParam.HasBeenRead()) {
        return false;
    }
    for (int32_t n = 1; n <= 10; ++n) {
        if (ReadGenParam.EnableOK(fw, n) && !EditGenParam.OKToWrite(n)) {
            return false;
        }
    }
    if (ListIndex(cboGenTAT) < 0 || VB::Trim(ComboText(cboBlock)).empty()) {
        return false;
    }
    float pulse = 0;
    try {
        pulse = static_cast<float>(VB::Val(S(txtPulseWidth->text())));
    } catch (const VBError&) {
        return false;
    }
    if (!(pulse > 0 && pulse <= 10.2f)) {
        return false;
    }
    if (QuickSetMode && (!CmdAddressOK(txtAddress) || cboOrvaneIntChan->currentIndex() < 0)) {
        return false;
    }
    for (int32_t n = 1; n <= 10; ++n) {
        if (ReadGenParam.EnableOK(fw, n) && GenParamChanged(n, EditGenParam, ReadGenParam)) {
            return true;
        }
    }
    return QuickSetMode && (VB::Val(NavParams.CmdAddressString()) != ShownCmdAddress ||
                            NavParams.OrvaneIntChan() != ShownIntChan);
}

void frmGenSettings::EnableGenWrite()
{
    const bool allowed = GenWriteAllowed();
    SetEnabled({cmdGenWrite[0], cmdGenWrite[1]}, allowed);
}

void frmGenSettings::EnableGenRead(bool Enable) { SetEnabled({cmdGenRead[0], cmdGenRead[1]}, Enable); }
void frmGenSettings::EnableGain(bool Enable) { SetEnabled({cboGain[0], cboGain[1]}, Enable); }
void frmGenSettings::EnablePowerLevel(bool Enable) { SetEnabled({cboPowerLevel[0], cboPowerLevel[1]}, Enable); }

void frmGenSettings::ProgressCancel(bool Show)
{
    for (QPushButton* b : cmdProgressCancel) {
        b->setVisible(Show);
        b->setEnabled(Show);
    }
}

void frmGenSettings::ShowExitButtons(bool Show) { SetVisible({cmdExit[0], cmdExit[1]}, Show); }

void frmGenSettings::ShowStatus(const std::string& text)
{
    staSettingsPanel1->setText(Q(text));
    staSettings->repaint();
}

void frmGenSettings::SetFirmwareLabelText(const std::string& text)
{
    if (owner_ != nullptr) {
        owner_->SetFirmwareLabelText(text);
    }
}

void frmGenSettings::SetFirmwareLabelBackColor(int32_t vbColor)
{
    if (owner_ != nullptr) {
        owner_->SetFirmwareLabelBackColor(vbColor);
    }
}

// ------------------------------------------------------------------ busy

// The focus waits on the progress Cancel and then goes to Get, never through
// an entry: one it dropped into would be checked, and stored, on the next click.
void frmGenSettings::BeginBusy()
{
    Forms::BusyPointer();
    SetBusy(true);
    ProgressCancel(true);
    cmdProgressCancel[QuickSetPanelShown ? 1 : 0]->setFocus();
    EnableGenControls(true);
    ShowExitButtons(false);
}

void frmGenSettings::EndBusy()
{
    EnableGenControls(false);
    cmdGenRead[QuickSetPanelShown ? 1 : 0]->setFocus();
    ProgressCancel(false);
    ShowExitButtons(true);
    prgGenSettings->setValue(prgGenSettings->minimum());
    SetBusy(false);
}

void frmGenSettings::mTpdrComms_PercentDone(float Fraction, bool& Cancel)
{
    TpdrExchange::ShowProgress(prgGenSettings, Fraction, *this, Cancel);
}

void frmGenSettings::cmdProgressCancel_Click(int) { CancelRequested = true; }

// ------------------------------------------------------------------ read

void frmGenSettings::cmdGenRead_Click(int)
{
    BeginBusy();
    CancelRequested = false;
    FirmwareReader::GetFirmware(FirmwarePolicies::frmGenSettings, *this);
    FillGenCombos();
    const int32_t fw = FW();
    const bool GainFlag = ReadGenParam.EnableOK(fw, 12);
    for (int32_t n = 1; n <= 10; ++n) {
        SetDefaults(n);
    }
    for (const GenReadGroup& g : GenReadGroups) {
        if (!ReadGenParam.EnableOK(fw, g.gate)) {
            continue;
        }
        ReadParams(g.group, GainFlag);
        for (int32_t p : g.params) {
            if (p != 0) {
                HandleReadParams(p);
            }
        }
    }
    CommonProcs::Delay(AppSettings.DelayBetweenCmds());
    CommonProcs::InitialiseTpdr();
    ShowStatus("Transponder initialised.");
    EndBusy();
    SelectedPreset = 0;
    if (NavParams.NavScheme() == 4) {
        SelectedPreset = SpanwaveQuickset::FindQuickset();
        HighlightQuickButton();
    }
    ShowGenParams();
    Forms::DefaultPointer();
}

void frmGenSettings::ReadParams(int32_t Group, bool GainFlag)
{
    Guarded(ProcRead, [&] {
        TpdrExchange::Options options;
        options.extraDelay = Group == 2; // the six-byte read needs longer
        TpdrExchange::Reply reply;
        TpdrExchange::Run(
            *this,
            [Group](TpdrCommand& frame, int16_t& count, int16_t& length) {
                ReadGenParam.ReadEncode(frame, count, length, Group);
            },
            [] { return ReadGenParam.StatusBarText(); }, reply,
            [Group, GainFlag](const std::string& text, int16_t) {
                ReadGenParam.HasBeenRead(true);
                ReadGenParam.ReadDecode(text, Group, GainFlag);
            },
            options);
        ReadGenParam.HasBeenRead(true);
    });
}

void frmGenSettings::HandleReadParams(int32_t Param)
{
    Guarded(ProcHandle, [&] {
        CopyGenParam(0, Param);
        if (Param == 8) {
            SetGenParamColour(2);
            SetGenParamColour(8);
        }
        ShowGenParams();
        EnableGenWrite();
    });
}

// ------------------------------------------------------------------ write

bool frmGenSettings::NavigationChanged() const
{
    return cboOrvaneIntChan->currentIndex() != ShownIntChan || ReadNavScheme != NavParams.NavScheme() ||
           VB::Val(S(txtAddress->text())) != ShownCmdAddress;
}

void frmGenSettings::cmdGenWrite_Click(int Index)
{
    Forms::BusyPointer();
    SetBusy(true);
    bool changed = false;
    if (!Guarded(ProcWrite, [&] { changed = QuickSetMode && NavigationChanged(); })) {
        ReturnToIdle();
        return;
    }
    if (changed) {
        NavParams.CmdAddressString(S(txtAddress->text()));
        const int i = cboOrvaneIntChan->currentIndex();
        NavParams.OrvaneIntChan(i >= 0 ? i : 19);
        // The main window writes the chain while this dialog stays live above it.
        EnableGenControls(true);
        const bool ok = owner_ != nullptr && owner_->SetNavParams();
        ShowNavScheme();
        if (!ok) {
            EnableGenControls(false);
            SetBusy(false);
            Forms::DefaultPointer();
            return;
        }
        Forms::BusyPointer();
        CommonProcs::Delay(AppSettings.DelayBetweenCmds());
    }
    if (!Guarded(ProcWrite, [&] { WriteGenParams(Index); })) {
        ReturnToIdle();
    }
}

void frmGenSettings::WriteGenParams(int Index)
{
    const int32_t fw = FW();
    const bool GainFlag = ReadGenParam.EnableOK(fw, 12);
    for (int32_t n = 1; n <= 10; ++n) {
        EditGenParam.WriteOK(n, false);
    }
    bool failed = false;
    for (int32_t n = 1; n <= 10; ++n) {
        if (failed) {
            failed = false;
            if (MsgBox("Do you wish to continue writing?",
                       MsgBoxStyle::YesNo | MsgBoxStyle::Question | MsgBoxStyle::DefaultButton2,
                       "General Parameters") == MsgBoxResult::No) {
                break;
            }
        }
        // Unchanged, unsupported, or no longer valid since Set was offered: not written.
        if (!GenParamChanged(n, EditGenParam, ReadGenParam) || !ReadGenParam.EnableOK(fw, n) ||
            !EditGenParam.OKToWrite(n)) {
            continue;
        }
        EnableGenControls(true);
        ShowExitButtons(false);
        ProgressCancel(true);
        CancelRequested = false;
        TpdrExchange::Options options;
        options.delayFirst = false;
        options.statusAfterDecode = true; // the acknowledgement
        TpdrExchange::Reply reply;
        const int32_t result = TpdrExchange::Run(
            *this,
            [n, GainFlag](TpdrCommand& frame, int16_t& count, int16_t& length) {
                EditGenParam.WriteEncode(frame, count, length, n, GainFlag);
            },
            [] { return EditGenParam.StatusBarText(); }, reply,
            [n](const std::string& text, int16_t length) { EditGenParam.WriteDecode(text, n, length); }, options);
        failed = result != ReplyReceived;
        if (!failed) {
            if (EditGenParam.WriteOK(n)) {
                CopyGenParam(1, n);
            } else {
                MsgBox("Parameter may not have been written.", MsgBoxStyle::Exclamation | MsgBoxStyle::OKOnly,
                       "General Write");
            }
        }
        CommonProcs::Delay(AppSettings.DelayBetweenCmds());
    }
    for (int32_t n = 1; n <= 10; ++n) {
        if (!EditGenParam.WriteOK(n)) {
            ReadGenParam.HasBeenRead(true);
        }
    }
    ShowStatus("Initialising Transponder.");
    EnableGenControls(true);
    CommonProcs::Delay(0.5f);
    CommonProcs::Delay(AppSettings.DelayBetweenCmds());
    CommonProcs::InitialiseTpdr();
    ShowStatus("Transponder initialised.");
    CommonProcs::Delay(0.5f);
    CommonProcs::Delay(AppSettings.DelayBetweenCmds());
    EnableGenControls(false);
    ShowStatus("");
    for (int32_t n = 1; n <= 10; ++n) {
        SetGenParamColour(n);
    }
    ShownIntChan = NavParams.OrvaneIntChan();
    ShownCmdAddress = VB::CLng(VB::Val(NavParams.CmdAddressString()));
    ShownAddressCode = NavParams.AddressCode();
    ShownChannelCode = NavParams.ChannelCode();
    ShowGenParams();
    EndBusy();
    EnableGenWrite();
    picGeneral[0]->setVisible(Index == 0);
    picGeneral[1]->setVisible(Index == 1);
    QuickSetPanelShown = Index == 1;
    cmdGenRead[static_cast<size_t>(Index)]->setFocus();
    Forms::DefaultPointer();
}

void frmGenSettings::ReturnToIdle()
{
    EndBusy();
    EnableGenWrite();
    Forms::DefaultPointer();
}

// ------------------------------------------------------------------ editing

void frmGenSettings::StoreEditedParam(int16_t Param, const std::string& Text, bool& Cancel)
{
    Cancel = true;
    if (!VB::IsNumeric(Text)) {
        return;
    }
    // A number too large for its type is refused like any other bad entry.
    try {
        const double value = VB::Val(Text);
        switch (Param) {
        case 8:
            break;
        case 1:
        case 2:
        case 3:
        case 9:
            GenParamRow(Param).set(EditGenParam, VB::CInt(value));
            break;
        default:
            if (std::fabs(value) > std::numeric_limits<float>::max()) {
                return;
            }
            GenParamRow(Param).set(EditGenParam, static_cast<float>(value));
            break;
        }
    } catch (const VBError&) {
        return;
    }
    EditGenParam.ChangedParam(Param);
    ReadGenParam.ChangedParam(Param);
    if (EditGenParam.OKToWrite(Param)) {
        SetGenParamColour(Param);
        EnableGenWrite();
        Cancel = false;
    }
}

void frmGenSettings::FieldValidate(int32_t Param, int Index, bool& Cancel)
{
    const GenParamFacts& row = GenParamRow(Param);
    std::string text;
    if (row.twins) {
        QComboBox* combo = Param == 1 ? cboGain[static_cast<size_t>(Index)] : cboPowerLevel[static_cast<size_t>(Index)];
        text = std::to_string(combo->currentIndex());
    } else if (row.text == GenFieldText::ListIndex) {
        text = std::to_string(ListIndex(Control<QComboBox>(row.field)));
    } else if (auto* box = Control<QLineEdit>(row.field)) {
        text = S(box->text());
    } else {
        text = ComboText(Control<QComboBox>(row.field));
    }
    StoreEditedParam(static_cast<int16_t>(Param), text, Cancel);
    if (row.twins && !Cancel) {
        const auto& pair = Param == 1 ? cboGain : cboPowerLevel;
        QComboBox* twin = pair[static_cast<size_t>((Index + 1) % 2)];
        const int index = pair[static_cast<size_t>(Index)]->currentIndex();
        const bool was = twin->isEnabled();
        twin->setEnabled(false);
        SetListIndex(twin, index < twin->count() ? index : twin->count() - 1);
        twin->setEnabled(was);
    }
}

void frmGenSettings::txtAddress_Validate(bool& Cancel)
{
    Cancel = false;
    const std::string text = S(txtAddress->text());
    if (QuickSetMode) {
        NavParams.CmdAddressString(text);
        uint32_t colour = Forms::vbRed;
        if (CmdAddressOK(txtAddress)) {
            colour = VB::Val(text) == ShownCmdAddress ? Forms::vbWhite : Forms::vbOrange;
        }
        Forms::SetBackColor(txtAddress, colour);
        lblQuickData[1]->setText(Q(text));
        Forms::SetBackColor(lblQuickData[1], colour);
        return;
    }
    clsCommands commands;
    if (commands.CheckFullAddressCode(text) != 0) {
        Cancel = true;
        return;
    }
    EditGenParam.Address(commands.Address());
    EditGenParam.ChannelCode(commands.ICFChannel());
    for (int32_t n : {2, 8}) {
        EditGenParam.ChangedParam(n);
        ReadGenParam.ChangedParam(n);
    }
    if (EditGenParam.OKToWrite(2) && EditGenParam.OKToWrite(8)) {
        ColourAddressAndChannel();
        ShowGenParams();
        const bool allowed = GenWriteAllowed();
        cmdGenWrite[1]->setEnabled(allowed);
        cmdGenWrite[0]->setEnabled(allowed);
    } else {
        Cancel = true;
    }
}

void frmGenSettings::txtAddress_KeyPress(int16_t& KeyAscii) { CommonProcs::NumericKeyFilter(KeyAscii, false); }

void frmGenSettings::txtAddress_Change() { lblQuickData[1]->setText(txtAddress->text()); }

void frmGenSettings::txtAddress_LostFocus()
{
    NavParams.CmdAddressString(S(txtAddress->text()));
    lblQuickData[1]->setText(txtAddress->text());
    EnableGenWrite();
}

void frmGenSettings::cboGain_Click(int Index)
{
    bool Cancel = false;
    FieldValidate(1, Index, Cancel);
}

void frmGenSettings::cboPowerLevel_Click(int Index)
{
    bool Cancel = false;
    FieldValidate(9, Index, Cancel);
}

void frmGenSettings::cboGenTAT_Click() { lblQuickData[2]->setText(cboGenTAT->currentText()); }

void frmGenSettings::cboOrvaneIntChan_Click() { cboOrvaneIntChan_LostFocus(); }

void frmGenSettings::cboOrvaneIntChan_LostFocus()
{
    const int i = cboOrvaneIntChan->currentIndex();
    uint32_t colour = Forms::vbRed;
    int32_t channel = 19;
    if (i >= 0) {
        colour = i == ShownIntChan ? Forms::vbWhite : Forms::vbOrange;
        channel = i;
    }
    Forms::SetBackColor(cboOrvaneIntChan, colour);
    NavParams.OrvaneIntChan(channel);
    lblQuickData[0]->setText(cboOrvaneIntChan->currentText());
    Forms::SetBackColor(lblQuickData[0], colour);
    EnableGenWrite();
}

// ------------------------------------------------------------------ buttons

void frmGenSettings::cmdGenCancel_Click(int)
{
    for (int32_t n = 1; n <= 10; ++n) {
        CopyGenParam(0, n);
    }
    NavParams.OrvaneIntChan(ShownIntChan);
    // The codes as shown, not the number's text: "0005" must not come back as "5".
    NavParams.AddressCode(false, ShownAddressCode);
    NavParams.ChannelCode(false, ShownChannelCode);
    SelectedPreset = SpanwaveQuickset::FindQuickset();
    ShowGenParams();
    for (int32_t n = 1; n <= 10; ++n) {
        SetGenParamColour(n);
    }
    ColourAddressAndChannel();
    EnableGenWrite();
}

void frmGenSettings::cmdQuickSet_Click()
{
    SelectedPreset = SpanwaveQuickset::FindQuickset();
    HighlightQuickButton();
    picGeneral[0]->hide();
    picGeneral[1]->show();
    QuickSetPanelShown = true;
}

void frmGenSettings::cmdAdvanced_Click()
{
    QuickSetPanelShown = false;
    picGeneral[1]->hide();
    picGeneral[0]->show();
}

void frmGenSettings::cmdQuick_Click(int Index)
{
    const QuicksetRecord& q = Quicksets.at(static_cast<size_t>(Index));
    SelectedPreset = static_cast<int16_t>(Index);
    HighlightQuickButton();
    CommonProcs::SelectComboItem(cboOrvaneIntChan, "MF" + std::to_string(q.MFNumber));
    cboOrvaneIntChan_Click();
    CommonProcs::SelectComboItem(cboGenTAT, VB::Fixed(q.TAT, 1));
    cboGenTAT_Click();
    lblQuickData[2]->setText(cboGenTAT->currentText());
    const std::string p = VB::Fixed(q.PulseWidth, 1);
    txtPulseWidth->setText(Q(p));
    CommonProcs::SelectComboItem(cboBlock, VB::Fixed(q.Block, 1));
    SetListIndex(cboPowerLevel[1], q.PowerIndex);
    cboPowerLevel_Click(1);
    SetListIndex(cboGain[1], q.GainIndex);
    cboGain_Click(1);
    const std::string a = std::to_string(q.CommandAddress);
    cboOrvaneIntChan_LostFocus();
    bool Cancel = false;
    FieldValidate(4, 0, Cancel);
    {
        const QSignalBlocker block(txtAddress);
        txtAddress->setText(Q(a));
    }
    lblQuickData[1]->setText(Q(a));
    StoreEditedParam(2, a, Cancel);
    txtAddress_Validate(Cancel);
    StoreEditedParam(6, ComboText(cboBlock), Cancel);
    StoreEditedParam(5, p, Cancel);
}

void frmGenSettings::FocusExit() { cmdExit[QuickSetPanelShown ? 1 : 0]->setFocus(); }

void frmGenSettings::cmdMultiTATs_Click()
{
    if (!clsMultiTAT::EnableOK(FW())) {
        return;
    }
    Forms::ShowModal("frmMultiTAT", this);
    FocusExit();
}

void frmGenSettings::cmdTimedRelease_Click()
{
    if (!timedRelease_->EnableOK(FW())) {
        CommonProcs::ShowNotSupported();
        return;
    }
    Forms::ShowModal("frmTimedRelease", this);
    FocusExit();
}

void frmGenSettings::cmdExit_Click(int) { Unload(); }

void frmGenSettings::QueryUnload(bool& Cancel, CloseBy)
{
    // Whatever asks, the dialog stays while a read or write uses it.
    Cancel = Busy();
}
