// The depth sensor's parameters: one copy of its settings with their validity
// flags, the firmware gate, and the depth telemetry on/off read.
#pragma once

#include "clsTpdrComms.h"

#include <array>
#include <cstdint>
#include <string>

// Results of ReadDecode_OnOff besides 0.
constexpr int16_t DepthOnOffInvalid = 3;     // the byte is no on/off code
constexpr int16_t DepthOnOffNotFitted = 30;  // FF on firmware with Spanwave depth bytes

class clsDepth {
public:
    // 1 on, 2 off, 3 status on, 4 not fitted, 0 not read.
    int16_t OnOff() const { return onOff_; }
    void OnOff(int16_t v) { onOff_ = v; }
    int16_t ZeroOffset() const { return zeroOffset_; }
    void ZeroOffset(int16_t v) { zeroOffset_ = v; }
    int16_t Sensor() const { return sensor_; }
    void Sensor(int16_t v) { sensor_ = v; }
    int16_t Byte300() const { return byte300_; }
    void Byte300(int16_t v) { byte300_ = v; }
    int16_t Byte400Hi() const { return byte400Hi_; }
    void Byte400Hi(int16_t v) { byte400Hi_ = v; }
    int16_t Byte400Lo() const { return byte400Lo_; }
    void Byte400Lo(int16_t v) { byte400Lo_ = v; }
    float Scale300() const { return scale300_; }
    void Scale300(float v) { scale300_ = v; }
    float Scale400() const { return scale400_; }
    void Scale400(float v) { scale400_ = v; }
    float Byte400() const { return byte400_; }
    void Byte400(float v) { byte400_ = v; }
    float HiPap() const { return hiPap_; }
    void HiPap(float v) { hiPap_ = v; }
    bool HiPapShow() const { return hiPapShow_; }
    void HiPapShow(bool v) { hiPapShow_ = v; }
    bool HasBeenRead() const { return hasBeenRead_; }
    void HasBeenRead(bool v) { hasBeenRead_ = v; }

    // Flags by depth item, 0 to 13; any other index is error 9.
    bool ReadOK(int32_t Index) const;
    void ReadOK(int32_t Index, bool v);
    bool OKToWrite(int32_t Index) const;
    void OKToWrite(int32_t Index, bool v);

    bool EnableOK(int32_t FW, int32_t Item) const;
    // Whether the unit may carry a depth sensor: false only for a model known
    // to have none, so that an unknown or empty type number still reads depth.
    bool FittedOK(const std::string& TypeNumber) const;

    void ReadEncode_OnOff(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen);
    // Writes OnOff (1 on, 2 off, 3 status on); no frame for any other value.
    void WriteEncode_OnOff(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen);
    // True when the transponder acknowledged the write.
    static bool WriteDecode(const std::string& Reply);
    // 0, DepthOnOffNotFitted or DepthOnOffInvalid (OnOff then 0).
    void ReadDecode_OnOff(const std::string& Reply, int32_t FW, int16_t& Result);
    const std::string& StatusBarText() const { return statusBarText_; }

private:
    static constexpr int32_t MaxIndex = 13;
    static size_t Slot(int32_t Index);
    void EncodeOnOff(char letter, uint8_t byte, TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen);

    int16_t onOff_ = 0;
    int16_t zeroOffset_ = 0;
    int16_t sensor_ = 0;
    int16_t byte300_ = 0;
    int16_t byte400Hi_ = 0;
    int16_t byte400Lo_ = 0;
    float scale300_ = 0;
    float scale400_ = 0;
    float byte400_ = 0;
    float hiPap_ = 0;
    bool hiPapShow_ = false;
    bool hasBeenRead_ = false;
    std::array<bool, MaxIndex + 1> readOK_{};
    std::array<bool, MaxIndex + 1> okToWrite_{};
    std::string statusBarText_;
};

extern clsDepth ReadDepth, EditDepth;
