#include "clsMultiTAT.h"

#include "commonprocs.h"

#include "iolog.h"
#include "vbconv.h"
#include "vberror.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

clsMultiTAT ReadMultiTAT, EditMultiTAT;

namespace {

constexpr float MinTAT = 62.5f;
constexpr float MaxTAT = 875.0f;
constexpr int EntriesPerPage = 5;
constexpr int16_t FrameBytes = 16;
constexpr uint8_t PageBytes = 10;

uint8_t PageAddress(int16_t Page) { return Page == 2 ? 0x10 : 0x00; }

using CommonProcs::Hex2;

uint8_t Code(const std::string& element) { return element.empty() ? 0 : static_cast<unsigned char>(element[0]); }

// "!", the letter, E2 00 <page> 0A and ten data bytes.
TpdrCommand PageFrame(char letter, int16_t Page, const std::string& data)
{
    return MakeFrame(letter, 0xE2, 0x00, PageAddress(Page), data);
}

// The word the transponder counts in: TAT / 0.04 - 21, held as a float before rounding.
uint16_t TATToWord(float tat)
{
    const auto held = static_cast<float>(static_cast<double>(tat) / static_cast<double>(0.04f) - 21.0);
    const int32_t word = VB::CLng(held);
    // Out-of-range words would lose their high digits on the wire.
    if (word < 0 || word > 0xFFFF) {
        Raise(ErrNo::Overflow);
    }
    return static_cast<uint16_t>(word);
}

float WordToTAT(uint16_t word)
{
    const double tat = (static_cast<double>(word) + 21.0) * static_cast<double>(0.00004f) * 1000.0;
    return static_cast<float>(std::nearbyint(tat * 10.0) / 10.0);
}

} // namespace

size_t clsMultiTAT::Slot(int16_t Index)
{
    if (Index < 0 || Index > MaxIndex) {
        Raise(ErrNo::SubscriptOutOfRange);
    }
    return static_cast<size_t>(Index);
}

float clsMultiTAT::Value(int16_t Index) const { return value_[Slot(Index)]; }
void clsMultiTAT::Value(int16_t Index, float v)
{
    value_[Slot(Index)] = v;
    word_[Slot(Index)] = -1;
}
int32_t clsMultiTAT::Word(int16_t Index) const { return word_[Slot(Index)]; }
void clsMultiTAT::Word(int16_t Index, int32_t word) { word_[Slot(Index)] = word >= 0 && word <= 0xFFFF ? word : -1; }

uint16_t clsMultiTAT::WireWord(int16_t Index) const
{
    const int32_t held = word_[Slot(Index)];
    return held >= 0 ? static_cast<uint16_t>(held) : TATToWord(value_[Slot(Index)]);
}
bool clsMultiTAT::ReadOK(int16_t Index) const { return readOK_[Slot(Index)]; }
void clsMultiTAT::ReadOK(int16_t Index, bool v) { readOK_[Slot(Index)] = v; }
bool clsMultiTAT::OKToWrite(int16_t Index) const { return okToWrite_[Slot(Index)]; }
void clsMultiTAT::OKToWrite(int16_t Index, bool v) { okToWrite_[Slot(Index)] = v; }

uint16_t clsMultiTAT::WordOf(float tat) { return TATToWord(tat); }
float clsMultiTAT::ValueOf(uint16_t word) { return WordToTAT(word); }

bool clsMultiTAT::EnableOK(int32_t FW) { return FW == 453 || (FW >= 329 && FW <= 379); }

void clsMultiTAT::ReadEncode(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen, int16_t Page)
{
    Cmd = PageFrame('R', Page, std::string(PageBytes, '\0'));
    NumBytes = FrameBytes;
    ReplyLen = PageBytes;
    statusBarText_ = Cmd[1] + Cmd[2];
    for (int i = 3; i <= NumBytes; ++i) {
        statusBarText_ += "|" + Hex2(Code(Cmd[static_cast<size_t>(i)]));
    }
    statusBarText_ += "|";
    // The link logs the frame again when it sends it.
    LogCommand(statusBarText_);
}

void clsMultiTAT::WriteEncode(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen, int16_t Page)
{
    if (Page != 1 && Page != 2) {
        Raise(ErrNo::SubscriptOutOfRange);
    }
    std::string data;
    for (int j = 0; j < EntriesPerPage; ++j) {
        const uint16_t word = WireWord(static_cast<int16_t>((Page - 1) * EntriesPerPage + j));
        data += static_cast<char>(word >> 8);
        data += static_cast<char>(word & 0xFF);
    }
    Cmd = PageFrame('W', Page, data);
    NumBytes = FrameBytes;
    ReplyLen = 1;
    statusBarText_ = Cmd[1] + Cmd[2] + " ";
    for (int i = 3; i <= NumBytes; ++i) {
        statusBarText_ += Hex2(Code(Cmd[static_cast<size_t>(i)])) + " ";
    }
}

void clsMultiTAT::ReadDecode(const std::string& Reply, int16_t Page)
{
    const size_t have = std::min(Reply.size(), size_t{PageBytes});
    statusBarText_.clear();
    for (size_t i = 0; i < have; ++i) {
        statusBarText_ += Hex2(static_cast<unsigned char>(Reply[i])) + " ";
    }
    const size_t first = Page == 1 ? 0 : EntriesPerPage;
    for (size_t j = 0; j < EntriesPerPage; ++j) {
        const size_t k = first + j;
        // A short reply leaves the entries it does not cover unread.
        if (2 * j + 1 >= have) {
            readOK_[k] = false;
            word_[k] = -1;
            continue;
        }
        const auto word = static_cast<uint16_t>(static_cast<unsigned char>(Reply[2 * j]) * 256 +
                                                static_cast<unsigned char>(Reply[2 * j + 1]));
        value_[k] = WordToTAT(word);
        word_[k] = word;
        readOK_[k] = value_[k] >= MinTAT && value_[k] <= MaxTAT;
    }
}

void clsMultiTAT::WriteDecode(const std::string& Reply)
{
    writeOK_ = VB::Trim(Reply) == "?";
    if (writeOK_) {
        statusBarText_ = "?";
    } else {
        statusBarText_ = Reply.empty() ? std::string() : VB::Hex(static_cast<unsigned char>(Reply[0]));
    }
}
