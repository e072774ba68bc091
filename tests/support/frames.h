// The one frame vocabulary of the tests: frames as the bytes that go on the
// wire, and as the simulated transponder's FrameText shows them.
#pragma once

#include "clsTpdrComms.h"
#include "transponder_model.h"

#include <initializer_list>
#include <string>
#include <vector>

// The frame's elements as the bytes that go on the wire.
inline std::string Joined(const TpdrCommand& frame)
{
    std::string out;
    for (size_t i = 1; i < frame.size(); ++i) {
        out += frame[i];
    }
    return out;
}

// Frames as FrameText shows them.
inline std::vector<std::string> FrameTexts(std::vector<std::string>::const_iterator begin,
                                           std::vector<std::string>::const_iterator end)
{
    std::vector<std::string> texts;
    for (auto f = begin; f != end; ++f) {
        texts.push_back(Sim::FrameText(*f));
    }
    return texts;
}

// "E0 00 02" or "00C800CB" -> the bytes; blanks only separate.
inline std::string Bytes(std::string hex)
{
    std::erase(hex, ' ');
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return out;
}

// n bytes 00.
inline std::string Nuls(int n) { return std::string(static_cast<size_t>(n), '\0'); }
// The firmware version read of n characters.
inline TpdrCommand VersionRead(int n = 9) { return MakeFrame('V', 0xA0, 0, 0, Nuls(n)); }

namespace Frames {

// A frame as FrameText shows it: the two letters, the bytes given in
// hexadecimal ("A0 00 00 09"), then `zeros` bytes 00.
inline std::string Text(const char* letters, const std::string& hex, int zeros = 0)
{
    std::string text = letters;
    for (size_t i = 0; i < hex.size(); i += 3) {
        text += "|" + hex.substr(i, 2);
    }
    for (int i = 0; i < zeros; ++i) {
        text += "|00";
    }
    return text;
}

// Reads.
inline const std::string V9 = Text("!V", "A0 00 00 09", 9);
inline const std::string V10 = Text("!V", "A0 00 00 0A", 10);
inline const std::string Tx = Text("!A", "00 00 00 09", 9);
inline const std::string Init = Text("!I", "00 00 00 00");
inline const std::string Type = Text("!R", "E0 0A 00 10", 16);
inline const std::string Serial = Text("!R", "E0 0A 20 10", 16);
inline const std::string Depth = Text("!R", "A0 04 00 01", 1);
inline const std::string BattType = Text("!R", "E0 0A 80 01", 1);
inline const std::string Volt = Text("!v", "00 00 00 01", 1);
inline const std::string Codeword = Text("!r", "80 00 00 02", 2);
inline const std::string Params = Text("!r", "00 00 00 14", 20);
inline const std::string RS232 = Text("!R", "A0 04 08 01", 1);
inline const std::string Dual = Text("!R", "A0 04 07 01", 1);
inline const std::string Ports = Text("!P", "00 00 00 03", 3);

// Writes of the given bytes.
inline std::string WriteRS232(const std::string& b) { return Text("!F", "00 00 00 01 " + b); }
inline std::string WriteDual(const std::string& b) { return Text("!W", "A0 04 07 01 " + b); }
inline std::string WriteAddress(const std::string& b) { return Text("!W", "E0 00 01 01 " + b); }
inline std::string WriteChanCode(const std::string& b) { return Text("!W", "E0 00 09 01 " + b); }
inline std::string WritePulse(const std::string& b) { return Text("!W", "E0 00 05 01 " + b); }
inline std::string WriteCodeword(const std::string& hl) { return Text("!w", "80 00 00 02 " + hl); }
inline std::string WriteParams(const std::string& block) { return Text("!w", "00 00 00 14 " + block); }

// The whole status pass of a sound F-family unit, its navigation reads, and
// the Get of each family after its version read.
inline const std::vector<std::string> StatusF = {V9, Tx, Init, Type, Init, Serial, Depth, Init, BattType, Init, Volt, Init};
inline const std::vector<std::string> NavF = {Codeword, Params, RS232};
inline const std::vector<std::string> NavS = {RS232, Dual, Ports};
inline const std::vector<std::string> GetF = {V9, Init, Codeword, Params, RS232, Init};
inline const std::vector<std::string> GetS = {V9, Init, RS232, Dual, Ports, Init};

inline std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

} // namespace Frames
