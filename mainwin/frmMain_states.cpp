// The main window's states, its menus and buttons, and the engineering mode.
#include "frmMain.h"

#include "clsGenStatus.h"
#include "clock.h"
#include "commonprocs.h"
#include "dialogs.h"
#include "errorhandler.h"
#include "forms.h"
#include "frmIOlist.h"
#include "globals.h"
#include "iolog.h"
#include "store.h"
#include "vbconv.h"
#include "vberror.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

using Forms::Q;

// ------------------------------------------------------------------ states

void frmMain::EnableAllControls(bool Enable)
{
    for (QAction* menu : menus_) {
        menu->setEnabled(Enable);
    }
    for (QWidget* control : controls_) {
        control->setEnabled(Enable);
    }
}

void frmMain::SetBusyControls()
{
    EnableAllControls(false);
    cmdExit->hide();
    cmdCancel->show();
    cmdCancel->setEnabled(true);
    prgMain->setValue(prgMain->minimum());
    repaint();
}

// The panels are rebuilt first, their pauses for repainting included, with
// the controls as they were: a window coming out of an exchange still looks
// busy until every panel shows what it holds, and only then turns idle.
void frmMain::UpdateControls()
{
    ShowStatusPanel();
    prgMain->setValue(prgMain->minimum());
    ShowNavScheme();
    if (!exchanging_) {
        if (TpdrFirmware.FWVersion() != FWUnknown) {
            EnableControlsForFirmware();
        } else {
            EnableControlsNoFirmware();
        }
        cmdDepth->setEnabled(DepthFitted);
        mnuDepthTest->setEnabled(DepthFitted);
    }
    EnableNavControls();
    EnableSchemeOptions();
    UpdateModeMenus();
    repaint();
}

void frmMain::BeginExchange()
{
    if (!exchanging_) {
        focusBefore_ = QApplication::focusWidget();
    }
    exchanging_ = true;
    SetBusyControls();
}

void frmMain::EndExchange()
{
    exchanging_ = false;
    UpdateControls();
    // Disabled while busy, the control lost the focus, and nothing else took it.
    if (QApplication::focusWidget() == nullptr && QApplication::activeWindow() == this) {
        MoveFocus(focusBefore_);
    }
}

void frmMain::EnableControlsNoFirmware()
{
    EnableAllControls(false);
    for (QAction* menu : {mnuSetup->menuAction(), mnuComms, mnuAbout}) {
        menu->setEnabled(true);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{fraStatus, cmdStatus, cmdDownload}) {
        control->setEnabled(true);
    }
    cmdCancel->hide();
    cmdExit->show();
    cmdExit->setEnabled(true);
    for (QAction* menu : {mnuDiagnostics->menuAction(), mnuDiagnosticsInitialise, mnuDiagnosticsReset}) {
        menu->setEnabled(true);
    }
}

void frmMain::EnableControlsForFirmware()
{
    cmdCancel->hide();
    cmdExit->show();
    EnableAllControls(true);
    EnableReleaseButton();
    TpdrTransceiver = std::make_unique<clsTransceiver>();
    mnuTransceiver->setEnabled(TpdrTransceiver->EnableOK(TpdrFirmware.FWVersion()));
    TpdrTransceiver.reset();
}

void frmMain::EnableReleaseButton()
{
    const clsRelease release;
    cmdRelease->setEnabled(release.ReleaseFittedOK(TpdrGenStatus.TypeNumber()));
}

void frmMain::ShowStatus(const std::string& Text)
{
    staMainPanel1_->setText(Q(Text));
    staMain->repaint();
}

std::string frmMain::StatusText() const { return Forms::S(staMainPanel1_->text()); }

void frmMain::mTpdrComms_PercentDone(float Percent, bool& Cancel)
{
    TpdrExchange::ShowProgress(prgMain, Percent, *this, Cancel);
}

void frmMain::SetFirmwareLabelText(const std::string& text)
{
    labelCode_ = TpdrFirmware.FWVersion();
    lblFirmware->setText(Q(text));
    lblFirmware->repaint();
}

void frmMain::SetFirmwareLabelBackColor(int32_t vbColor)
{
    Forms::SetBackColor(lblFirmware, static_cast<uint32_t>(vbColor));
}

// ------------------------------------------------------------------ engineering mode

void frmMain::Form_KeyPress(int16_t KeyAscii)
{
    if (KeyAscii == 10 || KeyAscii == 13) {
        return;
    }
    KeyBuffer += static_cast<char>(static_cast<unsigned char>(KeyAscii));
    SetEngineeringMode(KeyBuffer);
}

void frmMain::SetEngineeringMode(const std::string& Text)
{
    const std::string code = EngineeringAccessCode;
    const std::string typed = VB::UCase(VB::Trim(Text));
    if (typed.find(code) != std::string::npos) {
        EngineeringCode = code;
        EngineeringMode = true;
        KeyBuffer.clear();
    } else if (code.find(typed) == std::string::npos) {
        // Not the code being typed: the mode goes off.
        EngineeringMode = false;
        EngineeringCode.clear();
        KeyBuffer.clear();
        if (ShowIOFlag) {
            UnloadIOList();
            DoEvents();
        }
    }
    UpdateModeMenus();
}

void frmMain::UpdateModeMenus()
{
    setWindowTitle(Q(AppTitleVersion() + (EngineeringMode ? " : Engineering Mode" : "")));
    mnuSetupUsermode->setVisible(EngineeringMode);
    mnuSetupUsermode->setEnabled(EngineeringMode);
    mnuDiagnosticsIO->setVisible(EngineeringMode);
    mnuDiagnosticsIO->setEnabled(EngineeringMode);
    mnuDiagnosticsTankTest->setVisible(EngineeringMode);
    mnuCalChanSelectors->setEnabled(EngineeringMode);
}

// ------------------------------------------------------------------ dialogs

void frmMain::ShowDialog(const char* formName)
{
    Forms::ShowModal(formName, this);
    // The dialog's own firmware read may have found another unit, or lost the
    // code: the window follows the code as it now stands.
    UpdateControls();
}

void frmMain::ShowLargeDialog(const char* formName)
{
    setEnabled(false);
    ShowDialog(formName);
    setEnabled(true);
}

void frmMain::cmdSettings_Click() { OpenSettings(false); }

void frmMain::cmdQuickSet_Click() { OpenSettings(true); }

// The dialog starts from the navigation as read, an edit of this window not
// sent being no value of the unit, and the window reads it all again after.
void frmMain::OpenSettings(bool quickSet)
{
    Forms::HourglassPointer();
    RestoreReadParams();
    if (quickSet) {
        UseQuickSetScheme();
    }
    ShowDialog("frmGenSettings");
    cmdRead_Click();
    MoveFocus(cmdSettings);
    Forms::DefaultPointer();
}

void frmMain::UseQuickSetScheme()
{
    NavParams.NavScheme(4);
    // The types that define the Spanwave scheme, so that no later
    // re-derivation of the scheme takes it back to the one read.
    NavParams.ChanType(1);
    NavParams.ReplyType(2);
}

bool frmMain::GetNavParams()
{
    // The scheme read is the unit's: a Quickset press made for the unit read
    // before is no choice for this one.
    cmdRead_Click();
    return NavParamsRead;
}

void frmMain::cmdRelease_Click()
{
    Forms::HourglassPointer();
    ShowDialog("frmRelease");
    MoveFocus(cmdStatus);
    Forms::DefaultPointer();
}

void frmMain::cmdDepth_Click()
{
    Forms::HourglassPointer();
    KeyBuffer.clear();
    ShowDialog("frmDepth");
    SetDepthLabel();
    UpdateControls();
    Forms::DefaultPointer();
}

void frmMain::SetDepthLabel()
{
    Forms::SetBackColor(lblDepthOnOff, Forms::vbWhite);
    DepthFitted = false;
    switch (ReadDepth.OnOff()) {
    case 1:
        lblDepthOnOff->setText(QStringLiteral("ON"));
        DepthFitted = true;
        break;
    case 2:
        lblDepthOnOff->setText(QStringLiteral("OFF"));
        break;
    case 3:
        lblDepthOnOff->setText(QStringLiteral("Status ON"));
        DepthFitted = true;
        break;
    case 4:
        lblDepthOnOff->setText(QStringLiteral("Not fitted"));
        cmdDepth->setEnabled(false);
        break;
    default:
        // 0: the dialog's read failed, or found no valid state.
        lblDepthOnOff->setText(ReadDepth.OnOff() == 0 ? QStringLiteral("Not read") : QStringLiteral("Invalid"));
        // A lost reply says nothing of the sensor: the unit's type still does,
        // and the dialog stays open to another try.
        if (ReadDepth.OnOff() == 0) {
            DepthFitted = ReadDepth.FittedOK(TpdrGenStatus.TypeNumber());
        }
        Forms::SetBackColor(lblDepthOnOff, Forms::vbRed);
        break;
    }
    lblDepthOnOff->repaint();
}

void frmMain::ShowStatusPanel()
{
    if (StatusFieldsRead.Outdated()) {
        StatusFieldsRead = false;
        TpdrGenStatus = clsGenStatus(); // the release follows no unit's type
        for (QLabel* label : {lblTxFirmware, lblTypeNumber, lblSerialNumber}) {
            SetStatusLabel(label, "Unknown", Forms::vbMagenta);
        }
    }
    if (VoltageRead.Outdated()) {
        VoltageRead = false;
        SetStatusLabel(lblVoltage, "Unknown", Forms::vbMagenta);
    }
    // The depth state stays not read until the next Get Status.
    if (DepthRead.Outdated()) {
        DepthRead = false;
        ReadDepth.OnOff(0);
        SetDepthLabel();
        DepthFitted = false; // nor is it known whether this unit carries a sensor
    }
    // A window that reads the version without showing it leaves the label
    // behind: it shows the code found, or not read once the code was lost.
    if (labelCode_ != TpdrFirmware.FWVersion() || Forms::S(lblFirmware->text()) != TpdrFirmware.Caption()) {
        labelCode_ = TpdrFirmware.FWVersion();
        if (labelCode_ != FWUnknown) {
            SetStatusLabel(lblFirmware, TpdrFirmware.Caption(), Forms::vbWhite);
        } else {
            SetStatusLabel(lblFirmware, "Unknown", Forms::vbMagenta);
        }
    }
}

void frmMain::cmdDownload_Click()
{
    try {
        Forms::HourglassPointer();
        KeyBuffer.clear();
        TpdrDownload = std::make_unique<clsDownload>();
        TpdrDownload->Password(false);
        ShowDialog("frmDownloadPassword");
        if (!TpdrDownload->Password()) {
            MsgBox("Invalid password", MsgBoxStyle::OKOnly, "Firmware Download");
        } else {
            DownloadAttempted = false;
            ShowDialog("frmDownload");
            // The download dialog may have left the port at its own setting.
            if (CommonProcs::OpenTpdrCommPort(false) == 0 && DownloadAttempted) {
                cmdStatus_Click();
            }
        }
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "cmdDownloadErrorHandler (frmMain)");
        CommonProcs::OpenTpdrCommPort(false);
    }
    TpdrDownload.reset();
    Forms::DefaultPointer();
}

void frmMain::cmdCancel_Click() { CancelRequested = true; }

void frmMain::mnuComms_Click()
{
    const int32_t before = AppSettings.TpdrComPort();
    ShowDialog("frmComPorts");
    const int32_t port = AppSettings.TpdrComPort();
    cmdStatus->setEnabled(port != 0);
    cmdDownload->setEnabled(port != 0);
    if (port == 0) {
        for (QWidget* control : std::initializer_list<QWidget*>{cmdDepth, cmdRead, cmdSet, cmdSettings, cmdVoltage}) {
            control->setEnabled(false);
        }
        // The estimate reads the voltage: it is offered whenever Get Voltage is.
        mnuBattLife->setEnabled(false);
    } else if (port != before) {
        cmdStatus_Click();
    }
}

void frmMain::mnuSetupUsermode_Click()
{
    if (MsgBox("Revert to User Mode ?", MsgBoxStyle::OKCancel | MsgBoxStyle::Question, AppTitleVersion()) ==
        MsgBoxResult::OK) {
        SetEngineeringMode("Cancel");
    }
}

void frmMain::mnuPing_Click() { ShowDialog("frmPingTest"); }

void frmMain::mnuFreqTest_Click()
{
    AppSettings.ANTDepthTest(false);
    ShowLargeDialog("frmChanTest");
}

void frmMain::mnuDepthTest_Click()
{
    AppSettings.ANTDepthTest(true);
    ShowLargeDialog("frmChanTest");
}

void frmMain::mnuTransceiver_Click() { ShowLargeDialog("frmTransceiver"); }

void frmMain::mnuCommands_Click() { ShowLargeDialog("frmCommands"); }

void frmMain::mnuBattLife_Click() { ShowDialog("frmBattLife"); }

void frmMain::mnuDiagnosticsTankTest_Click() { ShowLargeDialog("frmVTLTankTest"); }

void frmMain::mnuCalChanSelectors_Click() { ShowLargeDialog("frmCalSelectors"); }

void frmMain::mnuAbout_Click() { ShowDialog("frmAbout"); }

// ------------------------------------------------------------------ transponder commands

void frmMain::mnuDiagnosticsReset_Click()
{
    if (ShowMessage(MsgOfferHPRChannel1) != MsgBoxResult::Yes) {
        ShowMessage(MsgHPRChannelNotWritten);
    } else {
        const int32_t result = WriteHPRChannel1();
        if (result != 0 || CancelRequested) {
            ShowMessage(MsgHPRChannelWriteFailed);
        } else {
            prgMain->setValue(prgMain->minimum());
            ShowStatus("Transponder initialising...");
            CommonProcs::InitialiseTpdr(*this);
            ShowMessage(MsgHPRChannelWritten);
        }
        ClearNavParams();
        DoEvents();
        UpdateControls();
    }
    MoveFocus(cmdStatus);
}

int32_t frmMain::WriteHPRChannel1()
{
    SetBusyControls();
    // The user has just asked for this write: a Cancel of an exchange before it must not stop it.
    CancelRequested = false;
    TpdrChannel.RS232Chan(1);
    return WriteHPRChannel(3);
}

void frmMain::mnuDiagnosticsInitialise_Click()
{
    SetBusyControls();
    CancelRequested = false;
    ShowStatus("Transponder initialising...");
    CommonProcs::InitialiseTpdr(*this);
    UpdateControls();
    MoveFocus(cmdStatus);
}

void frmMain::mnuDiagnosticsIO_Click()
{
    if (ShowIOFlag) {
        UnloadIOList();
    } else {
        ioList_ = new frmIOlist(this);
        ioList_->setAttribute(Qt::WA_DeleteOnClose);
        ioList_->OnUnload = [this] { mnuDiagnosticsIO->setChecked(false); };
        ioList_->show();
    }
    DoEvents();
    mnuDiagnosticsIO->setChecked(ShowIOFlag);
}
