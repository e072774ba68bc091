// The general parameters dialog: reads, edits and writes the transponder's
// general parameter block, and on its quick-set panel offers the nine
// Spanwave presets. Opened modally by the main window's Settings and Quickset
// buttons; the only call it makes back is through GenSettingsOwner.
#pragma once

#include "firmwarereader.h"
#include "forms.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class GenSettingsOwner;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTimer;
class clsTimedRelease;

class frmGenSettings : public Forms::Dialog, public FirmwareWindow {
    Q_OBJECT
public:
    // `owner` is the window that opened the dialog; when it offers
    // GenSettingsOwner the dialog writes the navigation and the firmware label
    // through it.
    explicit frmGenSettings(QWidget* owner = nullptr);
    ~frmGenSettings() override;

    // The read-on-open timer's tick (100 ms after loading).
    void tmrReadParams_Timer();

    // ---- The link's view of the dialog
    void ShowStatus(const std::string& text) override;
    void PercentDone(float Fraction, bool& Cancel) override { mTpdrComms_PercentDone(Fraction, Cancel); }
    bool CancelPending() const override { return CancelRequested; }
    void SetFirmwareLabelText(const std::string& text) override;
    void SetFirmwareLabelBackColor(int32_t vbColor) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void QueryUnload(bool& Cancel, CloseBy how) override;

private:
    void BuildControls();
    QWidget* BuildGeneralPanel();
    QWidget* BuildQuickSetPanel();
    void ConnectEvents();
    void Form_Load();
    // A control found by its object name.
    template <typename T>
    T* Control(const char* name) const;

    // ---- Display (opening)
    void ShowNavScheme();
    void ShowCmdAddress();
    // The quick-set navigation's one routine (see its definition).
    void ShowQuickNav();
    // The quick-set navigation on show is the unit's, as the main window read it.
    bool NavStillRead() const { return NavRead && NavStamp.Current(); }
    // The navigation as the main window has just read it becomes the panel's:
    // after the read-back of a write, and after a Get that read it again.
    // `schemeRead`: that read found the unit's scheme, and a unit not on
    // Spanwave is shown as Settings opens on it, on the general panel.
    void TakeNavigationRead(bool schemeRead = false);
    // What Cancel and the Set gate compare the navigation with: the values as
    // shown on opening and after each write.
    void KeepShownNavigation();
    // The navigation back to what the unit holds, as Cancel and Get leave it:
    // no preset or edit that was not sent stays behind.
    void RestoreShownNavigation();
    void FillGenCombos();
    void GenToolTips();
    void EnableGenControls(bool Busy);
    void CopyGenParam(int32_t Direction, int32_t Param);
    void SetDefaults(int32_t Param);
    void SetGenParamColour(int32_t Param, uint32_t& Colour);
    void SetGenParamColour(int32_t Param);
    // The address then, when that shows white, the channel code.
    void ColourAddressAndChannel();
    // All ten parameters; the address controls, which the channel code shares, last.
    void ColourGenParams();
    void ShowGenParams();
    // One parameter's field, from the edit copy, as the value Set will send.
    void ShowGenParam(int32_t Param);
    void MarkFieldsShown();
    void ShowAddress();
    void CheckCmdAddress();
    void HighlightQuickButton();
    bool GenWriteAllowed();
    void EnableGenWrite();
    // The general values' one routine (see its definition).
    void ShowGeneral();
    // False, with the values put back to not read, when a version read since
    // their read found another firmware: nothing is written from them.
    bool ValuesStillRead();
    void EnableGenRead(bool Enable);
    void EnableGain(bool Enable);
    void EnablePowerLevel(bool Enable);
    void ProgressCancel(bool Show);
    void ShowExitButtons(bool Show);
    // A combo showing an empty entry while it keeps its list; runs no handler.
    static void ShowBlank(QComboBox* combo);

    // ---- Read
    // Busy pattern of a read or write: pointer, controls, Exit and progress Cancel.
    void BeginBusy();
    void EndBusy();
    void cmdGenRead_Click(int Index);
    void ReadParams(int32_t Group, bool GainFlag);
    void HandleReadParams(int32_t Param);
    void mTpdrComms_PercentDone(float Fraction, bool& Cancel);
    void cmdProgressCancel_Click(int Index);

    // ---- Write
    void cmdGenWrite_Click(int Index);
    bool NavigationChanged() const;
    // Step 3 on of the write; a run-time error leaves it.
    void WriteGenParams(int Index);
    void ReturnToIdle();

    // ---- Editing
    void StoreEditedParam(int16_t Param, const std::string& Text, bool& Cancel);
    void FieldValidate(int32_t Param, int Index, bool& Cancel);
    void txtAddress_Validate(bool& Cancel);
    void txtAddress_KeyPress(int16_t& KeyAscii);
    void txtAddress_Change();
    void txtAddress_LostFocus();
    void cboGain_Click(int Index);
    void cboPowerLevel_Click(int Index);
    void cboGenTAT_Click();
    void cboOrvaneIntChan_Click();
    void cboOrvaneIntChan_LostFocus();

    // ---- Buttons
    void cmdGenCancel_Click(int Index);
    void cmdQuickSet_Click();
    void cmdAdvanced_Click();
    void cmdQuick_Click(int Index);
    void cmdMultiTATs_Click();
    void cmdTimedRelease_Click();
    void cmdExit_Click(int Index);
    void FocusExit();

    GenSettingsOwner* owner_ = nullptr;
    std::unique_ptr<clsTimedRelease> timedRelease_;

    // ---- Form state
    bool QuickSetMode = false;
    bool QuickSetPanelShown = false;
    int16_t SelectedPreset = 0;
    int32_t ShownIntChan = 19;
    int32_t ShownCmdAddress = 0;
    // The codes behind the shown command address, which Cancel restores as they were.
    int16_t ShownAddressCode = -1;
    int16_t ShownChannelCode = -1;
    bool CancelRequested = false;
    // The parameters a running read has yet to reach: shown not read, blank on
    // white, whatever the copies held before it.
    std::bitset<11> Reading;
    // Taken at the dialog's firmware read: the values read stay the unit's only
    // while no read since has found another firmware code. The copies outlive
    // the dialog, and so does this.
    static FirmwareStamp ReadStamp;
    // Taken when the quick-set navigation on show comes from the main window's
    // read: on opening, and after the read-back of its write.
    FirmwareStamp NavStamp;
    // That read found the unit's Spanwave navigation; a read-back that failed,
    // or found another scheme, leaves nothing the panel can show as the unit's.
    bool NavRead = false;
    // A channel or address picked since, by a preset or by hand: shown as a
    // change even where nothing read is shown.
    bool NavChosen = false;

    // ---- Controls
    std::array<QWidget*, 2> picGeneral{};
    QPushButton* cmdQuickSet = nullptr;
    std::array<QPushButton*, 2> cmdProgressCancel{};
    std::array<QPushButton*, 2> cmdExit{};
    QGroupBox* fraGen = nullptr;
    QLabel* lblOrvaneIntChan = nullptr;
    QComboBox* cboOrvaneIntChan = nullptr;
    QLabel* lblAddress = nullptr;
    QLineEdit* txtAddress = nullptr;
    QComboBox* cboAddress = nullptr;
    std::array<QLabel*, 2> lblPowerLevel{};
    std::array<QComboBox*, 2> cboPowerLevel{};
    QGroupBox* fraOrvane = nullptr;
    std::array<QLabel*, 2> lblGenTAT{};
    QComboBox* cboGenTAT = nullptr;
    std::array<QLabel*, 2> lblPulseWidth{};
    QLineEdit* txtPulseWidth = nullptr;
    std::array<QLabel*, 2> lblBlock{};
    QComboBox* cboBlock = nullptr;
    std::array<QLabel*, 2> lblGain{};
    std::array<QComboBox*, 2> cboGain{};
    std::array<QLabel*, 2> lblIdentity{};
    QComboBox* cboIdentity = nullptr;
    std::array<QLabel*, 2> lblRelayOnTime{};
    QLineEdit* txtRelayOnTime = nullptr;
    std::array<QLabel*, 2> lblVariableTAT{};
    QComboBox* cboVariableTAT = nullptr;
    std::array<QPushButton*, 2> cmdGenCancel{};
    std::array<QPushButton*, 2> cmdGenWrite{};
    std::array<QPushButton*, 2> cmdGenRead{};
    QGroupBox* fraSpecial = nullptr;
    QPushButton* cmdMultiTATs = nullptr;
    QPushButton* cmdTimedRelease = nullptr;
    QPushButton* cmdAdvanced = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QPushButton*, 10> cmdQuick{}; // 1..9
    std::array<QLabel*, 3> lblQuickData{};
    QLabel* Label7 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    std::array<QLabel*, 4> Label1{}; // 0 and 3
    QLabel* lblSCP = nullptr;
    QProgressBar* prgGenSettings = nullptr;
    QStatusBar* staSettings = nullptr;
    QLabel* staSettingsPanel1 = nullptr;
    QTimer* tmrReadParams = nullptr;

    // The values follow a version read that finds another unit at once.
    std::optional<FirmwareFollower> follower_;
};
