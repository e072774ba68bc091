// Battery voltage: the raw converter count, the battery type some firmware
// reports, and the resistor divider that turns the count into volts.
#pragma once

#include "clsTpdrComms.h"

#include <cstdint>
#include <string>

class clsBattery {
public:
    // "17.3 Volts"; empty when the count or the divider is unknown.
    std::string BatteryVoltage(int16_t Count, int32_t FW, int32_t BattType) const;

    int16_t BatteryCount() const { return batteryCount_; }
    void BatteryCount(int16_t v) { batteryCount_ = v; }
    int32_t BatteryType() const { return batteryType_; }
    void BatteryType(int32_t v) { batteryType_ = v; }
    bool CanMeasureLife() const { return canMeasureLife_; }
    bool ReadOK() const { return readOK_; }
    void ReadOK(bool v) { readOK_ = v; }
    const std::string& StatusBarText() const { return statusText_; }

    static bool EnableOK(int32_t FW);
    static bool EnableOK_BattType(int32_t FW);
    static bool EnableOK_BattLife(int32_t FW);

    void ReadEncode_VoltageByte(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen);
    void ReadEncode_BatteryType(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen);
    // The ping that loads the battery before a life estimate: one 00 byte
    // that the transponder does not answer, and its line in the IO log.
    static void PingEncode(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen);
    static constexpr const char* PingIOText = "|00| <Ping>";

    void ReadDecode_VoltageByte(const std::string& Reply);
    void ReadDecode_BatteryType(const std::string& Reply);

private:
    static std::string BattVoltRefFirmware(int16_t Count, int32_t FW);
    static std::string BattVoltRefBattType(int16_t Count, int32_t BattType);
    void Encode(char letter, uint8_t p1, uint8_t p2, uint8_t p3, TpdrCommand& Cmd, int16_t& NumBytes,
                int16_t& ReplyLen);

    int16_t batteryCount_ = 0;
    int32_t batteryType_ = 0;
    bool readOK_ = false;
    std::string statusText_;
    bool canMeasureLife_ = false;
};

extern clsBattery TpdrBattery;
