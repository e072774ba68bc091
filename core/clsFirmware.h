// The transponder's firmware version: the version read, its decode into a
// code that every feature gate compares with, and the transmitter board's own
// version on the units that have one.
#pragma once

#include "clsTpdrComms.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t FWUnknown = 0;
constexpr int32_t FWTestMode = 453;
constexpr int32_t FWPending = 454; // "Vers1.11S": read again with ten characters

struct FirmwareVersionRow {
    std::string reply; // the version text exactly as the transponder sends it
    int32_t code;
    std::string caption;
};

// Every known version reply in decode order; the gates are written as code
// ranges of this table.
const std::vector<FirmwareVersionRow>& FirmwareVersionTable();

class clsFirmware {
public:
    int32_t FWVersion() const { return fwVersion_; }
    void FWVersion(int32_t v) { fwVersion_ = v; }
    int32_t TxFWVersion() const { return txFWVersion_; }
    void TxFWVersion(int32_t v) { txFWVersion_ = v; }
    std::string Caption() const { return caption_; }
    void Caption(const std::string& v) { caption_ = v; }
    std::string TxCaption() const { return txCaption_; }
    void TxCaption(const std::string& v) { txCaption_ = v; }
    std::string StatusBarText() const { return statusBarText_; }

    // The version read for an N-character reply (9, or 10 for the second look).
    void ReadEncode(TpdrCommand& strByteArray, int16_t& intNumOfElements, int16_t N);
    // The transmitter board's version read; its reply is 8 characters.
    void ReadEncodeTxFirmware(TpdrCommand& strByteArray, int16_t& intNumOfElements, int16_t& intReplyLength);
    // Judges the first N characters; a shorter reply is unrecognised.
    void ReadDecode(const std::string& strReply, int16_t N);
    void TxFWReadDecode(const std::string& strReply);
    // Firmware that drives a transmitter board: V2.00F on, and test mode.
    bool TxFWEnableOK() const;

private:
    int32_t fwVersion_ = 0;
    int32_t txFWVersion_ = 0;
    std::string caption_;
    std::string txCaption_;
    std::string statusBarText_;
};

extern clsFirmware TpdrFirmware;
