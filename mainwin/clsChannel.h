// The three acoustic channel numbers a transponder keeps (endcap, dual-mode,
// RS232), their read and write frames and reply decoders, and the built-in
// channel table that turns a channel number into its type and frequencies.
// Also carries the channel list that the channel-test windows step through.
//
// Channel kind (intChanType): 1 endcap (read only), 2 dual-mode, 3 RS232.
// Index 0 of the per-kind flags exists and is unused.
#pragma once

#include "clsTpdrComms.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class clsChannel {
public:
    int16_t EndcapChan() const { return endcapChan_; }
    void EndcapChan(int16_t v) { endcapChan_ = v; }
    int16_t RS232Chan() const { return rs232Chan_; }
    void RS232Chan(int16_t v) { rs232Chan_ = v; }
    int16_t DualModeChan() const { return dualModeChan_; } // 255: "Not Set"
    void DualModeChan(int16_t v) { dualModeChan_ = v; }

    // Type of the last table lookup: 0 invalid, 4 single-tone, 5 dual-tone,
    // 6 Orvane, 8 channel 0, 10 signalling switch channel of F-family firmware.
    int32_t ChanType() const { return chanType_; }

    // Per kind, index 0-3; any other index raises error 9.
    bool HasBeenRead(int16_t i) const { return hasBeenRead_[Index(i)]; }
    void HasBeenRead(int16_t i, bool v) { hasBeenRead_[Index(i)] = v; }
    bool ReadOK(int16_t i) const { return readOK_[Index(i)]; }
    void ReadOK(int16_t i, bool v) { readOK_[Index(i)] = v; }
    bool OKToWrite(int16_t i) const { return okToWrite_[Index(i)]; }
    void OKToWrite(int16_t i, bool v) { okToWrite_[Index(i)] = v; }

    bool WriteOK() const { return writeOK_; }
    const std::string& StatusBarText() const { return statusBarText_; }

    int16_t NumOfHPRChans() const { return numOfHPRChans_; }
    void NumOfHPRChans(int16_t v) { numOfHPRChans_ = v; }
    int16_t NumOfDualModeChans() const { return numOfDualModeChans_; }
    void NumOfDualModeChans(int16_t v) { numOfDualModeChans_ = v; }

    // Whether the firmware supports the kind of channel.
    bool EnableOK(int32_t FW, int16_t intChanType) const;

    // A one-element list holding -1 is the empty list.
    void TestChanArrayRead(std::vector<int16_t>& TestChanArray) const { TestChanArray = testChanArray_; }
    void TestChanArrayWrite(const std::vector<int16_t>& TestChanArray) { testChanArray_ = TestChanArray; }

    // Highest channel number of the kind's channel set under the firmware.
    int16_t GetMaxElement(int16_t intChanType, int32_t FW) const;

    // A kind the frame does not exist for builds no frame (both counts 0).
    void ReadEncode(TpdrCommand& strByteArray, int16_t& intNumOfTxBytes, int16_t& intNumOfRxBytes,
                    int16_t intChanType);
    void WriteEncode(TpdrCommand& strByteArray, int16_t& intNumOfTxBytes, int16_t& intNumOfRxBytes,
                     int16_t intChanType, bool blnWriteToEEPROM);
    // 0 acknowledged, 21 not.
    int32_t WriteDecode(const std::string& strRS232Reply, int16_t intNumOfRxBytes);
    // 0 valid, 16 invalid channel, 17 channel 0 as RS232 channel, 19 not a channel byte.
    int32_t ReadDecode(const std::string& strRS232Reply, int16_t intChanType, int32_t FW);
    // The read's own check of a channel number of the kind under the firmware,
    // changing nothing: 0 valid, 16 invalid channel, 17 channel 0 as RS232 channel.
    int32_t CheckChannel(int16_t intChannel, int16_t intChanType, int32_t FW) const;

    // Parses a typed channel ("12", "B12", "H05") and looks it up in the table.
    // Result 15 when the text holds no channel number (outputs untouched).
    void GetChannelNumber(const std::string& strChannel, int16_t intChanType, int32_t FW,
                          int16_t& intChannelNumber, int32_t& lngChanType, float& sngInt1, float& sngInt2,
                          float& sngReply1, float& sngReply2, int32_t& lngUnrecognizedErrNum);

    // Whether the channel is offered in the HPR lists, with its text pieces.
    // Pieces a channel has no text for are left as passed.
    bool IsHPRChannel(int16_t intChanToCheck, std::string& strPrefix, std::string& strHPR300ID,
                      bool blnLookForOrvaneAlso, int32_t FW, std::string& strPostfix);

private:
    static size_t Index(int16_t i);
    int32_t ValidCheck(const std::string& strChannel, int16_t intChanType, int32_t FW);
    static int16_t ChannelSchemeFromFirmware(int16_t intChanType, int32_t FW);
    void SetChannelFrequencies(int16_t intChannel, int16_t intScheme, int32_t FW);
    void SetStatusFromFrame(const TpdrCommand& frame, int16_t count);

    int16_t endcapChan_ = 0;
    int16_t rs232Chan_ = 0;
    int16_t dualModeChan_ = 0;
    int32_t chanType_ = 0;
    // The channel record of the last lookup (Hz; 0 = none).
    int16_t chanNumber_ = 0;
    int16_t int1_ = 0;
    int16_t int2_ = 0;
    int16_t reply1_ = 0;
    int16_t reply2_ = 0;
    std::array<bool, 4> hasBeenRead_{};
    std::array<bool, 4> readOK_{};
    std::array<bool, 4> okToWrite_{};
    bool writeOK_ = false;
    std::string statusBarText_;
    int16_t numOfHPRChans_ = 0;
    int16_t numOfDualModeChans_ = 0;
    std::vector<int16_t> testChanArray_;
};

extern clsChannel TpdrChannel, WriteChannel;
