#include "transponder_model.h"

#include <algorithm>

namespace Sim {
namespace {

constexpr size_t kHeader = 6; // "!", letter, P1, P2, P3, N

uint8_t ByteAt(const std::string& s, size_t i) { return static_cast<unsigned char>(s[i]); }

// One flat map for both spaces; a read or write running past P3 = FF carries
// into P2 as it would in a linear memory.
uint32_t Key(bool lowerSpace, uint32_t address)
{
    return (lowerSpace ? 0x1000000u : 0u) | (address & 0xFFFFFFu);
}

uint32_t Address(uint8_t p1, uint8_t p2, uint8_t p3)
{
    return (uint32_t{p1} << 16) | (uint32_t{p2} << 8) | p3;
}

} // namespace

TransponderModel::TransponderModel()
{
    // Channels at A0 04 07 (dual-mode, FF = not set) and A0 04 08 (RS232 channel 11).
    Poke(false, 0xA0, 0x04, 0x07, 0xFF);
    Poke(false, 0xA0, 0x04, 0x08, 0x11);
    // Depth telemetry on/off at A0 04 00: 01 = on.
    Poke(false, 0xA0, 0x04, 0x00, 0x01);
    // Multi turn-around times, two pages of five big-endian words at E2 00 00 and
    // E2 00 10: 62.5 ms to 625 ms in steps of 62.5 ms.
    static const uint16_t tatWords[10] = {0x0606, 0x0C20, 0x123A, 0x1855, 0x1E70,
                                          0x248A, 0x2AA4, 0x30BF, 0x36DA, 0x3CF4};
    for (uint8_t i = 0; i < 10; ++i) {
        const uint8_t p3 = static_cast<uint8_t>((i < 5 ? 0x00 : 0x10) + 2 * (i % 5));
        Poke(false, 0xE2, 0x00, p3, static_cast<uint8_t>(tatWords[i] >> 8));
        Poke(false, 0xE2, 0x00, static_cast<uint8_t>(p3 + 1), static_cast<uint8_t>(tatWords[i] & 0xFF));
    }
    Poke(false, 0xE0, 0x0A, 0x80, 1); // battery type
    // General block E0 00 00-0C: gain High, address 47, omni, TAT 500 ms, pulse
    // 8 ms, blocking 1 s, relay 57 units, channel code 1, power High, variable TAT
    // 20 ms at 0B-0C. Test mode's variable TAT is 0A-0B: it shares the power byte.
    static const uint8_t general[] = {0xFF, 47, 'O', 0x30, 0xBF, 0xC8, 0x30, 0xD4, 57, 1, 0xFF, 0x01, 0xF1};
    for (uint8_t i = 0; i < sizeof general; ++i) {
        Poke(false, 0xE0, 0x00, i, general[i]);
    }
    // Type and serial number, 16 characters each at E0 0A 00 and E0 0A 20.
    const std::string type = "5021            ", serial = "004217          ";
    for (uint8_t i = 0; i < 16; ++i) {
        Poke(false, 0xE0, 0x0A, i, static_cast<uint8_t>(type[i]));
        Poke(false, 0xE0, 0x0A, static_cast<uint8_t>(0x20 + i), static_cast<uint8_t>(serial[i]));
    }
    // Lower-case space: Spanwave codeword 80 00 at 80 00 00, parameter block of
    // 20 zero bytes at 00 00 00.
    Poke(true, 0x80, 0x00, 0x00, 0x80);
    Poke(true, 0x80, 0x00, 0x01, 0x00);
    for (uint8_t i = 0; i < 20; ++i) {
        Poke(true, 0x00, 0x00, i, 0x00);
    }
}

std::vector<std::string> TransponderModel::Receive(const std::string& bytes)
{
    std::vector<std::string> replies;
    pending_ += bytes;
    for (;;) {
        // Where a frame should start, a 00 byte is a ping: recorded, never
        // answered. Other line noise is dropped up to the next "!".
        const size_t start = pending_.find('!');
        const size_t skipped = start == std::string::npos ? pending_.size() : start;
        for (size_t i = 0; i < skipped; ++i) {
            if (pending_[i] == '\0') {
                frames_.push_back(pending_.substr(i, 1));
                replies_.emplace_back();
                replies.emplace_back();
            }
        }
        pending_.erase(0, skipped);
        if (pending_.size() < kHeader) {
            break;
        }
        const size_t length = kHeader + ByteAt(pending_, 5);
        if (pending_.size() < length) {
            break;
        }
        std::string frame = pending_.substr(0, length);
        pending_.erase(0, length);
        frames_.push_back(frame);
        replies.push_back(Answer(frame));
        replies_.push_back(replies.back());
    }
    return replies;
}

std::string TransponderModel::Answer(const std::string& frame)
{
    // The frame is acted on whatever becomes of the reply on its way back.
    const std::string address = frame.substr(1, 4);
    if (address == knobs.ignoreFrame) {
        return {};
    }
    std::string reply = address == knobs.refuseFrame ? std::string("!") : Dispatch(frame);
    if (!knobs.garbage.empty()) {
        reply = knobs.garbage;
    }
    const bool silent = knobs.answerFrames >= 0 && frames_.size() > static_cast<size_t>(knobs.answerFrames);
    if (knobs.noReply || silent || reply.empty()) {
        return {};
    }
    const size_t drop = static_cast<size_t>(std::max(knobs.shortBy, 0));
    reply.resize(reply.size() - std::min(drop, reply.size()));
    return reply + knobs.extraBytes;
}

std::string TransponderModel::Dispatch(const std::string& frame)
{
    const char letter = frame[1];
    const uint8_t p1 = ByteAt(frame, 2);
    const uint8_t p2 = ByteAt(frame, 3);
    const uint8_t p3 = ByteAt(frame, 4);
    const uint8_t n = ByteAt(frame, 5);
    switch (letter) {
    case 'I': // initialise: acted on silently
        return {};
    case 'V': {
        if (p1 != 0xA0 || p2 != 0 || p3 != 0) {
            return {};
        }
        std::string text = versionText.substr(0, n);
        text.resize(n, ' ');
        return text;
    }
    case 'A':
        return txVersionText;
    case 'v':
        return p1 == 0 && p2 == 0 && p3 == 0 ? std::string(1, static_cast<char>(batteryCount)) : std::string();
    case 'P': { // input ports
        if (p1 != 0 || p2 != 0 || p3 != 0) {
            return {};
        }
        std::string ports = portBytes.substr(0, n);
        ports.resize(n, '\0');
        return ports;
    }
    case 'F': // the RS232 channel, kept where the channel read finds it
        if (n != 1) {
            return {};
        }
        if (RefuseWrite()) {
            return "!";
        }
        Poke(false, 0xA0, 0x04, 0x08, ByteAt(frame, kHeader));
        return "?";
    case 'R':
    case 'r': {
        std::string data;
        for (uint32_t i = 0; i < n; ++i) {
            const auto at = memory_.find(Key(letter == 'r', Address(p1, p2, p3) + i));
            data += static_cast<char>(at == memory_.end() ? 0 : at->second);
        }
        return data;
    }
    case 'W':
    case 'w':
        if (RefuseWrite()) {
            return "!";
        }
        for (uint32_t i = 0; i < n; ++i) {
            memory_[Key(letter == 'w', Address(p1, p2, p3) + i)] = ByteAt(frame, kHeader + i);
        }
        return "?";
    default:
        return {};
    }
}

bool TransponderModel::RefuseWrite()
{
    if (knobs.refuseWrites || (knobs.acceptWrites >= 0 && writesAccepted_ >= knobs.acceptWrites)) {
        return true;
    }
    ++writesAccepted_;
    return false;
}

uint8_t TransponderModel::Peek(bool lowerSpace, uint8_t p1, uint8_t p2, uint8_t p3) const
{
    const auto at = memory_.find(Key(lowerSpace, Address(p1, p2, p3)));
    return at == memory_.end() ? 0 : at->second;
}

void TransponderModel::Poke(bool lowerSpace, uint8_t p1, uint8_t p2, uint8_t p3, uint8_t value)
{
    memory_[Key(lowerSpace, Address(p1, p2, p3))] = value;
}

std::string FrameAddress(char letter, uint8_t p1, uint8_t p2, uint8_t p3)
{
    return {letter, static_cast<char>(p1), static_cast<char>(p2), static_cast<char>(p3)};
}

std::string FrameText(const std::string& frame)
{
    static const char digits[] = "0123456789ABCDEF";
    // A ping has no letters: all of it is bytes.
    const size_t letters = frame.starts_with('!') ? 2 : 0;
    std::string text = frame.substr(0, letters);
    for (size_t i = letters; i < frame.size(); ++i) {
        const uint8_t b = ByteAt(frame, i);
        text += '|';
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

} // namespace Sim
