#include "clsDepth.h"

#include "commonprocs.h"

#include "depthrelease_choices.h"
#include "vbconv.h"
#include "vberror.h"

#include <algorithm>
#include <cctype>

clsDepth ReadDepth, EditDepth;

namespace DepthReleaseChoices {

const ModelFit* FindModel(const std::string& TypeNumber)
{
    const std::string type = VB::UCase(VB::Trim(TypeNumber));
    for (const ModelFit& m : Models) {
        const std::string number = m.typeNumber;
        if (type.starts_with(number) && (type.size() == number.size() || !std::isdigit(static_cast<unsigned char>(
                                                                              type[number.size()])))) {
            return &m;
        }
    }
    return nullptr;
}

} // namespace DepthReleaseChoices

namespace {

template <size_t N> bool InAny(const DepthReleaseChoices::FirmwareRange (&ranges)[N], int32_t fw)
{
    return std::any_of(std::begin(ranges), std::end(ranges),
                       [fw](const auto& r) { return fw >= r.first && fw <= r.last; });
}

using CommonProcs::Hex2;

} // namespace

size_t clsDepth::Slot(int32_t Index)
{
    if (Index < 0 || Index > MaxIndex) {
        Raise(ErrNo::SubscriptOutOfRange);
    }
    return static_cast<size_t>(Index);
}

bool clsDepth::ReadOK(int32_t Index) const { return readOK_[Slot(Index)]; }
void clsDepth::ReadOK(int32_t Index, bool v) { readOK_[Slot(Index)] = v; }
bool clsDepth::OKToWrite(int32_t Index) const { return okToWrite_[Slot(Index)]; }
void clsDepth::OKToWrite(int32_t Index, bool v) { okToWrite_[Slot(Index)] = v; }

bool clsDepth::EnableOK(int32_t FW, int32_t Item) const
{
    using namespace DepthReleaseChoices;
    return Item >= FirstDepthItem && Item <= LastDepthItem && InAny(DepthFirmware, FW);
}

bool clsDepth::FittedOK(const std::string& TypeNumber) const
{
    const auto* model = DepthReleaseChoices::FindModel(TypeNumber);
    return model == nullptr || model->depthSensor;
}

void clsDepth::ReadEncode_OnOff(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen)
{
    EncodeOnOff('R', 0, Cmd, NumBytes, ReplyLen);
}

void clsDepth::WriteEncode_OnOff(TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen)
{
    using namespace DepthReleaseChoices;
    const auto code = std::find_if(std::begin(OnOffCodes), std::end(OnOffCodes),
                                   [this](const OnOffCode& c) { return c.onOff == onOff_; });
    NumBytes = 0;
    if (code != std::end(OnOffCodes)) {
        EncodeOnOff('W', code->byte, Cmd, NumBytes, ReplyLen);
    }
}

bool clsDepth::WriteDecode(const std::string& Reply) { return VB::Trim(Reply) == "?"; }

void clsDepth::EncodeOnOff(char letter, uint8_t byte, TpdrCommand& Cmd, int16_t& NumBytes, int16_t& ReplyLen)
{
    Cmd = MakeFrame(letter, 0xA0, 0x04, 0x00, std::string(1, static_cast<char>(byte)));
    NumBytes = 7;
    ReplyLen = 1;
    statusBarText_ = Cmd[1] + Cmd[2];
    for (size_t i = 3; i < Cmd.size(); ++i) {
        statusBarText_ += "|" + Hex2(static_cast<unsigned char>(Cmd[i][0]));
    }
    statusBarText_ += "|";
}

void clsDepth::ReadDecode_OnOff(const std::string& Reply, int32_t FW, int16_t& Result)
{
    using namespace DepthReleaseChoices;
    // A missing byte is as bad as a wrong one: it must not pass for "off".
    if (Reply.empty()) {
        statusBarText_.clear();
        onOff_ = 0;
        Result = DepthOnOffInvalid;
        return;
    }
    const auto b = static_cast<unsigned char>(Reply[0]);
    statusBarText_ = Hex2(b);
    const auto code = std::find_if(std::begin(OnOffCodes), std::end(OnOffCodes),
                                   [b](const OnOffCode& c) { return c.byte == b; });
    if (code != std::end(OnOffCodes)) {
        onOff_ = code->onOff;
        Result = 0;
    } else if (b == NotFittedByte && InAny(SpanwaveDepthFirmware, FW)) {
        onOff_ = 4;
        Result = DepthOnOffNotFitted;
    } else {
        onOff_ = 0;
        Result = DepthOnOffInvalid;
    }
}
