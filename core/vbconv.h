// The number and text conversions the program relies on, in one place.
// Texts are byte strings: one char per byte, codes 0-255, always handled as
// unsigned char. "." is the decimal point whatever the locale.
#pragma once

#include <cstdint>
#include <string>

namespace VB {

// Round half to even; error 6 (overflow) when the result does not fit.
int16_t CInt(double value);
int32_t CLng(double value);
uint8_t CByte(double value); // 0..255

// The run time's Str: a non-negative number gets one leading blank.
// Singles keep 7 significant digits, doubles 15; no leading zero before the
// point (" .5"), no trailing zeros. Exponent form (" 1E+20", " 1.5E-05", at
// least two exponent digits) when plain decimal would need more digits than
// that, or when the rounded magnitude is below 1E-4 (" .0001" stays plain).
// Non-finite values, which the program never formats, give "Inf" / "NaN".
std::string Str(double value);
std::string Str(float value);
std::string Str(int32_t value);
// The settings file's number text: Str without the leading blank.
std::string NumText(double value);
std::string NumText(float value);
std::string NumText(int32_t value);

// The run time's Val: reads a decimal number from the start of the text,
// ignoring blanks, tabs and line feeds anywhere in it ("1 2" is 12); stops at
// the first character that cannot continue it; E or D starts an exponent;
// &H / &O prefixes read hexadecimal / octal, typed as the run time types such
// literals (&HFFFF is -1, &H10000 is 65536); 0 when no number starts the
// text. Error 6 when the number does not fit a double or a Long (&H).
double Val(const std::string& text);

// Whether the whole text (blanks around it allowed) is a number: sign,
// digits, one ".", an exponent, or &H / &O forms. Empty is not a number.
bool IsNumeric(const std::string& text);

// Settings values are decimal text: Val and IsNumeric without the &H / &O
// forms and the D exponent ("&H10" is no number; "1D1" reads as 1).
double DecimalVal(const std::string& text);
bool IsDecimal(const std::string& text);

// Upper- and lower-casing of a-z / A-Z only; every other byte is kept.
std::string UCase(const std::string& text);
std::string LCase(const std::string& text);

// Remove leading / trailing blanks (code 32 only).
std::string Trim(const std::string& text);
std::string LTrim(const std::string& text);
std::string RTrim(const std::string& text);

// A one-char text of the byte `code` (0-255); error 5 outside that range.
std::string Chr(int code);
// The code of the first byte, 0-255; error 5 for an empty text.
int Asc(const std::string& text);

// Upper-case hexadecimal without leading zeros ("1F"); a negative value in
// the Long range shows its 32-bit pattern (-1 gives "FFFFFFFF").
std::string Hex(int64_t value);

// A number with a fixed count of decimals and "." as the point in every
// locale, leading zero kept ("0.5", "33.0"); a tie goes to the even digit.
std::string Fixed(double value, int decimals);

// Text <-> QString-free helpers for the widget boundary live with the forms.

} // namespace VB
