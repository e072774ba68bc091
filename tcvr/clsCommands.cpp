#include "clsCommands.h"

#include "commonprocs.h"
#include "vbconv.h"

namespace {

constexpr int16_t Good = 0;
constexpr int16_t Bad = 19;

// The value of an all-digit text of one or two characters, -1 otherwise.
int16_t DigitsValue(const std::string& text)
{
    if (!CommonProcs::IsDigits(text)) {
        return -1;
    }
    int16_t v = 0;
    for (const char c : text) {
        v = static_cast<int16_t>(v * 10 + (static_cast<unsigned char>(c) - '0'));
    }
    return v;
}

} // namespace

int16_t clsCommands::CheckFullAddressCode(const std::string& Code)
{
    const std::string text = VB::Trim(Code);
    if (text.size() != 3 && text.size() != 4) {
        return Bad;
    }
    const int16_t channel = DigitsValue(text.substr(text.size() - 2));
    if (channel < 0 || channel > 14) {
        return Bad;
    }
    icfChannel_ = channel;
    const int16_t address = DigitsValue(text.substr(0, text.size() - 2));
    if (address < 1 || address > 63) {
        return Bad;
    }
    address_ = address;
    return Good;
}
