// Every operator setting of the program, plus a few values that live only
// while it runs. A passive store: no input, no messages, no errors. Six setters
// check their value (baud texts, depth wait, attenuations, interrogation rate);
// the ranges of the others belong to the dialogs that edit them.
#pragma once

#include <cstdint>
#include <string>

class clsSettings {
public:
    // Folders
    std::string AppPath() const { return appPath_; }
    void AppPath(const std::string& v) { appPath_ = v; }
    std::string DataPath() const { return dataPath_; }
    void DataPath(const std::string& v) { dataPath_ = v; }
    std::string HexDownloadPath() const { return hexDownloadPath_; }
    void HexDownloadPath(const std::string& v) { hexDownloadPath_ = v; }

    // Transponder link timing
    float TpdrTelemWait() const { return tpdrTelemWait_; }
    void TpdrTelemWait(float v) { tpdrTelemWait_ = v; }
    float DelayBetweenCmds() const { return delayBetweenCmds_; }
    void DelayBetweenCmds(float v) { delayBetweenCmds_ = v; }

    // Acoustic test unit
    float ANTRangeWait() const { return antRangeWait_; }
    void ANTRangeWait(float v) { antRangeWait_ = v; }
    float ANTDepthWait() const { return antDepthWait_; }
    void ANTDepthWait(float v); // 0.1 to 10, else kept
    float ANTReadTime() const { return antReadTime_; }
    void ANTReadTime(float v) { antReadTime_ = v; }
    float ANTWriteTime() const { return antWriteTime_; }
    void ANTWriteTime(float v) { antWriteTime_ = v; }
    int16_t ANTGoAttempts() const { return antGoAttempts_; }
    void ANTGoAttempts(int16_t v) { antGoAttempts_ = v; }

    // Serial ports and their settings texts
    int32_t TpdrComPort() const { return tpdrComPort_; }
    void TpdrComPort(int32_t v) { tpdrComPort_ = v; }
    std::string sTpdrComPortBaud() const { return sTpdrComPortBaud_; }
    void sTpdrComPortBaud(const std::string& v); // a known rate, else "1200"
    std::string sTpdrComPortBits() const { return sTpdrComPortBits_; }
    void sTpdrComPortBits(const std::string& v) { sTpdrComPortBits_ = v; }
    std::string sTpdrDownLoadComPortBaud() const { return sTpdrDownLoadComPortBaud_; }
    void sTpdrDownLoadComPortBaud(const std::string& v); // as sTpdrComPortBaud
    std::string sTpdrDownLoadComPortBits() const { return sTpdrDownLoadComPortBits_; }
    void sTpdrDownLoadComPortBits(const std::string& v) { sTpdrDownLoadComPortBits_ = v; }
    int32_t ANTComPort() const { return antComPort_; }
    void ANTComPort(int32_t v) { antComPort_ = v; }

    // Acoustic test unit
    float ANTRxAtten() const { return antRxAtten_; }
    void ANTRxAtten(float v); // 0 to 60, else kept; steps of 1.5
    float ANTTxAtten() const { return antTxAtten_; }
    void ANTTxAtten(float v); // as ANTRxAtten
    float ANTValTime() const { return antValTime_; }
    void ANTValTime(float v) { antValTime_ = v; }
    int32_t ANTSampleTime() const { return antSampleTime_; }
    void ANTSampleTime(int32_t v) { antSampleTime_ = v; }
    float ANTTxPWidth1() const { return antTxPWidth1_; }
    void ANTTxPWidth1(float v) { antTxPWidth1_ = v; }
    float ANTTxPWidth2() const { return antTxPWidth2_; }
    void ANTTxPWidth2(float v) { antTxPWidth2_ = v; }
    float HPR400Period() const { return hpr400Period_; }
    void HPR400Period(float v) { hpr400Period_ = v; }

    // Channel test delay, ping test
    float CCFDelay() const { return ccfDelay_; }
    void CCFDelay(float v) { ccfDelay_ = v; }
    int16_t PingRate() const { return pingRate_; }
    void PingRate(int16_t v) { pingRate_ = v; }

    // Battery-life estimate
    int32_t BattLifeTemperature() const { return battLifeTemperature_; }
    void BattLifeTemperature(int32_t v) { battLifeTemperature_ = v; }
    int16_t BattLifePings() const { return battLifePings_; }
    void BattLifePings(int16_t v) { battLifePings_ = v; }
    bool BattLifeAdvice() const { return battLifeAdvice_; }
    void BattLifeAdvice(bool v) { battLifeAdvice_ = v; }
    int16_t BattChargeThreshold() const { return battChargeThreshold_; }
    void BattChargeThreshold(int16_t v) { battChargeThreshold_ = v; }

    // Channel, range and depth tests
    bool ChanCalPassword() const { return chanCalPassword_; }
    void ChanCalPassword(bool v) { chanCalPassword_ = v; }
    int32_t TestChanType() const { return testChanType_; }
    void TestChanType(int32_t v) { testChanType_ = v; }
    bool CCFOperatorOnly() const { return ccfOperatorOnly_; }
    void CCFOperatorOnly(bool v) { ccfOperatorOnly_ = v; }
    bool RS232ChanChange() const { return rs232ChanChange_; }
    void RS232ChanChange(bool v) { rs232ChanChange_ = v; }
    bool TestChanLoop() const { return testChanLoop_; }
    void TestChanLoop(bool v) { testChanLoop_ = v; }
    std::string TestChanFilename() const { return testChanFilename_; }
    void TestChanFilename(const std::string& v) { testChanFilename_ = v; }
    std::string TestTitle() const { return testTitle_; }
    void TestTitle(const std::string& v) { testTitle_ = v; }
    int16_t ANTInterrogationRate() const { return antInterrogationRate_; }
    void ANTInterrogationRate(int16_t v); // 0 to 3600, else kept
    int16_t TestChanIndex() const { return testChanIndex_; }
    void TestChanIndex(int16_t v) { testChanIndex_ = v; }
    bool ANTDepthTest() const { return antDepthTest_; }
    void ANTDepthTest(bool v) { antDepthTest_ = v; }
    float DepthScale() const { return depthScale_; }
    void DepthScale(float v) { depthScale_ = v; }
    int32_t DepthSensor() const { return depthSensor_; }
    void DepthSensor(int32_t v) { depthSensor_ = v; }
    bool DisplayDepth() const { return displayDepth_; }
    void DisplayDepth(bool v) { displayDepth_ = v; }

    // Firmware download
    int16_t DownloadWait() const { return downloadWait_; }
    void DownloadWait(int16_t v) { downloadWait_ = v; }
    bool DownloadListAll() const { return downloadListAll_; }
    void DownloadListAll(bool v) { downloadListAll_ = v; }
    int32_t RecordDelay() const { return recordDelay_; }
    void RecordDelay(int32_t v) { recordDelay_ = v; }
    int16_t RecordAttempts() const { return recordAttempts_; }
    void RecordAttempts(int16_t v) { recordAttempts_ = v; }

    // Transceiver test and target commands
    int16_t TcvrQTLChannel() const { return tcvrQTLChannel_; }
    void TcvrQTLChannel(int16_t v) { tcvrQTLChannel_ = v; }
    std::string TcvrFile() const { return tcvrFile_; }
    void TcvrFile(const std::string& v) { tcvrFile_ = v; }
    float SpeedOfSound() const { return speedOfSound_; }
    void SpeedOfSound(float v) { speedOfSound_ = v; }
    int16_t TargetTpdrRangeWait() const { return targetTpdrRangeWait_; }
    void TargetTpdrRangeWait(int16_t v) { targetTpdrRangeWait_ = v; }
    bool DisplayMetres() const { return displayMetres_; }
    void DisplayMetres(bool v) { displayMetres_ = v; }
    int32_t TargetTAT() const { return targetTAT_; }
    void TargetTAT(int32_t v) { targetTAT_ = v; }
    bool SubractTAT() const { return subractTAT_; }
    void SubractTAT(bool v) { subractTAT_ = v; }
    bool RepeatTcvrTest() const { return repeatTcvrTest_; }
    void RepeatTcvrTest(bool v) { repeatTcvrTest_ = v; }
    int16_t RepeatTcvrTime() const { return repeatTcvrTime_; }
    void RepeatTcvrTime(int16_t v) { repeatTcvrTime_ = v; }
    bool IsQTLTcvrTest() const { return isQTLTcvrTest_; }
    void IsQTLTcvrTest(bool v) { isQTLTcvrTest_ = v; }
    int32_t QuillatRxChan() const { return quillatRxChan_; }
    void QuillatRxChan(int32_t v) { quillatRxChan_ = v; }
    int32_t QuillatTxChan() const { return quillatTxChan_; }
    void QuillatTxChan(int32_t v) { quillatTxChan_ = v; }
    int16_t TcvrElement() const { return tcvrElement_; }
    void TcvrElement(int16_t v) { tcvrElement_ = v; }
    int16_t AddressCode() const { return addressCode_; }
    void AddressCode(int16_t v) { addressCode_ = v; }
    int16_t ICFChannel() const { return icfChannel_; }
    void ICFChannel(int16_t v) { icfChannel_ = v; }

    // Tank test
    int32_t VTLNumOfInts() const { return vtlNumOfInts_; }
    void VTLNumOfInts(int32_t v) { vtlNumOfInts_ = v; }

    // Stores the defaults of the 29 settings that have one; all others keep
    // their values (the four port settings texts among them).
    void Defaults();

    // An empty baud text becomes "1200" and an empty settings text "N,8,1",
    // for both pairs: what the settings file holds after a run without one,
    // and what the port needs to open once the serial-port dialog has set it.
    void FillEmptyPortTexts();

private:
    std::string appPath_;
    std::string dataPath_;
    std::string hexDownloadPath_;
    float tpdrTelemWait_ = 0.0f;
    float delayBetweenCmds_ = 0.0f;
    float antRangeWait_ = 0.0f;
    float antDepthWait_ = 0.0f;
    float antReadTime_ = 0.0f;
    float antWriteTime_ = 0.0f;
    int16_t antGoAttempts_ = 0;
    int32_t tpdrComPort_ = 0;
    std::string sTpdrComPortBaud_;
    std::string sTpdrComPortBits_;
    std::string sTpdrDownLoadComPortBaud_;
    std::string sTpdrDownLoadComPortBits_;
    int32_t antComPort_ = 0;
    float antRxAtten_ = 0.0f;
    float antTxAtten_ = 0.0f;
    float antValTime_ = 0.0f;
    int32_t antSampleTime_ = 0;
    float antTxPWidth1_ = 0.0f;
    float antTxPWidth2_ = 0.0f;
    float hpr400Period_ = 0.0f;
    float ccfDelay_ = 0.0f;
    int16_t pingRate_ = 0;
    int32_t battLifeTemperature_ = 0;
    int16_t battLifePings_ = 0;
    bool battLifeAdvice_ = false;
    int16_t battChargeThreshold_ = 0;
    bool chanCalPassword_ = false;
    int32_t testChanType_ = 0;
    bool ccfOperatorOnly_ = false;
    bool rs232ChanChange_ = false;
    bool testChanLoop_ = false;
    std::string testChanFilename_;
    std::string testTitle_;
    int16_t antInterrogationRate_ = 0;
    int16_t testChanIndex_ = 0;
    bool antDepthTest_ = false;
    float depthScale_ = 0.0f;
    int32_t depthSensor_ = 0;
    bool displayDepth_ = false;
    int16_t downloadWait_ = 0;
    bool downloadListAll_ = false;
    int32_t recordDelay_ = 0;
    int16_t recordAttempts_ = 0;
    int16_t tcvrQTLChannel_ = 0;
    std::string tcvrFile_;
    float speedOfSound_ = 0.0f;
    int16_t targetTpdrRangeWait_ = 0;
    bool displayMetres_ = false;
    int32_t targetTAT_ = 0;
    bool subractTAT_ = false;
    bool repeatTcvrTest_ = false;
    int16_t repeatTcvrTime_ = 0;
    bool isQTLTcvrTest_ = false;
    int32_t quillatRxChan_ = 0;
    int32_t quillatTxChan_ = 0;
    int16_t tcvrElement_ = 0;
    int16_t addressCode_ = 0;
    int16_t icfChannel_ = 0;
    int32_t vtlNumOfInts_ = 0;
};

// The one instance, kept until the process ends.
extern clsSettings AppSettings;
