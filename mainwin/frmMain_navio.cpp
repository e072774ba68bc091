// The main window's navigation exchanges: Get reads the addressing by firmware
// family, Set writes what changed since the last read, scheme by scheme, and
// reads everything back.
#include "frmMain.h"

#include "clock.h"
#include "commonprocs.h"
#include "dialogs.h"
#include "errorhandler.h"
#include "forms.h"
#include "store.h"
#include "tpdrnames.h"
#include "vbconv.h"
#include "vberror.h"

#include <QComboBox>

namespace {

using namespace Result;
using Marker::NoIntChan;
using Marker::NoReplyChan;
constexpr int32_t NoFrame = TpdrExchange::NoFrame;

constexpr int16_t ProgrammedChan = 3;
constexpr int16_t DualModeChan = 2;
constexpr int16_t EndcapChan = 1;

// A chain goes on after a step that wrote, or had nothing to write.
bool ChainGoesOn(int32_t r) { return r == 0 || r == NothingChanged; }

} // namespace

int32_t frmMain::NavExchange(const Encoder& encode, const std::function<std::string()>& status,
                             const std::function<int32_t(const Reply&)>& decode, int16_t message, const char* procName)
{
    int32_t result = 0;
    try {
        Reply reply;
        int32_t decoded = 0;
        TpdrExchange::Options options;
        options.statusAfterDecode = true;
        result = TpdrExchange::Run(
            *this, encode, status, reply, [&](const std::string&, int16_t) { decoded = decode(reply); }, options);
        if (result == NoFrame) {
            // Nothing the transponder would take: refused like a bad value.
            ShowMessage(MsgInvalidChannels);
            result = ValidationFailed;
        } else if (result == ReplyReceived && decoded != 0) {
            ShowMessage(message);
            result = decoded;
        }
    } catch (const VBError& e) {
        result = ErrorHandler::CommsOrCatchAll(e.Number(), e.Description(), procName);
    }
    return result;
}

// ------------------------------------------------------------------ Get

void frmMain::cmdRead_Click()
{
    Forms::BusyPointer();
    KeyBuffer.clear();
    ReadNavScheme = 0;
    CancelRequested = false;
    BeginExchange();
    ClearNavParams();
    DoEvents();
    UpdateControls();
    SetBusyControls();
    StatusReadRequested = false;
    const int32_t r = ReadNavParams();
    DoEvents();
    // The copy is stored, with the scheme as the window will show it, before
    // the window turns idle: a click queued as the read ends must compare
    // against all of it.
    if (r == 0) {
        NavParamsRead = true;
        CommonProcs::InitialiseTpdr(*this);
        DefineNavScheme();
        StoreReadParams();
    }
    EndExchange();
    Forms::DefaultPointer();
}

int32_t frmMain::ReadNavParams()
{
    try {
        GetFirmware();
        const int32_t FW = TpdrFirmware.FWVersion();
        if (FW == FWUnknown) {
            return NoFirmware;
        }
        if (!StatusReadRequested) {
            CommonProcs::InitialiseTpdr(*this);
        } else {
            const int32_t r = ReadStatusValues();
            if (r != 0 && r != NothingRead && r != DepthOnOffNotFitted) {
                return r;
            }
        }
        return NavParams.EnableOK(FW) ? ReadFSMParams() : ReadHPRChannelIfNeeded();
    } catch (const VBError& e) {
        return ErrorHandler::CommsOrCatchAll(e.Number(), e.Description(), "ReadNavParams (frmMain)");
    }
}

int32_t frmMain::ReadFSMParams()
{
    int32_t r = ReadFSMParams_Orvane();
    if (r != 0) {
        return r;
    }
    r = ReadHPRChannel(ProgrammedChan);
    if (r != 0) {
        return r;
    }
    if (TpdrChannel.ChanType() == 10) {
        NavParams.ChanType(1);
    } else {
        NavParams.ChanType(2);
        NavParams.OrvaneIntChan(NoIntChan);
        NavParams.OrvaneReplyChan(NoReplyChan);
    }
    ReadNavScheme = NavParams.NavScheme();
    return 0;
}

int32_t frmMain::ReadFSMParams_Orvane()
{
    try {
        int32_t r = ReadSpanwaveCodeWord();
        if (r == 0) {
            r = ReadSpanwaveParams();
        }
        TpdrChannel.RS232Chan(-1);
        ReadNavScheme = NavParams.NavScheme();
        return r;
    } catch (const VBError& e) {
        return ErrorHandler::CommsOrCatchAll(e.Number(), e.Description(), "ReadFSMParams_Orvane (frmMain)");
    }
}

int32_t frmMain::ReadHPRChannelIfNeeded()
{
    int32_t r = ReadHPRChannel(ProgrammedChan);
    if (r == 0) {
        r = ReadHPRChannel(DualModeChan);
    }
    ReadNavScheme = NavParams.NavScheme();
    return ReadHPRChannel(EndcapChan);
}

int32_t frmMain::ReadSpanwaveCodeWord()
{
    if (!NavParams.EnableOK(TpdrFirmware.FWVersion())) {
        CommonProcs::ShowNotSupported();
        return NoFirmware;
    }
    return NavExchange(
        [](TpdrCommand& c, int16_t& n, int16_t& r) { NavParams.ReadEncode_SpanwaveCodeWord(c, n, r); },
        [] { return NavParams.StatusBarText(); },
        [](const Reply& reply) { return NavParams.ReadDecode_SpanwaveCodeWord(reply.text, reply.length); },
        MsgInvalidCodewordRead, "ReadSpanwaveCodeWord (frmMain)");
}

int32_t frmMain::ReadSpanwaveParams()
{
    if (!NavParams.EnableOK(TpdrFirmware.FWVersion())) {
        CommonProcs::ShowNotSupported();
        return NoFirmware;
    }
    return NavExchange([](TpdrCommand& c, int16_t& n, int16_t& r) { NavParams.ReadEncode_SpanwaveParams(c, n, r); },
                       [] { return NavParams.StatusBarText(); },
                       [](const Reply& reply) { return NavParams.ReadDecode_SpanwaveParams(reply.text, reply.length); },
                       MsgInvalidParamsRead, "ReadSpanwaveParams (frmMain)");
}

int32_t frmMain::ReadHPRChannel(int16_t Kind)
{
    const int32_t FW = TpdrFirmware.FWVersion();
    if (!TpdrChannel.EnableOK(FW, Kind)) {
        CommonProcs::ShowNotSupported();
        return 0;
    }
    return NavExchange([Kind](TpdrCommand& c, int16_t& n, int16_t& r) { TpdrChannel.ReadEncode(c, n, r, Kind); },
                       [] { return TpdrChannel.StatusBarText(); },
                       [Kind, FW](const Reply& reply) { return TpdrChannel.ReadDecode(reply.text, Kind, FW); },
                       MsgInvalidChannelRead, "ReadHPRChannel (frmMain)");
}

// ------------------------------------------------------------------ Set

void frmMain::cmdSet_Click()
{
    Forms::HourglassPointer();
    KeyBuffer.clear();
    SetNavParams();
    Forms::DefaultPointer();
}

bool frmMain::SetNavParams()
{
    // Values not read from the unit on the cable are never written: the path
    // of a write with no firmware read, which reads the unit back.
    const bool read = NavParamsRead;
    if (read && NavParams.NavScheme() == 3 && NavParams.AddressCode() > 15) {
        const std::string text = "NOTE: Address Codes greater than 15XX are only compatable with\n"
                                 "      command units that have Spanwave capability; in which case\n"
                                 "      an address of 33xx to 47xx is recomended.";
        if (MsgBox(text, MsgBoxStyle::OKCancel | MsgBoxStyle::Exclamation, "Transponder Address") ==
            MsgBoxResult::Cancel) {
            return false;
        }
    }
    CancelRequested = false;
    // Busy from here until the read-back has ended: a click queued on Set must
    // not start a second write inside this one's pauses.
    BeginExchange();
    NavParamsRead = false;
    const int32_t r = read ? WriteNavParams() : NoFirmware;
    DoEvents();
    bool written = false;
    switch (r) {
    case 0:
        CommonProcs::InitialiseTpdr(*this);
        written = true;
        break;
    case ValidationFailed:
        NavParamsRead = true;
        break;
    case NothingChanged:
        ShowMessage(MsgNothingWritten);
        NavParamsRead = true;
        break;
    case NotSupported:
        ShowMessage(MsgNothingSupported);
        break;
    default:
        NavParamsRead = false;
        break;
    }
    DoEvents();
    cmdRead_Click();
    return written;
}

int32_t frmMain::WriteNavParams()
{
    try {
        const int32_t FW = TpdrFirmware.FWVersion();
        if (FW == FWUnknown) {
            return NoFirmware;
        }
        return NavParams.EnableOK(FW) ? WriteNavParams_Spanwave() : WriteNavParams_Channel();
    } catch (const VBError& e) {
        return ErrorHandler::CommsOrCatchAll(e.Number(), e.Description(), "WriteNavParams (frmMain)");
    }
}

int32_t frmMain::WriteNavParams_Spanwave()
{
    const int32_t s = NavParams.NavScheme();
    if (NavParams.SpanwaveType() != 1 && ShowMessage(MsgTypeNotIRS) == MsgBoxResult::Yes) {
        NavParams.SpanwaveType(1);
        UpdateControls();
    }
    const int32_t r = ValidateNavParams(s);
    if (r != 0) {
        return r;
    }
    SetBusyControls();
    switch (s) {
    case 2: return WriteSchemeHPR();
    case 3: return WriteSchemeOrvaneTone();
    case 4: return WriteSchemeSpanwave();
    default: return NothingForScheme;
    }
}

int32_t frmMain::ValidateNavParams(int32_t Scheme)
{
    const auto refuse = [this](int16_t message) {
        ShowMessage(message);
        return ValidationFailed;
    };
    if (!NavParams.CmdAddressIsOK()) {
        return refuse(MsgInvalidAddress);
    }
    std::string prefix, hpr300, postfix;
    // The channel must also pass the read's own check, or the next read calls
    // the unit's channel invalid (channel 00, a list left without a choice).
    if (Scheme == 2 &&
        (!TpdrChannel.IsHPRChannel(TpdrChannel.RS232Chan(), prefix, hpr300, false, 0, postfix) ||
         TpdrChannel.CheckChannel(TpdrChannel.RS232Chan(), ProgrammedChan, TpdrFirmware.FWVersion()) != 0)) {
        return refuse(MsgInvalidHPRChannel);
    }
    if (Scheme == 3 && NavParams.OrvaneReplyChan() == NoReplyChan) {
        return refuse(MsgInvalidReplyChan);
    }
    if (Scheme == 4 && NavParams.SpanwaveType() == 0) {
        return refuse(MsgInvalidSpanwaveType);
    }
    if ((Scheme == 3 || Scheme == 4) && NavParams.OrvaneIntChan() == NoIntChan) {
        return refuse(MsgInvalidIntChan);
    }
    if (Scheme == 3 && cboOrvaneIntChan[3]->currentText() == cboOrvaneReplyChan->currentText()) {
        return refuse(MsgSameChannels);
    }
    return 0;
}

// Each chain starts with "nothing written" and ends at the first step that
// neither wrote nor had nothing to write.

int32_t frmMain::WriteSchemeHPR()
{
    NavParams.SpanwaveBand(2);
    const bool codesChanged =
        NavParams.AddressCode() != Stored.AddressCode || NavParams.ChannelCode() != Stored.ChannelCode;
    if (NavParams.NavScheme() != Stored.NavScheme || NavParams.SpanwaveType() != Stored.SpanwaveType) {
        int32_t r = WriteHPRChannel(ProgrammedChan);
        if (r == 0) {
            r = WriteSpanwaveCodeword();
        }
        if (r == 0) {
            r = WriteAddressAndChannel();
        }
        return r;
    }
    int32_t r = NothingChanged;
    if (TpdrChannel.RS232Chan() != Stored.RS232Chan) {
        r = WriteHPRChannel(ProgrammedChan);
        if (!ChainGoesOn(r)) {
            return r;
        }
    }
    if (codesChanged) {
        r = WriteSpanwaveCodeword();
        if (!ChainGoesOn(r)) {
            return r;
        }
    }
    if (r == 0) {
        r = WriteAddressAndChannel();
    }
    return r;
}

// A new Orvane scheme writes its whole chain: the channel that selects it, the
// codeword, the parameter block, address and channel code, the pulse width.
int32_t frmMain::WriteWholeOrvaneChain(float pulseWidth)
{
    TpdrChannel.RS232Chan(NavParams.HPRChan_MakeOrvaneToneOrSP());
    int32_t r = WriteHPRChannel(ProgrammedChan);
    for (auto step : {&frmMain::WriteSpanwaveCodeword, &frmMain::WriteSpanwaveParams,
                      &frmMain::WriteAddressAndChannel}) {
        if (r == 0) {
            r = (this->*step)();
        }
    }
    if (r == 0) {
        EditGenParam.PulseWidth(pulseWidth);
        r = WritePulseLength();
    }
    return r;
}

int32_t frmMain::WriteSchemeOrvaneTone()
{
    NavParams.SpanwaveBand(2);
    if (NavParams.NavScheme() != Stored.NavScheme) {
        return WriteWholeOrvaneChain(4.0f);
    }
    int32_t r = NothingChanged;
    if (NavParams.AddressCode() != Stored.AddressCode || NavParams.ChannelCode() != Stored.ChannelCode) {
        r = WriteSpanwaveCodeword();
        if (r == 0) {
            r = WriteAddressAndChannel();
        }
        if (!ChainGoesOn(r)) {
            return r;
        }
    }
    if (NavParams.OrvaneIntChan() != Stored.OrvaneIntChan || NavParams.OrvaneReplyChan() != Stored.OrvaneReplyChan) {
        r = WriteSpanwaveParams();
    }
    return r;
}

int32_t frmMain::WriteSchemeSpanwave()
{
    NavParams.SpanwaveBand(2);
    if (NavParams.NavScheme() != Stored.NavScheme) {
        return WriteWholeOrvaneChain(8.0f);
    }
    int32_t r = NothingChanged;
    if (NavParams.AddressCode() != Stored.AddressCode || NavParams.ChannelCode() != Stored.ChannelCode ||
        NavParams.SpanwaveType() != Stored.SpanwaveType) {
        r = WriteSpanwaveCodeword();
        if (r == 0) {
            r = WriteSpanwaveParams();
        }
        if (r == 0) {
            r = WriteAddressAndChannel();
        }
        if (!ChainGoesOn(r)) {
            return r;
        }
    }
    if (NavParams.OrvaneIntChan() != Stored.OrvaneIntChan && NavParams.OrvaneIntChan() != NoIntChan) {
        r = WriteSpanwaveParams();
    }
    return r;
}

int32_t frmMain::WriteNavParams_Channel()
{
    const int32_t r = ChannelWriteEnabled();
    if (r != 0) {
        return r;
    }
    SetBusyControls();
    int32_t result = NothingChanged;
    if (TpdrChannel.RS232Chan() != Stored.RS232Chan) {
        result = WriteHPRChannel(ProgrammedChan);
        if (!ChainGoesOn(result)) {
            return result;
        }
    }
    if (TpdrChannel.DualModeChan() != Stored.DualModeChan) {
        result = WriteHPRChannel(DualModeChan);
    }
    return result;
}

int32_t frmMain::ChannelWriteEnabled()
{
    const int32_t FW = TpdrFirmware.FWVersion();
    const bool programmed = TpdrChannel.EnableOK(FW, ProgrammedChan);
    const bool dualMode = TpdrChannel.EnableOK(FW, DualModeChan);
    if (programmed) {
        GetDualModeSelection(ProgrammedChan);
    }
    if (dualMode) {
        GetDualModeSelection(DualModeChan);
    }
    if (!programmed && !dualMode) {
        return NotSupported;
    }
    // A changed RS232 channel must pass the read's own check for this firmware
    // (a list left without a selection names none); a list that is as empty
    // as it was read is unchanged.
    const bool rs232Changed = programmed && TpdrChannel.RS232Chan() != Stored.RS232Chan;
    const bool dualModeChanged = dualMode && TpdrChannel.DualModeChan() != Stored.DualModeChan;
    if ((rs232Changed && TpdrChannel.CheckChannel(TpdrChannel.RS232Chan(), ProgrammedChan, FW) != 0) ||
        (dualModeChanged && TpdrChannel.DualModeChan() == -1)) {
        ShowMessage(MsgInvalidChannels);
        return ValidationFailed;
    }
    return 0;
}

int32_t frmMain::GetDualModeSelection(int16_t Kind)
{
    const QComboBox* list = Kind == ProgrammedChan ? cboProgrammedChan : cboDualModeChan;
    int16_t channel = -1;
    if (list->currentIndex() != -1) {
        std::string item = Forms::S(list->currentText());
        if (Kind == DualModeChan && item == "Not Set") {
            item = "255";
        }
        channel = VB::CInt(VB::Val(CommonProcs::DigitsOnly(item)));
    }
    if (Kind == ProgrammedChan) {
        TpdrChannel.RS232Chan(channel);
    } else {
        TpdrChannel.DualModeChan(channel);
    }
    return 0;
}

// ------------------------------------------------------------------ single writes

int32_t frmMain::WriteHPRChannel(int16_t Kind)
{
    return NavExchange([Kind](TpdrCommand& c, int16_t& n, int16_t& r) { TpdrChannel.WriteEncode(c, n, r, Kind, true); },
                       [] { return TpdrChannel.StatusBarText(); },
                       [](const Reply& reply) { return TpdrChannel.WriteDecode(reply.text, reply.length); },
                       MsgHPRChannelWriteFailed, "WriteHPRChannel (frmMain)");
}

int32_t frmMain::WriteSpanwaveCodeword()
{
    return NavExchange([](TpdrCommand& c, int16_t& n, int16_t& r) { NavParams.WriteEncode_SPCodeword(c, n, r); },
                       [] { return NavParams.StatusBarText(); },
                       [](const Reply& reply) { return NavParams.WriteDecode(reply.text, reply.length); },
                       MsgCodewordWriteFailed, "WriteSpanwaveCodeword (frmMain)");
}

int32_t frmMain::WriteSpanwaveParams()
{
    return NavExchange([](TpdrCommand& c, int16_t& n, int16_t& r) { NavParams.WriteEncode_SPParams(c, n, r); },
                       [] { return NavParams.StatusBarText(); },
                       [](const Reply& reply) { return NavParams.WriteDecode(reply.text, reply.length); },
                       MsgParamsWriteFailed, "WriteSpanwaveParams (frmMain)");
}

// A general parameter written on its own: 2 address code, 5 pulse width, 8 channel code.
int32_t frmMain::WriteGeneralParam(int32_t Param, int16_t Message, const char* ProcName)
{
    return NavExchange(
        [Param](TpdrCommand& c, int16_t& n, int16_t& r) { EditGenParam.WriteEncode(c, n, r, Param, false); },
        [] { return EditGenParam.StatusBarText(); },
        [Param](const Reply& reply) { return int32_t{EditGenParam.WriteDecode(reply.text, Param, reply.length)}; },
        Message, ProcName);
}

int32_t frmMain::WriteAddressCode()
{
    EditGenParam.Address(NavParams.AddressCode());
    return WriteGeneralParam(2, MsgAddressWriteFailed, "WriteAddressCode (frmMain)");
}

int32_t frmMain::WriteChannelCode()
{
    EditGenParam.ChannelCode(NavParams.ChannelCode());
    return WriteGeneralParam(8, MsgChannelCodeWriteFailed, "WriteChannelCode (frmMain)");
}

int32_t frmMain::WritePulseLength() { return WriteGeneralParam(5, MsgPulseWriteFailed, "WritePulseLength (frmMain)"); }

int32_t frmMain::WriteAddressAndChannel()
{
    const int32_t r = WriteAddressCode();
    return r == 0 ? WriteChannelCode() : r;
}
