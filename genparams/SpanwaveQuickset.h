// The nine quick-set presets A1 to C3: fixed combinations of Spanwave
// addressing and general parameters offered as buttons by the general
// parameters dialog. Row letter = interrogation channel and address code,
// column digit = channel code and turn-around time.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct QuicksetRecord {
    std::string Name;       // button caption, "A1" .. "C3"
    int16_t MFNumber = 0;   // interrogation channel "MF" + this number
    int16_t CommandAddress = 0; // address code x 100 + channel code
    float TAT = 0;          // ms
    float PulseWidth = 0;   // ms
    float Block = 0;        // s
    int16_t GainIndex = 0;  // list index of the gain combos
    int16_t PowerIndex = 0; // list index of the power-level combos
};

// Indexes 1 to 9 are the presets; index 0 is never used, so that callers keep
// the button numbering.
extern std::array<QuicksetRecord, 10> Quicksets;

namespace SpanwaveQuickset {

void InitQuicksets();
// Index outside 1..9 raises error 9 (subscript out of range).
void SetQuickset(int16_t Index, const std::string& Name, int16_t MFNumber, int16_t CommandAddress, int16_t TAT,
                 float PulseWidth, float Block, int16_t GainIndex, int16_t PowerIndex);
// Index 1..9 of the first preset matching NavParams' interrogation channel and
// command address and EditGenParam's TAT and pulse width; 0 for none.
int16_t FindQuickset();

} // namespace SpanwaveQuickset
