// The battery-life estimate: loads the battery with pings, reads its voltage
// count, and shows the hours of life left with an advice to charge or not.
#pragma once

#include "firmwarereader.h"
#include "forms.h"

#include <array>
#include <cstdint>
#include <string>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;

class frmBattLife : public Forms::Dialog, public FirmwareWindow {
    Q_OBJECT
public:
    explicit frmBattLife(QWidget* owner = nullptr);

    enum TestState : int16_t { Stopped = 0, Measuring = 1, Pinging = 2 };

    // Hours left by temperature option ("0 C", "10 C", "20 C", "30 C"); for
    // now every voltage count 0-255 gives the same hours.
    static constexpr std::array<int16_t, 4> HoursByTemperature{10, 11, 12, 13};
    static constexpr int16_t CountsInTable = 256;

    // The link's view of the window.
    void ShowStatus(const std::string& text) override;
    void PercentDone(float Percent, bool& Cancel) override { mTpdrComms_PercentDone(Percent, Cancel); }
    bool CancelPending() const override { return cancelRequested_; }

protected:
    void QueryUnload(bool& Cancel, CloseBy how) override;

private:
    void Form_Load();
    void cmdGetLife_Click();
    void cmdCancel_Click();
    void cmdSettings_Click();
    void cmdBack_Click();
    void optTemperature_Click(int Index);
    void mTpdrComms_PercentDone(float Fraction, bool& Cancel);

    void SetTestState(int16_t state, const std::string& text);
    int32_t ShowResults(bool reset);
    int16_t HoursLeft();
    int32_t ReadBatteryType();
    int32_t ReadBatteryVoltage(int32_t FW);
    void Ping();
    void SelectStoredTemperature();

    QGroupBox* fraTemperature;
    std::array<QRadioButton*, 4> optTemperature{};
    QLabel* lblTemperature;
    QPushButton* cmdGetLife;
    QPushButton* cmdSettings;
    QPushButton* cmdBack;
    QPushButton* cmdCancel;
    QLabel* lblLifeLeftPrompt;
    QLabel* lblLifeLeft;
    QLabel* lblLifeLeftInfo;
    QLabel* lblWarning;
    QLabel* imgOrvane;
    QLabel* imgPing;
    QProgressBar* prgBattLife;
    QStatusBar* staBattLife;
    QLabel* staBattLifePanel1;

    bool cancelRequested_ = false;
};
