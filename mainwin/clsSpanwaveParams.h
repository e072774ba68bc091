// Acoustic addressing of the F-family transponders: navigation scheme, Orvane
// interrogation and reply channels, Spanwave codeword and parameter block.
#pragma once

#include "clsTpdrComms.h"

#include <array>
#include <cstdint>
#include <string>

class clsSpanwaveParams {
public:
    bool EnableOK(int32_t FW) const;
    // The last frame or reply as text, only while command hex display is on.
    std::string StatusBarText() const;
    // The HPR channel number that switches a transponder to Orvane tone or Spanwave.
    int16_t HPRChan_MakeOrvaneToneOrSP() const { return 10; }

    // -1 stands for an invalid (not read) code.
    int16_t AddressCode(bool blnUseInvalid = false) const { return blnUseInvalid ? int16_t{-1} : addressCode_; }
    void AddressCode(bool blnUseInvalid, int16_t value) { addressCode_ = blnUseInvalid ? int16_t{-1} : value; }
    int16_t ChannelCode(bool blnUseInvalid = false) const { return blnUseInvalid ? int16_t{-1} : channelCode_; }
    void ChannelCode(bool blnUseInvalid, int16_t value) { channelCode_ = blnUseInvalid ? int16_t{-1} : value; }

    int32_t OrvaneIntChan() const { return orvaneIntChan_; }
    void OrvaneIntChan(int32_t value) { orvaneIntChan_ = value; }
    int32_t OrvaneReplyChan() const { return orvaneReplyChan_; }
    void OrvaneReplyChan(int32_t value) { orvaneReplyChan_ = value; }
    std::string OrvaneIntChanString(int32_t ChanRef) const;
    std::string OrvaneReplyChanString(int32_t ChanRef) const;

    // Four digits, address code then channel code, or "Invalid".
    std::string CmdAddressString() const;
    // Accepts 3 or 4 digits; anything else marks both codes invalid.
    void CmdAddressString(const std::string& text);

    int32_t NavScheme() const { return navScheme_; }
    void NavScheme(int32_t value) { navScheme_ = value; }
    int32_t ChanType() const { return chanType_; }
    void ChanType(int32_t value) { chanType_ = value; }
    int32_t ReplyType() const { return replyType_; }
    void ReplyType(int32_t value) { replyType_ = value; }
    int32_t SpanwaveType() const { return spanwaveType_; }
    void SpanwaveType(int32_t value) { spanwaveType_ = value; }
    int32_t SpanwaveBand() const { return spanwaveBand_; }
    void SpanwaveBand(int32_t value) { spanwaveBand_ = value; }

    void DefineNavSchemes(int32_t FW);
    std::string CmdAddressToolTip() const;
    bool CmdAddressIsOK() const;
    // White &HFFFFFF for a good command address, red &HFF otherwise.
    int32_t CmdAddressColor() const;

    // Codeword at 80 00 00 and parameter block at 00 00 00 of the lower-case space.
    void ReadEncode_SpanwaveCodeWord(TpdrCommand& strByteArray, int16_t& intNumOfTxBytes, int16_t& intNumOfRxBytes);
    // 0, or 31 after a run-time error (a short reply among them); values then stay.
    int32_t ReadDecode_SpanwaveCodeWord(const std::string& strRS232Reply, int16_t intNumOfRxBytes);
    void ReadEncode_SpanwaveParams(TpdrCommand& strByteArray, int16_t& intNumOfTxBytes, int16_t& intNumOfRxBytes);
    int32_t ReadDecode_SpanwaveParams(const std::string& strRS232Reply, int16_t intNumOfRxBytes);
    // Raise error 5 when a code does not fit its field of the codeword.
    void WriteEncode_SPCodeword(TpdrCommand& strByteArray, int16_t& intNumOfTxBytes, int16_t& intNumOfRxBytes);
    // Raise error 9 when a channel used has no table row.
    void WriteEncode_SPParams(TpdrCommand& strByteArray, int16_t& intNumOfTxBytes, int16_t& intNumOfRxBytes);
    // 0 when acknowledged, otherwise 21.
    int32_t WriteDecode(const std::string& strRS232Reply, int16_t intNumOfRxBytes);

private:
    static constexpr int BlockLength = 20;
    using Block = std::array<uint8_t, BlockLength>;
    Block ParamBlock() const;
    bool AddressCodeIsValid() const;
    bool ChannelCodeIsValid() const;
    int32_t NextChannelCode() const;
    int32_t NextReplyChan() const;
    int32_t CodeIndexB(int32_t c) const;
    int32_t ChannelFreqB(int32_t c) const;
    static uint32_t ComputeGroupByte(int32_t frequency);

    int32_t navScheme_ = 0;
    int32_t chanType_ = 0;
    int32_t replyType_ = 0;
    int32_t spanwaveType_ = 0;
    int32_t spanwaveBand_ = 0;
    int16_t addressCode_ = 0;
    int16_t channelCode_ = 0;
    int32_t orvaneIntChan_ = 0;
    int32_t orvaneReplyChan_ = 0;
    std::string statusText_;
};

extern clsSpanwaveParams NavParams;
