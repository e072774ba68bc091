#include "vbconv.h"
#include "error_of.h"
#include "vberror.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <functional>
#include <limits>

using namespace VB;

namespace {

constexpr int32_t Overflow = 6;
constexpr int32_t InvalidCall = 5;

} // namespace

TEST(VbConv, RoundingConversionsGoHalfToEven)
{
    struct Row {
        double in;
        int32_t cint, clng, cbyte;                     // results where no overflow is expected
        bool cintOverflow, clngOverflow, cbyteOverflow; // error 6 expected
    };
    const Row rows[] = {
        {0.5, 0, 0, 0, false, false, false},
        {1.5, 2, 2, 2, false, false, false},
        {2.5, 2, 2, 2, false, false, false},
        {2.5000001, 3, 3, 3, false, false, false},
        {-0.5, 0, 0, 0, false, false, false},
        {-1.5, -2, -2, 0, false, false, true},
        {-2.5, -2, -2, 0, false, false, true},
        {-0.6, -1, -1, 0, false, false, true},
        {254.5, 254, 254, 254, false, false, false},
        {255.5, 256, 256, 0, false, false, true},
        {32767.4, 32767, 32767, 0, false, false, true},
        {32767.5, 0, 32768, 0, true, false, true},
        {-32768.5, -32768, -32768, 0, false, false, true},
        {-32768.6, 0, -32769, 0, true, false, true},
        {2147483647.4, 0, 2147483647, 0, true, false, true},
        {2147483647.5, 0, 0, 0, true, true, true},
        {-2147483648.5, 0, -2147483647 - 1, 0, true, false, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "value " << r.in);
        if (r.cintOverflow) {
            EXPECT_EQ(ErrorOf([&] { CInt(r.in); }), Overflow);
        } else {
            EXPECT_EQ(CInt(r.in), r.cint);
        }
        if (r.clngOverflow) {
            EXPECT_EQ(ErrorOf([&] { CLng(r.in); }), Overflow);
        } else {
            EXPECT_EQ(CLng(r.in), r.clng);
        }
        if (r.cbyteOverflow) {
            EXPECT_EQ(ErrorOf([&] { CByte(r.in); }), Overflow);
        } else {
            EXPECT_EQ(CByte(r.in), r.cbyte);
        }
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ErrorOf([&] { CInt(nan); }), Overflow);
    EXPECT_EQ(ErrorOf([&] { CLng(std::numeric_limits<double>::infinity()); }), Overflow);
}

TEST(VbConv, StrOfSingles)
{
    const struct {
        float in;
        const char* str;
        const char* num;
    } rows[] = {
        {0.0f, " 0", "0"},
        {-0.0f, " 0", "0"},
        {0.5f, " .5", ".5"},
        {-0.5f, "-.5", "-.5"},
        {0.79f, " .79", ".79"},
        {0.2f, " .2", ".2"},
        {1.0f, " 1", "1"},
        {1.5f, " 1.5", "1.5"},
        {30.0f, " 30", "30"},
        {-12.25f, "-12.25", "-12.25"},
        {3.14159265f, " 3.141593", "3.141593"},
        {1234567.0f, " 1234567", "1234567"},
        {12345678.0f, " 1.234568E+07", "1.234568E+07"},
        {1e7f, " 1E+07", "1E+07"},
        {1e20f, " 1E+20", "1E+20"},
        {0.0001f, " .0001", ".0001"},
        {0.00015f, " .00015", ".00015"},
        {1.5e-5f, " 1.5E-05", "1.5E-05"},
        {-1e-10f, "-1E-10", "-1E-10"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.str);
        EXPECT_EQ(Str(r.in), r.str);
        EXPECT_EQ(NumText(r.in), r.num);
    }
}

TEST(VbConv, StrOfDoubles)
{
    const struct {
        double in;
        const char* str;
    } rows[] = {
        {0.0, " 0"},
        {0.5, " .5"},
        {-0.5, "-.5"},
        {0.79, " .79"},
        {100.25, " 100.25"},
        {1.0 / 3.0, " .333333333333333"},
        {2.0 / 3.0, " .666666666666667"},
        {0.9999999999999999, " 1"},
        {123456789012345.0, " 123456789012345"},
        {1e15, " 1E+15"},
        {1234567890123456.0, " 1.23456789012346E+15"},
        {1e-5, " 1E-05"},
        {-1.5e-5, "-1.5E-05"},
        {1e100, " 1E+100"},
        {1e-100, " 1E-100"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.str);
        EXPECT_EQ(Str(r.in), r.str);
        EXPECT_EQ(NumText(r.in), std::string(r.str).substr(r.in < 0 ? 0 : 1));
    }
}

TEST(VbConv, StrOfLongs)
{
    EXPECT_EQ(Str(int32_t{53}), " 53");
    EXPECT_EQ(Str(int32_t{0}), " 0");
    EXPECT_EQ(Str(int32_t{-7}), "-7");
    EXPECT_EQ(Str(vbObjectError + 513), "-2147220991");
    EXPECT_EQ(NumText(int32_t{2}), "2");
    EXPECT_EQ(NumText(int32_t{-2}), "-2");
}

TEST(VbConv, ValReadsTheLeadingNumber)
{
    const struct {
        const char* in;
        double out;
    } rows[] = {
        {"", 0},
        {"abc", 0},
        {"12G4", 12},
        {" 1 2 3", 123},
        {"\t-1.5e2x", -150},
        {"\n7", 7},
        {".5", 0.5},
        {"-.5", -0.5},
        {"+5", 5},
        {"1.2.3", 1.2},
        {"1,5", 1},
        {"1e", 1},
        {"1E+2", 100},
        {"1D2", 100},
        {"19200", 19200},
        {"0.79", 0.79},
        {"1e-400", 0},
        {"&H1F", 31},
        {"&hff", 255},
        {"&HFFFF", -1},
        {"&H8000", -32768},
        {"&H10000", 65536},
        {"&HFFFFFFFF", -1},
        {"&O17", 15},
        {"&O8", 0},
        {"&H", 0},
        {"&X1", 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.in);
        EXPECT_EQ(Val(r.in), r.out);
    }
    EXPECT_EQ(ErrorOf([] { Val("1e400"); }), Overflow);
    EXPECT_EQ(ErrorOf([] { Val("&H100000000"); }), Overflow);
}

TEST(VbConv, IsNumericWantsTheWholeText)
{
    for (const char* yes : {"5", " 5 ", "-5", "+5", "1.5", ".5", "1.", "1e5", "1.5E-3", "2D1", "&H1F", "&o17"}) {
        EXPECT_TRUE(IsNumeric(yes)) << yes;
    }
    for (const char* no : {"", " ", "abc", "1a", "1.2.3", ".", "-", "1e", "&H", "&HG", "1 2", "1e400", "\t5", "1,5"}) {
        EXPECT_FALSE(IsNumeric(no)) << no;
    }
}

TEST(VbConv, SettingsNumbersAreDecimalTextOnly)
{
    const struct {
        const char* in;
        double val;
        bool whole;
    } rows[] = {
        {"16", 16, true},   {" 2.5 ", 2.5, true}, {"-.5", -0.5, true}, {"25E-1", 2.5, true}, {"1 2", 12, false},
        {"&H10", 0, false}, {"&o7", 0, false},    {"1D1", 1, false},   {"2,5", 2, false},    {"", 0, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.in);
        EXPECT_EQ(DecimalVal(r.in), r.val);
        EXPECT_EQ(IsDecimal(r.in), r.whole);
    }
    EXPECT_EQ(ErrorOf([] { DecimalVal("1e400"); }), Overflow);
}

TEST(VbConv, CaseAndTrimTouchOnlyTheirCharacters)
{
    EXPECT_EQ(UCase("abc XYZ 09 \xe4\xc4\xff"), "ABC XYZ 09 \xe4\xc4\xff");
    EXPECT_EQ(LCase("abc XYZ 09 \xe4\xc4\xdf"), "abc xyz 09 \xe4\xc4\xdf");
    EXPECT_EQ(Trim("  \tab \t  "), "\tab \t");
    EXPECT_EQ(LTrim("  a  "), "a  ");
    EXPECT_EQ(RTrim("  a  "), "  a");
    EXPECT_EQ(Trim("    "), "");
    EXPECT_EQ(Trim(std::string("\0 a", 3)), std::string("\0 a", 3));
}

TEST(VbConv, ChrAscHex)
{
    EXPECT_EQ(Chr(0), std::string(1, '\0'));
    EXPECT_EQ(Chr(65), "A");
    EXPECT_EQ(Asc(Chr(255)), 255);
    EXPECT_EQ(Asc("\x80xyz"), 128);
    EXPECT_EQ(ErrorOf([] { Chr(256); }), InvalidCall);
    EXPECT_EQ(ErrorOf([] { Chr(-1); }), InvalidCall);
    EXPECT_EQ(ErrorOf([] { Asc(""); }), InvalidCall);

    EXPECT_EQ(Hex(0), "0");
    EXPECT_EQ(Hex(31), "1F");
    EXPECT_EQ(Hex(255), "FF");
    EXPECT_EQ(Hex(65536), "10000");
    EXPECT_EQ(Hex(-1), "FFFFFFFF");
}

// Qt sets the C locale from the environment: a comma locale must not change
// any number text.
TEST(VbConv, DecimalPointIgnoresTheLocale)
{
    struct Restore {
        std::string saved = std::setlocale(LC_ALL, nullptr);
        ~Restore() { std::setlocale(LC_ALL, saved.c_str()); }
    } restore;
    const char* german = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            german = name;
            break;
        }
    }
    if (german == nullptr) {
        GTEST_SKIP() << "no German locale installed";
    }
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");

    EXPECT_EQ(Str(1.5f), " 1.5");
    EXPECT_EQ(NumText(0.79f), ".79");
    EXPECT_EQ(Str(-1.5e-5), "-1.5E-05");
    EXPECT_EQ(Val("1.5"), 1.5);
    EXPECT_EQ(Val("1,5"), 1.0);
    EXPECT_TRUE(IsNumeric("0.2"));
    EXPECT_FALSE(IsNumeric("0,2"));
    EXPECT_EQ(Fixed(33.0, 1), "33.0");
}

TEST(VbConv, FixedDecimals)
{
    EXPECT_EQ(Fixed(0.5, 1), "0.5");
    EXPECT_EQ(Fixed(12.25f, 1), "12.2"); // the float's exact value is a tie: to even
    EXPECT_EQ(Fixed(-3.96, 1), "-4.0");
    EXPECT_EQ(Fixed(7, 0), "7");
}
