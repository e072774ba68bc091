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
#include "tpdrnames.h"
#include "vberror.h"

#include <QLabel>
#include <QPushButton>

using Result::DecodeError;
using Result::NothingRead;

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
    BeginExchange();
    // Neither the release button nor the depth decision may follow the model
    // of the transponder read before this one.
    TpdrGenStatus = clsGenStatus();
    ClearNavParams();
    DoEvents();
    UpdateControls();
    SetBusyControls();
    DepthFitted = false;
    DepthRead = false;
    for (QLabel* label : {lblFirmware, lblTxFirmware, lblDepthOnOff, lblSerialNumber, lblTypeNumber, lblVoltage}) {
        SetStatusLabel(label, "Unknown", Forms::vbMagenta);
    }
    StatusReadRequested = true;
    const int32_t R = ReadNavParams();
    // Whatever each field found, it found it on the unit now on the cable.
    StatusFieldsRead = true;
    VoltageRead = true;
    DoEvents();
    // The window stays busy until the initialise is sent: a Set in the pause
    // before it would write against a copy not yet taken.
    if (R == 0) {
        NavParamsRead = true;
        CommonProcs::InitialiseTpdr(*this);
        DefineNavScheme(); // stored before the window turns idle, as after Get
        StoreReadParams();
    }
    EndExchange();
    EnableReleaseButton();
    // A channel the firmware's scheme does not know leaves the transponder
    // unreachable; offer the channel every unit answers on.
    if (NavParams.NavScheme() == 0 && R == 16 && ShowMessage(MsgOfferHPRChannel1) == MsgBoxResult::Yes) {
        const int32_t written = WriteHPRChannel1();
        UpdateControls();
        if (written == 0) {
            ShowMessage(MsgReadTheChannel);
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
        CommonProcs::InitialiseTpdr(*this);
    }
    if (!TpdrGenStatus.EnableOK(FW)) {
        SetStatusLabel(lblTypeNumber, "N/A", Forms::vbWhite);
        SetStatusLabel(lblSerialNumber, "N/A", Forms::vbWhite);
    } else {
        R = ReadTypeNumber();
        if (R == 0) {
            CommonProcs::InitialiseTpdr(*this, false);
            R = ReadSerialNumber();
        }
    }
    if ((R == 0 || R == NothingRead) && ReadDepth.EnableOK(FW, 1)) {
        R = ReadDepthOnOff();
        CommonProcs::InitialiseTpdr(*this);
    }
    if (R != 0 && R != NothingRead && R != DepthOnOffNotFitted) {
        SetStatusLabel(lblVoltage, "N/A", Forms::vbWhite);
        return R;
    }
    GetBatteryVoltage(FW);
    return R;
}

int32_t frmMain::StatusRead(const char* procName, const Encoder& encode, const std::function<std::string()>& status,
                            const TpdrExchange::Decoder& decode, const StatusShow& show)
{
    try {
        Reply reply;
        TpdrExchange::Options options;
        options.statusAfterDecode = true;
        const int32_t sent = TpdrExchange::Run(*this, encode, status, reply, decode, options);
        return show(sent, reply);
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), procName);
        return DecodeError;
    }
}

int32_t frmMain::ReadTxFirmware()
{
    return StatusRead(
        "ReadTxFirmware (frmMain)",
        [](TpdrCommand& c, int16_t& n, int16_t& r) { TpdrFirmware.ReadEncodeTxFirmware(c, n, r); },
        [] { return TpdrFirmware.StatusBarText(); },
        [](const std::string& reply, int16_t) { TpdrFirmware.TxFWReadDecode(reply); },
        [this](int32_t R, const Reply&) {
            if (R == 0) {
                lblTxFirmware->setText(Forms::Q(TpdrFirmware.TxCaption()));
                if (TpdrFirmware.TxFWVersion() == 0) {
                    ShowMessage(MsgInvalidTxFirmware);
                }
            }
            Forms::SetBackColor(lblTxFirmware,
                                R == 0 && TpdrFirmware.TxFWVersion() != 0 ? Forms::vbWhite : Forms::vbRed);
            lblTxFirmware->repaint();
            return R;
        });
}

// The type or serial number into its label; a reply that is no such number shows its message.
int32_t frmMain::ReadStatusText(bool type)
{
    QLabel* label = type ? lblTypeNumber : lblSerialNumber;
    int32_t decoded = 0;
    return StatusRead(
        type ? "ReadTypeNumber (frmMain)" : "ReadSerialNumber (frmMain)",
        [type](TpdrCommand& c, int16_t& n, int16_t& r) {
            type ? TpdrGenStatus.ReadEncode_TypeNumber(c, n, r) : TpdrGenStatus.ReadEncode_SerialNumber(c, n, r);
        },
        [] { return TpdrGenStatus.StatusBarText(); },
        [type, &decoded](const std::string& reply, int16_t length) {
            type ? TpdrGenStatus.ReadDecode_TypeNumber(reply, length, decoded)
                 : TpdrGenStatus.ReadDecode_SerialNumber(reply, length, decoded);
        },
        [&](int32_t R, const Reply&) {
            if (R == 0 && decoded == 0) {
                SetStatusLabel(label, type ? TpdrGenStatus.TypeNumber() : TpdrGenStatus.SerialNumber(), Forms::vbWhite);
                return 0;
            }
            if (R == 0) {
                ShowMessage(type ? MsgInvalidTypeNumber : MsgInvalidSerialNumber);
            }
            Forms::SetBackColor(label, Forms::vbRed);
            return R == 0 ? decoded : R;
        });
}

int32_t frmMain::ReadTypeNumber() { return ReadStatusText(true); }

int32_t frmMain::ReadSerialNumber() { return ReadStatusText(false); }

int32_t frmMain::ReadDepthOnOff()
{
    const int32_t FW = TpdrFirmware.FWVersion();
    // The reply is decoded only for a model that carries a depth sensor.
    return StatusRead(
        "ReadDepthOnOff (frmMain)", [](TpdrCommand& c, int16_t& n, int16_t& r) { ReadDepth.ReadEncode_OnOff(c, n, r); },
        [] { return ReadDepth.StatusBarText(); }, {},
        [this, FW](int32_t R, const Reply& reply) {
            DepthRead = true;
            SetStatusLabel(lblDepthOnOff, "Not fitted", Forms::vbWhite);
            DepthFitted = ReadDepth.FittedOK(TpdrGenStatus.TypeNumber());
            if (R != 0) {
                ReadDepth.OnOff(0); // the state read before is no longer known to be the unit's
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
                    ShowMessage(MsgInvalidDepth);
                    Forms::SetBackColor(lblDepthOnOff, Forms::vbRed);
                    cmdDepth->setEnabled(false);
                }
            }
            lblDepthOnOff->repaint();
            return R;
        });
}

// ------------------------------------------------------------------ battery voltage

void frmMain::cmdVoltage_Click()
{
    KeyBuffer.clear();
    SetStatusLabel(lblVoltage, "Unknown", Forms::vbMagenta);
    CancelRequested = false;
    BeginExchange();
    GetFirmware();
    GetBatteryVoltage(TpdrFirmware.FWVersion());
    VoltageRead = true;
    EndExchange();
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
    return StatusRead(
        "ReadBatteryType (frmMain)",
        [](TpdrCommand& c, int16_t& n, int16_t& r) { TpdrBattery.ReadEncode_BatteryType(c, n, r); },
        [] { return TpdrBattery.StatusBarText(); },
        [](const std::string& reply, int16_t) { TpdrBattery.ReadDecode_BatteryType(reply); },
        [this](int32_t R, const Reply&) {
            if (R != 0) {
                TpdrBattery.BatteryType(0);
                ShowStatus("Invalid Battery Type");
                SetStatusLabel(lblVoltage, "Invalid", Forms::vbRed);
            } else {
                CommonProcs::InitialiseTpdr(*this);
            }
            return R;
        });
}

void frmMain::ReadVoltage(int32_t FW)
{
    StatusRead(
        "ReadVoltage (frmMain)",
        [](TpdrCommand& c, int16_t& n, int16_t& r) { TpdrBattery.ReadEncode_VoltageByte(c, n, r); },
        [] { return TpdrBattery.StatusBarText(); },
        [](const std::string& reply, int16_t) { TpdrBattery.ReadDecode_VoltageByte(reply); },
        [this, FW](int32_t sent, const Reply&) {
            std::string text = "Invalid";
            uint32_t color = Forms::vbRed;
            if (sent == 0) {
                CommonProcs::InitialiseTpdr(*this);
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
            return sent;
        });
}
