// Small helpers for tests that compare frames byte for byte.
#pragma once

#include "clsTpdrComms.h"

#include <string>

// The frame's elements as the bytes that go on the wire.
inline std::string Joined(const TpdrCommand& frame)
{
    std::string out;
    for (size_t i = 1; i < frame.size(); ++i) {
        out += frame[i];
    }
    return out;
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
