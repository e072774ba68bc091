// The program's main window: start-up and shutdown, the window states and
// menus, the engineering mode, the result messages and the navigation panel.
#pragma once

#include "clsTpdrComms.h"
#include "dialogs.h"
#include "firmwarereader.h"
#include "gensettingsowner.h"
#include "serialcomm.h"
#include "tpdrnames.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;
class frmIOlist;

// Whether values come from a read of the unit on the cable: true once set,
// until a read in any window finds another firmware code.
class UnitReadFlag {
public:
    UnitReadFlag& operator=(bool read)
    {
        read ? stamp_.Take() : stamp_.Drop();
        return *this;
    }
    operator bool() const { return stamp_.Current(); }
    bool Outdated() const { return stamp_.Outdated(); }

private:
    FirmwareStamp stamp_;
};

class frmMain : public QMainWindow, public FirmwareWindow, public GenSettingsOwner {
    Q_OBJECT
public:
    // The ports default to real serial ports; tests pass simulated ones.
    explicit frmMain(std::unique_ptr<Platform::SerialComm> tpdrPort = nullptr,
                     std::unique_ptr<Platform::SerialComm> antPort = nullptr, QWidget* parent = nullptr);
    ~frmMain() override;

    // The window other windows reach (only the general parameters dialog does).
    static frmMain* Default();

    // ---- Start-up and shutdown
    void Form_Load();
    // True once the window has unloaded; the program then ends.
    bool Unloaded() const { return unloaded_; }
    void cmdExit_Click();

    // ---- States
    void EnableAllControls(bool Enable);
    void SetBusyControls();
    void UpdateControls();
    void EnableControlsNoFirmware();
    void EnableControlsForFirmware();
    void EnableReleaseButton();
    void ShowStatus(const std::string& Text) override;
    std::string StatusText() const;
    void mTpdrComms_PercentDone(float Percent, bool& Cancel);

    // ---- Engineering mode
    void Form_KeyPress(int16_t KeyAscii);
    void SetEngineeringMode(const std::string& Text);
    void UpdateModeMenus();
    const std::string& KeyBufferText() const { return KeyBuffer; }

    // ---- Result messages by number; ShowMessage returns the button pressed (1 OK, 6 Yes, 7 No).
    enum Message : int16_t {
        MsgInvalidFirmware, MsgPathNotFound, MsgInvalidChannelRead, MsgInvalidDepth, MsgInvalidParamsRead,
        MsgInvalidParams, MsgInvalidCodewordRead, MsgInvalidSpanwaveType, MsgInvalidAddress, MsgInvalidHPRChannel,
        MsgNone, MsgInvalidChannels, MsgInvalidIntChan, MsgInvalidReplyChan, MsgNothingWritten,
        MsgHPRChannelWriteFailed, MsgPulseWriteFailed, MsgAddressWriteFailed, MsgChannelCodeWriteFailed,
        MsgCodewordWriteFailed, MsgParamsWriteFailed, MsgInvalidTypeNumber, MsgInvalidSerialNumber,
        MsgInvalidTxFirmware, MsgTypeNotIRS, MsgNothingSupported, MsgSameChannels, MsgOfferHPRChannel1,
        MsgReadTheChannel, MsgHPRChannelWritten, MsgHPRChannelNotWritten, MsgConfirmInitialise
    };
    int16_t ShowMessage(int16_t Code);

    // ---- Buttons and menus
    void cmdStatus_Click();
    void cmdRead_Click();
    void cmdSet_Click();
    void cmdVoltage_Click();
    void cmdSettings_Click();
    void cmdQuickSet_Click();
    void cmdRelease_Click();
    void cmdDepth_Click();
    void cmdDownload_Click();
    void cmdCancel_Click();
    void mnuComms_Click();
    void mnuSetupUsermode_Click();
    void mnuPing_Click();
    void mnuFreqTest_Click();
    void mnuDepthTest_Click();
    void mnuTransceiver_Click();
    void mnuCommands_Click();
    void mnuBattLife_Click();
    void mnuDiagnosticsTankTest_Click();
    void mnuCalChanSelectors_Click();
    void mnuDiagnosticsReset_Click();
    void mnuDiagnosticsInitialise_Click();
    void mnuDiagnosticsIO_Click();
    void mnuAbout_Click();

    // ---- Navigation panel
    void ShowNavScheme();
    // Settles the scheme the navigation values read make for the firmware.
    void DefineNavScheme();
    void ShowAddress();
    void ShowChanSchemeOptions();
    void FillChannelCombos();
    void FillDualModeCombos();
    // The Orvane interrogation channels 0 to 15, in order.
    static void FillOrvaneIntChanCombo(QComboBox* combo);
    void ShowChannelValues();
    void ShowProgrammedChan();
    void ShowDualModeChan();
    void EnableNavControls();
    void EnableSchemeOptions();
    void ClearNavParams();
    void StoreReadParams();
    // The navigation values back to the copy last read, edits not sent dropped.
    void RestoreReadParams();
    void optChanScheme_Click(int Index);
    void optReplyType_Click(int Index);
    void txtAddress_Click(int Index);
    void txtAddress_GotFocus(int Index);
    void txtAddress_LostFocus(int Index);
    void cboOrvaneIntChan_LostFocus(int Index);
    void cboOrvaneReplyChan_LostFocus();
    void cboHPRChan_LostFocus();

    // ---- Navigation write. Results are the message numbers of ShowMessage,
    // 0 for success.
    // True only when something was written and every write was acknowledged.
    bool SetNavParams() override;
    bool GetNavParams() override;
    void CancelExchange() override { cmdCancel_Click(); }
    int32_t WriteNavParams();
    // One exchange writing a channel of kind 2 or 3.
    int32_t WriteHPRChannel(int16_t Kind);

    // ---- Firmware reader's view of the window
    void SetFirmwareLabelText(const std::string& text) override;
    void SetFirmwareLabelBackColor(int32_t vbColor) override;
    void ShowMessage0() override { ShowMessage(MsgInvalidFirmware); }
    void PercentDone(float Percent, bool& Cancel) override { mTpdrComms_PercentDone(Percent, Cancel); }
    bool CancelPending() const override { return CancelRequested; }
    bool Closing() const override { return closeRequested_; }

    // The navigation values as last read, against which a Set finds changes.
    struct StoredNavParams {
        int32_t NavScheme = 0;
        int32_t ChanType = 0;
        int32_t ReplyType = 0;
        int32_t SpanwaveType = 0;
        int16_t AddressCode = Marker::NotRead;
        int16_t ChannelCode = Marker::NotRead;
        int32_t OrvaneIntChan = Marker::NoIntChan;
        int32_t OrvaneReplyChan = Marker::NoReplyChan;
        int16_t RS232Chan = Marker::NotRead;
        int16_t DualModeChan = Marker::NotRead;
        int16_t EndcapChan = Marker::NotRead;
        bool operator==(const StoredNavParams&) const = default;
    };
    StoredNavParams Stored;

    // Form-level state
    std::string RegistryKey;
    bool StatusReadRequested = false;
    bool CancelRequested = false;
    UnitReadFlag NavParamsRead;
    bool DepthFitted = false;
    // The depth state shown belongs to the unit that Get Status read.
    UnitReadFlag DepthRead;
    // So do the Tx firmware, type and serial number, and what the type decides.
    UnitReadFlag StatusFieldsRead;
    // The voltage shown, from Get Status or Get Voltage.
    UnitReadFlag VoltageRead;

    // ---- Controls
    QMenu* mnuSetup;
    QAction* mnuComms;
    QAction* mnuSetupUsermode;
    QMenu* mnuDiagnostics;
    QAction* mnuPing;
    QAction* mnuFreqTest;
    QAction* mnuDepthTest;
    QAction* mnuTransceiver;
    QAction* mnuCommands;
    QAction* mnuBattLife;
    QAction* mnuDiagnosticsTankTest;
    QAction* mnuDiagnosticsReset;
    QAction* mnuDiagnosticsInitialise;
    QAction* mnuDiagnosticsIO;
    QMenu* mnuCalibration;
    QAction* mnuCalChanSelectors;
    QAction* mnuAbout;

    QGroupBox* fraStatus;
    QLabel* lblFirmware;
    QLabel* lblTxFirmware;
    QLabel* lblDepthOnOff;
    QLabel* lblTypeNumber;
    QLabel* lblSerialNumber;
    QPushButton* cmdStatus;
    QPushButton* cmdDepth;
    QGroupBox* fraVoltage;
    QPushButton* cmdVoltage;
    QLabel* lblVoltage;

    QGroupBox* fraSetup;
    std::array<QGroupBox*, 5> fraNavScheme{};
    QComboBox* cboProgrammedChan;
    QLabel* lblProgrammedChan;
    QComboBox* cboDualModeChan;
    QLabel* lblDualModeChan;
    QLabel* lblEndcap;
    QLabel* lblEndcapText;
    QComboBox* cboHPRChan;
    QLabel* lblHPRChan;
    std::array<QLineEdit*, 5> txtAddress{};        // 2, 3, 4
    std::array<QLabel*, 5> lblAddress{};           // 2, 3, 4
    std::array<QComboBox*, 5> cboOrvaneIntChan{};  // 3, 4
    std::array<QLabel*, 5> lblOrvaneIntChan{};     // 3, 4
    QComboBox* cboOrvaneReplyChan;
    QLabel* lblOrvaneReplyChan;
    QLabel* lblAddr;
    std::array<QLabel*, 5> lblInterrogate{};       // 4
    QLabel* Label1;
    QGroupBox* fraChanScheme;
    std::array<QRadioButton*, 3> optChanScheme{};  // 1 Orvane, 2 HPR
    QGroupBox* fraReplyType;
    std::array<QRadioButton*, 3> optReplyType{};   // 1 tone, 2 Spanwave
    QPushButton* cmdRead;
    QPushButton* cmdSet;
    QPushButton* cmdQuickSet;

    QPushButton* cmdSettings;
    QPushButton* cmdRelease;
    QPushButton* cmdDownload;
    QPushButton* cmdExit;
    QPushButton* cmdCancel;
    QProgressBar* prgMain;
    QStatusBar* staMain;

    std::unique_ptr<Platform::SerialComm> comTpdr;
    std::unique_ptr<Platform::SerialComm> comANT;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildControls();
    void ConnectEvents();
    // Every event handler of the window runs through here: a close box
    // clicked while one runs unloads the window once the outermost has ended.
    void Handle(const std::function<void()>& handler);
    bool FieldEvent(QWidget* widget, QEvent* event);
    void Unload();
    void UnloadOnce();
    void Form_Unload();
    void Form_Terminate();
    void UnloadIOList();
    // The Spanwave scheme the quick-set panel writes, whatever scheme was read.
    void UseQuickSetScheme();
    // Settings, or with the Spanwave scheme chosen, Quickset.
    void OpenSettings(bool quickSet);
    // Shows a dialog modally; the window then follows what its reads found.
    void ShowDialog(const char* formName);
    // Shows a large dialog with the main window disabled, not hidden.
    void ShowLargeDialog(const char* formName);
    void SetDepthLabel();
    // The status panel's one routine: from the stamps of what was read, each
    // label shows the unit on the cable or its not-read look. Run by
    // UpdateControls, so also as soon as another window's read ends.
    void ShowStatusPanel();
    // The panel's Set and Quickset stay off while the panel is rebuilt.
    void LockNavPanel();
    // Every path into a read or write: the window busy before anything is cleared.
    void BeginExchange();
    // ... and out of it: the window turns idle.
    void EndExchange();
    // Moves the focus only to a control that can take it.
    static void MoveFocus(QWidget* control);

    using Encoder = TpdrExchange::Encoder;
    using Reply = TpdrExchange::Reply;
    // A navigation exchange: the decoder's result, its message when not 0.
    int32_t NavExchange(const Encoder& encode, const std::function<std::string()>& status,
                        const std::function<int32_t(const Reply&)>& decode, int16_t message, const char* procName);
    void SetStatusLabel(QLabel* label, const std::string& text, uint32_t vbColor);
    // One read of the status pass: the exchange with the object's decoder,
    // then `show` with the link's result and the reply, which gives the read's
    // result. A run-time error on the way is reported as from `procName`.
    using StatusShow = std::function<int32_t(int32_t sent, const Reply& reply)>;
    int32_t StatusRead(const char* procName, const Encoder& encode, const std::function<std::string()>& status,
                       const TpdrExchange::Decoder& decode, const StatusShow& show);
    int32_t ReadStatusText(bool type);

    void GetFirmware();
    int32_t ReadStatusValues();
    int32_t ReadTxFirmware();
    int32_t ReadTypeNumber();
    int32_t ReadSerialNumber();
    int32_t ReadDepthOnOff();
    void GetBatteryVoltage(int32_t FW);
    int32_t ReadBatteryType();
    void ReadVoltage(int32_t FW);

    int32_t ReadNavParams();
    int32_t ReadFSMParams();
    int32_t ReadFSMParams_Orvane();
    int32_t ReadHPRChannelIfNeeded();
    int32_t ReadSpanwaveCodeWord();
    int32_t ReadSpanwaveParams();
    int32_t ReadHPRChannel(int16_t Kind);
    int32_t WriteNavParams_Spanwave();
    int32_t ValidateNavParams(int32_t Scheme);
    int32_t WriteSchemeHPR();
    int32_t WriteWholeOrvaneChain(float pulseWidth);
    int32_t WriteSchemeOrvaneTone();
    int32_t WriteSchemeSpanwave();
    int32_t WriteNavParams_Channel();
    int32_t ChannelWriteEnabled();
    int32_t GetDualModeSelection(int16_t Kind);
    int32_t WriteSpanwaveCodeword();
    int32_t WriteSpanwaveParams();
    int32_t WriteAddressCode();
    int32_t WriteChannelCode();
    int32_t WritePulseLength();
    int32_t WriteAddressAndChannel();
    int32_t WriteGeneralParam(int32_t Param, int16_t Message, const char* ProcName);
    // HPR channel 1, on which every unit answers, as the RS232 channel; the
    // window is left busy and cancellable, for the caller to end.
    int32_t WriteHPRChannel1();

    std::string KeyBuffer;
    // A read or write of the window runs: UpdateControls rebuilds what is
    // shown but turns nothing on until its handler ends.
    bool exchanging_ = false;
    // The control the user started the exchange from: it takes the focus back.
    QPointer<QWidget> focusBefore_;
    // The firmware code the firmware label shows, as the last read that set it found it.
    int32_t labelCode_ = 0;
    bool loaded_ = false;
    bool unloaded_ = false;
    int handlers_ = 0; // event handlers under way
    bool closeRequested_ = false;
    std::optional<Platform::BoxHold> boxHold_;
    QLabel* staMainPanel1_ = nullptr;
    QPointer<frmIOlist> ioList_;
    // Every panel follows a version read that finds another unit at once.
    std::optional<FirmwareFollower> follower_;
    // Every control EnableAllControls reaches.
    std::vector<QWidget*> controls_;
    std::vector<QAction*> menus_;
    // Controls whose keys must not reach the window's key handler.
    std::vector<QWidget*> keyKeepers_;
};
