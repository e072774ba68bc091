// The transponder's type and serial number: their read frames and decoders.
#pragma once

#include "clsTpdrComms.h"

#include <cstdint>
#include <string>

class clsGenStatus {
public:
    // Only the F family reports type and serial number.
    bool EnableOK(int32_t FW) const { return FW >= 380 && FW <= 452; }
    const std::string& TypeNumber() const { return typeNumber_; }
    const std::string& SerialNumber() const { return serialNumber_; }
    // The status bar stays empty during these reads, whatever was kept.
    std::string StatusBarText() const { return {}; }

    // 22 elements, 16 bytes of text in reply.
    void ReadEncode_TypeNumber(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen);
    void ReadEncode_SerialNumber(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen);
    // The first N characters, blanks trimmed; Result 0, or 31 after a run-time error.
    void ReadDecode_TypeNumber(const std::string& Reply, int16_t N, int32_t& Result);
    void ReadDecode_SerialNumber(const std::string& Reply, int16_t N, int32_t& Result);

private:
    void Encode(uint8_t P3, TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen);
    void Decode(const std::string& Reply, int16_t N, int32_t& Result, std::string& field, const char* procName);

    std::string typeNumber_;
    std::string serialNumber_;
    std::string statusText_;
};

extern clsGenStatus TpdrGenStatus;
