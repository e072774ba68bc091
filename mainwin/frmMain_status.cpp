// Get Status and Get Voltage: the firmware, transmitter firmware, type and
// serial number, depth telemetry state and battery voltage, each shown in its
// label with a colour.
#include "frmMain.h"

#include "clock.h"
#include "commonprocs.h"
#include "dialogs.h"
#include "errorhandler.h"
#include "forms.h"
#include "store.h"
#include "vberror.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int32_t NothingRead = 29;
constexpr int32_t DecodeError = 31;

void TransponderInitialised(frmMain& win, bool delayFirst)
{
    if (delayFirst) {
        CommonProcs::Delay(AppSettings.DelayBetweenCmds());
    }
    CommonProcs::InitialiseTpdr();
    win.ShowStatus("Transponder initialised.");
}

} // namespace

void frmMain::SetStatusLabel(QLabel* label, const std::string& text, uint32_t vbColor)
{
    label->setText(Forms::Q(text));
    Forms::SetBackColor(label, vbColor);
    label->repaint();
}

void frmMain::cmdStatus_Click()
{
    Forms::BusyPointer();
    KeyBuffer.clear();
    CancelRequested = false;
    // Neither the release button nor the depth decision may follow the model
    // of the transponder read before this one.
    TpdrGenStatus = clsGenStatus();
    ClearNavParams();
    DoEvents();
    UpdateControls();
    SetBusyControls();
    DepthFitted = false;
    for (QLabel* label : {lblFirmware, lblTxFirmware, lblDepthOnOff, lblSerialNumber, lblTypeNumber, lblVoltage}) {
        SetStatusLabel(label, "Unknown", Forms::vbMagenta);
    }
    StatusReadRequested = true;
    const int32_t R = ReadNavParams();
    DoEvents();
    if (R == 0) {
        NavParamsRead = true;
    }
    UpdateControls();
    EnableReleaseButton();
    if (R == 0) {
        StoreReadParams();
        TransponderInitialised(*this, true);
    }
    // A channel the firmware's scheme does not know leaves the transponder
    // unreachable; offer the channel every unit answers on.
    if (NavParams.NavScheme() == 0 && R == 16 && ShowMessage(27) == MsgBoxResult::Yes) {
        TpdrChannel.RS232Chan(1);
        if (WriteHPRChannel(3) == 0) {
            ShowMessage(28);
            MoveFocus(cmdRead);
        }
    }
    cmdDepth->setEnabled(DepthFitted);
    Forms::DefaultPointer();
}

void frmMain::GetFirmware() { FirmwareReader::GetFirmware(FirmwarePolicies::frmMain, *this); }

int32_t frmMain::ReadStatusValues()
{
    const int32_t FW = TpdrFirmware.FWVersion();
    int32_t R = NothingRead;
    if (TpdrFirmware.TxFWEnableOK()) {
        R = ReadTxFirmware();
        TransponderInitialised(*this, true);
    }
    if (!TpdrGenStatus.EnableOK(FW)) {
        SetStatusLabel(lblTypeNumber, "N/A", Forms::vbWhite);
        SetStatusLabel(lblSerialNumber, "N/A", Forms::vbWhite);
    } else {
        R = ReadTypeNumber();
        if (R == 0) {
            TransponderInitialised(*this, false);
            R = ReadSerialNumber();
        }
    }
    if ((R == 0 || R == NothingRead) && ReadDepth.EnableOK(FW, 1)) {
        R = ReadDepthOnOff();
        TransponderInitialised(*this, true);
    }
    if (R != 0 && R != NothingRead && R != DepthOnOffNotFitted) {
        SetStatusLabel(lblVoltage, "N/A", Forms::vbWhite);
        return R;
    }
    GetBatteryVoltage(FW);
    return R;
}

int32_t frmMain::ReadTxFirmware()
{
    int32_t R = 0;
    try {
        Reply reply;
        R = Exchange([](TpdrCommand& c, int16_t& n, int16_t& r) { TpdrFirmware.ReadEncodeTxFirmware(c, n, r); },
                     [] { return TpdrFirmware.StatusBarText(); }, reply);
        if (R != 0) {
            Forms::SetBackColor(lblTxFirmware, Forms::vbRed);
        } else {
            TpdrFirmware.TxFWReadDecode(reply.text);
            ShowStatus(TpdrFirmware.StatusBarText());
            lblTxFirmware->setText(Forms::Q(TpdrFirmware.TxCaption()));
            if (TpdrFirmware.TxFWVersion() != 0) {
                Forms::SetBackColor(lblTxFirmware, Forms::vbWhite);
            } else {
                ShowMessage(23);
                Forms::SetBackColor(lblTxFirmware, Forms::vbRed);
            }
        }
        lblTxFirmware->repaint();
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "ReadTxFirmware (frmMain)");
        R = DecodeError;
    }
    return R;
}

int32_t frmMain::ReadTypeNumber()
{
    int32_t R = 0;
    try {
        Reply reply;
        R = Exchange([](TpdrCommand& c, int16_t& n, int16_t& r) { TpdrGenStatus.ReadEncode_TypeNumber(c, n, r); },
                     [] { return TpdrGenStatus.StatusBarText(); }, reply);
        if (R != 0) {
            Forms::SetBackColor(lblTypeNumber, Forms::vbRed);
        } else {
            TpdrGenStatus.ReadDecode_TypeNumber(reply.text, reply.length, R);
            ShowStatus(TpdrGenStatus.StatusBarText());
            if (R != 0) {
                ShowMessage(21);
                Forms::SetBackColor(lblTypeNumber, Forms::vbRed);
            } else {
                SetStatusLabel(lblTypeNumber, TpdrGenStatus.TypeNumber(), Forms::vbWhite);
            }
        }
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "ReadTypeNumber (frmMain)");
        R = DecodeError;
    }
    return R;
}

int32_t frmMain::ReadSerialNumber()
{
    int32_t R = 0;
    try {
        Reply reply;
        R = Exchange([](TpdrCommand& c, int16_t& n, int16_t& r) { TpdrGenStatus.ReadEncode_SerialNumber(c, n, r); },
                     [] { return TpdrGenStatus.StatusBarText(); }, reply);
        if (R != 0) {
            Forms::SetBackColor(lblSerialNumber, Forms::vbRed);
        } else {
            TpdrGenStatus.ReadDecode_SerialNumber(reply.text, reply.length, R);
            ShowStatus(TpdrGenStatus.StatusBarText());
            if (R != 0) {
                ShowMessage(22);
                Forms::SetBackColor(lblSerialNumber, Forms::vbRed);
            } else {
                SetStatusLabel(lblSerialNumber, TpdrGenStatus.SerialNumber(), Forms::vbWhite);
            }
        }
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "ReadSerialNumber (frmMain)");
        R = DecodeError;
    }
    return R;
}

int32_t frmMain::ReadDepthOnOff()
{
    const int32_t FW = TpdrFirmware.FWVersion();
    int32_t R = 0;
    try {
        Reply reply;
        R = Exchange([](TpdrCommand& c, int16_t& n, int16_t& r) { ReadDepth.ReadEncode_OnOff(c, n, r); },
                     [] { return ReadDepth.StatusBarText(); }, reply);
        SetStatusLabel(lblDepthOnOff, "Not fitted", Forms::vbWhite);
        DepthFitted = ReadDepth.FittedOK(TpdrGenStatus.TypeNumber());
        if (R != 0) {
            Forms::SetBackColor(lblDepthOnOff, Forms::vbRed);
            cmdDepth->setEnabled(false);
        } else if (DepthFitted) {
            int16_t D = 0;
            ReadDepth.ReadDecode_OnOff(reply.text, FW, D);
            ShowStatus(ReadDepth.StatusBarText());
            R = D;
            if (D == 0) {
                lblDepthOnOff->setText(ReadDepth.OnOff() == 1 ? QStringLiteral("ON") : QStringLiteral("OFF"));
            } else if (D == DepthOnOffNotFitted) {
                DepthFitted = false;
            } else {
                ShowMessage(3);
                Forms::SetBackColor(lblDepthOnOff, Forms::vbRed);
                cmdDepth->setEnabled(false);
            }
        }
        lblDepthOnOff->repaint();
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "ReadDepthOnOff (frmMain)");
        R = DecodeError;
    }
    return R;
}

// ------------------------------------------------------------------ battery voltage

void frmMain::cmdVoltage_Click()
{
    KeyBuffer.clear();
    SetStatusLabel(lblVoltage, "Unknown", Forms::vbMagenta);
    CancelRequested = false;
    SetBusyControls();
    GetFirmware();
    GetBatteryVoltage(TpdrFirmware.FWVersion());
    UpdateControls();
    MoveFocus(cmdStatus);
}

void frmMain::GetBatteryVoltage(int32_t FW)
{
    if (!TpdrBattery.EnableOK(FW)) {
        if (FW != 0) {
            CommonProcs::ShowNotSupported();
        }
        SetStatusLabel(lblVoltage, "Invalid", Forms::vbRed);
        return;
    }
    TpdrBattery.BatteryType(0);
    if (TpdrBattery.EnableOK_BattType(FW) && ReadBatteryType() != 0) {
        return;
    }
    ReadVoltage(FW);
}

int32_t frmMain::ReadBatteryType()
{
    int32_t R = 0;
    try {
        Reply reply;
        R = Exchange([](TpdrCommand& c, int16_t& n, int16_t& r) { TpdrBattery.ReadEncode_BatteryType(c, n, r); },
                     [] { return TpdrBattery.StatusBarText(); }, reply);
        if (R != 0) {
            TpdrBattery.BatteryType(0);
            ShowStatus("Invalid Battery Type");
            SetStatusLabel(lblVoltage, "Invalid", Forms::vbRed);
        } else {
            TpdrBattery.ReadDecode_BatteryType(reply.text);
            ShowStatus(TpdrBattery.StatusBarText());
            TransponderInitialised(*this, true);
        }
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "ReadBatteryType (frmMain)");
        R = DecodeError;
    }
    return R;
}

void frmMain::ReadVoltage(int32_t FW)
{
    try {
        Reply reply;
        const int32_t sent =
            Exchange([](TpdrCommand& c, int16_t& n, int16_t& r) { TpdrBattery.ReadEncode_VoltageByte(c, n, r); },
                     [] { return TpdrBattery.StatusBarText(); }, reply);
        std::string text = "Invalid";
        uint32_t color = Forms::vbRed;
        if (sent == 0) {
            TpdrBattery.ReadDecode_VoltageByte(reply.text);
            ShowStatus(TpdrBattery.StatusBarText());
            TransponderInitialised(*this, true);
            if (TpdrBattery.ReadOK()) {
                const std::string T =
                    TpdrBattery.BatteryVoltage(TpdrBattery.BatteryCount(), FW, TpdrBattery.BatteryType());
                if (!T.empty()) {
                    text = T;
                    color = Forms::vbWhite;
                }
            }
        }
        SetStatusLabel(lblVoltage, text, color);
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "ReadVoltage (frmMain)");
    }
}
