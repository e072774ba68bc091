// The multi turn-around-time dialog: reads, edits and writes the ten preset
// turn-around times through ReadMultiTAT (as read) and EditMultiTAT (as edited).
#pragma once

#include "firmwarereader.h"
#include "forms.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;

class frmMultiTAT : public Forms::Dialog, public FirmwareWindow {
    Q_OBJECT
public:
    static constexpr int Entries = 10;

    explicit frmMultiTAT(QWidget* owner = nullptr);

    // Panel 1 of the status bar.
    std::string StatusText() const;

    // FirmwareWindow: the firmware label is the main window's.
    void ShowStatus(const std::string& text) override;
    void PercentDone(float Percent, bool& Cancel) override { mTpdrComms_PercentDone(Percent, Cancel); }
    bool CancelPending() const override { return CancelRequested; }
    void SetFirmwareLabelText(const std::string& text) override;
    void SetFirmwareLabelBackColor(int32_t vbColor) override;

protected:
    void QueryUnload(bool& Cancel, CloseBy how) override;

private:
    void MakeControls();
    void ConnectControls();

    void Form_Load();
    void cmdTATRead_Click();
    void cmdTATCancel_Click();
    void cboTAT_Validate(int Index, bool& Cancel);
    void cmdTATWrite_Click();
    void cmdExit_Click();
    void cmdProgressCancel_Click();
    void mTpdrComms_PercentDone(float Fraction, bool& Cancel);

    void TATToolTip();
    void CopyTAT(int Direction, int Index);
    void ShowTAT(int Index);
    void ShowTATs();
    bool TATsChanged() const;
    void EnableTATControls(bool Busy);
    void GetFirmware();
    // False, with the table put back to not read, when a version read since
    // the table's read found another firmware: nothing is written from it.
    bool TableStillRead();

    // Busy pattern of one exchange: entries and buttons off, Exit hidden,
    // progress Cancel shown, cancel flag cleared.
    void BusyControls();
    // progress Cancel hidden, Exit shown, progress bar at its minimum.
    void ExchangeEnded();
    // Back to idle after a read or write, however it ended.
    void IdleControls();
    // Reads both pages; the last exchange's result.
    int32_t ReadPages();
    // Writes both pages; true when both were acknowledged.
    bool WritePages();
    void InitialiseAfterWrite();
    FirmwareWindow* owner_; // where the firmware label is shown

    QGroupBox* fraTAT = nullptr;
    std::array<QLabel*, Entries> lblTAT{};
    std::array<QComboBox*, Entries> cboTAT{};
    QPushButton* cmdTATRead = nullptr;
    QPushButton* cmdTATWrite = nullptr;
    QPushButton* cmdTATCancel = nullptr;
    QPushButton* cmdTATApply = nullptr;
    QLabel* lblReadIfo = nullptr;
    QPushButton* cmdProgressCancel = nullptr;
    QPushButton* cmdExit = nullptr;
    QProgressBar* prgMultiTAT = nullptr;
    QStatusBar* staMultiTAT = nullptr;
    QLabel* staMultiTATPanel1 = nullptr;

    bool CancelRequested = false;
    // The entries follow a version read that finds another unit at once.
    std::optional<FirmwareFollower> follower_;
};
