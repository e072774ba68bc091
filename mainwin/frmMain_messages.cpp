// The main window's result messages: one numbered table shared by its reads,
// writes and questions; the numbers double as result codes.
#include "frmMain.h"

#include "dialogs.h"

#include <array>

namespace {

struct ResultMessage {
    const char* title;
    std::string text;
    int style;
};

constexpr int Exclamation = MsgBoxStyle::Exclamation | MsgBoxStyle::OKOnly;
constexpr int Question = MsgBoxStyle::Question | MsgBoxStyle::YesNo;
constexpr int Information = MsgBoxStyle::Information | MsgBoxStyle::OKOnly;
const std::string CRLF = "\r\n";

const std::array<ResultMessage, 32>& ResultMessages()
{
    static const std::array<ResultMessage, 32> messages = {{
        {"Invalid Firmware Version", "Invalid Firmware Version returned", Exclamation},
        {"Path not found",
         "The application's ini file path cannot be found." + CRLF + CRLF + "About to quit the program.",
         MsgBoxStyle::Critical | MsgBoxStyle::OKOnly},
        {"Invalid Channel", "The returned Channel Number is invalid", Exclamation},
        {"Invalid Depth On/Off Parameter", "The returned Depth parameter is invalid", Exclamation},
        {"Invalid Spanwave Parameters",
         "The returned block of code representing the" + CRLF + "Spanwave Parameters is invalid", Exclamation},
        {"Invalid Spanwave Parameters", "Please ensure that the all parameters are valid before proceeding",
         Exclamation},
        {"Invalid Spanwave Codeword",
         "The returned block of code representing the" + CRLF + "Spanwave Codeword is invalid", Exclamation},
        {"Invalid Code", "Please ensure that the Spanwave Type is valid before proceeding", Exclamation},
        {"Invalid Address", "Please ensure that the Address is valid before proceeding", Exclamation},
        {"Invalid HPR Channel", "Please ensure that the HPR Channel is valid before proceeding", Exclamation},
        {"", "", MsgBoxStyle::OKOnly},
        {"Invalid Channel", "Please ensure that the all Channels are valid before proceeding", Exclamation},
        {"Invalid Orvane Interrogation Channel",
         "Please ensure that the Orvane Interrogation Channel is valid before proceeding", Exclamation},
        {"Invalid Reply Channel", "Please ensure that the Reply Channel is valid before proceeding", Exclamation},
        {"Nothing Written",
         "No parameters were changed since the last Read," + CRLF + "so the Set operation did not take place",
         Exclamation},
        {"Invalid HPR Channel Write", "The Transponder reply to an HPR Channel Write was invalid", Exclamation},
        {"Invalid Pulse-Length Write", "The Transponder reply to a Pulse-Length Write was invalid", Exclamation},
        {"Invalid Address-Code Write", "The Transponder reply to an Address-Code Write was invalid", Exclamation},
        {"Invalid Channel-Code Write", "The Transponder reply to a Channel-Code Write was invalid", Exclamation},
        {"Invalid Spanwave Codeword Write", "The Transponder reply to a Spanwave Codeword Write was invalid",
         Exclamation},
        {"Invalid Spanwave Parameter Write", "The Transponder reply to a Spanwave Parameter Write was invalid",
         Exclamation},
        {"Invalid Type Number", "The Transponder reply to a Type Number Read was invalid", Exclamation},
        {"Invalid Serial Number", "The Transponder reply to a Serial Number Read was invalid", Exclamation},
        {"Invalid Tx Synthesiser Firmware Version",
         "The Transponder reply to a" + CRLF + "Tx Synthesiser Firmware Version Read" + CRLF +
             "was invalid or unrecognised.",
         Exclamation},
        {"Spanwave Type NOT IRS",
         "PC Software is about set Spanwave Type to a value other than IRS." + CRLF + CRLF +
             "Would you like to set Spanwave Type to IRS?" + CRLF + CRLF + "(Suggested Response: Yes)",
         Question},
        {"Not supported",
         "The Beacon Firmware does not support any parameters about to be Set," + CRLF +
             "so the Set operation did not take place",
         Exclamation},
        {"Interrogation and Reply Channels are the same",
         "It is illegal to set the Interrogation and Reply to the same channel", Exclamation},
        {"Write HPR Channel",
         "Would you like to write HPR Channel 1 to the Transponder?   " + CRLF + CRLF + "(Suggested Response: Yes)",
         Question},
        {"Read the Channel", "Now Read the Channel", Information},
        {"HPR Channel Written", "The HPR Channel has been successfully written", Information},
        {"HPR Channel Written not written", "The HPR Channel has not been written", Information},
        {"Initialse Transponder",
         "Are you sure you want to initialise the Transponder?   " + CRLF + CRLF + "(Suggested Response: Yes)",
         Question},
    }};
    return messages;
}

} // namespace

int16_t frmMain::ShowMessage(int16_t Code)
{
    // A code without an entry shows the empty box of entry 10.
    const auto& table = ResultMessages();
    const ResultMessage& m = (Code >= 0 && Code < static_cast<int16_t>(table.size())) ? table[static_cast<size_t>(Code)]
                                                                                      : table[10];
    // Not through MsgBox: an empty title stays empty.
    return static_cast<int16_t>(Platform::ShowMessageBox(m.text, m.style, m.title));
}
