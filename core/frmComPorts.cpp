#include "frmComPorts.h"

#include "appinfo.h"
#include "clsSettings.h"
#include "commonprocs.h"
#include "dialogs.h"
#include "errorhandler.h"
#include "tpdrnames.h"
#include "tpdrport.h"
#include "vbconv.h"
#include "vberror.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <vector>

using Forms::Q;
using Forms::S;

namespace {

const char* const NotUsed = "Not Used";

// "1.5", "0.5", "1": the run time's number text with the leading zero it leaves out.
std::string SecondsText(float seconds)
{
    const std::string text = VB::NumText(seconds);
    return text.starts_with('.') ? "0" + text : text;
}

enum class WaitText { NotNumber, OutOfRange, Good };

WaitText ReadWait(const QLineEdit* box, float min, float max, float& value)
{
    const std::string text = S(box->text());
    if (!VB::IsDecimal(text)) {
        return WaitText::NotNumber;
    }
    double number = 0;
    try {
        number = VB::DecimalVal(text);
    } catch (const VBError&) {
        return WaitText::OutOfRange;
    }
    if (!(number >= -3.4e38 && number <= 3.4e38)) {
        return WaitText::OutOfRange;
    }
    value = static_cast<float>(number);
    return value >= min && value <= max ? WaitText::Good : WaitText::OutOfRange;
}

void SelectText(QLineEdit* box)
{
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

// A port that will not open or close when asked is reported like any other
// failure of the link; the dialog carries on.
void ReportPortError(const VBError& e, const char* procName)
{
    ErrorHandler::CommsOrCatchAll(e.Number(), e.Description(), procName);
}

int32_t PortNumber(const QComboBox* list) { return list->currentData().toInt(); }

void SelectPort(QComboBox* list, int32_t port)
{
    const int at = list->findData(port);
    list->setCurrentIndex(at >= 0 ? at : 0);
}

} // namespace

frmComPorts::frmComPorts(QWidget* owner) : Forms::Dialog(owner)
{
    setObjectName(QStringLiteral("frmComPorts"));
    setWindowTitle(QStringLiteral("Serial Port Settings"));

    fraTransponder = Forms::Named(new QGroupBox(QStringLiteral("Transponder"), this), "fraTransponder");
    lblTpdrPort = Forms::Named(new QLabel(QStringLiteral("Serial Port"), fraTransponder), "lblTpdrPort");
    const char* const captions[] = {"Serial Communications Wait", "Delay between commands", "seconds", "seconds",
                                    "Serial Baud Rate"};
    for (size_t i = 0; i < lblTpdr.size(); ++i) {
        lblTpdr[i] =
            Forms::Named(new QLabel(QString::fromLatin1(captions[i]), fraTransponder), "lblTpdr", static_cast<int>(i));
    }
    cboTpdrPort = Forms::Named(new QComboBox(fraTransponder), "cboTpdrPort");
    cboTpdrBaud = Forms::Named(new QComboBox(fraTransponder), "cboTpdrBaud");
    txtTpdrTelemWait = Forms::Named(new QLineEdit(fraTransponder), "txtTpdrTelemWait");
    txtDelayBetweenCmds = Forms::Named(new QLineEdit(fraTransponder), "txtDelayBetweenCmds");

    auto* tpdrGrid = new QGridLayout(fraTransponder);
    tpdrGrid->addWidget(lblTpdrPort, 0, 0);
    tpdrGrid->addWidget(cboTpdrPort, 0, 1);
    tpdrGrid->addWidget(lblTpdr[4], 1, 0);
    tpdrGrid->addWidget(cboTpdrBaud, 1, 1);
    tpdrGrid->addWidget(lblTpdr[0], 2, 0);
    tpdrGrid->addWidget(txtTpdrTelemWait, 2, 1);
    tpdrGrid->addWidget(lblTpdr[2], 2, 2);
    tpdrGrid->addWidget(lblTpdr[1], 3, 0);
    tpdrGrid->addWidget(txtDelayBetweenCmds, 3, 1);
    tpdrGrid->addWidget(lblTpdr[3], 3, 2);

    Frame1 = Forms::Named(new QGroupBox(QStringLiteral("VOV"), this), "Frame1");
    lblANT = Forms::Named(new QLabel(QStringLiteral("Serial Port"), Frame1), "lblANT");
    cboANTPort = Forms::Named(new QComboBox(Frame1), "cboANTPort");
    auto* antGrid = new QGridLayout(Frame1);
    antGrid->addWidget(lblANT, 0, 0);
    antGrid->addWidget(cboANTPort, 0, 1);

    cmdOK = Forms::NewButton(this, "cmdOK", QStringLiteral("&OK"), QStringLiteral("Accept settings and exit"));
    cmdCancel = Forms::NewButton(this, "cmdCancel", QStringLiteral("&Cancel"),
                                 QStringLiteral("Keep original settings and exit"));
    cmdDefaults =
        Forms::NewButton(this, "cmdDefaults", QStringLiteral("Use &Defaults"), QStringLiteral("Use default values"));
    Forms::SetCausesValidation(cmdCancel, false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdDefaults);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraTransponder);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);

    connect(cboTpdrPort, &QComboBox::currentIndexChanged, this, &frmComPorts::cboTpdrPort_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmComPorts::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmComPorts::cmdCancel_Click);
    connect(cmdDefaults, &QPushButton::clicked, this, &frmComPorts::cmdDefaults_Click);
    Forms::OnValidate(txtTpdrTelemWait, [this](bool& Cancel) { txtTpdrTelemWait_Validate(Cancel); });
    Forms::OnValidate(txtDelayBetweenCmds, [this](bool& Cancel) { txtDelayBetweenCmds_Validate(Cancel); });
    txtTpdrTelemWait->installEventFilter(this);
    txtDelayBetweenCmds->installEventFilter(this);

    Form_Load();
}

void frmComPorts::Form_Load()
{
    OriginalTpdrComPort = AppSettings.TpdrComPort();
    OriginalANTComPort = AppSettings.ANTComPort();
    OriginalTpdrTelemWait = AppSettings.TpdrTelemWait();
    OriginalDelayBetweenCmds = AppSettings.DelayBetweenCmds();
    try {
        OriginalBaud = VB::CLng(VB::DecimalVal(AppSettings.sTpdrComPortBaud()));
    } catch (const VBError&) {
        OriginalBaud = 0;
    }
    ANTWasOpen = HaveANTPort() && comANT().PortOpen();
    if (ANTWasOpen) {
        try {
            comANT().PortOpen(false);
        } catch (const VBError& e) {
            ReportPortError(e, "Form_Load (frmComPorts)");
        }
    }
    TpdrWasOpen = HaveTpdrPort() && comTpdr().PortOpen();

    // A port counts as available when it opens; any error just leaves it out.
    std::vector<int16_t> available;
    for (int16_t n = FirstPort; n <= LastPort; ++n) {
        try {
            Platform::SerialComm& port = comTpdr();
            if (port.PortOpen()) {
                port.PortOpen(false);
            }
            port.CommPort(n);
            port.PortOpen(true);
            port.PortOpen(false);
            available.push_back(n);
        } catch (const VBError&) {
        }
    }
    try {
        if (HaveTpdrPort() && comTpdr().PortOpen()) {
            comTpdr().PortOpen(false);
        }
    } catch (const VBError&) {
    }
    if (available.empty()) {
        MsgBox("No Available Serial Ports Found.", MsgBoxStyle::Critical | MsgBoxStyle::OKOnly, App::Title());
    }

    for (QComboBox* list : {cboTpdrPort, cboANTPort}) {
        const QSignalBlocker quiet(list);
        list->addItem(QString::fromLatin1(NotUsed), 0);
        for (const int16_t n : available) {
            list->addItem(QStringLiteral("COM%1").arg(n), static_cast<int>(n));
        }
    }
    {
        const QSignalBlocker quiet(cboTpdrPort);
        SelectPort(cboTpdrPort, OriginalTpdrComPort);
    }
    cboTpdrPort_Click();
    SelectPort(cboANTPort, OriginalANTComPort);

    FillBaudLists();
    FormatSeconds();

    cboTpdrPort->setToolTip(HaveTpdrPort() ? Q(comTpdr().Settings()) : QString());
    cboANTPort->setToolTip(HaveANTPort() ? Q(comANT().Settings()) : QString());
    txtTpdrTelemWait->setToolTip(Q("Transponder Serial Communications Wait (" + SecondsText(MinTelemWait) + " - " +
                                   SecondsText(MaxTelemWait) + " Seconds)"));
    txtDelayBetweenCmds->setToolTip(
        Q("Delay between commands (" + SecondsText(MinDelay) + " - " + SecondsText(MaxDelay) + " Seconds)"));

    // Without any port there is nothing to choose: leave as Cancel would.
    if (available.empty()) {
        cmdCancel_Click();
    }
}

void frmComPorts::FillBaudLists()
{
    cboTpdrBaud->clear();
    cboTpdrBaud->addItem(QString::fromLatin1(PortDefaults::Baud));
    cboTpdrBaud->addItem(QString::fromLatin1(PortDefaults::FastBaud));
    int match = -1;
    for (int i = 0; i < cboTpdrBaud->count() && match < 0; ++i) {
        if (VB::DecimalVal(S(cboTpdrBaud->itemText(i))) == OriginalBaud) {
            match = i;
        }
    }
    if (match < 0) {
        cboTpdrBaud->addItem(Q(VB::NumText(OriginalBaud)));
        match = cboTpdrBaud->count() - 1;
    }
    cboTpdrBaud->setCurrentIndex(match);
}

void frmComPorts::FormatSeconds()
{
    txtTpdrTelemWait->setText(Q(SecondsText(AppSettings.TpdrTelemWait())));
    txtDelayBetweenCmds->setText(Q(SecondsText(AppSettings.DelayBetweenCmds())));
}

void frmComPorts::cboTpdrPort_Click()
{
    const bool used = PortNumber(cboTpdrPort) != 0;
    for (QLabel* label : lblTpdr) {
        label->setEnabled(used);
    }
    cboTpdrBaud->setEnabled(used);
    txtTpdrTelemWait->setEnabled(used);
    txtDelayBetweenCmds->setEnabled(used);
}

bool frmComPorts::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == txtTpdrTelemWait || watched == txtDelayBetweenCmds)) {
        auto* box = static_cast<QLineEdit*>(watched);
        box->selectAll();
        // A mouse click places the cursor after the focus arrives: select again then.
        QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
    return Forms::Dialog::eventFilter(watched, event);
}

void frmComPorts::txtTpdrTelemWait_Validate(bool& Cancel)
{
    float value = 0;
    if (ReadWait(txtTpdrTelemWait, MinTelemWait, MaxTelemWait, value) != WaitText::Good) {
        Cancel = true;
        return;
    }
    AppSettings.TpdrTelemWait(value);
    FormatSeconds();
}

void frmComPorts::txtDelayBetweenCmds_Validate(bool& Cancel)
{
    float value = 0;
    if (ReadWait(txtDelayBetweenCmds, MinDelay, MaxDelay, value) != WaitText::Good) {
        Cancel = true;
        return;
    }
    AppSettings.DelayBetweenCmds(value);
    FormatSeconds();
}

void frmComPorts::cmdDefaults_Click()
{
    if (Forms::FocusRefused(cmdDefaults)) {
        return;
    }
    AppSettings.TpdrTelemWait(PortDefaults::TelemWait);
    AppSettings.DelayBetweenCmds(PortDefaults::DelayBetweenCmds);
    FormatSeconds();
}

void frmComPorts::cmdOK_Click()
{
    if (Forms::FocusRefused(cmdOK)) {
        return;
    }
    const std::string baud = S(cboTpdrBaud->currentText());
    AppSettings.sTpdrComPortBaud(baud);
    AppSettings.sTpdrDownLoadComPortBaud(baud);
    // After a start without a settings file the rest of the port's settings
    // text is still empty: without it the port would never open.
    AppSettings.FillEmptyPortTexts();

    float value = 0;
    switch (ReadWait(txtTpdrTelemWait, MinTelemWait, MaxTelemWait, value)) {
    case WaitText::Good:
        AppSettings.TpdrTelemWait(value);
        break;
    case WaitText::OutOfRange:
        SelectText(txtTpdrTelemWait);
        return;
    case WaitText::NotNumber:
        SelectText(txtTpdrTelemWait);
        break;
    }
    switch (ReadWait(txtDelayBetweenCmds, MinDelay, MaxDelay, value)) {
    case WaitText::Good:
        AppSettings.DelayBetweenCmds(value);
        break;
    case WaitText::OutOfRange:
        SelectText(txtDelayBetweenCmds);
        return;
    case WaitText::NotNumber:
        SelectText(txtDelayBetweenCmds);
        break;
    }

    AppSettings.TpdrComPort(PortNumber(cboTpdrPort));
    AppSettings.ANTComPort(PortNumber(cboANTPort));
    // "Not Used" is no port to open, and no error to report.
    if (AppSettings.TpdrComPort() != 0) {
        CommonProcs::OpenTpdrCommPort(false);
    }
    Unload(QDialog::Accepted);
}

void frmComPorts::cmdCancel_Click()
{
    AppSettings.TpdrTelemWait(OriginalTpdrTelemWait);
    AppSettings.DelayBetweenCmds(OriginalDelayBetweenCmds);
    AppSettings.sTpdrComPortBaud(VB::NumText(OriginalBaud));
    AppSettings.sTpdrDownLoadComPortBaud(VB::NumText(OriginalBaud));
    RestorePorts();
    Unload(QDialog::Rejected);
}

void frmComPorts::RestorePorts()
{
    AppSettings.TpdrComPort(OriginalTpdrComPort);
    AppSettings.ANTComPort(OriginalANTComPort);
    try {
        if (HaveANTPort() && comANT().PortOpen() != ANTWasOpen) {
            comANT().PortOpen(ANTWasOpen);
        }
    } catch (const VBError& e) {
        ReportPortError(e, "cmdCancel_Click (frmComPorts)");
    }
    if (!HaveTpdrPort()) {
        return;
    }
    try {
        Platform::SerialComm& port = comTpdr();
        if (OriginalTpdrComPort != 0 && OriginalTpdrComPort != port.CommPort()) {
            if (port.PortOpen()) {
                port.PortOpen(false);
            }
            port.CommPort(VB::CInt(OriginalTpdrComPort));
        }
        if (port.PortOpen() != TpdrWasOpen) {
            port.PortOpen(TpdrWasOpen);
        }
    } catch (const VBError& e) {
        ReportPortError(e, "cmdCancel_Click (frmComPorts)");
    }
}

void frmComPorts::QueryUnload(bool& Cancel, CloseBy how)
{
    // The close box and Esc leave the ports as they were, but not the waits:
    // a wait stored by leaving its box stays, as it would after OK.
    if (how != CloseBy::Code) {
        RestorePorts();
    }
    const int32_t tpdrPort = AppSettings.TpdrComPort();
    if (tpdrPort == 0) {
        try {
            if (HaveTpdrPort() && comTpdr().PortOpen()) {
                comTpdr().PortOpen(false);
            }
        } catch (const VBError& e) {
            ReportPortError(e, "Form_QueryUnload (frmComPorts)");
        }
        return;
    }
    if (tpdrPort == AppSettings.ANTComPort()) {
        MsgBox("The Transponder and VOV Com Ports cannot be the same.", MsgBoxStyle::Exclamation | MsgBoxStyle::OKOnly,
               "Identical Com Ports");
        Cancel = true;
        return;
    }
    if (tpdrPort != OriginalTpdrComPort && CommonProcs::OpenTpdrCommPort(false) != 0) {
        Cancel = true;
    }
}
