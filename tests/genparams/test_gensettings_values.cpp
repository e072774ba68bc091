// What the general parameters dialog holds, driven as a user: the values read
// stay what the unit holds, a value counts as unchanged only when it would
// travel as the bytes read, and values read under another firmware are no
// longer the unit's.
#include "gensettings_fixture.h"

#include "firmwarereader.h"
#include "frmDialogsGenParams.h"
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
// runs on opening or from Get.
TEST_F(GenSettingsTest, AReadColoursEveryFieldFromWhatItFound)
{
    const struct {
        const char* name;
        std::function<void()> read;
    } rows[] = {
        {"opened again", [this] { Click("cmdExit_0"), Open(); }},
        {"Get", [this] { Click("cmdGenRead_0"), Sent(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Open();
        TypeAndTab("txtPulseWidth", "7.5");
        TypeAndTab("cboBlock", "2.0");
        ASSERT_EQ(Colour("txtPulseWidth") + Colour("cboBlock"), "OO");
        row.read();
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
// it shows as not read and Set stays off, whatever preset is picked.
TEST_F(GenSettingsTest, AnotherUnitFoundByTheReadLeavesTheNavigationNotRead)
{
    FirmwareWindow mainWindow;
    FirmwareReader::GetFirmware(FirmwarePolicies::frmMain, mainWindow); // unit A, Vers2.05F
    QuickSetNavigation();
    model.versionText = "Vers1.20F";
    Open();
    EXPECT_EQ(Text("cboOrvaneIntChan") + "|" + Text("txtAddress") + "|" + Text("lblQuickData_1"), "||");
    EXPECT_EQ(Colour("cboOrvaneIntChan") + Colour("txtAddress"), "WW");
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
