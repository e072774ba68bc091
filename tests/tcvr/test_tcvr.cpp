#include "clsCommands.h"
#include "clsTransceiver.h"

#include <gtest/gtest.h>

namespace {

TEST(Transceiver, EnableOK)
{
    for (int32_t fw = 0; fw <= 454; ++fw) {
        EXPECT_EQ(clsTransceiver().EnableOK(fw), (fw >= 90 && fw <= 194) || fw == 453) << fw;
    }
}

// Each row starts from address 5 and channel 7 stored by "507".
TEST(Commands, CheckFullAddressCode)
{
    const struct {
        std::string code;
        int16_t result, address, channel;
    } rows[] = {
        {"100", 0, 1, 0},      {"6314", 0, 63, 14},  {"  4210 ", 0, 42, 10}, {"0105", 0, 1, 5},
        {"6415", 19, 5, 7},    {"115", 19, 5, 7},    {"6414", 19, 5, 14},    {"014", 19, 5, 14},
        {"x03", 19, 5, 3},     {"1 3", 19, 5, 7},    {"12", 19, 5, 7},       {"12345", 19, 5, 7},
        {"", 19, 5, 7},        {"1a3", 19, 5, 7},    {"+103", 19, 5, 3},     {"\xB9" "03", 19, 5, 3},
    };
    for (const auto& r : rows) {
        clsCommands c;
        ASSERT_EQ(c.CheckFullAddressCode("507"), 0);
        EXPECT_EQ(c.CheckFullAddressCode(r.code), r.result) << r.code;
        EXPECT_EQ(c.Address(), r.address) << r.code;
        EXPECT_EQ(c.ICFChannel(), r.channel) << r.code;
    }
}

TEST(Commands, StartsAtZero)
{
    clsCommands c;
    EXPECT_EQ(c.Address(), 0);
    EXPECT_EQ(c.ICFChannel(), 0);
}

} // namespace
