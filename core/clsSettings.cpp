#include "clsSettings.h"

#include "commonprocs.h"
#include "tpdrnames.h"
#include "vbconv.h"
#include "vberror.h"

clsSettings AppSettings;

namespace {

// The port only knows these rates; anything else falls back to the slowest.
std::string CheckedBaud(const std::string& text)
{
    double rate = 0;
    try {
        rate = VB::DecimalVal(text);
    } catch (const VBError&) {
        return PortDefaults::Baud; // a number too large for any rate is no rate; the store never raises
    }
    for (const double known : PortDefaults::AcceptedBauds) {
        if (rate == known) {
            return text;
        }
    }
    return PortDefaults::Baud;
}

// The test unit attenuates in steps of 1.5 dB up to 60 dB.
bool AttenInRange(float v) { return v >= 0.0f && v <= 60.0f; }

} // namespace

void clsSettings::sTpdrComPortBaud(const std::string& v) { sTpdrComPortBaud_ = CheckedBaud(v); }

void clsSettings::sTpdrDownLoadComPortBaud(const std::string& v) { sTpdrDownLoadComPortBaud_ = CheckedBaud(v); }

void clsSettings::ANTDepthWait(float v)
{
    if (v >= 0.1f && v <= 10.0f) {
        antDepthWait_ = v;
    }
}

void clsSettings::ANTRxAtten(float v)
{
    if (AttenInRange(v)) {
        antRxAtten_ = CommonProcs::SingleMod(v, 1.5f);
    }
}

void clsSettings::ANTTxAtten(float v)
{
    if (AttenInRange(v)) {
        antTxAtten_ = CommonProcs::SingleMod(v, 1.5f);
    }
}

void clsSettings::ANTInterrogationRate(int16_t v)
{
    if (v >= 0 && v <= 3600) {
        antInterrogationRate_ = v;
    }
}

void clsSettings::FillEmptyPortTexts()
{
    for (std::string* baud : {&sTpdrComPortBaud_, &sTpdrDownLoadComPortBaud_}) {
        if (baud->empty()) {
            *baud = PortDefaults::Baud;
        }
    }
    for (std::string* bits : {&sTpdrComPortBits_, &sTpdrDownLoadComPortBits_}) {
        if (bits->empty()) {
            *bits = PortDefaults::Bits;
        }
    }
}

void clsSettings::Defaults()
{
    tpdrTelemWait_ = PortDefaults::TelemWait;
    delayBetweenCmds_ = PortDefaults::DelayBetweenCmds;
    antRangeWait_ = 1.0f;
    antDepthWait_ = 1.0f;
    antReadTime_ = 0.2f;
    antWriteTime_ = 0.2f;
    antGoAttempts_ = 3;
    tpdrComPort_ = 1;
    antComPort_ = 2;
    antRxAtten_ = 0.0f;
    antTxAtten_ = 0.0f;
    antValTime_ = 0.79f;
    antSampleTime_ = 2;
    antTxPWidth1_ = 10.0f;
    antTxPWidth2_ = 10.0f;
    hpr400Period_ = 30.0f;
    ccfDelay_ = 0.5f;
    pingRate_ = 3;
    battLifeTemperature_ = 2;
    battLifePings_ = 3;
    battLifeAdvice_ = true;
    battChargeThreshold_ = 5;
    testChanType_ = 1;
    ccfOperatorOnly_ = false;
    rs232ChanChange_ = true;
    antInterrogationRate_ = 1;
    depthScale_ = 1.0f;
    depthSensor_ = 0;
    displayDepth_ = true;
}
