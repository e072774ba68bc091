#include "clsBattery.h"

#include "commonprocs.h"

#include "vbconv.h"

#include <cstdio>

clsBattery TpdrBattery;

namespace {

struct Divider {
    int R1 = 0;
    int R2 = 0;
    bool Known() const { return R2 != 0; }
};

constexpr Divider Small{160, 47};
constexpr Divider Large{560, 100};

bool In(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

std::string Hex2Blank(uint8_t b) { return CommonProcs::Hex2(b) + " "; }

std::string VoltageText(int16_t Count, Divider d)
{
    if (Count < 0 || Count > 255 || !d.Known()) {
        return {};
    }
    const auto product = static_cast<int16_t>(Count * 5);
    const auto volts = static_cast<float>(product / 255.0 * (static_cast<double>(d.R1 + d.R2) / d.R2));
    return VB::Fixed(volts, 1) + " Volts";
}

} // namespace

bool clsBattery::EnableOK(int32_t FW)
{
    return In(FW, 4, 34) || In(FW, 39, 194) || In(FW, 197, 328) || In(FW, 349, 453);
}

bool clsBattery::EnableOK_BattType(int32_t FW) { return In(FW, 380, 452); }

bool clsBattery::EnableOK_BattLife(int32_t FW)
{
    return In(FW, 4, 34) || In(FW, 39, 194) || In(FW, 349, 379) || FW == 453;
}

std::string clsBattery::BattVoltRefFirmware(int16_t Count, int32_t FW)
{
    Divider d;
    if (In(FW, 4, 34) || In(FW, 38, 194) || In(FW, 349, 379) || FW == 453) {
        d = Small;
    } else if (In(FW, 197, 328)) {
        d = Large;
    }
    return VoltageText(Count, d);
}

std::string clsBattery::BattVoltRefBattType(int16_t Count, int32_t BattType)
{
    Divider d;
    if (BattType == 1) {
        d = Small;
    } else if (In(BattType, 2, 4)) {
        d = Large;
    }
    return VoltageText(Count, d);
}

std::string clsBattery::BatteryVoltage(int16_t Count, int32_t FW, int32_t BattType) const
{
    return BattType != 0 ? BattVoltRefBattType(Count, BattType) : BattVoltRefFirmware(Count, FW);
}

void clsBattery::Encode(char letter, uint8_t p1, uint8_t p2, uint8_t p3, TpdrCommand& Cmd, int16_t& NumBytes,
                        int16_t& ReplyLen)
{
    Cmd = MakeFrame(letter, p1, p2, p3, std::string(1, '\0'));
    NumBytes = 7;
    ReplyLen = 1;
    statusText_ = Cmd[1] + Cmd[2] + " ";
    for (size_t i = 3; i < Cmd.size(); ++i) {
        statusText_ += Hex2Blank(static_cast<unsigned char>(Cmd[i][0]));
    }
}

void clsBattery::ReadEncode_VoltageByte(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen)
{
    Encode('v', 0x00, 0x00, 0x00, Cmd, NumBytes, ReplyLen);
}

void clsBattery::ReadEncode_BatteryType(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen)
{
    Encode('R', 0xE0, 0x0A, 0x80, Cmd, NumBytes, ReplyLen);
}

void clsBattery::PingEncode(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen)
{
    Cmd = {std::string(), std::string(1, '\0')};
    NumBytes = 1;
    ReplyLen = 0;
}

void clsBattery::ReadDecode_VoltageByte(const std::string& Reply)
{
    // An empty reply is a count not read, not a count of 0.
    if (Reply.empty()) {
        batteryCount_ = -1;
        readOK_ = false;
        statusText_.clear();
        return;
    }
    const uint8_t b = static_cast<unsigned char>(Reply[0]);
    batteryCount_ = b;
    readOK_ = true;
    statusText_ = Hex2Blank(b);
}

void clsBattery::ReadDecode_BatteryType(const std::string& Reply)
{
    const int b = Reply.empty() ? -1 : static_cast<unsigned char>(Reply[0]);
    batteryType_ = In(b, 1, 4) ? b : 0;
    canMeasureLife_ = batteryType_ == 1;
    statusText_ = Reply.empty() ? std::string() : Hex2Blank(static_cast<uint8_t>(b));
}
