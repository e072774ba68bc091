// A simulated transponder: parses command frames strictly by length and
// answers from a memory map, with knobs for misbehaviour.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Sim {

struct Knobs {
    bool noReply = false;        // answer nothing at all
    double replyDelay = 0.002;   // seconds from a frame's last byte to the reply's first
    int shortBy = 0;             // drop this many bytes from the end of each reply
    bool refuseWrites = false;   // answer writes with "!" instead of the "?" acknowledgement
    std::string extraBytes;      // appended to every reply
    std::string garbage;         // when not empty: the reply to every frame instead
    int answerFrames = -1;       // when not negative: silent from the frame after this many received (pings count)
    int acceptWrites = -1;       // when not negative: refuse every write after this many were acknowledged
    // Frames chosen by their address (FrameAddress): refused with "!" instead
    // of being acted on, or ignored with no reply at all.
    std::string refuseFrame;
    std::string ignoreFrame;
};

// The address of a frame: its command letter and three parameter bytes.
std::string FrameAddress(char letter, uint8_t p1, uint8_t p2, uint8_t p3);

class TransponderModel {
public:
    TransponderModel();

    Knobs knobs;
    // The firmware's version text. A version read of N characters answers its
    // first N, padded with blanks: a ten-character text serves both the nine-
    // and the ten-character read of the firmware that needs a second look.
    std::string versionText = "Vers2.05F";
    std::string txVersionText = "TxV2.10F";
    // The input ports answered to the port read ("P"); the third is the endcap
    // channel switch, its two decimal digits as hexadecimal digits (05h: channel 5).
    std::string portBytes = std::string("\0\0\x05", 3);
    // The battery's raw converter count, answered to the voltage read ("v").
    uint8_t batteryCount = 200;

    // Bytes from the link. Returns one reply per complete frame or ping, in
    // order (an empty text for one that gets no answer). A ping is a single 00
    // byte where a frame would start; it is never answered.
    std::vector<std::string> Receive(const std::string& bytes);

    // Every complete frame and ping received, in order, as sent (one char per byte).
    const std::vector<std::string>& Frames() const { return frames_; }
    // The reply sent to each of them, after the knobs ("" for none).
    const std::vector<std::string>& Replies() const { return replies_; }
    void ClearFrames()
    {
        frames_.clear();
        replies_.clear();
    }
    // Bytes of an incomplete frame still waiting for the rest.
    const std::string& Pending() const { return pending_; }

    // Memory: a byte at (space letter, P1, P2, P3 + offset). Upper- and lower-case
    // command letters address separate spaces.
    uint8_t Peek(bool lowerSpace, uint8_t p1, uint8_t p2, uint8_t p3) const;
    void Poke(bool lowerSpace, uint8_t p1, uint8_t p2, uint8_t p3, uint8_t value);
    // Every byte ever set, keyed (lowerSpace << 24) | P1 P2 P3: the whole memory at a glance.
    const std::map<uint32_t, uint8_t>& Bytes() const { return memory_; }

private:
    std::string Answer(const std::string& frame);   // the reply after the knobs
    std::string Dispatch(const std::string& frame); // the reply of a sound transponder
    bool RefuseWrite();                             // counts the writes it lets through

    std::string pending_;
    std::vector<std::string> frames_;
    std::vector<std::string> replies_;
    int writesAccepted_ = 0;
    std::map<uint32_t, uint8_t> memory_;
};

// "!V|A0|00|..." style text of a frame, for test messages.
std::string FrameText(const std::string& frame);

} // namespace Sim
