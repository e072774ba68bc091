// The multi turn-around-time table: ten TATs sent and received in two pages
// of five big-endian words (page 1 entries 0-4, page 2 entries 5-9).
#pragma once

#include "clsTpdrComms.h"

#include <array>
#include <cstdint>
#include <string>

class clsMultiTAT {
public:
    // Indexes 0 to 13 (10-13 are kept but never used); others raise error 9.
    float Value(int16_t Index) const;
    void Value(int16_t Index, float v);
    bool ReadOK(int16_t Index) const;
    void ReadOK(int16_t Index, bool v);
    bool WriteOK() const { return writeOK_; }
    bool OKToWrite(int16_t Index) const;
    void OKToWrite(int16_t Index, bool v);
    bool HasBeenRead() const { return hasBeenRead_; }
    void HasBeenRead(bool v) { hasBeenRead_ = v; }

    static bool EnableOK(int32_t FW);
    const std::string& StatusBarText() const { return statusBarText_; }

    void ReadEncode(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen, int16_t Page);
    // Page 1 or 2 only (error 9 otherwise); error 6 for a value with no 16-bit word.
    void WriteEncode(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen, int16_t Page);
    void ReadDecode(const std::string& Reply, int16_t Page);
    void WriteDecode(const std::string& Reply);

private:
    static constexpr int16_t MaxIndex = 13;
    static size_t Slot(int16_t Index);

    std::array<float, MaxIndex + 1> value_{};
    std::array<bool, MaxIndex + 1> readOK_{};
    std::array<bool, MaxIndex + 1> okToWrite_{};
    bool writeOK_ = false;
    bool hasBeenRead_ = false;
    std::string statusBarText_;
};

extern clsMultiTAT ReadMultiTAT, EditMultiTAT;
