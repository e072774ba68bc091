// The general parameter block of the transponder (memory E0 00 00-0C): one
// copy of its ten values with their validity flags, the firmware gates, the
// read and write frames and their decoders. No input or output of its own.
#pragma once

#include "clsTpdrComms.h"

#include <array>
#include <cstdint>
#include <string>

// Parameters are numbered 1 Gain, 2 Address, 3 Identity, 4 TAT, 5 PulseWidth,
// 6 Block, 7 RelayOnTime, 8 ChannelCode, 9 PowerLevel, 10 VariableTAT; the
// gate knows two more items: 11 any general parameter, 12 two-value gain coding.
class clsGeneral {
public:
    int16_t Address() const { return mudtGenParam.Address; }
    void Address(int16_t v) { mudtGenParam.Address = v; }
    int16_t Gain() const { return mudtGenParam.Gain; }
    void Gain(int16_t v) { mudtGenParam.Gain = v; }
    float TAT() const { return mudtGenParam.TAT; }
    void TAT(float v) { mudtGenParam.TAT = v; }
    float Block() const { return mudtGenParam.Block; }
    void Block(float v) { mudtGenParam.Block = v; }
    float PulseWidth() const { return mudtGenParam.PulseWidth; }
    void PulseWidth(float v) { mudtGenParam.PulseWidth = v; }
    int16_t Identity() const { return mudtGenParam.Identity; }
    void Identity(int16_t v) { mudtGenParam.Identity = v; }
    float RelayOnTime() const { return mudtGenParam.RelayOnTime; }
    void RelayOnTime(float v) { mudtGenParam.RelayOnTime = v; }
    int16_t ChannelCode() const { return mudtGenParam.ChannelCode; }
    void ChannelCode(int16_t v) { mudtGenParam.ChannelCode = v; }
    int16_t PowerLevel() const { return mudtGenParam.PowerLevel; }
    void PowerLevel(int16_t v) { mudtGenParam.PowerLevel = v; }
    // Lowest (blnGetMin) or highest variable TAT in ms for the current firmware.
    float VariableTATLimit(bool blnGetMin) const;
    float VariableTATRes() const { return 5.0f; }
    float VariableTAT() const { return mudtGenParam.VariableTAT; }
    void VariableTAT(float v) { mudtGenParam.VariableTAT = v; }
    bool HasBeenRead() const { return mblnHasBeenRead; }
    void HasBeenRead(bool v) { mblnHasBeenRead = v; }

    bool EnableOK(int32_t intFWVersion, int32_t intGenParam) const;

    // Flags by parameter number: ReadOK and OKToWrite 0-11, WriteOK 0-10;
    // any other index is error 9.
    bool ReadOK(int32_t intGenParam) const;
    void ReadOK(int32_t intGenParam, bool v);
    bool OKToWrite(int32_t intGenParam) const;
    void OKToWrite(int32_t intGenParam, bool v);
    bool WriteOK(int32_t intGenParam) const;
    void WriteOK(int32_t intGenParam, bool v);

    const std::string& StatusBarText() const { return mstrStatusBarText; }

    // A group outside 0-6 gives an empty frame (count 0): nothing to send.
    void ReadEncode(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen, int32_t intGroup);
    // Error 6 when the value does not fit its byte or word; nothing is built then.
    void WriteEncode(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen, int32_t intGenParam,
                     bool blnIsFSMGain);
    int16_t WriteDecode(const std::string& strRS232Reply, int32_t intGenParam, int16_t intNumOfRxBytes);
    void ReadDecode(const std::string& strRS232Reply, int32_t intGroup, bool blnIsFSMGain);
    void ChangedParam(int32_t intGenParam);
    std::string ToolTip(int32_t intGenParam, int32_t intFWVersion);
    std::string ComposeFullAddressCode(int16_t intAddressCode, int16_t intChanCode) const;
    // The whole-number code a time value travels as (4 TAT, 5 pulse width,
    // 6 blocking period, 7 relay units, 10 variable TAT), before any range
    // check: error 6 when it fits no code, 0 for any other parameter.
    static int32_t TimeCode(int32_t intGenParam, float value);
    // The time value as the transponder holds it once written: the code the
    // encoder sends for `value`, decoded as a read decodes it (so a relay-on
    // time is whole units of 524.3 ms, 1 to 127). Any other parameter's value
    // comes back as it is. Error 6 when no code carries the value.
    static float SentValue(int32_t intGenParam, float value);

private:
    struct GenParams {
        int16_t Gain = 0;
        int16_t Address = 0;
        int16_t Identity = 0;
        float TAT = 0;
        float PulseWidth = 0;
        float Block = 0;
        float RelayOnTime = 0;
        int16_t ChannelCode = 0;
        int16_t PowerLevel = 0;
        float VariableTAT = 0;
    };

    uint8_t EncodeWriteParams(int32_t intGenParam, int32_t intByte, bool blnIsFSMGain);
    void ValidCheck(int32_t intGenParam);
    static int16_t ReadDecode_Gain(unsigned char byte, bool blnIsFSMGain);
    static int16_t ReadDecode_Identity(unsigned char byte);
    static float ReadDecode_TAT(unsigned char high, unsigned char low);
    static float ReadDecode_PulseWidth(unsigned char byte);
    static float ReadDecode_Block(unsigned char high, unsigned char low);
    static int16_t ReadDecode_PowerLevel(unsigned char byte);
    static float ReadDecode_VariableTAT(unsigned char high, unsigned char low);
    static uint8_t RelayUnits(float seconds);
    static float ReadDecode_RelayOnTime(unsigned char byte);
    static std::string FullAddressToolTip();

    GenParams mudtGenParam;
    std::array<bool, 12> mblnReadOK{};
    std::array<bool, 12> mblnOKToWrite{};
    std::array<bool, 11> mblnWriteOK{};
    bool mblnHasBeenRead = false;
    std::string mstrStatusBarText;
};

extern clsGeneral ReadGenParam, EditGenParam;
