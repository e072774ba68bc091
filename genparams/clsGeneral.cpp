#include "clsGeneral.h"

#include "clsFirmware.h"
#include "commonprocs.h"
#include "dialogs.h"
#include "vbconv.h"
#include "vberror.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

clsGeneral ReadGenParam;
clsGeneral EditGenParam;

namespace {

constexpr uint8_t BlockP1 = 0xE0;
constexpr uint8_t BlockP2 = 0x00;

// Validity limits, also shown in the tool tips.
constexpr int16_t AddressMin = 1;
constexpr int16_t AddressMax = 63;
constexpr int16_t ChannelCodeMax = 14;
constexpr float TATMin = 62.5f;
constexpr float TATMax = 875.0f;
constexpr float PulseWidthMin = 4.0f;
constexpr float PulseWidthMax = 10.0f;
constexpr float BlockMin = 0.5f;
constexpr float BlockMax = 5.0f;
constexpr float BlockStep = 0.5f;
constexpr double RelayUnitMs = 524.3;     // ms per relay unit
constexpr float RelayUnit = 524.3f;       // the same step for SingleMod
constexpr float RelayMinMs = 500.0f;      // SingleMod of one unit lands here
constexpr float RelayMaxMs = 66586.1f;    // 127 units
constexpr float RelayStepMs = 500.0f;
// Relay times far beyond the limit are refused before SingleMod, whose
// 16-bit quotient they would overflow.
constexpr float RelaySaneSeconds = 1000.0f;

constexpr double CodeSecondsPerStep = 0.00004; // TAT, pulse width, variable TAT
constexpr double BlockSecondsPerStep = 0.00008;
constexpr float DecodeStepMs = 0.00004f * 1000; // the decoders' 0.04 ms, as a single
constexpr int32_t TATOffset = 21;
constexpr int32_t VariableTATOffset = 3;

struct ReadGroup {
    uint8_t offset;
    uint8_t length;
    int32_t first; // parameters decoded
    int32_t last;
};
constexpr ReadGroup ReadGroups[] = {
    {0x00, 1, 1, 1}, {0x01, 1, 2, 2}, {0x02, 6, 3, 6}, {0x08, 1, 7, 7},
    {0x09, 1, 8, 8}, {0x0A, 1, 9, 9}, {0x0A, 2, 10, 10},
};

struct WriteSlot {
    uint8_t offset;
    uint8_t length;
};
constexpr WriteSlot WriteSlots[] = { // by parameter number - 1
    {0x00, 1}, {0x01, 1}, {0x02, 1}, {0x03, 2}, {0x05, 1},
    {0x06, 2}, {0x08, 1}, {0x09, 1}, {0x0A, 1}, {0x0A, 2},
};

const char* const ErrorTitle = "General Parameter Error";

void InvalidParameter(const char* where)
{
    MsgBox(std::string("Invalid Parameter in clsGeneral's ") + where + "().",
           MsgBoxStyle::Exclamation | MsgBoxStyle::OKOnly, ErrorTitle);
}

bool InRange(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

// The 9.0x F family keeps the variable TAT one byte higher and allows more of it.
bool WideVariableTAT()
{
    return InRange(TpdrFirmware.FWVersion(), 442, 452);
}

// A wire code: the exact quotient held as a single, then rounded half to even.
int32_t RoundedCode(double exact)
{
    if (!(std::fabs(exact) < 2147483648.0)) {
        Raise(ErrNo::Overflow);
    }
    const float held = static_cast<float>(exact);
    return VB::CLng(held);
}

int32_t WordCode(int32_t code)
{
    if (!InRange(code, 0, 0xFFFF)) {
        Raise(ErrNo::Overflow);
    }
    return code;
}

uint8_t ByteOfWord(int32_t code, int32_t intByte)
{
    return static_cast<uint8_t>(intByte == 0 ? code / 256 : code % 256);
}

void AppendHex2(std::string& out, unsigned char code) { out += CommonProcs::Hex2(code); }

std::string OneDecimal(double value) { return VB::Fixed(value, 1); }

void SetFrame(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen, std::string& status,
              const TpdrCommand& frame, int16_t replyLen)
{
    status.clear();
    if (frame.size() > 2) {
        status = frame[1] + frame[2] + " ";
        for (size_t i = 3; i < frame.size(); ++i) {
            AppendHex2(status, static_cast<unsigned char>(frame[i][0]));
            status += ' ';
        }
    }
    Cmd = frame;
    NumBytes = static_cast<int16_t>(frame.size() - 1);
    ReplyLen = replyLen;
}

} // namespace

float clsGeneral::VariableTATLimit(bool blnGetMin) const
{
    if (blnGetMin) {
        return 10.0f;
    }
    return WideVariableTAT() ? 125.0f : 30.0f;
}

bool clsGeneral::EnableOK(int32_t intFWVersion, int32_t intGenParam) const
{
    const int32_t fw = intFWVersion;
    switch (intGenParam) {
    case 1:
    case 3:
    case 4:
    case 5:
    case 6:
    case 11:
        return InRange(fw, 39, 60) || InRange(fw, 63, 194) || InRange(fw, 197, 329) || InRange(fw, 380, 453);
    case 2:
        return InRange(fw, 39, 60) || InRange(fw, 63, 194) || InRange(fw, 197, 329) || fw == 453;
    case 7:
        return InRange(fw, 121, 194) || fw == 329 || fw == 453;
    case 8:
        return InRange(fw, 122, 194) || InRange(fw, 228, 329) || fw == 453;
    case 9:
    case 12:
        return InRange(fw, 380, 453);
    case 10:
        return fw == 152 || InRange(fw, 442, 453);
    default:
        return false;
    }
}

bool clsGeneral::ReadOK(int32_t intGenParam) const
{
    if (!InRange(intGenParam, 0, 11)) {
        Raise(ErrNo::SubscriptOutOfRange);
    }
    return mblnReadOK[static_cast<size_t>(intGenParam)];
}

void clsGeneral::ReadOK(int32_t intGenParam, bool v)
{
    if (!InRange(intGenParam, 0, 11)) {
        Raise(ErrNo::SubscriptOutOfRange);
    }
    mblnReadOK[static_cast<size_t>(intGenParam)] = v;
}

bool clsGeneral::OKToWrite(int32_t intGenParam) const
{
    if (!InRange(intGenParam, 0, 11)) {
        Raise(ErrNo::SubscriptOutOfRange);
    }
    return mblnOKToWrite[static_cast<size_t>(intGenParam)];
}

void clsGeneral::OKToWrite(int32_t intGenParam, bool v)
{
    if (!InRange(intGenParam, 0, 11)) {
        Raise(ErrNo::SubscriptOutOfRange);
    }
    mblnOKToWrite[static_cast<size_t>(intGenParam)] = v;
}

bool clsGeneral::WriteOK(int32_t intGenParam) const
{
    if (!InRange(intGenParam, 0, 10)) {
        Raise(ErrNo::SubscriptOutOfRange);
    }
    return mblnWriteOK[static_cast<size_t>(intGenParam)];
}

void clsGeneral::WriteOK(int32_t intGenParam, bool v)
{
    if (!InRange(intGenParam, 0, 10)) {
        Raise(ErrNo::SubscriptOutOfRange);
    }
    mblnWriteOK[static_cast<size_t>(intGenParam)] = v;
}

void clsGeneral::ReadEncode(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen, int32_t intGroup)
{
    if (!InRange(intGroup, 0, 6)) {
        SetFrame(Cmd, NumBytes, ReplyLen, mstrStatusBarText, TpdrCommand(1), 0);
        return;
    }
    const ReadGroup& g = ReadGroups[intGroup];
    const uint8_t offset = (intGroup == 6 && WideVariableTAT()) ? 0x0B : g.offset;
    SetFrame(Cmd, NumBytes, ReplyLen, mstrStatusBarText,
             MakeFrame('R', BlockP1, BlockP2, offset, std::string(g.length, '\0')), g.length);
}

void clsGeneral::WriteEncode(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen, int32_t intGenParam,
                             bool blnIsFSMGain)
{
    if (!InRange(intGenParam, 1, 10)) {
        InvalidParameter("Sub WriteEncode");
        SetFrame(Cmd, NumBytes, ReplyLen, mstrStatusBarText, TpdrCommand(1), 0);
        return;
    }
    const WriteSlot& slot = WriteSlots[intGenParam - 1];
    const uint8_t offset = (intGenParam == 10 && WideVariableTAT()) ? 0x0B : slot.offset;
    // Every data byte first: an overflow leaves the caller's frame untouched.
    std::string data;
    for (int32_t i = 0; i < slot.length; ++i) {
        data += static_cast<char>(EncodeWriteParams(intGenParam, i, blnIsFSMGain));
    }
    SetFrame(Cmd, NumBytes, ReplyLen, mstrStatusBarText, MakeFrame('W', BlockP1, BlockP2, offset, data), 1);
}

uint8_t clsGeneral::EncodeWriteParams(int32_t intGenParam, int32_t intByte, bool blnIsFSMGain)
{
    const GenParams& v = mudtGenParam;
    switch (intGenParam) {
    case 1:
        if (blnIsFSMGain) {
            return v.Gain == 1 ? 0xFF : 0x00;
        }
        switch (v.Gain) {
        case 0: return 9;
        case 2: return 10;
        case 3: return 11;
        default: return 8;
        }
    case 2:
        return VB::CByte(v.Address);
    case 3:
        switch (v.Identity) {
        case 0: return 'D';
        case 2: return 'R';
        default: return 'O';
        }
    case 4:
        return ByteOfWord(WordCode(TimeCode(4, v.TAT)), intByte);
    case 5:
        return VB::CByte(TimeCode(5, v.PulseWidth));
    case 6:
        return ByteOfWord(WordCode(TimeCode(6, v.Block)), intByte);
    case 7:
        return RelayUnits(v.RelayOnTime);
    case 8:
        return VB::CByte(v.ChannelCode);
    case 9:
        return v.PowerLevel == 1 ? 0xFF : 0x00;
    case 10:
        return ByteOfWord(WordCode(TimeCode(10, v.VariableTAT)), intByte);
    default:
        InvalidParameter("Function EncodeWriteParams");
        return 0;
    }
}

int32_t clsGeneral::TimeCode(int32_t intGenParam, float value)
{
    const double v = value;
    switch (intGenParam) {
    case 4: return RoundedCode(v / 1000 / CodeSecondsPerStep - TATOffset);
    case 5: return RoundedCode(v / 1000 / CodeSecondsPerStep);
    case 6: return RoundedCode(v / BlockSecondsPerStep);
    case 7: {
        if (!(std::fabs(value) <= RelaySaneSeconds)) {
            Raise(ErrNo::Overflow);
        }
        const float m = CommonProcs::SingleMod(value * 1000, RelayUnit);
        return VB::CInt(static_cast<double>(m) / RelayUnitMs);
    }
    case 10: return RoundedCode(v / 1000 / CodeSecondsPerStep - VariableTATOffset);
    default: return 0;
    }
}

uint8_t clsGeneral::RelayUnits(float seconds)
{
    return static_cast<uint8_t>(std::clamp<int32_t>(TimeCode(7, seconds), 1, 127));
}

float clsGeneral::SentValue(int32_t intGenParam, float value)
{
    switch (intGenParam) {
    case 4: {
        const int32_t code = WordCode(TimeCode(4, value));
        return ReadDecode_TAT(ByteOfWord(code, 0), ByteOfWord(code, 1));
    }
    case 5: return ReadDecode_PulseWidth(VB::CByte(TimeCode(5, value)));
    case 6: {
        const int32_t code = WordCode(TimeCode(6, value));
        return ReadDecode_Block(ByteOfWord(code, 0), ByteOfWord(code, 1));
    }
    case 7: return ReadDecode_RelayOnTime(RelayUnits(value));
    case 10: {
        const int32_t code = WordCode(TimeCode(10, value));
        return ReadDecode_VariableTAT(ByteOfWord(code, 0), ByteOfWord(code, 1));
    }
    default: return value;
    }
}

int16_t clsGeneral::WriteDecode(const std::string& strRS232Reply, int32_t intGenParam, int16_t intNumOfRxBytes)
{
    const size_t n = intNumOfRxBytes > 0 ? static_cast<size_t>(intNumOfRxBytes) : 0;
    const std::string a = strRS232Reply.substr(0, n);
    if (VB::Trim(a) == "?") {
        WriteOK(intGenParam, true);
        mstrStatusBarText = "?";
        return 0;
    }
    WriteOK(intGenParam, false);
    mstrStatusBarText = a.empty() ? std::string() : VB::Hex(static_cast<unsigned char>(a[0]));
    return 21;
}

void clsGeneral::ReadDecode(const std::string& strRS232Reply, int32_t intGroup, bool blnIsFSMGain)
{
    const std::string& r = strRS232Reply;
    auto at = [&r](size_t i) { return static_cast<unsigned char>(r[i]); };
    if (InRange(intGroup, 0, 6)) {
        const ReadGroup& g = ReadGroups[intGroup];
        if (r.size() < g.length) {
            // Too short to decode: what the group holds is not known.
            for (int32_t p = g.first; p <= g.last; ++p) {
                ReadOK(p, false);
                OKToWrite(p, false);
            }
        } else {
            GenParams& v = mudtGenParam;
            switch (intGroup) {
            case 0: v.Gain = ReadDecode_Gain(at(0), blnIsFSMGain); break;
            case 1: v.Address = at(0); break;
            case 2:
                v.Identity = ReadDecode_Identity(at(0));
                v.TAT = ReadDecode_TAT(at(1), at(2));
                v.PulseWidth = ReadDecode_PulseWidth(at(3));
                v.Block = ReadDecode_Block(at(4), at(5));
                break;
            case 3: v.RelayOnTime = ReadDecode_RelayOnTime(at(0)); break;
            case 4: v.ChannelCode = at(0); break;
            case 5: v.PowerLevel = ReadDecode_PowerLevel(at(0)); break;
            // The link may hand over more bytes than asked for: the low byte
            // is the second one, not the last.
            case 6: v.VariableTAT = ReadDecode_VariableTAT(at(0), at(1)); break;
            }
            for (int32_t p = g.first; p <= g.last; ++p) {
                ValidCheck(p);
            }
        }
    }
    mstrStatusBarText.clear();
    for (const char c : r) {
        AppendHex2(mstrStatusBarText, static_cast<unsigned char>(c));
        mstrStatusBarText += ' ';
    }
}

int16_t clsGeneral::ReadDecode_Gain(unsigned char byte, bool blnIsFSMGain)
{
    if (blnIsFSMGain) {
        return byte == 0 ? 0 : byte == 0xFF ? 1 : -1;
    }
    switch (byte) {
    case 9: return 0;
    case 8: return 1;
    case 10: return 2;
    case 11: return 3;
    default: return -1;
    }
}

int16_t clsGeneral::ReadDecode_Identity(unsigned char byte)
{
    switch (byte) {
    case 'D': return 0;
    case 'O': return 1;
    case 'R': return 2;
    default: return -1;
    }
}

float clsGeneral::ReadDecode_TAT(unsigned char high, unsigned char low)
{
    const int32_t code = high * 256 + low;
    const double ms = (code + TATOffset) * static_cast<double>(DecodeStepMs);
    return static_cast<float>(ms);
}

float clsGeneral::ReadDecode_PulseWidth(unsigned char byte)
{
    const double ms = byte * static_cast<double>(DecodeStepMs);
    return static_cast<float>(ms);
}

float clsGeneral::ReadDecode_Block(unsigned char high, unsigned char low)
{
    const int32_t code = high * 256 + low;
    const double s = code * BlockSecondsPerStep;
    return static_cast<float>(s);
}

int16_t clsGeneral::ReadDecode_PowerLevel(unsigned char byte)
{
    return byte == 0 ? 0 : byte == 0xFF ? 1 : -1;
}

float clsGeneral::ReadDecode_RelayOnTime(unsigned char byte)
{
    const double seconds = byte * RelayUnitMs / 1000;
    return static_cast<float>(seconds);
}

float clsGeneral::ReadDecode_VariableTAT(unsigned char high, unsigned char low)
{
    const int32_t code = high * 256 + low;
    const double ms = (code + VariableTATOffset) * static_cast<double>(DecodeStepMs);
    return static_cast<float>(ms);
}

void clsGeneral::ValidCheck(int32_t intGenParam)
{
    const GenParams& v = mudtGenParam;
    bool ok = false;
    switch (intGenParam) {
    case 1: ok = v.Gain != -1; break;
    case 2: ok = InRange(v.Address, AddressMin, AddressMax); break;
    case 3: ok = v.Identity != -1; break;
    case 4: ok = v.TAT >= TATMin && v.TAT <= TATMax; break;
    case 5: ok = v.PulseWidth >= PulseWidthMin && v.PulseWidth <= PulseWidthMax; break;
    case 6: ok = v.Block >= BlockMin && v.Block <= BlockMax; break;
    case 7:
        if (std::fabs(v.RelayOnTime) <= RelaySaneSeconds) {
            // In singles, so that 127 whole units stay within the limit.
            const float r = CommonProcs::SingleMod(v.RelayOnTime * 1000, RelayUnit);
            ok = r >= RelayMinMs && r <= RelayMaxMs;
        }
        break;
    case 8: ok = InRange(v.ChannelCode, 0, ChannelCodeMax); break;
    case 9: ok = v.PowerLevel != -1; break;
    case 10: ok = v.VariableTAT >= VariableTATLimit(true) && v.VariableTAT <= VariableTATLimit(false); break;
    default:
        InvalidParameter("Sub ValidCheck");
        return;
    }
    mblnReadOK[static_cast<size_t>(intGenParam)] = ok;
    mblnOKToWrite[static_cast<size_t>(intGenParam)] = ok;
}

void clsGeneral::ChangedParam(int32_t intGenParam)
{
    GenParams& v = mudtGenParam;
    switch (intGenParam) {
    case 6:
        ValidCheck(6);
        if (mblnOKToWrite[6]) {
            v.Block = CommonProcs::SingleMod(v.Block, BlockStep);
            ValidCheck(6);
        }
        return;
    case 7:
        if (std::fabs(v.RelayOnTime) <= RelaySaneSeconds) {
            const float ms = v.RelayOnTime * 1000;
            v.RelayOnTime = CommonProcs::SingleMod(ms, RelayStepMs) / 1000;
        }
        ValidCheck(7);
        return;
    default:
        if (!InRange(intGenParam, 1, 10)) {
            InvalidParameter("Sub ChangedParam");
        }
        ValidCheck(intGenParam);
        return;
    }
}

std::string clsGeneral::FullAddressToolTip()
{
    return "Left 1 or 2 digits = Address Code (" + std::to_string(AddressMin) + "-" + std::to_string(AddressMax) +
           ")." + " Right 2 digits = Channel (" + CommonProcs::ZeroPad("0", 2) + "-" +
           std::to_string(ChannelCodeMax) + ")";
}

std::string clsGeneral::ToolTip(int32_t intGenParam, int32_t intFWVersion)
{
    switch (intGenParam) {
    case 1: return "Select Receiver Gain";
    case 2:
        if (EnableOK(intFWVersion, 8)) {
            return FullAddressToolTip();
        }
        return "Address (" + std::to_string(AddressMin) + " - " + std::to_string(AddressMax) + ")";
    case 3: return "Select Transponder's Transducer configuration";
    case 4: return "Turn-Around-Time (" + OneDecimal(TATMin) + " - " + OneDecimal(TATMax) + "mSec)";
    case 5: return "Reply Pulse Width (" + OneDecimal(PulseWidthMin) + " - " + OneDecimal(PulseWidthMax) + "mSec)";
    case 6: return "Blocking Period (" + OneDecimal(BlockMin) + " - " + OneDecimal(BlockMax) + "Secs)";
    case 7: {
        const float lo = CommonProcs::SingleMod(RelayUnit, RelayStepMs) / 1000;
        const float hi = CommonProcs::SingleMod(RelayMaxMs, RelayStepMs) / 1000;
        return "Relay-On Time (" + OneDecimal(lo) + " - " + OneDecimal(hi) + " Seconds)";
    }
    case 8: return "Select Channel Code";
    case 9: return "Select Power Level";
    case 10: return "Select Variable Turn-Around-Time (TAT), in mSec";
    default:
        InvalidParameter("Function ToolTip");
        return {};
    }
}

std::string clsGeneral::ComposeFullAddressCode(int16_t intAddressCode, int16_t intChanCode) const
{
    const std::string channel = std::to_string(intChanCode);
    return CommonProcs::ZeroPad(std::to_string(intAddressCode), 2) + (intChanCode < 10 ? "0" : "") + channel;
}
