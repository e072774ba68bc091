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
    // A value set from outside is a new one: the word the entry was read as is
    // forgotten.
    void Value(int16_t Index, float v);
    // The word the entry was read as, -1 when none is held: while it is held the
    // entry travels as exactly that word, whatever its value shows rounded.
    int32_t Word(int16_t Index) const;
    void Word(int16_t Index, int32_t word);
    // The word the entry travels as: the word held, else its value coded (error
    // 6 when no 16-bit word fits).
    uint16_t WireWord(int16_t Index) const;
    bool ReadOK(int16_t Index) const;
    void ReadOK(int16_t Index, bool v);
    bool WriteOK() const { return writeOK_; }
    bool OKToWrite(int16_t Index) const;
    void OKToWrite(int16_t Index, bool v);
    bool HasBeenRead() const { return hasBeenRead_; }
    void HasBeenRead(bool v) { hasBeenRead_ = v; }

    static bool EnableOK(int32_t FW);
    // A TAT's word (error 6 when no 16-bit word fits), and a word's TAT as a read shows it.
    static uint16_t WordOf(float tat);
    static float ValueOf(uint16_t word);
    const std::string& StatusBarText() const { return statusBarText_; }

    void ReadEncode(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen, int16_t Page);
    // Page 1 or 2 only (error 9 otherwise); error 6 for a value with no 16-bit word.
    void WriteEncode(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen, int16_t Page);
    void ReadDecode(const std::string& Reply, int16_t Page);
    void WriteDecode(const std::string& Reply);

private:
    static constexpr int16_t MaxIndex = 13;
    static size_t Slot(int16_t Index);
    static std::array<int32_t, MaxIndex + 1> Unheld()
    {
        std::array<int32_t, MaxIndex + 1> words{};
        words.fill(-1);
        return words;
    }

    std::array<float, MaxIndex + 1> value_{};
    std::array<int32_t, MaxIndex + 1> word_ = Unheld();
    std::array<bool, MaxIndex + 1> readOK_{};
    std::array<bool, MaxIndex + 1> okToWrite_{};
    bool writeOK_ = false;
    bool hasBeenRead_ = false;
    std::string statusBarText_;
};

extern clsMultiTAT ReadMultiTAT, EditMultiTAT;
