// Pokes into the simulated transponder's memory that tests share: the
// navigation addressing, depth on/off and battery type.
#pragma once

#include "frames.h"
#include "transponder_model.h"

#include <array>
#include <cstdint>
#include <string>

namespace Memory {

// The RS232 channel byte (BCD).
inline void SetChannel(Sim::TransponderModel& m, uint8_t bcd) { m.Poke(false, 0xA0, 0x04, 0x08, bcd); }
inline void SetCodeword(Sim::TransponderModel& m, uint16_t word)
{
    m.Poke(true, 0x80, 0, 0, static_cast<uint8_t>(word >> 8));
    m.Poke(true, 0x80, 0, 1, static_cast<uint8_t>(word & 0xFF));
}
// The 20-byte Spanwave parameter block from hexadecimal text ("00 64 00 7F ...").
inline void ParamBlockText(Sim::TransponderModel& m, const std::string& hex)
{
    const std::string bytes = Bytes(hex);
    for (uint8_t i = 0; i < 20; ++i) {
        m.Poke(true, 0, 0, i, static_cast<uint8_t>(bytes[i]));
    }
}
// Five groups of four bytes, high byte first.
inline void ParamBlock(Sim::TransponderModel& m, const std::array<uint32_t, 5>& groups)
{
    for (uint8_t i = 0; i < 20; ++i) {
        m.Poke(true, 0, 0, i, static_cast<uint8_t>(groups[i / 4] >> (8 * (3 - i % 4))));
    }
}
// Orvane tone: interrogation MF2 (3), reply MF5, next reply MF6.
inline void ToneBlock(Sim::TransponderModel& m)
{
    ParamBlock(m, {0x0064007F, 0x0008FB6C, 0xFFFFFFFF, 0x0009399A, 0xFFFFFFFF});
}
// Orvane Spanwave: interrogation MF2 (3), code groups not blank.
inline void SpanwaveBlock(Sim::TransponderModel& m)
{
    ParamBlock(m, {0x0064007F, 0x00A00000, 0x195068AA, 0x00A10000, 0xD6DDBC8E});
}
inline void SetDepthByte(Sim::TransponderModel& m, uint8_t b) { m.Poke(false, 0xA0, 0x04, 0x00, b); }
inline void SetBatteryType(Sim::TransponderModel& m, uint8_t type) { m.Poke(false, 0xE0, 0x0A, 0x80, type); }

} // namespace Memory
