#include "commonprocs.h"

#include "clock.h"
#include "clsSettings.h"
#include "dialogs.h"
#include "errorhandler.h"
#include "iolog.h"
#include "tpdrexchange.h"
#include "tpdrport.h"
#include "vbconv.h"
#include "vberror.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace CommonProcs {
namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

void AppendHexByte(std::string& out, char c)
{
    const auto code = static_cast<unsigned char>(c);
    out += HexDigits[code >> 4];
    out += HexDigits[code & 0xF];
}

int HexDigitValue(unsigned char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

} // namespace

void Delay(float seconds) { Delay(seconds, {}); }

bool Delay(float seconds, const std::function<bool()>& stop)
{
    double start = Timer();
    for (;;) {
        DoEvents();
        if (Platform::Quitting()) {
            break; // the program is closing: no window is left to keep responsive
        }
        if (stop && stop()) {
            return true;
        }
        const double now = Timer();
        if (now < start) {
            start = now; // midnight passed: the wait starts again
        }
        const double waited = now - start;
        if (waited > seconds) {
            break;
        }
        // Sleep in short slices so window events and timers still run promptly.
        Platform::CurrentClock().Idle(std::min(static_cast<double>(seconds) - waited, 0.01));
    }
    return false;
}

void InitialiseTpdr()
{
    try {
        Platform::SerialComm& port = comTpdr();
        port.Output("!");
        port.Output("I");
        for (int i = 0; i < 4; ++i) {
            port.Output(std::string(1, '\0'));
        }
        LogCommand("!I|00|00|00|00|");
    } catch (const VBError& e) {
        ErrorHandler::CommsOrCatchAll(e.Number(), e.Description(), "InitialiseTpdrErrorHandler (CommonProcs)");
    }
}

void InitialiseTpdr(ExchangeWindow& window, bool delayFirst)
{
    // The initialise returns the transponder to normal running after a read or
    // write, also one the user cancelled: a Cancel does not skip it. A window
    // that is closing sends nothing more.
    const auto closing = [&window] { return window.Closing(); };
    if ((delayFirst && Delay(AppSettings.DelayBetweenCmds(), closing)) || closing()) {
        return;
    }
    InitialiseTpdr();
    window.ShowStatus("Transponder initialised.");
}

int32_t OpenTpdrCommPort(bool download)
{
    try {
        Platform::SerialComm& port = comTpdr();
        if (port.PortOpen()) {
            port.PortOpen(false);
        }
        // The port number is a Long in the settings but an Integer on the port.
        port.CommPort(VB::CInt(AppSettings.TpdrComPort()));
        if (download) {
            port.Settings(AppSettings.sTpdrDownLoadComPortBaud() + "," + AppSettings.sTpdrDownLoadComPortBits());
        } else {
            port.Settings(AppSettings.sTpdrComPortBaud() + "," + AppSettings.sTpdrComPortBits());
        }
        port.PortOpen(true);
        return 0;
    } catch (const VBError& e) {
        return ErrorHandler::CommsOrCatchAll(e.Number(), e.Description(), "OpenTpdrCommPort (CommonProcs)");
    }
}

void ShowNotSupported()
{
    MsgBox("The Transponder firmware does not support this function.",
           MsgBoxStyle::Information | MsgBoxStyle::OKOnly, "Not Supported");
}

std::string HexGroups(const std::string& text, int16_t groupSize)
{
    const size_t size = groupSize < 1 ? 1 : static_cast<size_t>(groupSize);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i % size == 0) {
            out += '|';
        }
        AppendHexByte(out, text[i]);
    }
    return out;
}

int32_t HexToDecimal(const std::string& text)
{
    try {
        int64_t value = 0;
        for (const char c : VB::UCase(VB::Trim(text))) {
            const int digit = HexDigitValue(static_cast<unsigned char>(c));
            if (digit < 0) {
                break;
            }
            value = value * 16 + digit;
            if (value > INT32_MAX) {
                Raise(ErrNo::Overflow);
            }
        }
        return static_cast<int32_t>(value);
    } catch (const VBError& e) {
        ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "HexToDecimal (CommonProcs)");
        return 0;
    }
}

float SingleMod(float value, float step)
{
    if (step == 0) {
        Raise(value == 0 ? ErrNo::Overflow : ErrNo::DivisionByZero); // as the run time's Single division
    }
    const int16_t q = VB::CInt(std::trunc(value / step));
    // In double the products and distances of these floats are exact, so a
    // tie is seen as a tie.
    const double lower = static_cast<double>(q) * step;
    const double upper = (static_cast<double>(q) + 1.0) * step;
    const double below = std::fabs(value - lower);
    const double above = std::fabs(upper - value);
    return static_cast<float>(below < above ? lower : upper);
}

std::string ChanListText(int16_t channel, int32_t channelType)
{
    const char* letter = nullptr;
    const char* name = nullptr;
    switch (channelType) {
    case 0: letter = "  "; name = "Illegal"; break;
    case 2: letter = "D"; name = "Dual Mode"; break;
    case 4: letter = "H"; name = "HPR300"; break;
    case 5: letter = "B"; name = "HPR400"; break;
    case 6: letter = "S"; name = "Orvane"; break;
    case 7: letter = "C"; name = "Custom"; break;
    case 8: letter = "  "; name = "Endcap only"; break;
    case 11: letter = "  "; name = "Unknown"; break;
    default: return {};
    }
    std::string number = std::to_string(std::abs(static_cast<int>(channel)));
    if (number.size() < 2) {
        number.insert(0, 2 - number.size(), '0');
    }
    return std::string(letter) + (channel < 0 ? "-" : "") + number + "   " + name;
}

std::string AddLeadingZero(const std::string& text)
{
    const std::string t = VB::Trim(text);
    return !t.empty() && t[0] == '.' ? "0" + t : t;
}

std::string ZeroPad(const std::string& text, int16_t width)
{
    std::string t = VB::Trim(text);
    if (width > 0 && t.size() < static_cast<size_t>(width)) {
        t.insert(0, static_cast<size_t>(width) - t.size(), '0');
    }
    return t;
}

std::string StrToHexList(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (!out.empty()) {
            out += ' ';
        }
        AppendHexByte(out, c);
    }
    return out;
}

bool ContainsText(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

bool IsHexString(const std::string& text, int16_t maxLength)
{
    if (text.empty() || static_cast<int>(text.size()) > maxLength) {
        return false;
    }
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return HexDigitValue(static_cast<unsigned char>(c)) >= 0; });
}

std::string StripChars(const std::string& text, const std::string& character, bool stripControl)
{
    if (text.empty()) {
        return text;
    }
    std::string out = text;
    if (!character.empty()) {
        for (size_t at = out.find(character); at != std::string::npos; at = out.find(character, at)) {
            out.erase(at, character.size());
        }
    }
    if (stripControl) {
        std::erase_if(out, [](char c) {
            const auto code = static_cast<unsigned char>(c);
            return code >= 1 && code <= 31;
        });
    }
    return out;
}

int16_t CmdAddressToAddressCode(const std::string& cmdAddress)
{
    const std::string t = VB::Trim(cmdAddress);
    return VB::CInt(VB::Val(t.substr(0, t.size() == 3 ? 1 : 2)));
}

int16_t CmdAddressToChannelCode(const std::string& cmdAddress)
{
    const std::string t = VB::Trim(cmdAddress);
    return VB::CInt(VB::Val(t.size() > 2 ? t.substr(t.size() - 2) : t));
}

bool IsDigits(const std::string& text) { return !text.empty() && std::all_of(text.begin(), text.end(), IsDigitChar); }

std::string DigitsOnly(const std::string& text)
{
    std::string out;
    std::copy_if(text.begin(), text.end(), std::back_inserter(out), IsDigitChar);
    return out;
}

void NumericKeyFilter(int16_t& keyAscii, bool allowN)
{
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (digit || keyAscii == 8 || keyAscii == 13 || (allowN && keyAscii == 'n')) {
        return;
    }
    keyAscii = 0;
    Beep();
}

} // namespace CommonProcs

std::string CommonProcs::Hex2(unsigned char code)
{
    static const char digits[] = "0123456789ABCDEF";
    return {digits[code >> 4], digits[code & 0x0F]};
}
