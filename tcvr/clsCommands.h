// Target commands, as far as the general parameters dialog uses them: the
// check of a full address code (address then two-digit ICF channel).
#pragma once

#include <cstdint>
#include <string>

class clsCommands {
public:
    // 0 when the code is good, 19 otherwise. A good channel is kept even when
    // the address then fails.
    int16_t CheckFullAddressCode(const std::string& Code);
    int16_t Address() const { return address_; }
    int16_t ICFChannel() const { return icfChannel_; }

private:
    int16_t address_ = 0;
    int16_t icfChannel_ = 0;
};
