#include "clsSpanwaveParams.h"

#include "commonprocs.h"
#include "errorhandler.h"
#include "globals.h"
#include "tpdrnames.h"
#include "vbconv.h"
#include "vberror.h"

#include <algorithm>

clsSpanwaveParams NavParams;

namespace {

constexpr int32_t InvalidProcedureCall = 5;
using Result::DecodeError;
constexpr int32_t WriteNotAcknowledged = 21;

constexpr uint8_t CodewordSpace = 0x80; // P1 of the codeword; the block sits at 00 00 00
constexpr int CodewordLength = 2;

// Interrogation channels: two 16-bit words each, by OrvaneIntChan.
constexpr std::array<uint32_t, 19> TableA = {
    0x00C800CB, 0x00C800BB, 0x00640083, 0x0064007F, 0x0064007B, 0x00640077, 0x00640073,
    0x00C800DF, 0x0064006D, 0x00C800D3, 0x00C800B7, 0x00C800AF, 0x00C800AB, 0x00C800A7,
    0x00C800A3, 0x00C8009F, 0x009A0065, 0x009E0065, 0x00C80089,
};

// Reply tone words by OrvaneReplyChan; the zero row only matches a blank tone.
constexpr std::array<uint32_t, 19> TableB = {
    0x000B02C8, 0x0007E069, 0x0008207B, 0x000864A3, 0x0008AD83, 0x0008FB6C, 0x0009399A,
    0x00097B3E, 0x0009C0A9, 0x000B40A6, 0x000BC515, 0x000C0BF8, 0x000C5650, 0x000CA453,
    0x000CF638, 0x000AAAB3, 0x000A236E, 0x000F5C29, 0x00000000,
};

// Spanwave reply codes by CodeIndexB.
constexpr std::array<uint32_t, 23> CodeTable = {
    0x00000000, 0x195068AA, 0xD6DDBC8E, 0xE8EAEC18, 0xF342A726, 0x2767383C, 0x653EC986, 0x94844D34,
    0x77F14452, 0xCD75F7B0, 0x6C590F6C, 0xC412315A, 0xB87C9076, 0x40A1D22E, 0x9DE38BDE, 0xAAB31DA2,
    0x5B099910, 0x49C614C4, 0x00000000, 0x00000000, 0x00000000, 0x00000000, 0xDF5A7A64,
};

constexpr uint32_t BlankGroup = 0xFFFFFFFF;

const char* const CodeWordProc = "ReadDecode_SpanwaveCodeWord (clsSpanwaveParams)";
const char* const ParamsProc = "ReadDecode_SpanwaveParams (clsSpanwaveParams)";

uint8_t ByteAt(const std::string& s, size_t i) { return static_cast<unsigned char>(s[i]); }

void AppendHex(std::string& text, uint8_t b)
{
    text += CommonProcs::Hex2(b) + ' ';
}

// Command characters, a blank, then every later element in two hex digits.
std::string FrameStatus(const TpdrCommand& frame)
{
    std::string text = frame[1] + frame[2] + " ";
    for (size_t i = 3; i < frame.size(); ++i) {
        AppendHex(text, static_cast<unsigned char>(frame[i][0]));
    }
    return text;
}

std::string ReplyStatus(const std::string& reply, size_t n)
{
    std::string text;
    for (size_t i = 0; i < n; ++i) {
        AppendHex(text, ByteAt(reply, i));
    }
    return text;
}

// A reply must hold the bytes the caller asked for, and at least `needed`.
size_t CheckedLength(const std::string& reply, int16_t intNumOfRxBytes, size_t needed)
{
    if (intNumOfRxBytes < static_cast<int>(needed) || reply.size() < static_cast<size_t>(intNumOfRxBytes)) {
        Raise(InvalidProcedureCall);
    }
    return static_cast<size_t>(intNumOfRxBytes);
}

uint32_t GroupAt(const std::string& reply, size_t group)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
        value = (value << 8) | ByteAt(reply, 4 * group + i);
    }
    return value;
}

int32_t FindRowInTableA(uint32_t group)
{
    const auto at = std::find(TableA.begin(), TableA.end(), group);
    return at == TableA.end() ? Marker::NoIntChan : static_cast<int32_t>(at - TableA.begin());
}

int32_t FindRowInTableB(uint32_t group)
{
    const auto at = std::find(TableB.begin(), TableB.end(), group);
    return at == TableB.end() ? Marker::NoReplyChan : static_cast<int32_t>(at - TableB.begin());
}

bool IsBlankGroup(uint32_t group) { return group == BlankGroup; }

uint32_t TableRow(const std::array<uint32_t, 19>& table, int32_t row)
{
    if (row < 0 || row >= static_cast<int32_t>(table.size())) {
        Raise(ErrNo::SubscriptOutOfRange);
    }
    return table[static_cast<size_t>(row)];
}

TpdrCommand Frame(char letter, uint8_t p1, const std::string& data) { return MakeFrame(letter, p1, 0, 0, data); }

} // namespace

bool clsSpanwaveParams::EnableOK(int32_t FW) const { return FW >= 380 && FW <= 452; }

std::string clsSpanwaveParams::StatusBarText() const { return ShowCmdHexFlag ? statusText_ : std::string(); }

std::string clsSpanwaveParams::OrvaneIntChanString(int32_t ChanRef) const
{
    if (ChanRef == 0) {
        return "CIF";
    }
    if (ChanRef >= 1 && ChanRef <= 15) {
        return "MF" + std::to_string(ChanRef - 1);
    }
    if (ChanRef == 16) {
        return "AODC ChA";
    }
    if (ChanRef == 17) {
        return "AODC ChB";
    }
    return {};
}

std::string clsSpanwaveParams::OrvaneReplyChanString(int32_t ChanRef) const
{
    if (ChanRef >= 0 && ChanRef <= 14) {
        return "MF" + std::to_string(ChanRef);
    }
    switch (ChanRef) {
    case 15: return "CRF";
    case 16: return "CIF";
    case 17: return "AODC Reply";
    default: return {};
    }
}

bool clsSpanwaveParams::AddressCodeIsValid() const
{
    const int a = addressCode_;
    switch (spanwaveType_) {
    case 1: return (a >= 1 && a <= 15) || (a >= 33 && a <= 47);
    case 2: return a == 0 || a == 32;
    case 3: return a >= 0 && a <= 15;
    default: return false;
    }
}

bool clsSpanwaveParams::ChannelCodeIsValid() const
{
    const int c = channelCode_;
    switch (spanwaveType_) {
    case 1: return c >= 1 && c <= 14;
    case 2: return c >= 0 && c <= 14;
    // Only 0: a negative code is the "not read" marker, never a channel.
    case 3: return c == 0;
    default: return false;
    }
}

bool clsSpanwaveParams::CmdAddressIsOK() const { return AddressCodeIsValid() && ChannelCodeIsValid(); }

int32_t clsSpanwaveParams::CmdAddressColor() const { return CmdAddressIsOK() ? 0xFFFFFF : 0xFF; }

std::string clsSpanwaveParams::CmdAddressString() const
{
    if (!CmdAddressIsOK()) {
        return "Invalid";
    }
    return CommonProcs::ZeroPad(std::to_string(addressCode_), 2) + CommonProcs::ZeroPad(std::to_string(channelCode_), 2);
}

void clsSpanwaveParams::CmdAddressString(const std::string& text)
{
    const std::string t = VB::Trim(text);
    if (!CommonProcs::IsDigits(t) || (t.size() != 3 && t.size() != 4)) {
        addressCode_ = -1;
        channelCode_ = -1;
        return;
    }
    addressCode_ = CommonProcs::CmdAddressToAddressCode(t);
    channelCode_ = CommonProcs::CmdAddressToChannelCode(t);
}

std::string clsSpanwaveParams::CmdAddressToolTip() const
{
    const std::string left = " Left 2 digits = Address Code (";
    const std::string right = "). Right 2 digits = Channel (";
    switch (spanwaveType_) {
    case 1: return left + "1-15) and (33-47" + right + "01-14) ";
    case 2: return left + "00 or 32" + right + "00-14) ";
    case 3: return left + "00-15" + right + "00 only) ";
    default: return {};
    }
}

void clsSpanwaveParams::DefineNavSchemes(int32_t FW)
{
    if (FW == 0) {
        navScheme_ = chanType_ = replyType_ = spanwaveType_ = 0;
        return;
    }
    if (FW < 380 || FW > 453) {
        navScheme_ = 1;
        chanType_ = replyType_ = spanwaveType_ = 0;
        return;
    }
    switch (chanType_) {
    case 0:
        navScheme_ = replyType_ = spanwaveType_ = 0;
        break;
    case 1:
        if (replyType_ == 0) {
            navScheme_ = spanwaveType_ = 0;
        } else if (replyType_ == 1) {
            navScheme_ = 3;
        } else if (replyType_ == 2) {
            navScheme_ = 4;
        }
        break;
    case 2:
        navScheme_ = 2;
        replyType_ = 1;
        break;
    default:
        break;
    }
}

// ---- Codeword ----

void clsSpanwaveParams::ReadEncode_SpanwaveCodeWord(TpdrCommand& strByteArray, int16_t& intNumOfTxBytes,
                                                    int16_t& intNumOfRxBytes)
{
    strByteArray = Frame('r', CodewordSpace, std::string(CodewordLength, '\0'));
    intNumOfTxBytes = 8;
    intNumOfRxBytes = CodewordLength;
    statusText_ = FrameStatus(strByteArray);
}

int32_t clsSpanwaveParams::ReadDecode_SpanwaveCodeWord(const std::string& strRS232Reply, int16_t intNumOfRxBytes)
{
    try {
        const size_t n = CheckedLength(strRS232Reply, intNumOfRxBytes, CodewordLength);
        // First byte high; only bits 14-0 are used, so the low 16 bits carry all of it.
        uint32_t w = 0;
        for (size_t i = 0; i < n; ++i) {
            w = ((w << 8) | ByteAt(strRS232Reply, i)) & 0xFFFFu;
        }
        static constexpr int32_t TypeByCode[4] = {1, 0, 3, 2};
        const int32_t band = static_cast<int32_t>((w >> 12) & 7u);
        spanwaveType_ = (band >= 1 && band <= 5) ? TypeByCode[(w >> 10) & 3u] : 0;
        if (band >= 1 && band <= 5) {
            spanwaveBand_ = band;
        }
        addressCode_ = static_cast<int16_t>((w >> 4) & 0x3Fu);
        channelCode_ = static_cast<int16_t>(w & 0x0Fu);
        statusText_ = ReplyStatus(strRS232Reply, n);
        return 0;
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), CodeWordProc);
        return DecodeError;
    }
}

void clsSpanwaveParams::WriteEncode_SPCodeword(TpdrCommand& strByteArray, int16_t& intNumOfTxBytes,
                                               int16_t& intNumOfRxBytes)
{
    // Out-of-field codes would spill into the neighbouring fields of the word.
    if (addressCode_ < 0 || addressCode_ > 63 || channelCode_ < 0 || channelCode_ > 15) {
        Raise(InvalidProcedureCall);
    }
    const int32_t band = (spanwaveBand_ >= 1 && spanwaveBand_ <= 5) ? spanwaveBand_ : 2;
    int32_t typeCode = 0;
    if (spanwaveType_ == 2) {
        typeCode = 3;
    } else if (spanwaveType_ == 3) {
        typeCode = 2;
    }
    const int32_t word = band * 4096 + typeCode * 1024 + addressCode_ * 16 + channelCode_;
    std::string data;
    data += static_cast<char>((word & 0xFF00) / 256);
    data += static_cast<char>(word & 0xFF);
    strByteArray = Frame('w', CodewordSpace, data);
    intNumOfTxBytes = 8;
    intNumOfRxBytes = 1;
    statusText_ = FrameStatus(strByteArray);
}

// ---- Parameter block ----

int32_t clsSpanwaveParams::NextChannelCode() const
{
    switch (spanwaveType_) {
    case 1: return channelCode_ >= 14 ? 1 : channelCode_ + 1;
    case 2: return channelCode_ >= 14 ? 0 : channelCode_ + 1;
    default: return channelCode_; // neither tone nor code row of the other types depends on it
    }
}

int32_t clsSpanwaveParams::NextReplyChan() const { return orvaneReplyChan_ >= 14 ? 0 : orvaneReplyChan_ + 1; }

int32_t clsSpanwaveParams::CodeIndexB(int32_t c) const
{
    switch (spanwaveType_) {
    case 1: return ((addressCode_ + c - 1) & 15) + 1;
    case 2: return (addressCode_ == 0 && c == 0) ? 1 : (c & 15);
    case 3: return addressCode_ == 0 ? 22 : (addressCode_ & 15) + 1;
    default: return 0;
    }
}

int32_t clsSpanwaveParams::ChannelFreqB(int32_t c) const
{
    int32_t n = 0;
    switch (spanwaveType_) {
    case 1:
        n = 30 + 2 * (15 - c);
        break;
    case 2:
        if (addressCode_ == 0) {
            n = c == 0 ? 17 : (c >= 1 && c <= 14 ? c + 2 : 0);
        } else if (addressCode_ == 32) {
            n = (c >= 1 && c <= 14) ? c + 17 : 0;
        }
        break;
    case 3:
        n = 17;
        break;
    default:
        break;
    }
    return 19000 + 250 * n;
}

// f x 2^28 / 10^7 to the nearest integer, halves to even, in exact integers.
uint32_t clsSpanwaveParams::ComputeGroupByte(int32_t frequency)
{
    constexpr int64_t den = 10'000'000;
    const int64_t num = static_cast<int64_t>(frequency) << 28;
    int64_t q = num / den;
    int64_t r = num % den;
    if (r < 0) { // floor division for the (never valid) negative frequencies
        --q;
        r += den;
    }
    if (2 * r > den || (2 * r == den && (q & 1) != 0)) {
        ++q;
    }
    return static_cast<uint32_t>(q) & 0x00FFFFFFu; // the group's first byte is always 00
}

clsSpanwaveParams::Block clsSpanwaveParams::ParamBlock() const
{
    std::array<uint32_t, 5> groups{};
    groups[0] = TableRow(TableA, orvaneIntChan_);
    if (navScheme_ == 4) {
        const int32_t next = NextChannelCode();
        groups[1] = ComputeGroupByte(ChannelFreqB(channelCode_));
        groups[2] = CodeTable[static_cast<size_t>(CodeIndexB(channelCode_))];
        groups[3] = ComputeGroupByte(ChannelFreqB(next));
        groups[4] = CodeTable[static_cast<size_t>(CodeIndexB(next))];
    } else {
        groups[1] = TableRow(TableB, orvaneReplyChan_);
        groups[2] = BlankGroup;
        groups[3] = TableRow(TableB, NextReplyChan());
        groups[4] = BlankGroup;
    }
    Block block{};
    for (size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<uint8_t>(groups[i / 4] >> (8 * (3 - i % 4)));
    }
    return block;
}

void clsSpanwaveParams::ReadEncode_SpanwaveParams(TpdrCommand& strByteArray, int16_t& intNumOfTxBytes,
                                                  int16_t& intNumOfRxBytes)
{
    strByteArray = Frame('r', 0, std::string(BlockLength, '\0'));
    intNumOfTxBytes = 6 + BlockLength;
    intNumOfRxBytes = BlockLength;
    statusText_ = FrameStatus(strByteArray);
}

void clsSpanwaveParams::WriteEncode_SPParams(TpdrCommand& strByteArray, int16_t& intNumOfTxBytes,
                                             int16_t& intNumOfRxBytes)
{
    const Block block = ParamBlock();
    strByteArray = Frame('w', 0, std::string(block.begin(), block.end()));
    intNumOfTxBytes = 6 + BlockLength;
    intNumOfRxBytes = 1;
    statusText_ = FrameStatus(strByteArray);
}

int32_t clsSpanwaveParams::ReadDecode_SpanwaveParams(const std::string& strRS232Reply, int16_t intNumOfRxBytes)
{
    try {
        const size_t n = CheckedLength(strRS232Reply, intNumOfRxBytes, BlockLength);
        orvaneIntChan_ = FindRowInTableA(GroupAt(strRS232Reply, 0));
        if (IsBlankGroup(GroupAt(strRS232Reply, 2)) && IsBlankGroup(GroupAt(strRS232Reply, 4))) {
            replyType_ = 1;
            orvaneReplyChan_ = FindRowInTableB(GroupAt(strRS232Reply, 1));
        } else {
            replyType_ = 2;
        }
        statusText_ = ReplyStatus(strRS232Reply, n);
        return 0;
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), ParamsProc);
        return DecodeError;
    }
}

int32_t clsSpanwaveParams::WriteDecode(const std::string& strRS232Reply, int16_t intNumOfRxBytes)
{
    const size_t n = static_cast<size_t>(std::max<int16_t>(intNumOfRxBytes, 0));
    if (VB::Trim(strRS232Reply.substr(0, n)) == "?") {
        statusText_ = "?";
        return 0;
    }
    statusText_ = strRS232Reply.empty() ? std::string() : VB::Hex(ByteAt(strRS232Reply, 0));
    return WriteNotAcknowledged;
}
