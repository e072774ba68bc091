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

TransponderModel::TransponderModel() = default;

std::vector<std::string> TransponderModel::Receive(const std::string& bytes)
{
    std::vector<std::string> replies;
    pending_ += bytes;
    for (;;) {
        // Line noise where a frame should start is dropped up to the next "!".
        const size_t start = pending_.find('!');
        pending_.erase(0, start == std::string::npos ? pending_.size() : start);
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
    }
    return replies;
}

std::string TransponderModel::Answer(const std::string& frame)
{
    // The frame is acted on whatever becomes of the reply on its way back.
    std::string reply = Dispatch(frame);
    if (!knobs.garbage.empty()) {
        reply = knobs.garbage;
    }
    if (knobs.noReply || reply.empty()) {
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
        if (knobs.refuseWrites) {
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

uint8_t TransponderModel::Peek(bool lowerSpace, uint8_t p1, uint8_t p2, uint8_t p3) const
{
    const auto at = memory_.find(Key(lowerSpace, Address(p1, p2, p3)));
    return at == memory_.end() ? 0 : at->second;
}

void TransponderModel::Poke(bool lowerSpace, uint8_t p1, uint8_t p2, uint8_t p3, uint8_t value)
{
    memory_[Key(lowerSpace, Address(p1, p2, p3))] = value;
}

std::string FrameText(const std::string& frame)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text = frame.substr(0, 2);
    for (size_t i = 2; i < frame.size(); ++i) {
        const uint8_t b = ByteAt(frame, i);
        text += '|';
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

} // namespace Sim
