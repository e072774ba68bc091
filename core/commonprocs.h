// Procedures without state of their own that every window and class calls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class ExchangeWindow;
class QComboBox;

namespace CommonProcs {

// Wait `seconds` while letting window events run; restarts at midnight.
void Delay(float seconds);
// The same wait, ended early once `stop` answers true (checked on every
// slice); true when it was.
bool Delay(float seconds, const std::function<bool()>& stop);
// Send the initialise command without waiting for a reply.
void InitialiseTpdr();
// The pause between commands (when asked), the initialise command, and
// "Transponder initialised." on the window's status, whether or not the user
// has cancelled; nothing once the window is closing.
void InitialiseTpdr(ExchangeWindow& window, bool delayFirst = true);
// (Re)open the transponder port with the normal or the download setting: 0, 3 or 4.
int32_t OpenTpdrCommPort(bool download);
// "The Transponder firmware does not support this function."
void ShowNotSupported();

// "|41|05" style groups of two-digit hexadecimal codes; a size below 1 counts as 1.
std::string HexGroups(const std::string& text, int16_t groupSize);
// A byte as two upper-case hexadecimal digits ("0A").
std::string Hex2(unsigned char code);

int32_t HexToDecimal(const std::string& text);
float SingleMod(float value, float step);
std::string ChanListText(int16_t channel, int32_t channelType);
std::string AddLeadingZero(const std::string& text);
std::string ZeroPad(const std::string& text, int16_t width);
std::string StrToHexList(const std::string& text);
bool ContainsText(const std::string& text, const std::string& part);
bool IsHexString(const std::string& text, int16_t maxLength);
std::string StripChars(const std::string& text, const std::string& character, bool stripControl);
int16_t CmdAddressToAddressCode(const std::string& cmdAddress);
int16_t CmdAddressToChannelCode(const std::string& cmdAddress);
bool IsDigits(const std::string& text);
std::string DigitsOnly(const std::string& text);
void SelectComboItem(QComboBox* combo, const std::string& text);
void NumericKeyFilter(int16_t& keyAscii, bool allowN);

} // namespace CommonProcs
