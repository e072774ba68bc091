#include "clsFirmware.h"

#include "commonprocs.h"
#include "vbconv.h"

#include <algorithm>

clsFirmware TpdrFirmware;

namespace {

constexpr char Unrecognised[] = "Unrecognised";

// A block of replies that follow the rule: "Vers", M.mm and the family letter
// ("Vers_" and M.mm for the plain family), codes counting up by one per
// hundredth. A row with a reply of its own breaks the rule.
struct Entry {
    const char* reply; // nullptr for a block
    const char* caption;
    char family;       // '\0' for the plain family
    int major;
    int firstMinor;    // hundredths
    int lastMinor;
    int32_t firstCode;
};

constexpr Entry Block(char family, int major, int firstMinor, int lastMinor, int32_t firstCode)
{
    return {nullptr, nullptr, family, major, firstMinor, lastMinor, firstCode};
}

constexpr Entry Single(const char* reply, int32_t code, const char* caption)
{
    return {reply, caption, '\0', 0, 0, 0, code};
}

// In decode order. The nine-character "Vers1.11S" cannot tell V1.11S from
// V1.11D; the ten-character replies tell them apart by the last character.
constexpr Entry Entries[] = {
    Block('\0', 1, 4, 6, 1),
    Block('\0', 2, 0, 30, 4),
    Block('S', 1, 7, 10, 35),
    Single("Vers1.11Ss", 39, "V1.11S"),
    Block('S', 1, 12, 30, 40),
    Block('S', 2, 0, 30, 59),
    Block('S', 3, 0, 30, 90),
    Block('S', 4, 0, 30, 121),
    Block('S', 4, 50, 50, 152),
    Block('S', 5, 0, 30, 153),
    Block('S', 9, 0, 10, 184),
    Block('P', 1, 1, 30, 195),
    Block('P', 2, 0, 30, 225),
    Block('P', 3, 0, 30, 256),
    Block('P', 4, 0, 30, 287),
    Block('P', 9, 0, 10, 318),
    Single("Vers1.11S ", 329, "V1.11D"),
    Block('D', 1, 12, 30, 330),
    Block('D', 2, 0, 30, 349),
    Block('F', 1, 0, 30, 380),
    Block('F', 2, 0, 30, 411),
    Block('F', 9, 0, 10, 442),
    Single("TestMode ", FWTestMode, "Test Mode"),
    Single("Vers1.11S", FWPending, "Pending"),
};

std::vector<FirmwareVersionRow> BuildTable()
{
    std::vector<FirmwareVersionRow> rows;
    for (const Entry& e : Entries) {
        if (e.reply != nullptr) {
            rows.push_back({e.reply, e.firstCode, e.caption});
            continue;
        }
        const std::string letter = e.family == '\0' ? std::string() : std::string(1, e.family);
        for (int minor = e.firstMinor; minor <= e.lastMinor; ++minor) {
            const std::string version =
                std::to_string(e.major) + "." + CommonProcs::ZeroPad(std::to_string(minor), 2);
            rows.push_back({(letter.empty() ? "Vers_" : "Vers") + version + letter,
                            e.firstCode + (minor - e.firstMinor), "V" + version + letter});
        }
    }
    return rows;
}

std::string Hex2(const std::string& element)
{
    return CommonProcs::Hex2(element.empty() ? 0 : static_cast<unsigned char>(element[0]));
}

} // namespace

const std::vector<FirmwareVersionRow>& FirmwareVersionTable()
{
    static const std::vector<FirmwareVersionRow> table = BuildTable();
    return table;
}

void clsFirmware::ReadEncode(TpdrCommand& strByteArray, int16_t& intNumOfElements, int16_t N)
{
    // Chr raises before anything is built when N cannot be a count byte.
    strByteArray = {std::string(), "!", "V", VB::Chr(0xA0), VB::Chr(0), VB::Chr(0), VB::Chr(N)};
    strByteArray.resize(static_cast<size_t>(N) + 7, VB::Chr(0));
    intNumOfElements = static_cast<int16_t>(N + 6);
    statusBarText_ = "!V";
    for (size_t i = 3; i < strByteArray.size(); ++i) {
        statusBarText_ += "|" + Hex2(strByteArray[i]);
    }
    statusBarText_ += "|";
}

void clsFirmware::ReadEncodeTxFirmware(TpdrCommand& strByteArray, int16_t& intNumOfElements,
                                       int16_t& intReplyLength)
{
    intReplyLength = 8;
    intNumOfElements = 15;
    // The count byte asks for one more than the reply carries.
    strByteArray = {std::string(), "!", "A", VB::Chr(0), VB::Chr(0), VB::Chr(0), VB::Chr(intReplyLength + 1)};
    strByteArray.resize(static_cast<size_t>(intNumOfElements) + 1, VB::Chr(0));
    statusBarText_ = "!A ";
    for (size_t i = 3; i < strByteArray.size(); ++i) {
        statusBarText_ += Hex2(strByteArray[i]) + " ";
    }
}

void clsFirmware::ReadDecode(const std::string& strReply, int16_t N)
{
    statusBarText_ = strReply;
    fwVersion_ = FWUnknown;
    caption_ = Unrecognised;
    if (N < 0 || strReply.size() < static_cast<size_t>(N)) {
        return;
    }
    const std::string text = strReply.substr(0, static_cast<size_t>(N));
    const auto& table = FirmwareVersionTable();
    const auto row = std::find_if(table.begin(), table.end(), [&](const auto& r) { return r.reply == text; });
    if (row != table.end()) {
        fwVersion_ = row->code;
        caption_ = row->caption;
    }
}

void clsFirmware::TxFWReadDecode(const std::string& strReply)
{
    statusBarText_ = strReply;
    txFWVersion_ = 0;
    txCaption_ = Unrecognised;
    for (int32_t k = 1; k <= 11; ++k) {
        const std::string version = "V2." + CommonProcs::ZeroPad(std::to_string(k - 1), 2) + "F";
        if (strReply == "Tx" + version) {
            txFWVersion_ = k;
            txCaption_ = "Tx " + version;
            return;
        }
    }
}

bool clsFirmware::TxFWEnableOK() const { return fwVersion_ >= 411 && fwVersion_ <= FWTestMode; }
