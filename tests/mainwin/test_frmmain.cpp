#include "frmmain_fixture.h"

#include "frmComPorts.h"
#include "frmIOlist.h"
#include "globals.h"
#include "status_bar.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <filesystem>

namespace {

const std::string Title = AppTitleVersion();
const std::string CRLF = "\r\n";

std::string ReadFile(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    f.open(QIODevice::ReadOnly);
    return f.readAll().toStdString();
}

void WriteFile(const std::string& path, const std::string& content)
{
    QFile f(QString::fromStdString(path));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(content.data(), static_cast<qint64>(content.size()));
}

// Keys as typed, Enter and Ctrl+J (line feed) among them.
void Type(QWidget* target, const std::string& keys)
{
    for (const char c : keys) {
        if (c == '\r' || c == '\n') {
            const int key = c == '\r' ? Qt::Key_Return : Qt::Key_J;
            const Qt::KeyboardModifiers mod = c == '\r' ? Qt::NoModifier : Qt::ControlModifier;
            QKeyEvent press(QEvent::KeyPress, key, mod, QString(QChar::fromLatin1(c)));
            QApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, key, mod, QString(QChar::fromLatin1(c)));
            QApplication::sendEvent(target, &release);
        } else {
            QTest::keyClick(target, c);
        }
    }
}

TEST_F(MainWindowTest, StartUp)
{
    enum File { None, Good, Overflow };
    const struct {
        File file;
        const char* registry; // nullptr: no value
        std::vector<ShownBox> boxes;
        bool unloaded, engineering;
        const char* registryAfter;
    } rows[] = {
        {None, nullptr,
         {{"The application's ini file path cannot be found." + CRLF + CRLF + "About to quit the program.", 16,
           "Path not found"}},
         true, false, ""},
        {None, "traveno", {{"The application's ini file path cannot be found." + CRLF + CRLF + "About to quit the program.", 16, "Path not found"}}, true, true, "traveno"},
        {Overflow, "TRAVENO", {{"Error from ReadIniFile (FileHandler) trapped in CatchAll Errors.", 48, "Error:  6  Overflow"}}, true, true, "TRAVENO"},
        {Good, nullptr, {}, false, false, ""},
        {Good, "", {}, false, false, ""},
        {Good, "traveno", {}, false, true, "traveno"},
        {Good, " TRAVENO", {}, false, false, " TRAVENO"},
        {Good, "TRAVENOS", {}, false, false, "TRAVENOS"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "file " << r.file << " registry " << (r.registry ? r.registry : "<absent>"));
        std::filesystem::remove_all(Folder());
        std::filesystem::create_directories(Folder());
        if (r.file != None) {
            WriteSettings();
        }
        if (r.file == Overflow) {
            std::string content = ReadFile(SettingsPath());
            content.replace(content.find("PingRate=0"), 10, "PingRate=99999");
            WriteFile(SettingsPath(), content);
        }
        if (r.registry != nullptr) {
            SetRegistryValue(r.registry);
        }
        for (size_t i = 0; i < r.boxes.size(); ++i) {
            boxes.Answer(MsgBoxResult::OK);
        }
        Make().Form_Load();
        EXPECT_EQ(boxes.Boxes(), r.boxes);
        EXPECT_EQ(win->Unloaded(), r.unloaded);
        EXPECT_EQ(EngineeringMode, r.engineering);
        if (!r.unloaded) {
            EXPECT_EQ(win->windowTitle().toStdString(), Title + (r.engineering ? " : Engineering Mode" : ""));
            EXPECT_EQ(OwnVisible("mnuSetupUsermode"), r.engineering);
            EXPECT_TRUE(port->PortOpen());
            EXPECT_EQ(port->Settings(), "19200,N,8,1");
            EXPECT_EQ(model.Frames().size(), 0u); // nothing is sent at start
            win.reset();
        }
        EXPECT_EQ(RegistryValue(), r.registryAfter);
        win.reset();
        boxes.Clear();
    }
}

TEST_F(MainWindowTest, EnableTableOfTheIdleAndBusyStates)
{
    // States: no firmware, known firmware (100), busy, known firmware in
    // engineering mode with a depth sensor and a release fitted.
    // E enabled, D disabled (both shown), h hidden.
    const struct {
        const char* control;
        const char* states;
    } rows[] = {
        {"mnuSetup", "EEDE"},        {"mnuComms", "EEDE"},          {"mnuAbout", "EEDE"},
        {"mnuDiagnostics", "EEDE"},  {"mnuDiagnosticsInitialise", "EEDE"}, {"mnuDiagnosticsReset", "EEDE"},
        {"fraStatus", "EEDE"},       {"cmdStatus", "EEDE"},         {"cmdDownload", "EEDE"},
        {"cmdExit", "EEhE"},         {"cmdCancel", "hhEh"},         {"mnuPing", "DEDE"},
        {"mnuFreqTest", "DEDE"},     {"mnuCommands", "DEDE"},       {"mnuCalibration", "DEDE"},
        {"mnuBattLife", "DEDE"},
        {"fraVoltage", "DEDE"},      {"cmdVoltage", "DEDE"},        {"cmdSettings", "DEDE"},
        {"lblFirmware", "DEDE"},     {"lblTxFirmware", "DEDE"},     {"lblDepthOnOff", "DEDE"},
        {"lblTypeNumber", "DEDE"},   {"lblSerialNumber", "DEDE"},   {"lblVoltage", "DEDE"},
        {"prgMain", "DEDE"},         {"staMain", "DEDE"},           {"mnuDepthTest", "DDDE"},
        {"cmdDepth", "DDDE"},        {"mnuTransceiver", "DEDE"},    {"cmdRelease", "DDDE"},
        {"mnuDiagnosticsTankTest", "hhhE"}, {"mnuSetupUsermode", "hhhE"}, {"mnuDiagnosticsIO", "hhhE"},
        {"mnuCalChanSelectors", "DDDE"}, {"cmdRead", "DEDE"},       {"fraSetup", "DEDE"},
        {"cmdSet", "DDDD"},          {"cmdQuickSet", "DDDD"},       {"fraChanScheme", "DDDD"},
    };
    Load();
    const std::function<void()> enter[] = {
        [] {},
        [this] {
            TpdrFirmware.FWVersion(100);
            win->UpdateControls();
        },
        [this] { win->SetBusyControls(); },
        [this] {
            win->SetEngineeringMode("traveno");
            win->DepthFitted = true;
            int32_t result = -1;
            TpdrGenStatus.ReadDecode_TypeNumber("5027-2          ", 16, result);
            win->UpdateControls();
        },
    };
    for (int state = 0; state < 4; ++state) {
        enter[state]();
        for (const auto& r : rows) {
            const char want = r.states[state];
            EXPECT_EQ(OwnVisible(r.control), want != 'h') << r.control << " in state " << state;
            if (want != 'h') {
                EXPECT_EQ(OwnEnabled(r.control), want == 'E') << r.control << " in state " << state;
            }
        }
    }
}

TEST_F(MainWindowTest, NoPortDisablesGetStatusAndDownload)
{
    // Port 0 is no port: the link's own box says so, and the window starts.
    boxes.Answer(MsgBoxResult::OK);
    Load(0);
    EXPECT_EQ(boxes.Boxes(), (std::vector<ShownBox>{{"New Comms Error", 48, "380: Invalid property value"}}));
    EXPECT_FALSE(OwnEnabled("cmdStatus"));
    EXPECT_FALSE(OwnEnabled("cmdDownload"));
    EXPECT_TRUE(OwnEnabled("cmdExit"));
}

TEST_F(MainWindowTest, SerialPortDialogClosedWithoutAPort)
{
    Load();
    TpdrFirmware.FWVersion(100);
    win->DepthFitted = true;
    win->UpdateControls();
    Stub("frmComPorts", [] { AppSettings.TpdrComPort(0); });
    Trigger("mnuComms");
    for (const char* off :
         {"cmdStatus", "cmdDownload", "cmdDepth", "cmdRead", "cmdSet", "cmdSettings", "cmdVoltage", "mnuBattLife"}) {
        EXPECT_FALSE(OwnEnabled(off)) << off;
    }
    for (const char* on : {"mnuSetup", "mnuDiagnostics", "cmdExit", "fraStatus"}) {
        EXPECT_TRUE(OwnEnabled(on)) << on;
    }
}

// Going on without a settings file leaves the four port texts empty, so the
// port does not open at start-up. Choosing the port and a rate in the
// serial-port dialog then gives a port that opens, and Get Status works.
TEST_F(MainWindowTest, SerialPortDialogAfterGoingOnWithoutASettingsFile)
{
    Load();
    // What the "continue without a .INI file" answer leaves behind.
    AppSettings = clsSettings();
    AppSettings.AppPath(Folder());
    AppSettings.Defaults();
    AppSettings.DelayBetweenCmds(0.05f);
    port->PortOpen(false);
    Stub("frmComPorts", [this] {
        frmComPorts dialog(win.get());
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        ASSERT_EQ(dialog.cboTpdrPort->currentText().toStdString(), "COM1");
        QTest::keyClicks(dialog.cboTpdrBaud, "19200");
        QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    });
    Trigger("mnuComms");
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(port->PortOpen());
    EXPECT_EQ(port->Settings(), "19200,N,8,1");
    EXPECT_EQ(AppSettings.sTpdrComPortBits(), "N,8,1");
    EXPECT_EQ(AppSettings.sTpdrDownLoadComPortBits(), "N,8,1");

    QTest::mouseClick(win->cmdStatus, Qt::LeftButton);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(win->lblFirmware->text().toStdString(), "V2.05F");
}

TEST_F(MainWindowTest, EngineeringCodeTypedOnTheWindow)
{
    const struct {
        bool on;
        const char* keys;
        bool after;
        const char* buffer;
    } rows[] = {
        {false, "TRAVENO", true, ""},     {false, "traVeno", true, ""},    {false, "xyTRAVENO", true, ""},
        {false, "TRA\rVE\nNO", true, ""}, {false, "TRAVEN", false, "TRAVEN"}, {false, "TRTRAVENO", false, "RAVENO"},
        {true, "X", false, ""},           {true, "r", true, "r"},          {true, " ", true, " "},
        {true, "\r", true, ""},           {true, "NOT", false, ""},
    };
    Load();
    for (const auto& r : rows) {
        win->SetEngineeringMode(r.on ? "TRAVENO" : "Cancel");
        Type(win.get(), r.keys);
        EXPECT_EQ(EngineeringMode, r.after) << r.keys;
        EXPECT_EQ(win->KeyBufferText(), r.buffer) << r.keys;
        EXPECT_EQ(win->windowTitle().toStdString(), Title + (r.after ? " : Engineering Mode" : "")) << r.keys;
    }

    // Keys on the nine buttons count; keys a field takes for itself do not.
    win->SetEngineeringMode("Cancel");
    QTest::keyClicks(win->cmdStatus, "TRA");
    QTest::keyClicks(win->txtAddress[3], "X");
    QTest::keyClicks(win->cmdVoltage, "VENO");
    EXPECT_TRUE(EngineeringMode);
    // Leaving the window forgets what was typed.
    QTest::keyClicks(win.get(), "TRAV");
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(win.get(), &deactivate);
    EXPECT_EQ(win->KeyBufferText(), "");

    // The mode chosen is the mode of the next start.
    win.reset();
    EXPECT_EQ(RegistryValue(), "TRAVENO");
    Make().Form_Load();
    EXPECT_TRUE(EngineeringMode);
    QTest::keyClicks(win.get(), "Q");
    win.reset();
    EXPECT_EQ(RegistryValue(), "");
}

TEST_F(MainWindowTest, RevertToUserModeAndTheIOLog)
{
    SetRegistryValue("TRAVENO");
    Load();
    Trigger("mnuDiagnosticsIO");
    EXPECT_TRUE(ShowIOFlag);
    EXPECT_TRUE(win->mnuDiagnosticsIO->isChecked());
    Trigger("mnuDiagnosticsIO");
    EXPECT_FALSE(ShowIOFlag);
    EXPECT_FALSE(win->mnuDiagnosticsIO->isChecked());
    // Closed by its own button, the log unticks the menu.
    Trigger("mnuDiagnosticsIO");
    win->findChildren<frmIOlist*>().last()->cmdClose->click();
    EXPECT_FALSE(ShowIOFlag);
    EXPECT_FALSE(win->mnuDiagnosticsIO->isChecked());

    const ShownBox question{"Revert to User Mode ?", 33, Title};
    boxes.Answer(MsgBoxResult::Cancel);
    Trigger("mnuSetupUsermode");
    EXPECT_TRUE(EngineeringMode);
    // A character outside the code ends the mode and closes the log.
    Trigger("mnuDiagnosticsIO");
    QTest::keyClicks(win.get(), "Z");
    EXPECT_FALSE(EngineeringMode);
    EXPECT_FALSE(ShowIOFlag);
    EXPECT_FALSE(win->mnuDiagnosticsIO->isChecked());
    win->SetEngineeringMode("TRAVENO");
    boxes.Answer(MsgBoxResult::OK);
    Trigger("mnuSetupUsermode");
    EXPECT_FALSE(EngineeringMode);
    EXPECT_FALSE(OwnVisible("mnuSetupUsermode"));
    EXPECT_EQ(boxes.Boxes(), (std::vector<ShownBox>{question, question}));
}

TEST_F(MainWindowTest, ResultMessages)
{
    const int E = 48, Q = 36, I = 64;
    const struct {
        int16_t code;
        const char* title;
        std::string text;
        int style;
    } rows[] = {
        {0, "Invalid Firmware Version", "Invalid Firmware Version returned", E},
        {1, "Path not found", "The application's ini file path cannot be found.\r\n\r\nAbout to quit the program.", 16},
        {2, "Invalid Channel", "The returned Channel Number is invalid", E},
        {3, "Invalid Depth On/Off Parameter", "The returned Depth parameter is invalid", E},
        {4, "Invalid Spanwave Parameters", "The returned block of code representing the\r\nSpanwave Parameters is invalid", E},
        {5, "Invalid Spanwave Parameters", "Please ensure that the all parameters are valid before proceeding", E},
        {6, "Invalid Spanwave Codeword", "The returned block of code representing the\r\nSpanwave Codeword is invalid", E},
        {7, "Invalid Code", "Please ensure that the Spanwave Type is valid before proceeding", E},
        {8, "Invalid Address", "Please ensure that the Address is valid before proceeding", E},
        {9, "Invalid HPR Channel", "Please ensure that the HPR Channel is valid before proceeding", E},
        {10, "", "", 0},
        {11, "Invalid Channel", "Please ensure that the all Channels are valid before proceeding", E},
        {12, "Invalid Orvane Interrogation Channel", "Please ensure that the Orvane Interrogation Channel is valid before proceeding", E},
        {13, "Invalid Reply Channel", "Please ensure that the Reply Channel is valid before proceeding", E},
        {14, "Nothing Written", "No parameters were changed since the last Read,\r\nso the Set operation did not take place", E},
        {15, "Invalid HPR Channel Write", "The Transponder reply to an HPR Channel Write was invalid", E},
        {16, "Invalid Pulse-Length Write", "The Transponder reply to a Pulse-Length Write was invalid", E},
        {17, "Invalid Address-Code Write", "The Transponder reply to an Address-Code Write was invalid", E},
        {18, "Invalid Channel-Code Write", "The Transponder reply to a Channel-Code Write was invalid", E},
        {19, "Invalid Spanwave Codeword Write", "The Transponder reply to a Spanwave Codeword Write was invalid", E},
        {20, "Invalid Spanwave Parameter Write", "The Transponder reply to a Spanwave Parameter Write was invalid", E},
        {21, "Invalid Type Number", "The Transponder reply to a Type Number Read was invalid", E},
        {22, "Invalid Serial Number", "The Transponder reply to a Serial Number Read was invalid", E},
        {23, "Invalid Tx Synthesiser Firmware Version", "The Transponder reply to a\r\nTx Synthesiser Firmware Version Read\r\nwas invalid or unrecognised.", E},
        {24, "Spanwave Type NOT IRS", "PC Software is about set Spanwave Type to a value other than IRS.\r\n\r\nWould you like to set Spanwave Type to IRS?\r\n\r\n(Suggested Response: Yes)", Q},
        {25, "Not supported", "The Beacon Firmware does not support any parameters about to be Set,\r\nso the Set operation did not take place", E},
        {26, "Interrogation and Reply Channels are the same", "It is illegal to set the Interrogation and Reply to the same channel", E},
        {27, "Write HPR Channel", "Would you like to write HPR Channel 1 to the Transponder?   \r\n\r\n(Suggested Response: Yes)", Q},
        {28, "Read the Channel", "Now Read the Channel", I},
        {29, "HPR Channel Written", "The HPR Channel has been successfully written", I},
        {30, "HPR Channel Written not written", "The HPR Channel has not been written", I},
        {31, "Initialse Transponder", "Are you sure you want to initialise the Transponder?   \r\n\r\n(Suggested Response: Yes)", Q},
        {40, "", "", 0},
        {-1, "", "", 0},
    };
    Make();
    for (const auto& r : rows) {
        boxes.Answer(MsgBoxResult::OK);
        EXPECT_EQ(win->ShowMessage(r.code), MsgBoxResult::OK);
        EXPECT_EQ(boxes.Boxes().back(), (ShownBox{r.text, r.style, r.title})) << r.code;
    }
    boxes.Answer(MsgBoxResult::Yes);
    EXPECT_EQ(win->ShowMessage(27), MsgBoxResult::Yes);
    boxes.Answer(MsgBoxResult::No);
    EXPECT_EQ(win->ShowMessage(27), MsgBoxResult::No);
}

TEST_F(MainWindowTest, DialogsOwnersAndPointers)
{
    const int none = -1, wait = Qt::WaitCursor;
    const struct {
        const char* control;
        const char* form;
        bool ownerEnabled;
        int cursor;
    } rows[] = {
        {"mnuFreqTest", "frmChanTest", false, none},       {"mnuDepthTest", "frmChanTest", false, none},
        {"mnuTransceiver", "frmTransceiver", false, none}, {"mnuCommands", "frmCommands", false, none},
        {"mnuDiagnosticsTankTest", "frmVTLTankTest", false, none},
        {"mnuCalChanSelectors", "frmCalSelectors", false, none},
        {"mnuPing", "frmPingTest", true, none},            {"mnuAbout", "frmAbout", true, none},
        {"mnuBattLife", "frmBattLife", true, none},
        {"mnuComms", "frmComPorts", true, none},           {"cmdSettings", "frmGenSettings", true, wait},
        {"cmdRelease", "frmRelease", true, wait},          {"cmdDepth", "frmDepth", true, wait},
        {"cmdQuickSet", "frmGenSettings", true, wait},
    };
    Load();
    win->SetEngineeringMode("TRAVENO");
    TpdrFirmware.FWVersion(100);
    int32_t result = 0;
    TpdrGenStatus.ReadDecode_TypeNumber("5021", 16, result);
    Stub("frmDepth", [] { ReadDepth.OnOff(1); });
    int32_t schemeInSettings = -1;
    Stub("frmGenSettings", [&] { schemeInSettings = NavParams.NavScheme(); });
    win->DepthFitted = true;
    win->NavParamsRead = true;
    win->UpdateControls();
    win->show();
    for (const auto& r : rows) {
        shown.clear();
        if (auto* action = qobject_cast<QAction*>(Control(r.control))) {
            action->trigger();
        } else {
            qobject_cast<QPushButton*>(Control(r.control))->click();
        }
        ASSERT_EQ(shown.size(), 1u) << r.control;
        EXPECT_EQ(shown[0].form, r.form) << r.control;
        EXPECT_EQ(shown[0].ownerEnabled, r.ownerEnabled) << r.control;
        EXPECT_TRUE(shown[0].ownerVisible) << r.control;
        EXPECT_EQ(shown[0].cursor, r.cursor) << r.control;
        EXPECT_TRUE(win->isEnabled()) << r.control;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << r.control;
        if (std::string(r.control) == "mnuFreqTest" || std::string(r.control) == "mnuDepthTest") {
            EXPECT_EQ(AppSettings.ANTDepthTest(), std::string(r.control) == "mnuDepthTest");
        }
    }
    EXPECT_EQ(schemeInSettings, 4); // the quick-set opens the dialog on the Spanwave scheme
}

TEST_F(MainWindowTest, DepthLabelAfterTheDepthDialog)
{
    const struct {
        int16_t onOff;
        const char* text;
        uint32_t color;
        bool fitted;
    } rows[] = {{1, "ON", Forms::vbWhite, true},         {2, "OFF", Forms::vbWhite, false},
                {3, "Status ON", Forms::vbWhite, true},  {4, "Not fitted", Forms::vbWhite, false},
                {0, "Not read", Forms::vbRed, true},      {9, "Invalid", Forms::vbRed, false}};
    Load();
    TpdrFirmware.FWVersion(100);
    for (const auto& r : rows) {
        win->DepthFitted = true;
        win->UpdateControls();
        Stub("frmDepth", [&r] { ReadDepth.OnOff(r.onOff); });
        win->cmdDepth->click();
        EXPECT_EQ(win->lblDepthOnOff->text().toStdString(), r.text);
        EXPECT_EQ(Forms::BackColor(win->lblDepthOnOff), r.color) << r.text;
        EXPECT_EQ(win->DepthFitted, r.fitted) << r.onOff;
        EXPECT_EQ(OwnEnabled("cmdDepth"), r.fitted) << r.onOff;
        EXPECT_EQ(OwnEnabled("mnuDepthTest"), r.fitted) << r.onOff;
    }
}

TEST_F(MainWindowTest, DownloadNeedsThePassword)
{
    Load();
    Stub("frmDownload", [this] {
        port->PortOpen(false);
        port->Settings("1200,N,8,1");
    });
    boxes.Answer(MsgBoxResult::OK);
    win->cmdDownload->click();
    EXPECT_EQ(boxes.Boxes(), (std::vector<ShownBox>{{"Invalid password", 0, "Firmware Download"}}));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].form, "frmDownloadPassword");
    EXPECT_EQ(shown[0].cursor, int(Qt::WaitCursor));

    shown.clear();
    Stub("frmDownloadPassword", [] { TpdrDownload->Password(true); });
    win->cmdDownload->click();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].form, "frmDownload");
    EXPECT_EQ(TpdrDownload, nullptr);
    EXPECT_TRUE(port->PortOpen());
    EXPECT_EQ(port->Settings(), "19200,N,8,1"); // the normal setting again
}

TEST_F(MainWindowTest, ResetAndInitialiseTransponder)
{
    const std::string init("!I\0\0\0\0", 6);
    const std::string channel1("!F\0\0\0\x01\x01", 7); // HPR channel 1 as the RS232 channel
    enum Link { Sound, Refused, Cancelled, CancelledLate };
    const struct {
        int answer;
        Link link;
        std::vector<std::string> titles; // after "Write HPR Channel"
        std::string sent;
    } rows[] = {
        {MsgBoxResult::No, Sound, {"HPR Channel Written not written"}, ""},
        {MsgBoxResult::Yes, Sound, {"HPR Channel Written"}, channel1 + init},
        // The refusal is reported by the write and again by the reset.
        {MsgBoxResult::Yes, Refused, {"Invalid HPR Channel Write", "Invalid HPR Channel Write"}, channel1},
        // Cancel is clicked in the pause before the write: nothing is sent.
        {MsgBoxResult::Yes, Cancelled, {"Invalid HPR Channel Write"}, ""},
        // Cancel once the channel is written: the initialise still follows it.
        {MsgBoxResult::Yes, CancelledLate, {"HPR Channel Written"}, channel1 + init},
    };
    Load();
    for (const auto& r : rows) {
        model.knobs.refuseWrites = r.link == Refused;
        model.knobs.noReply = r.link == Cancelled;
        const size_t written = port->Written().size();
        boxes.Clear();
        boxes.Answer(r.answer);
        for (size_t i = 0; i < r.titles.size(); ++i) {
            boxes.Answer(MsgBoxResult::OK);
        }
        if (r.link == Cancelled) {
            QTimer::singleShot(0, win->cmdCancel, &QPushButton::click);
        }
        QTimer late;
        late.setInterval(0);
        QObject::connect(&late, &QTimer::timeout, win.get(), [this, &late] {
            if (win->StatusText() == "Transponder initialising...") {
                late.stop();
                win->cmdCancel->click();
            }
        });
        if (r.link == CancelledLate) {
            late.start();
        }
        TpdrChannel.RS232Chan(7);
        Trigger("mnuDiagnosticsReset");
        std::vector<std::string> titles;
        for (const ShownBox& box : boxes.Boxes()) {
            titles.push_back(box.title);
        }
        std::vector<std::string> want{"Write HPR Channel"};
        want.insert(want.end(), r.titles.begin(), r.titles.end());
        EXPECT_EQ(titles, want) << r.link;
        EXPECT_EQ(port->Written().substr(written), r.sent) << r.link;
        EXPECT_EQ(TpdrChannel.RS232Chan(), r.answer == MsgBoxResult::Yes ? -1 : 7) << r.link;
        EXPECT_FALSE(OwnVisible("cmdCancel"));
    }

    const size_t written = port->Written().size();
    Trigger("mnuDiagnosticsInitialise");
    EXPECT_EQ(port->Written().substr(written), init);
    EXPECT_EQ(win->StatusText(), "Transponder initialised.");
    EXPECT_TRUE(OwnVisible("cmdExit"));
}

TEST_F(MainWindowTest, ProgressAndCancel)
{
    Load();
    Activate();
    win->ShowStatus("Transponder initialised.");
    ExpectOneStatusBar(win.get(), "staMain", "staMainPanel1");
    const struct {
        float percent;
        bool requested;
        int value;
    } rows[] = {{0.0f, false, 0}, {0.5f, false, 50}, {0.333f, true, 33}, {0.999f, false, 100}, {1.5f, true, 100}};
    for (const auto& r : rows) {
        win->CancelRequested = r.requested;
        bool cancel = false;
        win->mTpdrComms_PercentDone(r.percent, cancel);
        EXPECT_EQ(win->prgMain->value(), r.value) << r.percent;
        EXPECT_EQ(cancel, r.requested) << r.percent;
    }
    win->CancelRequested = false;
    win->SetBusyControls();
    win->cmdCancel->click();
    EXPECT_TRUE(win->CancelRequested);
}

TEST_F(MainWindowTest, ExitWritesTheSettingsTheCloseBoxDoesNot)
{
    for (const bool exit : {true, false}) {
        Load();
        const std::string before = ReadFile(SettingsPath());
        AppSettings.PingRate(7);
        if (exit) {
            win->cmdExit->click();
        } else {
            win->close();
        }
        EXPECT_TRUE(win->Unloaded());
        EXPECT_FALSE(port->PortOpen());
        EXPECT_EQ(RegistryValue(), "");
        const std::string after = ReadFile(SettingsPath());
        if (exit) {
            EXPECT_NE(after.find("PingRate=7\r\n"), std::string::npos);
        } else {
            EXPECT_EQ(after, before);
        }
        win.reset();
    }

    // A file that cannot be replaced is reported and the window stays, so the
    // settings of this run are not lost; Exit works once the file can be written.
    Load();
    AppSettings.PingRate(9);
    std::filesystem::remove(SettingsPath());
    std::filesystem::create_directory(SettingsPath());
    boxes.Answer(MsgBoxResult::OK);
    win->cmdExit->click();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Please contact Program Administrator");
    EXPECT_FALSE(win->Unloaded());
    EXPECT_TRUE(std::filesystem::is_directory(SettingsPath()));
    std::filesystem::remove(SettingsPath());
    win->cmdExit->click();
    EXPECT_TRUE(win->Unloaded());
    EXPECT_NE(ReadFile(SettingsPath()).find("PingRate=9\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, FocusSkipsControlsThatCannotTakeIt)
{
    for (const int32_t comPort : {1, 0}) {
        if (comPort == 0) {
            boxes.Answer(MsgBoxResult::OK);
        }
        Load(comPort);
        Activate();
        win->cmdExit->setFocus();
        boxes.Answer(MsgBoxResult::No);
        boxes.Answer(MsgBoxResult::OK);
        Trigger("mnuDiagnosticsReset");
        EXPECT_EQ(QApplication::focusWidget(), comPort != 0 ? win->cmdStatus : win->cmdExit) << comPort;
        win.reset();
    }
}

// A number stored under "Engineering" cannot take the code as text: the
// program still ends normally, keeps the settings file it wrote, and the code
// replaces the number as text. A well-formed number that takes it stays one.
TEST_F(MainWindowTest, EngineeringValueStoredAsANumber)
{
    using namespace Platform;
    const std::string five("\x05\0\0\0", 4);
    const struct {
        const char* what;
        std::string stored;
        const char* typed;
        RegValue after;
    } rows[] = {
        {"a number of the wrong size", std::string("\x05\0", 2), "", {RegType::Text, std::string(1, '\0')}},
        {"the code typed over a number", five, "TRAVENO", {RegType::Text, std::string("TRAVENO\0", 8)}},
        {"a number that takes its own code", five, "", {RegType::Number, five}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        WriteSettings();
        Registry().CreateKey(RegRoot::CurrentUser, Key);
        Registry().SetValue(RegRoot::CurrentUser, Key, "Engineering", {RegType::Number, r.stored});
        Make().Form_Load();
        QTest::keyClicks(win.get(), r.typed);
        AppSettings.PingRate(7);
        QTest::mouseClick(win->cmdExit, Qt::LeftButton);
        EXPECT_TRUE(win->Unloaded());
        win.reset();
        EXPECT_NE(ReadFile(SettingsPath()).find("PingRate=7\r\n"), std::string::npos);
        EXPECT_EQ(Registry().QueryValue(RegRoot::CurrentUser, Key, "Engineering"), r.after);
        EXPECT_TRUE(boxes.Boxes().empty());
    }
}

} // namespace
