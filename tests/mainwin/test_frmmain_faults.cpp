// The main window used as an engineer uses it: clicks, keys and focus changes
// against the simulated transponder, checking what reached the transponder.
#include "exchange_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QWindow>
#include <cstring>

namespace {

using namespace Frames;

const std::string F10 = "!F|00|00|00|01|10";
const std::string CW2053 = "!w|80|00|00|02|20|53";
const std::string CW2074 = "!w|80|00|00|02|20|74";
// Interrogation MF2 with the Spanwave reply codes of address 05 channel 03.
const std::string Spanwave3 = "!w|00|00|00|14|00|64|00|7F|00|0D|4F|DF|77|F1|44|52|00|0D|1B|71|CD|75|F7|B0";
const std::string Addr05 = "!W|E0|00|01|01|05";
const std::string Chan03 = "!W|E0|00|09|01|03";
const std::string Addr07 = "!W|E0|00|01|01|07";
const std::string Chan04 = "!W|E0|00|09|01|04";
const std::string Pulse8 = "!W|E0|00|05|01|C8";
const std::string DFamily = "Vers1.11S "; // V1.11D: programmed channels 1 to 3

class WindowFaultTest : public ExchangeTest {
protected:
    // A shown, active window that has read the transponder: 'H' HPR channel
    // 11, 'h' the same with a codeword of another Spanwave type, 't' Orvane
    // tone with such a codeword, 'T' Orvane tone, 'O' the S family, 'D' the D family, 'M' test mode.
    void LoadAndGet(char kind)
    {
        model = Sim::TransponderModel();
        model.versionText = kind == 'O' ? SFamily : kind == 'D' ? DFamily : kind == 'M' ? "TestMode " : FFamily;
        SetCodeword(kind == 'h' || kind == 't' ? 0x2850 : 0x2053);
        if (kind == 'D') {
            SetChannel(0x01);
            model.portBytes = std::string("\0\0\x02", 3);
        }
        if (kind == 't' || kind == 'T') {
            SetChannel(0x10);
            ToneBlock();
        }
        Load();
        Activate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
        OfferGet();
        QTest::mouseClick(win->cmdRead, Qt::LeftButton);
        ASSERT_EQ(win->NavParamsRead, kind != 'M'); // a test-mode unit keeps no navigation values
        Sent();
        model.ClearFrames();
        boxes.Clear();
    }
    // Types a new command address into the field, as a user does.
    void TypeAddress(int scheme, const char* text)
    {
        QLineEdit* field = win->txtAddress[static_cast<size_t>(scheme)];
        QTest::mouseClick(field, Qt::LeftButton);
        ASSERT_EQ(QApplication::focusWidget(), field);
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(text));
    }
    // Tabs to the list and picks the item with the arrow keys (nullptr: none);
    // the list keeps the focus.
    void Pick(QComboBox* list, const char* item)
    {
        for (int i = 0; i < 30 && QApplication::focusWidget() != list; ++i) {
            QWidget* at = QApplication::focusWidget();
            QTest::keyClick(at != nullptr ? at : win.get(), Qt::Key_Tab);
        }
        ASSERT_EQ(QApplication::focusWidget(), list);
        const int target = item == nullptr ? -1 : list->findText(QString::fromLatin1(item));
        if (target >= 0) {
            QTest::keyClick(list, Qt::Key_Home);
            while (list->currentIndex() < target) {
                QTest::keyClick(list, Qt::Key_Down);
            }
        }
    }
    // A quick click: the release is already waiting while the press is handled.
    static void QuickClick(QPushButton* button)
    {
        const QPoint at = button->rect().center();
        QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, at, button->mapToGlobal(at),
                                                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        QTest::mousePress(button, Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }
    // The depth state of a unit no longer known to be on the cable: not read,
    // and neither the depth dialog nor the depth test offered.
    void ExpectDepthNotRead()
    {
        EXPECT_EQ(Shown(win->lblDepthOnOff), "Not read:R");
        EXPECT_EQ(ReadDepth.OnOff(), 0);
        EXPECT_FALSE(OwnEnabled("cmdDepth"));
        EXPECT_FALSE(OwnEnabled("mnuDepthTest"));
    }
    void ExpectWritesThenReadBack(const std::vector<std::string>& writes, const std::vector<std::string>& readBack)
    {
        ExpectFrames(Sent(), Join({writes, writes.empty() ? std::vector<std::string>{} : std::vector<std::string>{Init},
                                   readBack}));
    }
};

// The quick-set makes the Spanwave scheme, and a Set that re-derives the
// scheme (after making the type IRS) keeps it and writes its whole chain.
TEST_F(WindowFaultTest, QuickSetWritesTheWholeSpanwaveChain)
{
    for (const char kind : {'h', 't'}) {
        SCOPED_TRACE(kind);
        LoadAndGet(kind);
        bool written = false;
        Stub("frmGenSettings", [this, &written] {
            // What the general parameters dialog hands over before it writes.
            NavParams.CmdAddressString("0503");
            NavParams.OrvaneIntChan(3);
            written = win->SetNavParams();
        });
        Script({{"Spanwave Type NOT IRS", MsgBoxResult::Yes}});
        QTest::mouseClick(win->cmdQuickSet, Qt::LeftButton);
        EXPECT_TRUE(written);
        ExpectWritesThenReadBack({F10, CW2053, Spanwave3, Addr05, Chan03, Pulse8}, Join({GetF, GetF}));
        EXPECT_EQ(Titles(), (std::vector<std::string>{"Spanwave Type NOT IRS"}));
        EXPECT_EQ(NavParams.NavScheme(), 4);
    }
}

// An RS232 channel that the read would call invalid is never written.
TEST_F(WindowFaultTest, RS232ChannelsTheReadRefusesAreNotWritten)
{
    const struct Row {
        const char* name;
        char kind;
        std::function<void()> edit;
        const char* box;
        std::vector<std::string> readBack;
    } rows[] = {
        {"HPR list: channel 00", 'H', [this] { Pick(win->cboHPRChan, "00"); }, "Invalid HPR Channel", GetF},
        {"HPR list left without a choice", 'T',
         [this] {
             QRadioButton* hpr = win->optChanScheme[2];
             QTest::mouseClick(hpr, Qt::LeftButton, {}, QPoint(6, hpr->height() / 2));
             ASSERT_EQ(win->cboHPRChan->currentIndex(), -1);
             Pick(win->cboHPRChan, nullptr);
         },
         "Invalid HPR Channel", GetF},
        {"D family: programmed channel above 3", 'D',
         [this] {
             const QComboBox* list = win->cboProgrammedChan;
             ASSERT_GT(list->count(), 4);
             Pick(win->cboProgrammedChan, Forms::S(list->itemText(list->count() - 1)).c_str());
         },
         "Invalid Channel", {V9, V10, Init, RS232, Dual, Ports, Init}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        LoadAndGet(r.kind);
        r.edit();
        Script({{r.box}});
        QTest::mouseClick(win->cmdSet, Qt::LeftButton);
        ExpectWritesThenReadBack({}, r.readBack);
        EXPECT_EQ(Titles(), (std::vector<std::string>{r.box}));
    }
}

// A test-mode unit shows no channel lists: after another unit's read nothing
// of that unit is written, and with nothing to write Set is off.
TEST_F(WindowFaultTest, TestModeUnitGetsNoStaleChannels)
{
    const std::vector<std::string> getM = {V9, Init, RS232, Dual, Ports, Init};
    for (const bool olderUnitFirst : {true, false}) {
        SCOPED_TRACE(olderUnitFirst);
        LoadAndGet(olderUnitFirst ? 'O' : 'M');
        if (olderUnitFirst) {
            model.versionText = "TestMode ";
            QTest::mouseClick(win->cmdVoltage, Qt::LeftButton);
            Sent();
            model.ClearFrames();
            EXPECT_EQ(win->cboProgrammedChan->count(), 0);
            EXPECT_EQ(win->cboDualModeChan->count(), 0);
            // The older unit's values: Set stays off until a Get of this one.
            EXPECT_FALSE(OwnEnabled("cmdSet"));
            QTest::mouseClick(win->cmdRead, Qt::LeftButton);
            ExpectFrames(Sent(), getM);
            model.ClearFrames();
        }
        EXPECT_FALSE(OwnEnabled("cmdSet"));
        Script({});
        QTest::mouseClick(win->cmdSet, Qt::LeftButton);
        ExpectFrames(Sent(), {});
        EXPECT_EQ(Titles(), std::vector<std::string>{});
    }
}

// Depth and release by the type numbers of the models the about box lists.
TEST_F(WindowFaultTest, DepthAndReleaseByTypeNumber)
{
    const struct {
        const char* type;
        const char* depth;
        bool depthButton, releaseButton;
    } rows[] = {
        {"5021", "ON:W", true, true},         {"5027-2", "ON:W", true, true}, {"5028", "ON:W", true, true},
        {"5020", "ON:W", true, false},        {"5023", "ON:W", true, false},  {"5120", "Not fitted:W", false, false},
        {"5121", "Not fitted:W", false, false}, {"", "ON:W", true, false},    {"9999", "ON:W", true, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.type);
        model = Sim::TransponderModel();
        model.versionText = FFamily;
        SetCodeword(0x2053);
        for (uint8_t i = 0; i < 16; ++i) {
            model.Poke(false, 0xE0, 0x0A, i, static_cast<uint8_t>(i < strlen(r.type) ? r.type[i] : ' '));
        }
        Load();
        QTest::mouseClick(win->cmdStatus, Qt::LeftButton);
        EXPECT_EQ(StatusLabels()[4], r.depth);
        EXPECT_EQ(OwnEnabled("cmdDepth"), r.depthButton);
        EXPECT_EQ(OwnEnabled("cmdRelease"), r.releaseButton);
    }
}

// A click that comes quickly after an edit arrives, with the edit committed;
// Settings opens on the address as read, never on an edit not sent.
TEST_F(WindowFaultTest, QuickClickAfterAnEditArrives)
{
    std::string addressAtSettings;
    const struct {
        const char* button;
        std::vector<std::string> frames;
    } rows[] = {
        {"cmdSet", Join({{CW2074, Addr07, Chan04, Init}, GetF})},
        {"cmdSettings", GetF},
        {"cmdRead", GetF},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.button);
        LoadAndGet('H');
        Stub("frmGenSettings", [&addressAtSettings] { addressAtSettings = NavParams.CmdAddressString(); });
        TypeAddress(2, "0704");
        auto* button = win->findChild<QPushButton*>(r.button);
        QuickClick(button);
        ExpectFrames(Sent(), r.frames);
        EXPECT_FALSE(button->isDown());
        if (std::string(r.button) == "cmdSettings") {
            EXPECT_EQ(addressAtSettings, "0503");
        }
    }
}

// An access key moves the focus to its button first: the field being edited
// is committed before the click.
TEST_F(WindowFaultTest, AccessKeyCommitsTheFieldFirst)
{
    LoadAndGet('H');
    std::string addressAtSettings;
    Stub("frmGenSettings", [&addressAtSettings] { addressAtSettings = NavParams.CmdAddressString(); });
    TypeAddress(2, "0704");
    QTest::keyClick(win->txtAddress[2], Qt::Key_N, Qt::AltModifier); // Setti&ngs...
    EXPECT_EQ(addressAtSettings, "0503"); // the unit's: the edit was never sent
    EXPECT_EQ(shown.size(), 1u);
    ExpectFrames(Sent(), GetF);
    model.ClearFrames();

    TypeAddress(2, "0507");
    QTest::keyClick(win->txtAddress[2], Qt::Key_G, Qt::AltModifier); // &Get
    ExpectFrames(Sent(), GetF);
    EXPECT_EQ(win->txtAddress[2]->text(), QStringLiteral("0503")); // read back over the edit
}

// Tab from Get Status goes through the shown controls that can take it as the
// window reads: its left column (the status frame, the voltage frame), the
// navigation panel, the window's buttons; an option group at its chosen option.
TEST_F(WindowFaultTest, TabFollowsTheLayout)
{
    const std::vector<std::string> left{"cmdStatus", "cmdDepth", "cmdVoltage"};
    const std::vector<std::string> bottom{"cmdSettings", "cmdRelease", "cmdDownload", "cmdExit", "cmdStatus"};
    const struct {
        char kind;
        std::vector<std::string> panel;
    } rows[] = {
        {'H', {"optChanScheme_2", "cboHPRChan", "txtAddress_2", "cmdRead", "cmdSet", "cmdQuickSet"}},
        {'T', {"optChanScheme_1", "optReplyType_1", "cboOrvaneIntChan_3", "cboOrvaneReplyChan", "txtAddress_3", "cmdRead",
                "cmdSet", "cmdQuickSet"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.kind);
        LoadAndGet(r.kind);
        QTest::mouseClick(win->cmdStatus, Qt::LeftButton); // which takes the focus back as it ends
        Sent();
        model.ClearFrames();
        std::vector<std::string> want = left, order;
        want.insert(want.end(), r.panel.begin(), r.panel.end());
        want.insert(want.end(), bottom.begin(), bottom.end());
        for (size_t i = 0; i < want.size(); ++i) {
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            order.push_back(QApplication::focusWidget()->objectName().toStdString());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        EXPECT_EQ(order, want);
        for (int i = 0; i < 2; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        }
        EXPECT_EQ(QApplication::focusWidget(), win->cmdExit);
        Sent(); // nothing was written on the way
        EXPECT_TRUE(model.Frames().empty());
    }
}

// The close box stops the running exchange: nothing more goes to the
// transponder (no read after a pause, no closing initialise, no read-back) and
// no box tells of the cancel. The window unloads once its handler has ended,
// without writing the settings file.
TEST_F(WindowFaultTest, CloseBoxStopsTheExchangeAndUnloads)
{
    const struct {
        const char* name;
        size_t closeAt; // frames received when the close box is clicked
        std::function<void()> start;
        std::vector<std::string> sent;
        std::vector<Box> boxes;
    } rows[] = {
        {"Get Status, in a reply wait", 1, [this] { QTest::mouseClick(win->cmdStatus, Qt::LeftButton); }, {V9}, {}},
        {"Get Status, in the pause before a read", 3, [this] { QTest::mouseClick(win->cmdStatus, Qt::LeftButton); },
         {V9, Tx, Init}, {}},
        {"Get", 3, [this] { QTest::mouseClick(win->cmdRead, Qt::LeftButton); }, {V9, Init, Codeword}, {}},
        {"Set", 1,
         [this] {
             TypeAddress(2, "0704");
             QTest::mouseClick(win->cmdSet, Qt::LeftButton);
         },
         {CW2074}, {}},
        {"Reset Transponder", 1, [this] { Trigger("mnuDiagnosticsReset"); }, {WriteRS232("01")},
         {{"Write HPR Channel", MsgBoxResult::Yes}}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        LoadAndGet('H');
        AppSettings.PingRate(7); // a change that only Exit writes
        const std::string settings = SettingsText();
        Platform::Registry().DeleteValue(Platform::RegRoot::CurrentUser, Key, "Engineering");
        bool unloadedInside = true;
        bool openInside = false;
        AtFrame(r.closeAt, [&] {
            win->windowHandle()->close();
            unloadedInside = win->Unloaded();
            openInside = port->PortOpen();
        });
        model.knobs.replyDelay = 0.5; // every wait reaches its progress events
        Script(r.boxes);
        r.start();
        ExpectFrames(Sent(), r.sent);
        EXPECT_FALSE(unloadedInside);
        EXPECT_TRUE(openInside);
        EXPECT_TRUE(win->Unloaded());
        EXPECT_FALSE(win->isVisible());
        EXPECT_FALSE(port->PortOpen());
        EXPECT_EQ(RegistryValue(), "");
        EXPECT_EQ(SettingsText(), settings);
        EXPECT_EQ(Titles(), Titles(r.boxes));
    }
}

// A Set clicked at the first moment a read shows the window idle lands while
// the read is still ending: it must compare against the whole copy of what
// was read, and so write nothing.
TEST_F(WindowFaultTest, ASetClickedAsAReadEndsWritesNothing)
{
    const struct {
        const char* name;
        char kind;
        QPushButton* frmMain::*button;
        std::vector<std::string> read;
    } rows[] = {{"Get", 'T', &frmMain::cmdRead, GetF},
                {"Get Status", 'T', &frmMain::cmdStatus, Join({StatusF, NavF, {Init}})},
                // The channel lists are filled before Set is offered.
                {"Get, D family", 'D', &frmMain::cmdRead, {V9, V10, Init, RS232, Dual, Ports, Init}}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        LoadAndGet(r.kind);
        QPushButton* set = win->cmdSet;
        // Posted, so that it waits in the queue for the first pass of events.
        struct ClickWhenIdle : QObject {
            QPushButton* set;
            QPushButton* cancel;
            bool posted = false;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::EnabledChange && !posted && set->isEnabled() && cancel->isHidden()) {
                    posted = true;
                    const QPoint at = set->rect().center();
                    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                        QCoreApplication::postEvent(set, new QMouseEvent(t, at, set->mapToGlobal(at), Qt::LeftButton,
                                                                         t == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                                                       : Qt::NoButton,
                                                                         Qt::NoModifier));
                    }
                }
                return false;
            }
        } clicker;
        clicker.set = set;
        clicker.cancel = win->cmdCancel;
        QTest::mouseClick(win.get()->*r.button, Qt::LeftButton);
        set->installEventFilter(&clicker);
        Script({{"Nothing Written"}});
        QTest::mouseClick(win.get()->*r.button, Qt::LeftButton);
        set->removeEventFilter(&clicker);
        QCoreApplication::processEvents();
        EXPECT_TRUE(clicker.posted);
        const std::vector<std::string> sent = Sent();
        ASSERT_GE(sent.size(), r.read.size());
        ExpectFrames(std::vector<std::string>(sent.begin(), sent.begin() + static_cast<std::ptrdiff_t>(r.read.size())),
                     r.read);
        // Nothing changed since the read: no write, only the read-back.
        for (const std::string& frame : sent) {
            EXPECT_NE(frame[1], 'W') << frame;
            EXPECT_NE(frame[1], 'w') << frame;
            EXPECT_NE(frame[1], 'F') << frame;
        }
        EXPECT_EQ(Titles(), (std::vector<std::string>{"Nothing Written"}));
        EXPECT_EQ(model.Peek(false, 0xE0, 0x00, 0x05), 0xC8); // the pulse width stays 8.0 ms
    }
}

// The HPR channel 1 write that Get Status offers runs with the window busy:
// no other exchange can start inside it, and Cancel ends it.
TEST_F(WindowFaultTest, OfferedChannelWriteRunsBusy)
{
    const char* const others[] = {"cmdSet", "cmdRead", "cmdStatus", "cmdQuickSet", "cmdSettings", "cmdVoltage"};
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel);
        LoadAndGet('H');
        QTest::mouseClick(win->cmdStatus, Qt::LeftButton);
        ASSERT_EQ(NavParams.NavScheme(), 2);
        SetChannel(0x66);
        Sent();
        model.ClearFrames();
        model.knobs.replyDelay = 0.5; // every wait reaches its progress events
        std::vector<std::string> enabled;
        bool cancelOffered = false;
        AtFrame(StatusF.size() + NavF.size() + 1, [&] {
            for (const char* name : others) {
                if (OwnEnabled(name)) {
                    enabled.push_back(name);
                }
            }
            cancelOffered = OwnVisible("cmdCancel") && OwnEnabled("cmdCancel");
            if (cancel) {
                QTest::mouseClick(win->cmdCancel, Qt::LeftButton);
            }
        });
        std::vector<Box> want{{"Invalid Channel"}, {"Write HPR Channel", MsgBoxResult::Yes}};
        if (!cancel) {
            want.push_back({"Read the Channel"});
        }
        Script(want);
        QTest::mouseClick(win->cmdStatus, Qt::LeftButton);
        EXPECT_EQ(enabled, std::vector<std::string>{});
        EXPECT_TRUE(cancelOffered);
        ExpectFrames(Sent(), Join({StatusF, NavF, {WriteRS232("01")}}));
        EXPECT_EQ(Titles(), Titles(want));
        EXPECT_FALSE(OwnVisible("cmdCancel"));
        EXPECT_TRUE(OwnEnabled("cmdStatus"));
    }
}

// Unit B on the cable after a Get of unit A: another firmware code and
// codeword 2E 0E (Spanwave type 2).
void PutUnitB(Sim::TransponderModel& m)
{
    m.versionText = "Vers1.20F";
    Memory::SetCodeword(m, 0x2E0E);
}

// A read in any window that finds another firmware code leaves the panel not
// read: nothing read from unit A is shown as B's or offered to Set until the
// next Get.
TEST_F(WindowFaultTest, AnotherUnitsFirmwareLeavesThePanelNotRead)
{
    const struct {
        const char* name;
        std::function<void()> read;
        std::string voltage; // B's, where the read was of it
    } rows[] = {
        {"Get Voltage", [this] { QTest::mouseClick(win->cmdVoltage, Qt::LeftButton); }, "19.0 Volts:W"},
        {"another window's firmware read",
         [this] {
             Stub("frmBattLife", [] {
                 FirmwareWindow window;
                 FirmwareReader::GetFirmware(FirmwarePolicies::frmBattLife, window);
             });
             Trigger("mnuBattLife");
         },
         "Unknown:M"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        LoadAndGet('T');
        QTest::mouseClick(win->cmdStatus, Qt::LeftButton);
        ASSERT_EQ(win->txtAddress[3]->text(), QStringLiteral("0503"));
        ASSERT_EQ(Shown(win->lblDepthOnOff), "ON:W");
        ASSERT_TRUE(OwnEnabled("cmdRelease")); // type 5021
        const std::vector<std::string> unitA = StatusLabels();
        PutUnitB(model);
        model.batteryCount = 220;
        r.read();
        Sent();
        model.ClearFrames();
        EXPECT_FALSE(win->NavParamsRead);
        ExpectDepthNotRead();
        // A's status is not shown as B's, nor does A's type offer the release.
        const std::vector<std::string> shown = StatusLabels();
        EXPECT_EQ(std::vector<std::string>(shown.begin() + 1, shown.begin() + 4),
                  (std::vector<std::string>{"Unknown:M", "Unknown:M", "Unknown:M"}));
        EXPECT_EQ(shown[5], r.voltage);
        EXPECT_FALSE(OwnEnabled("cmdRelease"));
        EXPECT_FALSE(OwnEnabled("cmdSet"));
        EXPECT_FALSE(OwnEnabled("cmdQuickSet"));
        EXPECT_FALSE(win->txtAddress[3]->isVisible()); // A's values are gone
        QTest::mouseClick(win->cmdSet, Qt::LeftButton);
        EXPECT_EQ(Sent(), std::vector<std::string>{});
        EXPECT_EQ(model.Peek(true, 0x80, 0, 0), 0x2E);
        EXPECT_EQ(model.Peek(true, 0x80, 0, 1), 0x0E);

        QTest::mouseClick(win->cmdRead, Qt::LeftButton);
        ExpectFrames(Sent(), GetF);
        EXPECT_TRUE(win->NavParamsRead);
        EXPECT_TRUE(boxes.Boxes().empty());
        ExpectDepthNotRead(); // the depth state is read by Get Status only

        QTest::mouseClick(win->cmdStatus, Qt::LeftButton);
        EXPECT_EQ(Shown(win->lblDepthOnOff), "ON:W");
        EXPECT_TRUE(OwnEnabled("cmdDepth"));
        EXPECT_EQ(Shown(win->lblTypeNumber), unitA[2]);
        EXPECT_TRUE(OwnEnabled("cmdRelease"));
    }
}

// A Get that finds another unit reads that unit's navigation values but not
// its depth state: the state read from the unit before is not shown as this one's.
TEST_F(WindowFaultTest, GetOfAnotherUnitLeavesTheDepthStateNotRead)
{
    LoadAndGet('T');
    QTest::mouseClick(win->cmdStatus, Qt::LeftButton);
    ASSERT_EQ(Shown(win->lblDepthOnOff), "ON:W");
    PutUnitB(model);
    Sent();
    model.ClearFrames();
    QTest::mouseClick(win->cmdRead, Qt::LeftButton);
    ExpectFrames(Sent(), GetF);
    EXPECT_TRUE(win->NavParamsRead);
    ExpectDepthNotRead();
}

// The general parameters dialog writes the addressing through the main
// window: when its own read found another unit, the main window's values of
// the unit before are not written; the unit on the cable is read instead.
TEST_F(WindowFaultTest, SettingsDialogSetAfterAnotherUnitsRead)
{
    LoadAndGet('T');
    bool written = true;
    Stub("frmGenSettings", [this, &written] {
        PutUnitB(model);
        FirmwareWindow dialog;
        FirmwareReader::GetFirmware(FirmwarePolicies::frmGenSettings, dialog);
        NavParams.CmdAddressString("0506");
        NavParams.OrvaneIntChan(3);
        written = win->SetNavParams();
    });
    QTest::mouseClick(win->cmdSettings, Qt::LeftButton);
    EXPECT_FALSE(written);
    ExpectFrames(Sent(), Join({{V9}, GetF, GetF}));
    EXPECT_EQ(model.Peek(true, 0x80, 0, 0), 0x2E);
    EXPECT_EQ(model.Peek(true, 0x80, 0, 1), 0x0E);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(win->NavParamsRead); // B's values, read after the dialog
}

// The endcap channel, and the Spanwave scheme's address and interrogation
// channel, are one line of text: their boxes keep the height of a list and do
// not stretch to fill the frame.
TEST_F(WindowFaultTest, EndcapBoxIsOneLineHigh)
{
    LoadAndGet('D');
    ASSERT_TRUE(win->lblEndcap->isVisible());
    EXPECT_LE(win->lblEndcap->height(), win->cboProgrammedChan->height() + 4);

    LoadAndGet('H');
    for (QRadioButton* option : {win->optChanScheme[1], win->optReplyType[2]}) {
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    }
    ASSERT_TRUE(win->fraNavScheme[4]->isVisible());
    for (QWidget* box : {win->lblAddr, win->lblInterrogate[4]}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_LE(box->height(), win->cboProgrammedChan->sizeHint().height() + 4);
    }
}

// Set is never on while a read or write still has frames to send: a click
// there would run inside the exchange, against values half read.
TEST_F(WindowFaultTest, SetIsNeverOnWhileAnExchangeRuns)
{
    const struct {
        const char* name;
        QPushButton* frmMain::*button;
        const char* address; // typed first, then left with Tab
    } rows[] = {
        {"Get Status", &frmMain::cmdStatus, nullptr},
        {"Get", &frmMain::cmdRead, nullptr},
        {"Get Voltage", &frmMain::cmdVoltage, nullptr},
        {"Set", &frmMain::cmdSet, "0704"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        LoadAndGet('T');
        if (r.address != nullptr) {
            TypeAddress(3, r.address);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        struct Watch : QObject {
            const Sim::SimSerialComm* port;
            std::vector<size_t> at; // bytes written when Set turned on
            bool eventFilter(QObject* o, QEvent* e) override
            {
                if (e->type() == QEvent::EnabledChange && static_cast<QWidget*>(o)->isEnabled()) {
                    at.push_back(port->Written().size());
                }
                return false;
            }
        } watch;
        watch.port = port;
        win->cmdSet->installEventFilter(&watch);
        Script({});
        QTest::mouseClick(win.get()->*r.button, Qt::LeftButton);
        win->cmdSet->removeEventFilter(&watch);
        for (size_t bytes : watch.at) {
            EXPECT_EQ(bytes, port->Written().size());
        }
    }
}

// Another window's version read is followed as soon as it is made: a lost
// reply leaves the main window in its state for no firmware, with no Set that
// ends silently; another unit found leaves the status of the unit before not
// read, even while that window is still open.
TEST_F(WindowFaultTest, AnotherWindowsVersionReadIsFollowed)
{
    const std::string V = Sim::FrameAddress('V', 0xA0, 0x00, 0x00);
    const struct {
        const char* name;
        const char* form;
        FirmwarePolicy policy;
        bool lost;
        std::vector<std::string> inside; // Tx firmware, type, serial, voltage, navigation while the window is open
        std::vector<Box> boxes;
    } rows[] = {
        {"Battery Life, its reply lost", "frmBattLife", FirmwarePolicies::frmBattLife, true, {},
         {{"Communication Error"}}},
        {"Battery Life, another unit", "frmBattLife", FirmwarePolicies::frmBattLife, false,
         {"Unknown:M", "Unknown:M", "Unknown:M", "Unknown:M", "not read"}, {}},
        {"Settings, another unit", "frmGenSettings", FirmwarePolicies::frmGenSettings, false,
         {"Unknown:M", "Unknown:M", "Unknown:M", "Unknown:M", "not read"}, {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        LoadAndGet('T');
        QTest::mouseClick(win->cmdStatus, Qt::LeftButton);
        const std::string firmwareA = Shown(win->lblFirmware);
        Sent();
        model.ClearFrames();
        if (r.lost) {
            model.knobs.ignoreFrame = V;
        } else {
            PutUnitB(model);
        }
        std::vector<std::string> inside;
        Stub(r.form, [&] {
            FirmwareWindow window;
            FirmwareReader::GetFirmware(r.policy, window);
            const std::vector<std::string> labels = StatusLabels();
            inside = {labels[1], labels[2], labels[3], labels[5],
                      win->fraNavScheme[0]->isHidden() ? "scheme shown" : "not read"};
            model.knobs.ignoreFrame.clear();
        });
        Script(r.boxes);
        if (std::string(r.form) == "frmBattLife") {
            Trigger("mnuBattLife");
        } else {
            QTest::mouseClick(win->cmdSettings, Qt::LeftButton);
        }
        EXPECT_EQ(Titles(), Titles(r.boxes));
        if (!r.lost) {
            EXPECT_EQ(inside, r.inside);
            EXPECT_EQ(Shown(win->lblFirmware), TpdrFirmware.Caption() + ":W");
            EXPECT_NE(Shown(win->lblFirmware), firmwareA);
            continue;
        }
        // No firmware: only what needs none is offered.
        EXPECT_FALSE(OwnEnabled("cmdSet"));
        EXPECT_FALSE(OwnEnabled("cmdSettings"));
        EXPECT_TRUE(OwnEnabled("cmdStatus"));
        Sent();
        model.ClearFrames();
        boxes.Clear();
        QTest::mouseClick(win->cmdSet, Qt::LeftButton);
        EXPECT_EQ(Sent(), std::vector<std::string>{});
    }
}

} // namespace

// Cancel stops a running exchange by its access key as by the mouse, although
// the disabled Calibration menu carries the same letter.
TEST_F(WindowFaultTest, CancelByMouseOrAccessKey)
{
    std::vector<std::vector<std::string>> sent;
    for (const bool byKey : {false, true}) {
        LoadAndGet('H');
        AtFrame(3, [this, byKey] {
            if (byKey) {
                QTest::keyClick(win.get(), Qt::Key_C, Qt::AltModifier);
            } else {
                QTest::mouseClick(win->cmdCancel, Qt::LeftButton);
            }
        });
        model.knobs.replyDelay = 0.5; // every wait reaches its progress events
        QTest::mouseClick(win->cmdStatus, Qt::LeftButton);
        EXPECT_FALSE(OwnVisible("cmdCancel")) << byKey;
        sent.push_back(Sent());
    }
    EXPECT_EQ(sent[1], sent[0]);
}
