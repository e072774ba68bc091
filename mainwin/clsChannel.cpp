#include "clsChannel.h"

#include "commonprocs.h"
#include "dialogs.h"
#include "errorhandler.h"
#include "vbconv.h"
#include "vberror.h"

#include <algorithm>
#include <string_view>

clsChannel TpdrChannel, WriteChannel;

namespace {

// Channel sets of a kind under a firmware.
constexpr int16_t SchemeMain = 1;     // channels 0-99
constexpr int16_t SchemeDualMode = 2; // channels 0-99
constexpr int16_t SchemeDFamily = 3;  // channels 0-3
constexpr int16_t SchemeNone = 11;

bool In(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

struct SingleTone {
    int16_t channel, interrogation, reply1, reply2;
};
constexpr SingleTone kSingleTone[] = {
    {1, 20492, 29762, 32468},  {2, 21552, 30488, 29762},  {3, 22124, 31250, 30488},  {4, 22727, 31847, 31250},
    {5, 23364, 32468, 31847},  {6, 24038, 27173, 29070},  {7, 24510, 27777, 27173},  {8, 25000, 28409, 27777},
    {9, 26042, 29070, 28409},  {11, 21552, 27173, 32468}, {22, 22727, 28409, 27173}, {33, 23923, 29762, 28409},
    {44, 25126, 31250, 29762}, {55, 26455, 32468, 31250},
};

// Dual-tone reply pairs by units digit Y (row Y - 1): odd tens digit, then even.
constexpr int16_t kDualToneReply[8][4] = {
    {28750, 29250, 28500, 29000}, {29250, 29750, 29000, 29500}, {29750, 30250, 29500, 30000},
    {30250, 28750, 30000, 28500}, {30750, 27250, 30500, 27000}, {27250, 27750, 27000, 27500},
    {27750, 28250, 27500, 28000}, {28250, 30750, 28000, 30500},
};

// The numbers the table has no tones for; Orvane channels from S-family V3.00.
bool IsOrvaneNumber(int16_t n)
{
    static constexpr int16_t kList[] = {10, 19, 20, 29, 30, 39, 40, 49, 50, 59, 60, 66, 69, 70, 77, 79, 80, 88, 89};
    return In(n, 90, 99) || std::find(std::begin(kList), std::end(kList), n) != std::end(kList);
}

using CommonProcs::Hex2;

unsigned char ByteOf(const std::string& element) { return element.empty() ? 0 : static_cast<unsigned char>(element[0]); }

} // namespace

size_t clsChannel::Index(int16_t i)
{
    if (i < 0 || i > 3) {
        Raise(ErrNo::SubscriptOutOfRange);
    }
    return static_cast<size_t>(i);
}

bool clsChannel::EnableOK(int32_t FW, int16_t intChanType) const
{
    // Entries by kind: unused, endcap, dual-mode, RS232.
    std::array<bool, 4> ok{};
    if (FW == 0) {
        // nothing is known about unread firmware
    } else if (In(FW, 4, 34) || In(FW, 39, 194) || In(FW, 199, 379) || FW == 453) {
        ok = {false, true, true, true};
    } else if (In(FW, 380, 452)) {
        ok = {false, false, false, true};
    } else if (FW == 38) {
        ok = {false, true, true, false};
    } else {
        ok = {false, true, false, false};
    }
    return ok[Index(intChanType)];
}

int16_t clsChannel::ChannelSchemeFromFirmware(int16_t intChanType, int32_t FW)
{
    switch (intChanType) {
    case 1:
    case 3:
        return In(FW, 329, 379) ? SchemeDFamily : SchemeMain;
    case 2:
        return In(FW, 38, 194) || In(FW, 199, 328) || FW == 453 ? SchemeDualMode : SchemeNone;
    default:
        return SchemeNone;
    }
}

int16_t clsChannel::GetMaxElement(int16_t intChanType, int32_t FW) const
{
    switch (ChannelSchemeFromFirmware(intChanType, FW)) {
    case SchemeMain:
    case SchemeDualMode:
        return 99;
    case SchemeDFamily:
        return 3;
    default:
        return 0;
    }
}

void clsChannel::SetChannelFrequencies(int16_t intChannel, int16_t intScheme, int32_t FW)
{
    const auto record = [this](int16_t n, int16_t i1, int16_t i2, int16_t r1, int16_t r2, int32_t type) {
        chanNumber_ = n;
        int1_ = i1;
        int2_ = i2;
        reply1_ = r1;
        reply2_ = r2;
        chanType_ = type;
    };
    const auto singleTone = [&](int16_t n) {
        for (const SingleTone& s : kSingleTone) {
            if (s.channel == n) {
                record(n, s.interrogation, 0, s.reply1, s.reply2, 4);
                return true;
            }
        }
        return false;
    };

    if (intScheme == SchemeMain || intScheme == SchemeDualMode) {
        if (!In(intChannel, 0, 99)) {
            chanType_ = 0;
        } else if (intChannel == 0) {
            record(0, 0, 0, 0, 0, 8);
        } else if (!singleTone(intChannel)) {
            const int16_t x = static_cast<int16_t>(intChannel / 10);
            const int16_t y = static_cast<int16_t>(intChannel % 10);
            if (In(x, 1, 8) && In(y, 1, 8) && x != y) {
                const int16_t* replies = kDualToneReply[y - 1] + (x % 2 == 1 ? 0 : 2);
                record(intChannel, static_cast<int16_t>(21000 + 500 * (x - 1)),
                       static_cast<int16_t>(21000 + 500 * (y - 1)), replies[0], replies[1], 5);
            } else {
                record(intChannel, 0, 0, 0, 0, 0);
            }
        }
    } else if (intScheme == SchemeDFamily) {
        if (intChannel == 0) {
            record(0, 0, 0, 0, 0, 0);
        } else if (In(intChannel, 1, 3)) {
            singleTone(intChannel);
        } else {
            chanType_ = 0;
        }
    }
    // Any other scheme is no lookup at all: the last one's type and record stay.

    if (In(FW, 90, 328) && (intScheme == SchemeMain || intScheme == SchemeDualMode) && IsOrvaneNumber(intChannel)) {
        chanType_ = 6;
    }
    if (In(FW, 380, 452) && intScheme == SchemeMain && In(intChannel, 10, 90) && intChannel % 10 == 0) {
        chanType_ = 10;
    }
}

void clsChannel::GetChannelNumber(const std::string& strChannel, int16_t intChanType, int32_t FW,
                                  int16_t& intChannelNumber, int32_t& lngChanType, float& sngInt1, float& sngInt2,
                                  float& sngReply1, float& sngReply2, int32_t& lngUnrecognizedErrNum)
{
    try {
        const std::string text = VB::Trim(strChannel);
        if (text == "255" && intChanType == 2) {
            intChannelNumber = 255; // "Not Set": no lookup
            lngUnrecognizedErrNum = 0;
            return;
        }
        const int16_t scheme = ChannelSchemeFromFirmware(intChanType, FW);

        const std::string upper = VB::UCase(text);
        std::string digits;
        for (size_t i = 0; i < std::min<size_t>(upper.size(), 4); ++i) {
            const unsigned char c = static_cast<unsigned char>(upper[i]);
            if (i == 0 && std::string_view("HBSDC").find(static_cast<char>(c)) != std::string_view::npos) {
                continue;
            }
            if (c < '0' || c > '9') {
                break;
            }
            digits += static_cast<char>(c);
        }
        if (digits.empty()) {
            lngUnrecognizedErrNum = 15;
            return;
        }

        const int16_t number = static_cast<int16_t>(std::stoi(digits));
        SetChannelFrequencies(number, scheme, FW);
        intChannelNumber = number;
        lngChanType = chanType_;
        sngInt1 = int1_;
        sngInt2 = int2_;
        sngReply1 = reply1_;
        sngReply2 = reply2_;
        lngUnrecognizedErrNum = 0;
    } catch (const VBError& e) {
        lngUnrecognizedErrNum = ErrorHandler::Action::Unknown;
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "GetChannelNumberErrorHandler (clsChannel)");
    }
}

int32_t clsChannel::ValidCheck(const std::string& strChannel, int16_t intChanType, int32_t FW)
{
    try {
        int16_t number = 0;
        int32_t type = 0;
        float int1 = 0, int2 = 0, reply1 = 0, reply2 = 0;
        int32_t parse = 0;
        GetChannelNumber(strChannel, intChanType, FW, number, type, int1, int2, reply1, reply2, parse);
        if (number == 255) {
            type = 9; // not set: valid, though the table has no such channel
        }
        int32_t result = parse;
        if (type == 0) {
            result = 16;
        } else if (type == 8 && intChanType == 3) {
            result = 17;
        }
        switch (intChanType) {
        case 1: endcapChan_ = number; break;
        case 2: dualModeChan_ = number; break;
        case 3: rs232Chan_ = number; break;
        default: break;
        }
        ReadOK(intChanType, result == 0);
        OKToWrite(intChanType, result == 0);
        return result;
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "ValidCheckErrorHandler (clsChannel)");
        return ErrorHandler::Action::Unknown;
    }
}

int32_t clsChannel::CheckChannel(int16_t intChannel, int16_t intChanType, int32_t FW) const
{
    clsChannel probe(*this);
    return probe.ValidCheck(std::to_string(intChannel), intChanType, FW);
}

void clsChannel::SetStatusFromFrame(const TpdrCommand& frame, int16_t count)
{
    std::string text;
    for (int16_t i = 1; i <= count && i < static_cast<int16_t>(frame.size()); ++i) {
        if (i <= 2) {
            text += static_cast<char>(ByteOf(frame[i]));
            text += i == 2 ? " " : "";
        } else {
            text += Hex2(ByteOf(frame[i])) + " ";
        }
    }
    statusBarText_ = text;
}

void clsChannel::ReadEncode(TpdrCommand& strByteArray, int16_t& intNumOfTxBytes, int16_t& intNumOfRxBytes,
                            int16_t intChanType)
{
    strByteArray.clear();
    intNumOfTxBytes = 0;
    intNumOfRxBytes = 0;
    switch (intChanType) {
    case 1:
        strByteArray = MakeFrame('P', 0, 0, 0, std::string(3, '\0'));
        intNumOfRxBytes = 3;
        break;
    case 2:
        strByteArray = MakeFrame('R', 0xA0, 0x04, 0x07, std::string(1, '\0'));
        intNumOfRxBytes = 1;
        break;
    case 3:
        strByteArray = MakeFrame('R', 0xA0, 0x04, 0x08, std::string(1, '\0'));
        intNumOfRxBytes = 1;
        break;
    default:
        MsgBox("Invalid Parameter in clsChannel's Sub ReadEncode().", MsgBoxStyle::Exclamation,
               "Channel Parameter Error");
        return;
    }
    intNumOfTxBytes = static_cast<int16_t>(strByteArray.size() - 1);
    SetStatusFromFrame(strByteArray, intNumOfTxBytes);
}

void clsChannel::WriteEncode(TpdrCommand& strByteArray, int16_t& intNumOfTxBytes, int16_t& intNumOfRxBytes,
                             int16_t intChanType, bool blnWriteToEEPROM)
{
    (void)blnWriteToEEPROM; // the transponder always keeps the channel
    strByteArray.clear();
    intNumOfTxBytes = 0;
    intNumOfRxBytes = 0;
    if (intChanType != 2 && intChanType != 3) {
        MsgBox("Invalid Parameter in clsChannels's Sub WriteEncode().", MsgBoxStyle::Exclamation,
               "Channel Parameter Error");
        return;
    }
    const int16_t channel = intChanType == 2 ? dualModeChan_ : rs232Chan_;
    int32_t byte = 0xFF;
    if (intChanType != 2 || channel != 255) {
        // The byte carries the decimal digits, so only 0-99 has one; anything
        // else (an unselected list gives -1) would write a wrong channel.
        if (!In(channel, 0, 99)) {
            return;
        }
        byte = CommonProcs::HexToDecimal(std::to_string(channel));
    }
    const std::string data(1, static_cast<char>(static_cast<unsigned char>(byte)));
    strByteArray = intChanType == 2 ? MakeFrame('W', 0xA0, 0x04, 0x07, data) : MakeFrame('F', 0, 0, 0, data);
    intNumOfTxBytes = 7;
    intNumOfRxBytes = 1;
    SetStatusFromFrame(strByteArray, intNumOfTxBytes);
}

int32_t clsChannel::WriteDecode(const std::string& strRS232Reply, int16_t intNumOfRxBytes)
{
    const size_t n = static_cast<size_t>(std::max<int16_t>(intNumOfRxBytes, 0));
    if (VB::Trim(strRS232Reply.substr(0, n)) == "?") {
        writeOK_ = true;
        statusBarText_ = "?";
        return 0;
    }
    writeOK_ = false;
    statusBarText_ = strRS232Reply.empty() ? "" : VB::Hex(static_cast<unsigned char>(strRS232Reply[0]));
    return 21;
}

int32_t clsChannel::ReadDecode(const std::string& strRS232Reply, int16_t intChanType, int32_t FW)
{
    // The endcap channel is the third byte of the port read; the others the only one.
    const size_t at = intChanType == 1 ? 2 : 0;
    std::string text; // a reply too short to hold the byte is no channel
    if (strRS232Reply.size() > at) {
        const unsigned char b = static_cast<unsigned char>(strRS232Reply[at]);
        text = intChanType == 2 && b == 0xFF ? "255" : VB::Hex(b);
    }
    const int32_t result = CommonProcs::IsDigits(text) ? ValidCheck(text, intChanType, FW) : 19;

    std::string status;
    const size_t shown = std::min<size_t>(strRS232Reply.size(), intChanType == 1 ? 3 : 1);
    for (size_t i = 0; i < shown; ++i) {
        status += Hex2(static_cast<unsigned char>(strRS232Reply[i])) + " ";
    }
    statusBarText_ = status;
    return result;
}

bool clsChannel::IsHPRChannel(int16_t intChanToCheck, std::string& strPrefix, std::string& strHPR300ID,
                              bool blnLookForOrvaneAlso, int32_t FW, std::string& strPostfix)
{
    SetChannelFrequencies(intChanToCheck, SchemeMain, FW);
    switch (chanType_) {
    case 4:
        strPrefix = "B";
        switch (intChanToCheck) {
        case 11: strHPR300ID = " (Square)"; break;
        case 22: strHPR300ID = " (Circle)"; break;
        case 33: strHPR300ID = " (Delta)"; break;
        case 44: strHPR300ID = " (X)"; break;
        case 55: strHPR300ID = " (Y)"; break;
        default: break;
        }
        return true;
    case 5:
        strPrefix = "B";
        return true;
    case 6:
        if (!blnLookForOrvaneAlso) {
            return false;
        }
        strPrefix = "S";
        strPostfix = "  Orvane";
        return true;
    case 8:
        return true;
    default:
        return false;
    }
}
