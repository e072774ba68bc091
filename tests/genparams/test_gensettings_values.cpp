// What the general parameters dialog holds, driven as a user: the values read
// stay what the unit holds, a value counts as unchanged only when it would
// travel as the bytes read, and values read under another firmware are no
// longer the unit's.
#include "gensettings_fixture.h"

#include "firmwarereader.h"
#include "frmDialogsGenParams.h"
#include "genparamfacts.h"
#include "vbconv.h"

#include <utility>

namespace {

using namespace GenFrames;

// The read copy is what the unit holds: no edit rounds it. An edited value is
// unchanged only when it would travel as the bytes read.
TEST_F(GenSettingsTest, AnEditIsComparedByTheBytesItWouldSend)
{
    using Held = std::vector<std::pair<uint8_t, uint8_t>>; // offset, byte
    const Held sUnit{{0x00, 0x08}, {0x08, 0x0A}, {0x0A, 0x01}, {0x0B, 0xF1}};
    const struct {
        const char* name;
        const char* version;
        Held held;
        bool quickSet;
        std::function<void()> edit;
        const char* field;
        const char* colour;
        std::vector<std::string> frames; // what Set sends; none when Set is off
    } rows[] = {
        {"blocking 19 64 (0.52 s), 1.0 then 0.5", "Vers2.05F", {{0x06, 0x19}, {0x07, 0x64}}, false,
         [this] { TypeAndTab("cboBlock", "1.0"), TypeAndTab("cboBlock", "0.5"); }, "cboBlock", "O",
         {"!W|E0|00|06|02|18|6A", Init}},
        {"preset A3 on blocking 19 64", "Vers2.05F", {{0x06, 0x19}, {0x07, 0x64}, {0x0A, 0x00}}, true,
         [this] { Click("cmdQuick_3"); }, "cboBlock", "O", {"!W|E0|00|06|02|18|6A", Init}},
        // Relay units of 524.3 ms: 5.5 s travels as the ten units read (5.2 s).
        {"relay-on 0A, 5.5", "Vers4.50S", sUnit, false, [this] { TypeAndTab("txtRelayOnTime", "5.5"); },
         "txtRelayOnTime", "W", {}},
        {"relay-on 0A, 6", "Vers4.50S", sUnit, false, [this] { TypeAndTab("txtRelayOnTime", "6"); },
         "txtRelayOnTime", "O", {"!W|E0|00|08|01|0B", Init}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        model = Sim::TransponderModel();
        model.versionText = row.version;
        for (const auto& [p3, byte] : row.held) {
            model.Poke(false, 0xE0, 0x00, p3, byte);
        }
        if (row.quickSet) {
            QuickSetNavigation();
        }
        Open();
        row.edit();
        EXPECT_EQ(Colour(row.field), row.colour);
        const std::string set = row.quickSet ? "cmdGenWrite_1" : "cmdGenWrite_0";
        EXPECT_EQ(OwnEnabled(set), !row.frames.empty());
        Click(set);
        EXPECT_EQ(Sent(), row.frames);
        dialog.reset();
        MakeStoreObjects();
        NavParams.NavScheme(0);
        ReadNavScheme = 0;
    }
}

// Once a field's check accepts a value, the field shows what Set will send:
// the value brought to its step and taken to the code it travels as, in the
// form a read of that code shows. Its colour still says whether those are the
// bytes read, the read copy stays as read, and after Set and a Get the field
// shows the same. The simulated unit holds blocking 1.0 s, relay-on 57 units
// (29.9 s), pulse width 8 ms, TAT 500 ms, address 47 and a variable TAT of
// 20 ms (10 ms in test mode).
TEST_F(GenSettingsTest, AFieldShowsTheValueSetWillSend)
{
    const struct {
        const char* field;
        int32_t param;
        const char* version;
        const char* typed; // a list without an edit box is picked from
        const char* shown;
        const char* colour;
        std::vector<std::string> frames; // what Set sends; none when Set is off
    } rows[] = {
        // Blocking period: steps of 0.5 s, a tie going up.
        {"cboBlock", 6, "Vers4.05S", "2.3", "2.5", "O", {"!W|E0|00|06|02|7A|12", Init}},
        {"cboBlock", 6, "Vers4.05S", "0.74", "0.5", "O", {"!W|E0|00|06|02|18|6A", Init}},
        {"cboBlock", 6, "Vers2.05F", "4.8", "5.0", "O", {"!W|E0|00|06|02|F4|24", Init}},
        {"cboBlock", 6, "TestMode ", "1.2", "1.0", "W", {}},
        // Relay-on time: steps of 0.5 s, sent as units of 524.3 ms.
        {"txtRelayOnTime", 7, "Vers4.05S", "10.3", "10.5", "O", {"!W|E0|00|08|01|14", Init}},
        {"txtRelayOnTime", 7, "Vers4.05S", "30", "29.9", "W", {}},
        {"txtRelayOnTime", 7, "Vers4.05S", "66.5", "66.6", "O", {"!W|E0|00|08|01|7F", Init}},
        {"txtRelayOnTime", 7, "TestMode ", "0.74", "0.5", "O", {"!W|E0|00|08|01|01", Init}},
        // Pulse width: codes of 0.04 ms, a half going to the even code.
        {"txtPulseWidth", 5, "Vers4.05S", "7.53", "7.5", "O", {"!W|E0|00|05|01|BC", Init}},
        {"txtPulseWidth", 5, "Vers2.05F", "7.55", "7.6", "O", {"!W|E0|00|05|01|BD", Init}},
        {"txtPulseWidth", 5, "TestMode ", "8.01", "8.0", "W", {}},
        // Variable TAT: codes of 0.04 ms, at 0A or 0B by family.
        {"cboVariableTAT", 10, "Vers4.50S", "12.34", "12.36", "O", {"!W|E0|00|0A|02|01|32", Init}},
        {"cboVariableTAT", 10, "Vers9.05F", "100.01", "100", "O", {"!W|E0|00|0B|02|09|C1", Init}},
        {"cboVariableTAT", 10, "TestMode ", "15.01", "15", "O", {"!W|E0|00|0A|02|01|74", Init}},
        // Address code of a unit without a channel code: a whole number.
        {"cboAddress", 2, "Vers2.05S", "6.5", "6", "O", {"!W|E0|00|01|01|06", Init}},
        // Turn-around time: a list item, sent as a code of 0.04 ms.
        {"cboGenTAT", 4, "Vers4.05S", "187.5", "187.5", "O", {"!W|E0|00|03|02|12|3A", Init}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.field) + " on " + row.version + " <- \"" + row.typed + "\"");
        model = Sim::TransponderModel();
        model.versionText = row.version;
        const std::string version = row.version;
        if (version.back() == 'S') {
            model.Poke(false, 0xE0, 0x00, 0x00, 0x08); // gain Low of the four-value coding
        }
        if (version == "Vers4.50S") {
            model.Poke(false, 0xE0, 0x00, 0x0A, 0x01); // variable TAT 20 ms at 0A
            model.Poke(false, 0xE0, 0x00, 0x0B, 0xF1);
        } else if (version == "TestMode ") {
            model.Poke(false, 0xE0, 0x00, 0x0A, 0x00); // power Low, variable TAT 10 ms
            model.Poke(false, 0xE0, 0x00, 0x0B, 0xF7);
        }
        Open();
        const std::string read = Text(row.field);
        const GenParamFacts& facts = GenParamRow(row.param);
        const double asRead = facts.get(ReadGenParam);
        auto* combo = qobject_cast<QComboBox*>(W(row.field));
        if (combo != nullptr && !combo->isEditable()) {
            Pick(row.field, row.typed);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        } else {
            TypeAndTab(row.field, row.typed);
        }
        EXPECT_NE(Focus(), row.field);
        EXPECT_EQ(Text(row.field), row.shown);
        EXPECT_EQ(Colour(row.field), row.colour);
        EXPECT_EQ(facts.get(ReadGenParam), asRead); // the read copy is not rounded
        EXPECT_EQ(OwnEnabled("cmdGenWrite_0"), !row.frames.empty());
        Click("cmdGenWrite_0");
        EXPECT_EQ(Sent(), row.frames);
        EXPECT_EQ(Text(row.field) + " " + Colour(row.field), std::string(row.shown) + " W");
        Click("cmdGenRead_0");
        Sent();
        EXPECT_EQ(Text(row.field) + " " + Colour(row.field), std::string(row.shown) + " W");
        if (row.frames.empty()) {
            EXPECT_EQ(Text(row.field), read); // the bytes read, shown as read
        }
        dialog.reset();
        MakeStoreObjects();
    }
}

// A Get that loses the variable TAT's group leaves the read copy not knowing
// what the unit holds: any valid value entered is a change to write, even the
// one an earlier Get found.
TEST_F(GenSettingsTest, AValueEnteredAfterAFailedReadIsAChange)
{
    model.versionText = "Vers4.50S";
    for (const auto& [p3, byte] : {std::pair<uint8_t, uint8_t>{0x00, 0x08}, {0x0A, 0x00}, {0x0B, 0xF7}}) {
        model.Poke(false, 0xE0, 0x00, p3, byte); // gain Low, variable TAT 10 ms
    }
    Open();
    ASSERT_EQ(Text("cboVariableTAT"), "10");
    model.Poke(false, 0xE0, 0x00, 0x0A, 0x01); // 20 ms now
    model.Poke(false, 0xE0, 0x00, 0x0B, 0xF1);
    model.knobs.ignoreFrame = Sim::FrameAddress('R', 0xE0, 0x00, 0x0A);
    boxes.Answer(MsgBoxResult::OK);
    Click("cmdGenRead_0");
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{NoReplyBox});
    EXPECT_EQ(VB::Trim(Text("cboVariableTAT")), "");
    model.knobs.ignoreFrame.clear();
    Type("cboVariableTAT", "10");
    Click("txtPulseWidth");
    EXPECT_EQ(Colour("cboVariableTAT"), "O");
    EXPECT_TRUE(OwnEnabled("cmdGenWrite_0"));
    Sent();
    Click("cmdGenWrite_0");
    EXPECT_EQ(Sent(), (std::vector<std::string>{"!W|E0|00|0A|02|00|F7", Init}));
}


// Every read colours every field afresh from the values it found, whether it
// runs on opening or from Get; until it reaches a value, the field shows it
// not read: blank on white, never an earlier value nor a change.
TEST_F(GenSettingsTest, AReadColoursEveryFieldFromWhatItFound)
{
    std::string during;
    const auto look = [&] { // at the version read, and at the first group's
        for (const char* f : {"cboGain_0", "cboGenTAT", "txtPulseWidth", "cboBlock", "txtAddress"}) {
            during += W(f)->isVisible() ? QString::fromStdString(Text(f)).trimmed().toStdString() + Colour(f) + " " : "- ";
        }
    };
    const struct {
        const char* name;
        std::function<void()> read;
    } rows[] = {
        {"opened again",
         [&] {
             Click("cmdExit_0"), Open(false), AtFrame(1, look), AtFrame(2, look);
             dialog->tmrReadParams_Timer();
         }},
        {"Get", [&] { AtFrame(1, look), AtFrame(2, look), Click("cmdGenRead_0"), Sent(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        model.versionText = "Vers4.50S"; // with an address field
        Open();
        TypeAndTab("txtPulseWidth", "7.5");
        TypeAndTab("cboBlock", "2.0");
        ASSERT_EQ(Colour("txtPulseWidth") + Colour("cboBlock"), "OO");
        during.clear();
        row.read();
        EXPECT_EQ(during, "W W W W W W W W W W ");
        EXPECT_EQ(Text("txtPulseWidth") + " " + Text("cboBlock"), "8.0 1.0");
        EXPECT_EQ(Colour("txtPulseWidth") + Colour("cboBlock"), "WW");
        EXPECT_FALSE(OwnEnabled("cmdGenWrite_0"));
        dialog.reset();
        MakeStoreObjects();
    }
}

// While Set writes, the interrogation list and the address box are locked as
// every other field is: afterwards the dialog marks as the unit's only what
// was sent.
TEST_F(GenSettingsTest, TheNavigationFieldsAreLockedWhileSetWrites)
{
    model.Poke(false, 0xE0, 0x00, 0x0A, 0x00); // power Low
    QuickSetNavigation();
    Open();
    Click("cmdAdvanced");
    Pick("cboPowerLevel_0", "High");
    ASSERT_TRUE(OwnEnabled("cmdGenWrite_0"));
    std::string during;
    AtFrame(1, [this, &during] {
        for (const char* name : {"cboOrvaneIntChan", "txtAddress"}) {
            during += std::string(name) + (OwnEnabled(name) ? " open " : " locked ");
        }
        Pick("cboOrvaneIntChan", "MF10");
    });
    Click("cmdGenWrite_0");
    EXPECT_EQ(during, "cboOrvaneIntChan locked txtAddress locked ");
    EXPECT_EQ(Sent(), (std::vector<std::string>{"!W|E0|00|0A|01|FF", Init}));
    EXPECT_EQ(Text("cboOrvaneIntChan") + " " + Colour("cboOrvaneIntChan"), "MF9 W");
    EXPECT_EQ(NavParams.OrvaneIntChan(), 10);
    EXPECT_FALSE(OwnEnabled("cmdGenWrite_0"));
    EXPECT_TRUE(OwnEnabled("cboOrvaneIntChan") && OwnEnabled("txtAddress"));
}


void ClickIn(QDialog* modal, const char* button)
{
    auto* b = modal->findChild<QPushButton*>(QString::fromLatin1(button));
    ASSERT_NE(b, nullptr) << button;
    QTest::mouseClick(b, Qt::LeftButton);
}

const ShownBox NotSupported{"The Transponder firmware does not support this function.", 64, "Not Supported"};

// A version read anywhere that finds another firmware leaves the values shown
// no longer the unit's: Set goes off and nothing is built from them, the lists
// follow the firmware now known, and the fields show nothing read until Get.
TEST_F(GenSettingsTest, AnotherFirmwareFoundElsewhereUnreadsTheValues)
{
    RegisterGenParamsDialogs();
    const struct {
        const char* name;
        const char* version;
        bool quickSet;
        std::function<void()> act;
        std::vector<std::string> frames;
        std::vector<ShownBox> boxes;
    } rows[] = {
        {"the multi-TAT dialog's Get", "TestMode ", false,
         [this] {
             Pick("cboGain_0", "Low");
             ASSERT_TRUE(OwnEnabled("cmdGenWrite_0"));
             InModal([this](QDialog* multi) {
                 model.versionText = "Vers4.50S";
                 boxes.Answer(MsgBoxResult::OK);
                 ClickIn(multi, "cmdTATRead");
                 ClickIn(multi, "cmdExit");
             });
             Click("cmdMultiTATs");
             Click("cmdGenWrite_0");
         },
         {V9},
         {NotSupported}},
        // The navigation write reads the navigation back, and the version first.
        {"the read-back of the navigation write", "Vers2.05F", true,
         [this] {
             owner.onSetNavParams = [this] {
                 model.versionText = "Vers4.50S";
                 FirmwareWindow mainWindow;
                 FirmwareReader::GetFirmware(FirmwarePolicies::frmMain, mainWindow);
                 return true;
             };
             Click("cmdQuick_5");
             Click("cmdGenWrite_1");
         },
         {V9},
         {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        model = Sim::TransponderModel();
        model.versionText = row.version;
        model.Poke(false, 0xE0, 0x00, 0x0A, 0x00); // power Low, test mode's variable TAT 10 ms
        model.Poke(false, 0xE0, 0x00, 0x0B, 0xF7);
        if (row.quickSet) {
            QuickSetNavigation();
        }
        boxes.Clear();
        Open();
        ASSERT_EQ(W<QComboBox>("cboGain_0")->count(), 2);
        row.act();
        EXPECT_EQ(Sent(), row.frames);
        EXPECT_EQ(boxes.Boxes(), row.boxes);
        EXPECT_FALSE(OwnEnabled("cmdGenWrite_0") || OwnEnabled("cmdGenWrite_1"));
        EXPECT_EQ(W<QComboBox>("cboGain_0")->count(), 4);
        EXPECT_EQ(W<QComboBox>("cboGain_1")->count(), 4);
        std::string shown;
        for (const char* field : {"cboGain_0", "cboGenTAT", "txtPulseWidth", "cboBlock", "txtRelayOnTime"}) {
            shown += VB::Trim(Text(field)) + "|" + Colour(field) + (OwnEnabled(field) ? " " : "- ");
        }
        EXPECT_EQ(shown, "|W- |W- |W- |W- |W- ");
        Click(row.quickSet ? "cmdGenRead_1" : "cmdGenRead_0");
        EXPECT_EQ(Sent(), (std::vector<std::string>{V9, G0, G1, G2, G3, G4, G6At0A, Init}));
        EXPECT_EQ(Text("cboGenTAT") + " " + Text("txtPulseWidth"), "500.0 8.0");
        dialog.reset();
        MakeStoreObjects();
        NavParams.NavScheme(0);
        ReadNavScheme = 0;
    }
}

// The quick-set panel shows the navigation the main window read. When the
// dialog's own read finds another unit, that navigation is not this unit's:
// the main window reads it again, and one that finds none shows as not read,
// with Set off whatever preset is picked.
TEST_F(GenSettingsTest, AnotherUnitFoundByTheReadLeavesTheNavigationNotRead)
{
    FirmwareWindow mainWindow;
    FirmwareReader::GetFirmware(FirmwarePolicies::frmMain, mainWindow); // unit A, Vers2.05F
    QuickSetNavigation();
    model.versionText = "Vers1.20F";
    owner.onGetNavParams = [] { NavParams.NavScheme(0); };
    Open();
    EXPECT_EQ(owner.getNavParamsCalls, 1);
    EXPECT_EQ(Text("cboOrvaneIntChan") + "|" + Text("txtAddress") + "|" + Text("lblQuickData_1"), "||");
    EXPECT_EQ(Colour("cboOrvaneIntChan") + Colour("txtAddress"), "WW");
    EXPECT_EQ(W("cmdQuick_3")->font().pointSize(), 20); // unit A's preset is not shown as this unit's
    EXPECT_FALSE(OwnEnabled("cmdGenWrite_1"));
    Click("cmdQuick_5");
    EXPECT_FALSE(OwnEnabled("cmdGenWrite_1"));
    Click("cmdGenWrite_1");
    EXPECT_EQ(owner.setNavParamsCalls, 0);
    EXPECT_EQ(Sent(), std::vector<std::string>{});
    EXPECT_TRUE(boxes.Boxes().empty());
}

// The multi-TAT table is shown again on the next opening, as read and edited,
// only while no read has found another firmware since it was read.
TEST_F(GenSettingsTest, AnotherFirmwareFoundElsewhereUnreadsTheMultiTatTable)
{
    RegisterGenParamsDialogs();
    model.versionText = "Vers2.05D";
    Open();
    InModal([this](QDialog* multi) {
        ClickIn(multi, "cmdTATRead");
        QComboBox* entry = multi->findChild<QComboBox*>(QStringLiteral("cboTAT_3"));
        QTest::mouseClick(entry->lineEdit(), Qt::LeftButton);
        entry->lineEdit()->selectAll();
        QTest::keyClicks(entry->lineEdit(), QStringLiteral("300"));
        QTest::keyClick(entry->lineEdit(), Qt::Key_Tab);
        EXPECT_TRUE(multi->findChild<QPushButton*>(QStringLiteral("cmdTATWrite"))->isEnabled());
        ClickIn(multi, "cmdExit");
    });
    Click("cmdMultiTATs");
    model.versionText = "TestMode ";
    Click("cmdGenRead_0");
    Sent();
    std::string shown;
    InModal([&shown](QDialog* multi) {
        shown = multi->findChild<QComboBox*>(QStringLiteral("cboTAT_3"))->currentText().toStdString();
        shown += multi->findChild<QComboBox*>(QStringLiteral("cboTAT_3"))->isEnabled() ? " on" : " off";
        shown += multi->findChild<QPushButton*>(QStringLiteral("cmdTATWrite"))->isEnabled() ? " Set" : "";
        ClickIn(multi, "cmdTATWrite");
        ClickIn(multi, "cmdExit");
    });
    Click("cmdMultiTATs");
    EXPECT_EQ(shown, "  off");
    EXPECT_EQ(Sent(), std::vector<std::string>{});
}

} // namespace
