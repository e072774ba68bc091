// The real main window over a real pseudo-terminal against the simulated
// transponder: each scenario clicks the window's buttons and checks every frame
// the transponder received, the status labels, the navigation panel and every
// box the engineer saw. The real clock runs; only the time-out rows wait long (1 s).
#include "e2e_fixture.h"
#include "forms.h"
#include "frmDepth.h"
#include "frmMain.h"
#include "scripted_dialogs.h"
#include "store.h"
#include "transponder_memory.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace ::Frames;
using Frames = std::vector<std::string>;
using namespace Memory;

Frames operator+(Frames a, const Frames& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Parameter blocks: interrogation channel (table A row), reply channel and its
// companion (table B rows), tone groups blank; and one with Spanwave reply codes.
const std::string TONE_5_7 = "00 64 00 77 00 09 7B 3E FF FF FF FF 00 09 C0 A9 FF FF FF FF";
const std::string TONE_5_9 = "00 64 00 77 00 0B 40 A6 FF FF FF FF 00 0B C5 15 FF FF FF FF";
const std::string TONE_3_7 = "00 64 00 7F 00 09 7B 3E FF FF FF FF 00 09 C0 A9 FF FF FF FF";
const std::string SPANWAVE_3 = "00 64 00 7F 00 0D B8 BB 19 50 68 AA 00 0B 0F 28 D6 DD BC 8E";
// The block the window writes for interrogation MF2 and address 05 channel 03.
const std::string SPANWAVE_3_0503 = "00 64 00 7F 00 0D 4F DF 77 F1 44 52 00 0D 1B 71 CD 75 F7 B0";

// A D-family version is read twice (its first answer says "read again").
const Frames GetD = Frames{V9, V10, Init} + NavS + Frames{Init};

struct Box {
    ShownBox box;
    int answer;
};
const std::string CRLF = "\r\n";
const ShownBox NotSupported{"The Transponder firmware does not support this function.", 64, "Not Supported"};
const ShownBox M0{"Invalid Firmware Version returned", 48, "Invalid Firmware Version"};
const ShownBox M2{"The returned Channel Number is invalid", 48, "Invalid Channel"};
const ShownBox M3{"The returned Depth parameter is invalid", 48, "Invalid Depth On/Off Parameter"};
const ShownBox M8{"Please ensure that the Address is valid before proceeding", 48, "Invalid Address"};
const ShownBox M9{"Please ensure that the HPR Channel is valid before proceeding", 48, "Invalid HPR Channel"};
const ShownBox M11{"Please ensure that the all Channels are valid before proceeding", 48, "Invalid Channel"};
const ShownBox M14{"No parameters were changed since the last Read," + CRLF +
                       "so the Set operation did not take place",
                   48, "Nothing Written"};
const ShownBox M20{"The Transponder reply to a Spanwave Parameter Write was invalid", 48,
                   "Invalid Spanwave Parameter Write"};
const ShownBox M23{"The Transponder reply to a" + CRLF + "Tx Synthesiser Firmware Version Read" + CRLF +
                       "was invalid or unrecognised.",
                   48, "Invalid Tx Synthesiser Firmware Version"};
const ShownBox M24{"PC Software is about set Spanwave Type to a value other than IRS." + CRLF + CRLF +
                       "Would you like to set Spanwave Type to IRS?" + CRLF + CRLF + "(Suggested Response: Yes)",
                   36, "Spanwave Type NOT IRS"};
const ShownBox M25{"The Beacon Firmware does not support any parameters about to be Set," + CRLF +
                       "so the Set operation did not take place",
                   48, "Not supported"};
const ShownBox M26{"It is illegal to set the Interrogation and Reply to the same channel", 48,
                   "Interrogation and Reply Channels are the same"};
const ShownBox M27{"Would you like to write HPR Channel 1 to the Transponder?   " + CRLF + CRLF +
                       "(Suggested Response: Yes)",
                   36, "Write HPR Channel"};
const ShownBox M28{"Now Read the Channel", 64, "Read the Channel"};
const ShownBox AddressNote{"NOTE: Address Codes greater than 15XX are only compatable with\n"
                           "      command units that have Spanwave capability; in which case\n"
                           "      an address of 33xx to 47xx is recomended.",
                           49, "Transponder Address"};
constexpr int Ok = 1, Cancel = 2, Yes = 6, No = 7;

// Firmware, Tx firmware, type number, serial number, depth, voltage: text/colour
// (W white, R red, M magenta).
const char* const LABELS_F = "V2.05F/W|Tx V2.10F/W|5021/W|004217/W|ON/W|17.3 Volts/W";

class E2ETest;
using Model = Sim::TransponderModel;

// Transponders: versions and memory as the scenarios need them.
// HPR channel 11, address 05 channel 03 (band 2, IRS); the block of a new unit.
void Hpr(Model& m) { SetCodeword(m, 0x2053); }
void Tone(Model& m)
{
    Hpr(m);
    SetChannel(m, 0x10);
    ParamBlockText(m, TONE_5_7);
}
void Spanwave(Model& m)
{
    Hpr(m);
    SetChannel(m, 0x10);
    ParamBlockText(m, SPANWAVE_3);
}
void Version(Model& m, const char* v) { m.versionText = v; }
// D family: programmed channel 1, endcap channel 2 (its channels are 1 to 3).
void DFamily(Model& m)
{
    Version(m, "Vers1.11S ");
    SetChannel(m, 0x01);
    m.portBytes = std::string("\0\0\x02", 3);
}

// A dialog that runs an action in place of its modal loop.
class ActionDialog : public QDialog {
public:
    ActionDialog(QWidget* owner, std::function<void()> action) : QDialog(owner), action_(std::move(action)) {}
    int exec() override
    {
        action_();
        return QDialog::Accepted;
    }

private:
    std::function<void()> action_;
};

struct Scenario {
    const char* name;
    std::function<void(Model&)> setup;
    std::function<void(E2ETest&)> before; // clicks and edits whose frames are not checked
    const char* click;                    // the button whose exchanges are checked
    Frames frames;
    std::vector<Box> boxes; // every box of the scenario, in order, with its answer
    const char* labels;
    const char* panel; // visible scheme frame and its values
};
void PrintTo(const Scenario& sc, std::ostream* os) { *os << sc.name; }

class E2ETest : public ::testing::TestWithParam<Scenario>, public PtyMainWindow {
protected:
    void SetUp() override { Start(); }
    void TearDown() override
    {
        Forms::RegisterDialog("frmGenSettings", [](QWidget*) { return std::unique_ptr<QDialog>(); });
        Finish();
    }

public:
    // A mouse click: the focus moves to the button first, as under a user's hand.
    void Click(const char* button) { QTest::mouseClick(win->findChild<QPushButton*>(button), Qt::LeftButton); }
    // A click on the option's button, not beside its caption.
    static void ClickOption(QRadioButton* option)
    {
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    }
    // Chooses an item and moves the focus on, as a user leaving the list.
    void Pick(QComboBox* combo, const QString& item)
    {
        const int index = combo->findText(item);
        ASSERT_GE(index, 0) << item.toStdString();
        combo->setFocus();
        combo->setCurrentIndex(index);
        win->cmdExit->setFocus();
    }
    void TypeAddress(int scheme, const char* text)
    {
        QLineEdit* field = win->txtAddress[static_cast<size_t>(scheme)];
        field->setFocus();
        field->clear();
        QTest::keyClicks(field, text);
        win->cmdExit->setFocus();
    }
    frmMain& Win() { return *win; }

    std::string Labels() const
    {
        std::string text;
        for (const QLabel* l : {win->lblFirmware, win->lblTxFirmware, win->lblTypeNumber, win->lblSerialNumber,
                                win->lblDepthOnOff, win->lblVoltage}) {
            const uint32_t c = Forms::BackColor(l);
            text += (text.empty() ? "" : "|") + Forms::S(l->text()) + "/" +
                    (c == Forms::vbWhite ? "W" : c == Forms::vbRed ? "R" : c == Forms::vbMagenta ? "M" : "?");
        }
        return text;
    }
    std::string Panel() const
    {
        int s = -1;
        for (int i = 0; i <= 4; ++i) {
            if (!win->fraNavScheme[static_cast<size_t>(i)]->isHidden()) {
                s = i;
            }
        }
        const auto t = [](const QString& q) { return Forms::S(q); };
        switch (s) {
        case 1:
            return "1 " + t(win->cboProgrammedChan->currentText()) + "/" + t(win->cboDualModeChan->currentText()) +
                   "/" + t(win->lblEndcap->text());
        case 2:
            return "2 " + t(win->cboHPRChan->currentText()) + " " + t(win->txtAddress[2]->text());
        case 3:
            return "3 " + t(win->cboOrvaneIntChan[3]->currentText()) + "/" + t(win->cboOrvaneReplyChan->currentText()) +
                   " " + t(win->txtAddress[3]->text());
        case 4:
            return "4 " + t(win->lblInterrogate[4]->text()) + " " + t(win->lblAddr->text());
        default:
            return std::to_string(s);
        }
    }

};

TEST_P(E2ETest, Scenario)
{
    const Scenario& sc = GetParam();
    WithModel([&](Model& m) {
        if (sc.setup) {
            sc.setup(m);
        }
    });
    for (const Box& b : sc.boxes) {
        boxes.Answer(b.answer);
    }
    Load();
    if (sc.before) {
        sc.before(*this);
    }
    Take();
    Click(sc.click);
    EXPECT_EQ(Take(), sc.frames);
    std::vector<ShownBox> expected;
    for (const Box& b : sc.boxes) {
        expected.push_back(b.box);
    }
    EXPECT_EQ(boxes.Boxes(), expected);
    EXPECT_EQ(Labels(), sc.labels);
    EXPECT_EQ(Panel(), sc.panel);
}

void Status(E2ETest& t) { t.Click("cmdStatus"); }
// Get Status, then an edit of the panel.
std::function<void(E2ETest&)> Then(std::function<void(E2ETest&, frmMain&)> edit)
{
    return [edit](E2ETest& t) {
        t.Click("cmdStatus");
        edit(t, t.Win());
    };
}

// The general parameters dialog as far as a quick-set needs it: it hands over
// its command address and interrogation channel and writes them through the
// main window.
void QuickSetDialog(E2ETest&)
{
    Forms::RegisterDialog("frmGenSettings", [](QWidget* owner) {
        return std::make_unique<ActionDialog>(owner, [] {
            NavParams.CmdAddressString("0503");
            NavParams.OrvaneIntChan(3);
            frmMain::Default()->SetNavParams();
        });
    });
}

const Scenario Scenarios[] = {
    // ---- Get Status, by firmware family and navigation scheme
    {"SFamilyChannelSelect", [](Model& m) { Version(m, "Vers3.05S"); }, {}, "cmdStatus",
     Frames{V9, Depth, Init, Volt, Init} + NavS + Frames{Init}, {},
     "V3.05S/W|Unknown/M|N/A/W|N/A/W|ON/W|17.3 Volts/W", "1 B11 (Square)/Not Set/B05"},
    {"FFamilyHpr", Hpr, {}, "cmdStatus", StatusF + NavF + Frames{Init}, {}, LABELS_F, "2 B11 (Square) 0503"},
    {"FFamilyOrvaneTone", Tone, {}, "cmdStatus", StatusF + NavF + Frames{Init}, {}, LABELS_F, "3 MF4/MF7 0503"},
    {"FFamilySpanwave", Spanwave, {}, "cmdStatus", StatusF + NavF + Frames{Init}, {}, LABELS_F, "4 MF2 0503"},
    {"PendingVersionReadAgain", [](Model& m) { Version(m, "Vers1.11Ss"); }, {}, "cmdStatus",
     Frames{V9, V10, Volt, Init} + NavS + Frames{Init}, {},
     "V1.11S/W|Unknown/M|N/A/W|N/A/W|Unknown/M|17.3 Volts/W", "1 B11 (Square)/Not Set/B05"},
    {"TestMode", [](Model& m) { Version(m, "TestMode "); }, {}, "cmdStatus",
     Frames{V9, Tx, Init, Depth, Init, Volt, Init} + NavS + Frames{Init}, {},
     "Test Mode/W|Tx V2.10F/W|N/A/W|N/A/W|ON/W|17.3 Volts/W", "0"},
    {"UnrecognisedVersion", [](Model& m) { Version(m, "Vers7.77X"); }, {}, "cmdStatus", {V9}, {{M0, Ok}},
     "Unrecognised/R|Unknown/M|Unknown/M|Unknown/M|Unknown/M|Unknown/M", "0"},
    {"OldFirmwareWithoutVoltageOrChannelWrites", [](Model& m) { Version(m, "Vers_1.04"); }, {}, "cmdStatus",
     {V9, Ports, Init}, {{NotSupported, Ok}, {NotSupported, Ok}, {NotSupported, Ok}},
     "V1.04/W|Unknown/M|N/A/W|N/A/W|Unknown/M|Invalid/R", "1 //B05"},
    {"TxFirmwareUnrecognisedPassGoesOn", [](Model& m) { Hpr(m); m.txVersionText = "TxV9.99F"; }, {}, "cmdStatus",
     StatusF + NavF + Frames{Init}, {{M23, Ok}},
     "V2.05F/W|Unrecognised/R|5021/W|004217/W|ON/W|17.3 Volts/W", "2 B11 (Square) 0503"},
    {"DepthByteFFNotFitted", [](Model& m) { Hpr(m); SetDepthByte(m, 0xFF); }, {}, "cmdStatus",
     StatusF + NavF + Frames{Init}, {}, "V2.05F/W|Tx V2.10F/W|5021/W|004217/W|Not fitted/W|17.3 Volts/W",
     "2 B11 (Square) 0503"},
    {"DepthStatusOnShownOff", [](Model& m) { Hpr(m); SetDepthByte(m, 0x02); }, {}, "cmdStatus",
     StatusF + NavF + Frames{Init}, {}, "V2.05F/W|Tx V2.10F/W|5021/W|004217/W|OFF/W|17.3 Volts/W",
     "2 B11 (Square) 0503"},
    {"DepthByteInvalidEndsPass", [](Model& m) { Hpr(m); SetDepthByte(m, 0x05); }, {}, "cmdStatus",
     {V9, Tx, Init, Type, Init, Serial, Depth, Init}, {{M3, Ok}},
     "V2.05F/W|Tx V2.10F/W|5021/W|004217/W|Not fitted/R|N/A/W", "0"},
    // ---- A transponder that falls silent: the pass ends at the first time-out
    {"TypeNumberTimesOut", [](Model& m) { Hpr(m); m.knobs.answerFrames = 3; }, {}, "cmdStatus",
     {V9, Tx, Init, Type}, {{NoReplyBox, Ok}}, "V2.05F/W|Tx V2.10F/W|Unknown/R|Unknown/M|Unknown/M|N/A/W", "0"},
    {"SilentDuringNavigationRead", [](Model& m) { Hpr(m); m.knobs.answerFrames = 13; }, {}, "cmdStatus",
     StatusF + Frames{Codeword, Params}, {{NoReplyBox, Ok}}, LABELS_F, "0"},
    // ---- No usable channel: the offer to write HPR channel 1
    {"HprChannelOfferYes", [](Model& m) { Hpr(m); SetChannel(m, 0x19); }, {}, "cmdStatus",
     StatusF + NavF + Frames{WriteRS232("01")}, {{M2, Ok}, {M27, Yes}, {M28, Ok}}, LABELS_F, "0"},
    {"HprChannelOfferNo", [](Model& m) { Hpr(m); SetChannel(m, 0x19); }, {}, "cmdStatus", StatusF + NavF,
     {{M2, Ok}, {M27, No}}, LABELS_F, "0"},
    // ---- Get Voltage
    {"VoltageBatteryType3", Hpr,
     [](E2ETest& t) {
         Status(t);
         t.WithModel([](Model& m) { SetBatteryType(m, 3); });
     },
     "cmdVoltage", {V9, BattType, Init, Volt, Init}, {}, "V2.05F/W|Tx V2.10F/W|5021/W|004217/W|ON/W|25.9 Volts/W",
     "2 B11 (Square) 0503"},
    {"VoltageUnknownBatteryType", Hpr,
     [](E2ETest& t) {
         Status(t);
         t.WithModel([](Model& m) { SetBatteryType(m, 7); });
     },
     "cmdVoltage", {V9, BattType, Init, Volt, Init}, {}, "V2.05F/W|Tx V2.10F/W|5021/W|004217/W|ON/W|Invalid/R",
     "2 B11 (Square) 0503"},
    // ---- Set after each kind of edit
    {"SetNothingChanged", Hpr, Status, "cmdSet", GetF, {{M14, Ok}}, LABELS_F, "2 B11 (Square) 0503"},
    {"SetHprChannel", Hpr, Then([](E2ETest& t, frmMain& w) { t.Pick(w.cboHPRChan, "B22 (Circle)"); }), "cmdSet",
     Frames{WriteRS232("22"), WriteAddress("05"), WriteChanCode("03"), Init} + GetF, {}, LABELS_F, "2 B22 (Circle) 0503"},
    {"SetAddress", Hpr, Then([](E2ETest& t, frmMain&) { t.TypeAddress(2, "0507"); }), "cmdSet",
     Frames{WriteCodeword("20 57"), WriteAddress("05"), WriteChanCode("07"), Init} + GetF, {}, LABELS_F, "2 B11 (Square) 0507"},
    {"SetInvalidAddressRefused", Hpr, Then([](E2ETest& t, frmMain&) { t.TypeAddress(2, "1600"); }), "cmdSet", GetF,
     {{M8, Ok}}, LABELS_F, "2 B11 (Square) 0503"},
    {"SetSchemeHprToTone", Hpr,
     Then([](E2ETest& t, frmMain& w) {
         E2ETest::ClickOption(w.optChanScheme[1]);
         t.Pick(w.cboOrvaneIntChan[3], "MF4");
         t.Pick(w.cboOrvaneReplyChan, "MF7");
     }),
     "cmdSet",
     Frames{WriteRS232("10"), WriteCodeword("20 53"), WriteParams(TONE_5_7), WriteAddress("05"), WriteChanCode("03"), WritePulse("64"), Init} + GetF, {},
     LABELS_F, "3 MF4/MF7 0503"},
    {"SetRefusedInTheMiddleOfTheChain", [](Model& m) { Hpr(m); m.knobs.acceptWrites = 2; },
     Then([](E2ETest& t, frmMain& w) {
         E2ETest::ClickOption(w.optChanScheme[1]);
         t.Pick(w.cboOrvaneIntChan[3], "MF4");
         t.Pick(w.cboOrvaneReplyChan, "MF7");
     }),
     "cmdSet", Frames{WriteRS232("10"), WriteCodeword("20 53"), WriteParams(TONE_5_7)} + GetF, {{M20, Ok}}, LABELS_F, "4  0503"},
    {"SetReplyChannelOnly", Tone, Then([](E2ETest& t, frmMain& w) { t.Pick(w.cboOrvaneReplyChan, "MF9"); }),
     "cmdSet", Frames{WriteParams(TONE_5_9), Init} + GetF, {}, LABELS_F, "3 MF4/MF9 0503"},
    {"SetSameChannelsRefused", Tone, Then([](E2ETest& t, frmMain& w) { t.Pick(w.cboOrvaneReplyChan, "MF4"); }),
     "cmdSet", GetF, {{M26, Ok}}, LABELS_F, "3 MF4/MF7 0503"},
    {"SetReplyTypeSpanwaveToTone", Spanwave,
     Then([](E2ETest& t, frmMain& w) {
         E2ETest::ClickOption(w.optReplyType[1]);
         t.Pick(w.cboOrvaneReplyChan, "MF7");
     }),
     "cmdSet",
     Frames{WriteRS232("10"), WriteCodeword("20 53"), WriteParams(TONE_3_7), WriteAddress("05"), WriteChanCode("03"), WritePulse("64"), Init} + GetF, {},
     LABELS_F, "3 MF2/MF7 0503"},
    {"SetUnavailableAfterReplyTypeSpanwave", Tone,
     Then([](E2ETest&, frmMain& w) { E2ETest::ClickOption(w.optReplyType[2]); }), "cmdSet", {}, {}, LABELS_F,
     "4 MF4 0503"},
    {"SetAddressNoteCancel", [](Model& m) { Tone(m); SetCodeword(m, 0x2215); }, Status, "cmdSet", {},
     {{AddressNote, Cancel}}, LABELS_F, "3 MF4/MF7 3305"},
    {"SetAddressNoteOK", [](Model& m) { Tone(m); SetCodeword(m, 0x2215); }, Status, "cmdSet", GetF,
     {{AddressNote, Ok}, {M14, Ok}}, LABELS_F, "3 MF4/MF7 3305"},
    {"SetTypeNotIrsKept", [](Model& m) { SetCodeword(m, 0x2850); }, Status, "cmdSet", GetF,
     {{M24, No}, {M14, Ok}}, LABELS_F, "2 B11 (Square) 0500"},
    {"SetTypeMadeIrsAddressInvalid", [](Model& m) { SetCodeword(m, 0x2850); }, Status, "cmdSet", GetF,
     {{M24, Yes}, {M8, Ok}}, LABELS_F, "2 B11 (Square) 0500"},
    {"SetTypeMadeIrsWritesChain", [](Model& m) { SetCodeword(m, 0x2850); },
     Then([](E2ETest& t, frmMain&) { t.TypeAddress(2, "0501"); }), "cmdSet",
     Frames{WriteRS232("11"), WriteCodeword("20 51"), WriteAddress("05"), WriteChanCode("01"), Init} + GetF, {{M24, Yes}}, LABELS_F,
     "2 B11 (Square) 0501"},
    {"SetChannelsOlderFirmware", [](Model& m) { Version(m, "Vers3.05S"); },
     Then([](E2ETest&, frmMain& w) {
         w.cboProgrammedChan->setCurrentIndex(w.cboProgrammedChan->findText("B22 (Circle)"));
         w.cboDualModeChan->setCurrentIndex(w.cboDualModeChan->findText("B33 (Delta)"));
     }),
     "cmdSet", Frames{WriteRS232("22"), WriteDual("33"), Init} + GetS, {},
     "V3.05S/W|Unknown/M|N/A/W|N/A/W|ON/W|17.3 Volts/W", "1 B22 (Circle)/B33 (Delta)/B05"},
    // ---- The quick-set writes the whole Spanwave chain, whatever the scheme read
    {"QuickSetFromHprWithTypeNotIrs", [](Model& m) { SetCodeword(m, 0x2850); },
     [](E2ETest& t) {
         Status(t);
         QuickSetDialog(t);
     },
     "cmdQuickSet",
     Frames{WriteRS232("10"), WriteCodeword("20 53"), WriteParams(SPANWAVE_3_0503), WriteAddress("05"), WriteChanCode("03"), WritePulse("C8"), Init} + GetF +
         GetF,
     {{M24, Yes}}, LABELS_F, "4 MF2 0503"},
    {"QuickSetFromTone", Tone,
     [](E2ETest& t) {
         Status(t);
         QuickSetDialog(t);
     },
     "cmdQuickSet",
     Frames{WriteRS232("10"), WriteCodeword("20 53"), WriteParams(SPANWAVE_3_0503), WriteAddress("05"), WriteChanCode("03"), WritePulse("C8"), Init} + GetF +
         GetF,
     {}, LABELS_F, "4 MF2 0503"},
    // ---- Channels that the next read would call invalid are not written
    {"SetHprChannel00Refused", Hpr,
     Then([](E2ETest&, frmMain& w) {
         QTest::mouseClick(w.txtAddress[2], Qt::LeftButton);
         QTest::keyClick(w.txtAddress[2], Qt::Key_Backtab); // up to the channel list
         QTest::keyClick(w.cboHPRChan, Qt::Key_Home);        // "00"
     }),
     "cmdSet", GetF, {{M9, Ok}}, LABELS_F, "2 B11 (Square) 0503"},
    {"SetDFamilyProgrammedChannelAbove3Refused", DFamily,
     [](E2ETest& t) {
         frmMain& w = t.Win();
         t.Click("cmdStatus");
         QTest::mouseClick(w.cmdStatus, Qt::LeftButton); // again, for the focus it leaves on the button
         for (int i = 0; i < 3 && QApplication::focusWidget() != w.cboProgrammedChan; ++i) {
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // on to the programmed channel list
         }
         ASSERT_EQ(QApplication::focusWidget(), w.cboProgrammedChan);
         QTest::keyClick(w.cboProgrammedChan, Qt::Key_End);
     },
     "cmdSet", GetD, {{NotSupported, Ok}, {NotSupported, Ok}, {M11, Ok}},
     "V1.11D/W|Unknown/M|N/A/W|N/A/W|Unknown/M|Invalid/R", "1 B01/Not Set/B02"},
    {"TestModeAfterAnOlderUnitWritesNothing", [](Model& m) { Version(m, "Vers3.05S"); },
     [](E2ETest& t) {
         Status(t);
         t.WithModel([](Model& m) { Version(m, "TestMode "); });
         t.Click("cmdVoltage");
     },
     "cmdSet", {}, {}, "Test Mode/W|Unknown/M|Unknown/M|Unknown/M|Not read/R|17.3 Volts/W", "0"},
    // Another unit's firmware found by Get Voltage: the values read from the
    // unit before are neither shown nor written.
    {"SetOffAfterAnotherUnitsVoltageRead", Tone,
     [](E2ETest& t) {
         Status(t);
         t.WithModel([](Model& m) {
             Version(m, "Vers1.20F");
             SetCodeword(m, 0x2E0E);
         });
         t.Click("cmdVoltage");
     },
     "cmdSet", {}, {}, "V1.20F/W|Unknown/M|Unknown/M|Unknown/M|Not read/R|17.3 Volts/W", "0"},
    {"SetNotSupportedOlderFirmware", [](Model& m) { Version(m, "Vers_1.04"); }, Status, "cmdSet",
     {V9, Init, Ports, Init},
     {{NotSupported, Ok}, {NotSupported, Ok}, {NotSupported, Ok}, {M25, Ok}, {NotSupported, Ok}, {NotSupported, Ok}},
     "V1.04/W|Unknown/M|N/A/W|N/A/W|Unknown/M|Invalid/R", "1 //B05"},
};

// With no delay between commands the next exchange empties the port's buffers
// right after an initialise command, which gets no reply: it must still reach
// the transponder whole, or the transponder loses step.
using ZeroDelayTest = E2ETest;

TEST_F(ZeroDelayTest, InitialiseCommandsArriveWhole)
{
    WithModel(Hpr);
    Load();
    for (int pass = 0; pass < 3; ++pass) {
        Click("cmdStatus");
        EXPECT_EQ(Take(), StatusF + NavF + Frames{Init}) << pass;
    }
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{});
}

// The depth dialog on a unit that reads ON and then falls silent: its Get
// fails, and neither the dialog nor the main window shows ON as the unit's state.
class DepthDialogE2E : public E2ETest {
protected:
    void SetUp() override
    {
        E2ETest::SetUp();
        Forms::RegisterDialog("frmDepth", [](QWidget* owner) { return std::make_unique<frmDepth>(owner); });
    }
    void TearDown() override
    {
        Forms::RegisterDialog("frmDepth", [](QWidget*) { return std::unique_ptr<QDialog>(); });
        E2ETest::TearDown();
    }
};

TEST_F(DepthDialogE2E, FailedGetLeavesTheStateNotRead)
{
    WithModel(Hpr);
    Load();
    Click("cmdStatus");
    Take();
    ASSERT_EQ(Labels(), LABELS_F);

    std::string shown;
    auto* poll = new QTimer(win.get());
    poll->setInterval(1);
    QObject::connect(poll, &QTimer::timeout, win.get(), [this, poll, &shown] {
        auto* dialog = qobject_cast<frmDepth*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        WithModel([](Model& m) { m.knobs.noReply = true; });
        boxes.Answer(Ok);
        QTest::mouseClick(dialog->cmdGet, Qt::LeftButton);
        shown = Forms::S(dialog->lblDepthOnOff->text());
        QTest::mouseClick(dialog->cmdExit, Qt::LeftButton);
    });
    poll->start();
    Click("cmdDepth");
    EXPECT_EQ(shown, "Not read");
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{NoReplyBox});
    EXPECT_EQ(Labels(), "V2.05F/W|Tx V2.10F/W|5021/W|004217/W|Not read/R|17.3 Volts/W");
    WithModel([](Model& m) { m.knobs.noReply = false; });
    EXPECT_EQ(Take(), Frames{Depth});
}

INSTANTIATE_TEST_SUITE_P(MainWindow, E2ETest, ::testing::ValuesIn(Scenarios),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

} // namespace
