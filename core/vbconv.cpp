#include "vbconv.h"

#include "vberror.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace VB {
namespace {

constexpr int32_t InvalidProcedureCall = 5;
constexpr char HexDigits[] = "0123456789ABCDEF";

// Round half to even, exactly: x - floor(x) carries no rounding error.
double RoundHalfEven(double value)
{
    if (!std::isfinite(value)) {
        Raise(ErrNo::Overflow);
    }
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5) {
        return lower + 1.0;
    }
    if (fraction < 0.5) {
        return lower;
    }
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int HexValue(unsigned char c)
{
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// An &H / &O literal is typed by its value as the run time types it: up to
// FFFF an Integer, up to FFFFFFFF a Long, both two's complement; anything
// larger is an overflow.
bool RadixValue(const std::string& digits, int radix, double& out)
{
    uint64_t value = 0;
    for (const unsigned char c : digits) {
        value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(HexValue(c));
        if (value > 0xFFFFFFFFu) {
            return false;
        }
    }
    if (value <= 0xFFFFu) {
        out = value >= 0x8000u ? static_cast<double>(value) - 65536.0 : static_cast<double>(value);
    } else {
        out = value >= 0x80000000u ? static_cast<double>(value) - 4294967296.0 : static_cast<double>(value);
    }
    return true;
}

enum class Parse { Ok, NotANumber, Overflow };

enum class NumberForms { All, DecimalOnly };

// Reads a decimal or &H / &O number from the start of `s` (already without
// the characters that are to be ignored). `used` is how many characters the
// number took. DecimalOnly leaves out the &H / &O forms and the D exponent.
Parse ReadNumber(const std::string& s, double& out, size_t& used, NumberForms forms = NumberForms::All)
{
    out = 0;
    used = 0;
    size_t i = 0;
    if (forms == NumberForms::All && s.size() >= 2 && s[0] == '&') {
        const unsigned char kind = static_cast<unsigned char>(s[1]);
        int radix = 0;
        if (kind == 'H' || kind == 'h') {
            radix = 16;
        } else if (kind == 'O' || kind == 'o') {
            radix = 8;
        }
        if (radix != 0) {
            size_t j = 2;
            while (j < s.size()) {
                const int d = HexValue(static_cast<unsigned char>(s[j]));
                if (d < 0 || d >= radix) {
                    break;
                }
                ++j;
            }
            if (j == 2) {
                return Parse::NotANumber;
            }
            used = j;
            return RadixValue(s.substr(2, j - 2), radix, out) ? Parse::Ok : Parse::Overflow;
        }
    }

    std::string text; // normalised for from_chars: [-]digits[.digits][e[-]digits]
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') {
            text += '-';
        }
        ++i;
    }
    size_t mantissaDigits = 0;
    while (i < s.size() && IsDigit(static_cast<unsigned char>(s[i]))) {
        text += s[i++];
        ++mantissaDigits;
    }
    if (i < s.size() && s[i] == '.') {
        text += s[i++];
        while (i < s.size() && IsDigit(static_cast<unsigned char>(s[i]))) {
            text += s[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return Parse::NotANumber;
    }
    used = i;
    bool negativeExponent = false;
    const std::string exponentLetters = forms == NumberForms::All ? "EeDd" : "Ee";
    if (i < s.size() && exponentLetters.find(s[i]) != std::string::npos) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            negativeExponent = s[j] == '-';
            if (negativeExponent) {
                exponent += '-';
            }
            ++j;
        }
        const size_t firstDigit = j;
        while (j < s.size() && IsDigit(static_cast<unsigned char>(s[j]))) {
            exponent += s[j++];
        }
        if (j > firstDigit) {
            text += exponent;
            used = j;
        }
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), out, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        if (negativeExponent) {
            out = 0; // too small to hold: it is zero
            return Parse::Ok;
        }
        return Parse::Overflow;
    }
    if (result.ec != std::errc() || !std::isfinite(out)) {
        return Parse::Overflow;
    }
    if (out == 0) {
        out = 0; // no negative zero
    }
    return Parse::Ok;
}

// Decimal text of `magnitude` (>= 0) with `precision` significant digits:
// plain while the decimal exponent lies in -4 .. precision-1, else
// d.dddE+xx with at least two exponent digits.
template <typename T>
std::string Format(T magnitude, int precision)
{
    if (std::isnan(magnitude)) {
        return "NaN";
    }
    if (std::isinf(magnitude)) {
        return "Inf";
    }
    char buf[64];
    const auto result =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, precision - 1);
    const std::string sci(buf, result.ptr);
    const size_t ePos = sci.find('e');
    std::string digits;
    for (size_t k = 0; k < ePos; ++k) {
        if (sci[k] != '.') {
            digits += sci[k];
        }
    }
    int exponent = 0;
    std::from_chars(sci.data() + ePos + (sci[ePos + 1] == '+' ? 2 : 1), sci.data() + sci.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    if (digits == "0") {
        return "0";
    }
    if (exponent >= precision || exponent < -4) {
        std::string out(1, digits[0]);
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        const int absExponent = std::abs(exponent);
        out += exponent < 0 ? "E-" : "E+";
        if (absExponent < 10) {
            out += '0';
        }
        out += std::to_string(absExponent);
        return out;
    }
    if (exponent < 0) {
        return "." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    }
    const size_t intLength = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= intLength) {
        return digits + std::string(intLength - digits.size(), '0');
    }
    return digits.substr(0, intLength) + "." + digits.substr(intLength);
}

template <typename T>
std::string Signed(T value, int precision, bool leadingBlank)
{
    if (value < 0) {
        return "-" + Format(-value, precision);
    }
    return (leadingBlank ? " " : "") + Format(value == 0 ? T(0) : value, precision);
}

} // namespace

int16_t CInt(double value)
{
    const double r = RoundHalfEven(value);
    if (r < -32768.0 || r > 32767.0) {
        Raise(ErrNo::Overflow);
    }
    return static_cast<int16_t>(r);
}

int32_t CLng(double value)
{
    const double r = RoundHalfEven(value);
    if (r < -2147483648.0 || r > 2147483647.0) {
        Raise(ErrNo::Overflow);
    }
    return static_cast<int32_t>(r);
}

uint8_t CByte(double value)
{
    const double r = RoundHalfEven(value);
    if (r < 0.0 || r > 255.0) {
        Raise(ErrNo::Overflow);
    }
    return static_cast<uint8_t>(r);
}

std::string Str(double value) { return Signed(value, 15, true); }
std::string Str(float value) { return Signed(value, 7, true); }
std::string Str(int32_t value) { return (value >= 0 ? " " : "") + std::to_string(value); }
std::string NumText(double value) { return Signed(value, 15, false); }
std::string NumText(float value) { return Signed(value, 7, false); }
std::string NumText(int32_t value) { return std::to_string(value); }

namespace {

double LeadingNumber(const std::string& text, NumberForms forms)
{
    std::string s;
    s.reserve(text.size());
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            s += c;
        }
    }
    double value = 0;
    size_t used = 0;
    switch (ReadNumber(s, value, used, forms)) {
    case Parse::Ok:
        return value;
    case Parse::NotANumber:
        return 0;
    case Parse::Overflow:
        break;
    }
    Raise(ErrNo::Overflow);
}

bool WholeNumber(const std::string& text, NumberForms forms)
{
    const std::string s = Trim(text);
    double value = 0;
    size_t used = 0;
    return !s.empty() && ReadNumber(s, value, used, forms) == Parse::Ok && used == s.size();
}

} // namespace

double Val(const std::string& text) { return LeadingNumber(text, NumberForms::All); }
bool IsNumeric(const std::string& text) { return WholeNumber(text, NumberForms::All); }
double DecimalVal(const std::string& text) { return LeadingNumber(text, NumberForms::DecimalOnly); }
bool IsDecimal(const std::string& text) { return WholeNumber(text, NumberForms::DecimalOnly); }

std::string UCase(const std::string& text)
{
    std::string out = text;
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

std::string LCase(const std::string& text)
{
    std::string out = text;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::string LTrim(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string RTrim(const std::string& text)
{
    const size_t last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::string Trim(const std::string& text) { return LTrim(RTrim(text)); }

std::string Chr(int code)
{
    if (code < 0 || code > 255) {
        Raise(InvalidProcedureCall);
    }
    return std::string(1, static_cast<char>(static_cast<unsigned char>(code)));
}

int Asc(const std::string& text)
{
    if (text.empty()) {
        Raise(InvalidProcedureCall);
    }
    return static_cast<unsigned char>(text[0]);
}

std::string Hex(int64_t value)
{
    // A negative Long shows its 32-bit pattern, as the run time does.
    uint64_t bits = static_cast<uint64_t>(value);
    if (value < 0 && value >= std::numeric_limits<int32_t>::min()) {
        bits &= 0xFFFFFFFFu;
    }
    std::string out;
    do {
        out.insert(out.begin(), HexDigits[bits & 0xFu]);
        bits >>= 4;
    } while (bits != 0);
    return out;
}

} // namespace VB

std::string VB::Fixed(double value, int decimals)
{
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}
