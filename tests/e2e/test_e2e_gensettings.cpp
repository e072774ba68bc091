// The general parameters dialog end to end: the real main window opens the
// real dialog over a real pseudo-terminal against the simulated transponder.
// Each scenario checks every frame the transponder received (the dialog's own
// read, its writes, the main window's read after it closes), every box, and
// what the transponder holds afterwards. The real clock runs.
#include "e2e_fixture.h"
#include "frames.h"
#include "forms.h"
#include "frmDialogsGenParams.h"
#include "frmGenSettings.h"
#include "store.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using FrameList = std::vector<std::string>;
using Model = Sim::TransponderModel;
using Frames::Init;
using Frames::Text;
using Frames::V10;
using Frames::V9;

FrameList operator+(FrameList a, const FrameList& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The general block's read groups 0 to 6 (group 6 at 0A or 0B).
const std::string G0 = Text("!R", "E0 00 00 01", 1), G1 = Text("!R", "E0 00 01 01", 1),
                  G2 = Text("!R", "E0 00 02 06", 6), G3 = Text("!R", "E0 00 08 01", 1),
                  G4 = Text("!R", "E0 00 09 01", 1), G5 = Text("!R", "E0 00 0A 01", 1),
                  G6A = Text("!R", "E0 00 0A 02", 2);
// One general parameter written at offset `p3`.
std::string W(const char* p3, const std::string& data)
{
    const size_t n = (data.size() + 1) / 3;
    return Text("!W", std::string("E0 00 ") + p3 + " 0" + std::to_string(n) + " " + data);
}

const ShownBox NoReply{"No reply from Transponder.", 48, "Communication Error"};
const ShownBox GoOn{"Do you wish to continue writing?", 4 + 32 + 256, "General Parameters"};
const ShownBox NotWritten{"Parameter may not have been written.", 48, "General Write"};
const std::string CRLF = "\r\n";
const ShownBox M24{"PC Software is about set Spanwave Type to a value other than IRS." + CRLF + CRLF +
                       "Would you like to set Spanwave Type to IRS?" + CRLF + CRLF + "(Suggested Response: Yes)",
                   36, "Spanwave Type NOT IRS"};
constexpr int Ok = 1, Yes = 6, No = 7;

void Poke(Model& m, uint8_t p3, std::initializer_list<uint8_t> bytes)
{
    for (uint8_t b : bytes) {
        m.Poke(false, 0xE0, 0x00, p3++, b);
    }
}
std::string Held(Model& m, uint8_t p3, int n)
{
    std::string text;
    for (int i = 0; i < n; ++i) {
        static const char digits[] = "0123456789ABCDEF";
        const uint8_t b = m.Peek(false, 0xE0, 0x00, static_cast<uint8_t>(p3 + i));
        text += std::string(text.empty() ? "" : " ") + digits[b >> 4] + digits[b & 0xF];
    }
    return text;
}
// Orvane tone addressing (codeword 20 53, the RS232 channel that selects the
// Orvane schemes, interrogation MF4 and reply MF7): the main window's Get is
// the F family's and the dialog shows its Orvane channel frame.
void Tone(Model& m)
{
    m.Poke(true, 0x80, 0x00, 0x00, 0x20);
    m.Poke(true, 0x80, 0x00, 0x01, 0x53);
    m.Poke(false, 0xA0, 0x04, 0x08, 0x10);
    const uint8_t block[20] = {0x00, 0x64, 0x00, 0x77, 0x00, 0x09, 0x7B, 0x3E, 0xFF, 0xFF,
                               0xFF, 0xFF, 0x00, 0x09, 0xC0, 0xA9, 0xFF, 0xFF, 0xFF, 0xFF};
    for (uint8_t i = 0; i < 20; ++i) {
        m.Poke(true, 0x00, 0x00, i, block[i]);
    }
}

class GenSettingsE2E : public ::testing::Test, public PtyMainWindow {
protected:
    void SetUp() override
    {
        Start();
        RegisterGenParamsDialogs();
    }
    void TearDown() override
    {
        Forms::RegisterDialog("frmGenSettings", [](QWidget*) { return std::unique_ptr<QDialog>(); });
        Forms::RegisterDialog("frmMultiTAT", [](QWidget*) { return std::unique_ptr<QDialog>(); });
        Finish();
    }

    void With(const std::function<void(Model&)>& f) { WithModel(f); }
    // The window loaded and a Get Status made, its frames taken.
    void LoadAndStatus(const std::function<void(Model&)>& setup)
    {
        With(setup);
        Load();
        win->findChild<QPushButton*>(QStringLiteral("cmdStatus"))->click();
        Take();
        boxes.Clear();
    }

    // Opens the dialog with the main window's `button`; `script` runs once the
    // dialog's read-on-open is over, then the Exit button of the panel shown
    // closes it. Returns the frames of that read.
    FrameList Open(const char* button, const std::function<void(frmGenSettings&)>& script)
    {
        FrameList read;
        auto* poll = new QTimer(win.get());
        poll->setInterval(1);
        QObject::connect(poll, &QTimer::timeout, win.get(), [this, poll, script, &read] {
            auto* d = qobject_cast<frmGenSettings*>(QApplication::activeModalWidget());
            if (d == nullptr || d->findChild<QTimer*>(QStringLiteral("tmrReadParams"))->isActive() || d->Busy()) {
                return;
            }
            poll->stop();
            poll->deleteLater();
            dialog = d;
            read = Take();
            script(*d);
            if (!d->Unloaded()) {
                const bool quick = !d->findChild<QWidget*>(QStringLiteral("picGeneral_1"))->isHidden();
                Click(quick ? "cmdExit_1" : "cmdExit_0");
            }
        });
        poll->start();
        win->findChild<QPushButton*>(QString::fromLatin1(button))->click();
        dialog = nullptr;
        return read;
    }

    template <typename T = QWidget>
    T* C(const char* name) const
    {
        T* w = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Click(const char* name)
    {
        EXPECT_TRUE(C(name)->isVisible()) << name;
        QTest::mouseClick(C<QPushButton>(name), Qt::LeftButton);
    }
    void TypeAndTab(const char* name, const char* text)
    {
        QWidget* field = C(name);
        EXPECT_TRUE(field->isVisible() && field->isEnabled()) << name;
        QTest::mouseClick(field, Qt::LeftButton);
        QWidget* keys = field;
        if (auto* combo = qobject_cast<QComboBox*>(field); combo != nullptr && combo->lineEdit() != nullptr) {
            keys = combo->lineEdit();
            combo->lineEdit()->selectAll();
        }
        QTest::keyClick(keys, Qt::Key_Backspace);
        QTest::keyClicks(keys, QString::fromLatin1(text));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // Picks an item of a list with the keyboard.
    void Pick(const char* name, const char* item)
    {
        auto* combo = C<QComboBox>(name);
        EXPECT_TRUE(combo->isVisible() && combo->isEnabled()) << name;
        combo->setFocus(Qt::TabFocusReason);
        const int want = combo->findText(QString::fromLatin1(item));
        ASSERT_GE(want, 0) << item;
        while (combo->currentIndex() != want) {
            QTest::keyClick(combo, combo->currentIndex() < want ? Qt::Key_Down : Qt::Key_Up);
        }
    }
    // Gain Low, turn-around time 375 ms, pulse width 7.5 ms.
    void ChangeGainTatPulse()
    {
        Pick("cboGain_0", "Low");
        Pick("cboGenTAT", "375.0");
        TypeAndTab("txtPulseWidth", "7.5");
    }
    std::string Text(const char* name) const
    {
        QWidget* w = C(name);
        if (auto* box = qobject_cast<QLineEdit*>(w)) {
            return box->text().toStdString();
        }
        if (auto* label = qobject_cast<QLabel*>(w)) {
            return label->text().toStdString();
        }
        return qobject_cast<QComboBox*>(w)->currentText().toStdString();
    }
    // The quick-set panel's navigation as the user sees it: interrogation
    // channel and address read-outs, their colours, the preset highlighted
    // ("-" for none) and whether Set is on.
    std::string QuickNav() const
    {
        std::string preset = "-";
        for (int i = 1; i <= 9; ++i) {
            auto* b = C<QPushButton>(("cmdQuick_" + std::to_string(i)).c_str());
            if (b->font().pointSize() == 28) {
                preset = b->text().toStdString();
            }
        }
        return Text("lblQuickData_0") + "|" + Text("lblQuickData_1") + "|" + Colour("lblQuickData_0") +
               Colour("lblQuickData_1") + "|" + preset + "|" + (Enabled("cmdGenWrite_1") ? "Set" : "off");
    }
    std::string Colour(const char* name) const
    {
        const uint32_t c = Forms::BackColor(C(name));
        return c == Forms::vbWhite ? "W" : c == Forms::vbOrange ? "O" : c == Forms::vbRed ? "R" : "?";
    }
    bool Enabled(const char* name) const { return !C(name)->testAttribute(Qt::WA_ForceDisabled); }
    std::vector<ShownBox> Expected(const std::vector<std::pair<ShownBox, int>>& want)
    {
        std::vector<ShownBox> shown;
        for (const auto& [box, answer] : want) {
            boxes.Answer(answer);
            shown.push_back(box);
        }
        return shown;
    }

    void SpanwaveA1();

    frmGenSettings* dialog = nullptr;
};

TEST_F(GenSettingsE2E, FFamilyTwoValueGain)
{
    LoadAndStatus(Tone);
    FrameList written;
    const FrameList read = Open("cmdSettings", [&](frmGenSettings&) {
        EXPECT_EQ(Text("cboGain_0") + " " + Text("cboGenTAT") + " " + Text("txtPulseWidth") + " " + Text("cboBlock") +
                      " " + Text("cboPowerLevel_0"),
                  "High 500.0 8.0 1.0 High");
        ChangeGainTatPulse();
        EXPECT_EQ(Colour("cboGain_0") + Colour("cboGenTAT") + Colour("txtPulseWidth"), "OOO");
        Click("cmdGenWrite_0");
        written = Take();
        EXPECT_EQ(Colour("cboGain_0") + Colour("cboGenTAT") + Colour("txtPulseWidth"), "WWW");
        EXPECT_FALSE(Enabled("cmdGenWrite_0"));
        EXPECT_EQ(QApplication::focusWidget(), C("cmdGenRead_0"));
    });
    EXPECT_EQ(read, (FrameList{V9, G0, G2, G5, Init}));
    EXPECT_EQ(written, (FrameList{W("00", "00"), W("03", "24 8A"), W("05", "BC"), Init}));
    EXPECT_EQ(Take(), Frames::GetF);
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{});
    With([](Model& m) { EXPECT_EQ(Held(m, 0, 6), "00 2F 4F 24 8A BC"); });
    EXPECT_EQ(win->lblFirmware->text().toStdString(), "V2.05F");
}

// V4.50S: the variable TAT at 0A-0B, no power level, the full address code.
TEST_F(GenSettingsE2E, SFamilyVariableTAT)
{
    LoadAndStatus([](Model& m) {
        m.versionText = "Vers4.50S";
        Poke(m, 0x00, {0x08});
        Poke(m, 0x0A, {0x01, 0xF1}); // 20 ms
    });
    FrameList written;
    const FrameList read = Open("cmdSettings", [&](frmGenSettings&) {
        EXPECT_EQ(Text("cboGain_0") + " " + Text("txtAddress") + " " + Text("cboVariableTAT") + " " +
                      Text("txtRelayOnTime"),
                  "Low 4701 20 29.9");
        TypeAndTab("txtAddress", "105");
        EXPECT_EQ(Text("txtAddress"), "0105");
        TypeAndTab("cboVariableTAT", "25");
        Click("cmdGenWrite_0");
        written = Take();
    });
    EXPECT_EQ(read, (FrameList{V9, G0, G1, G2, G3, G4, G6A, Init}));
    EXPECT_EQ(written, (FrameList{W("01", "01"), W("09", "05"), W("0A", "02 6E"), Init}));
    EXPECT_EQ(Take(), Frames::GetS);
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{});
    With([](Model& m) { EXPECT_EQ(Held(m, 0x08, 4), "39 05 02 6E"); });
}

// Test mode: the power level and the variable TAT share byte 0A.
TEST_F(GenSettingsE2E, TestModeSharedByte)
{
    LoadAndStatus([](Model& m) {
        m.versionText = "TestMode ";
        Poke(m, 0x0A, {0x00, 0xF7}); // power Low, variable TAT 10 ms
    });
    FrameList written;
    const FrameList read = Open("cmdSettings", [&](frmGenSettings&) {
        EXPECT_EQ(Text("cboPowerLevel_0") + " " + Text("cboVariableTAT"), "Low 10");
        Pick("cboPowerLevel_0", "High");
        TypeAndTab("cboVariableTAT", "15");
        Click("cmdGenWrite_0");
        written = Take();
    });
    EXPECT_EQ(read, (FrameList{V9, G0, G1, G2, G3, G4, G5, G6A, Init}));
    // The variable TAT, written last, leaves its own high byte in the power byte.
    EXPECT_EQ(written, (FrameList{W("0A", "FF"), W("0A", "01 74"), Init}));
    Take();
    With([](Model& m) { EXPECT_EQ(Held(m, 0x0A, 2), "01 74"); });
}

TEST_F(GenSettingsE2E, PendingVersionIsReadAgain)
{
    LoadAndStatus([](Model& m) {
        m.versionText = "Vers1.11Ss";
        Poke(m, 0x00, {0x0A});
    });
    const FrameList read = Open("cmdSettings", [&](frmGenSettings&) {
        EXPECT_EQ(Text("cboGain_0") + " " + Text("cboAddress") + " " + Text("cboGenTAT"), "Medium 47 500.0");
        EXPECT_EQ(C("cboAddress")->isHidden(), false);
    });
    EXPECT_EQ(read, (FrameList{V9, V10, G0, G1, G2, Init}));
    EXPECT_EQ(win->lblFirmware->text().toStdString(), "V1.11S");
}

// The unit falls silent after the gain: two time-outs, the block group's
// parameters blank, the read still ends with the initialise command.
TEST_F(GenSettingsE2E, UnitStopsAnsweringDuringTheRead)
{
    LoadAndStatus(Tone);
    With([](Model& m) { m.knobs.answerFrames = 2; });
    const auto want = Expected({{NoReply, Ok}, {NoReply, Ok}});
    const FrameList read = Open("cmdSettings", [&](frmGenSettings&) {
        With([](Model& m) { m.knobs.answerFrames = -1; });
        EXPECT_EQ(Text("cboGain_0") + "|" + Text("cboGenTAT") + "|" + Text("txtPulseWidth") + "|" + Text("cboBlock"),
                  "High||" + std::string(" ") + "| ");
        EXPECT_FALSE(Enabled("cmdGenWrite_0"));
    });
    EXPECT_EQ(read, (FrameList{V9, G0, G2, G5, Init}));
    EXPECT_EQ(boxes.Boxes(), want);
    EXPECT_EQ(Take(), Frames::GetF);
}

// Cancel while the silent unit keeps the block group waiting: that exchange ends
// at once, and the next group is never sent, without a box.
TEST_F(GenSettingsE2E, CancelDuringTheRead)
{
    LoadAndStatus(Tone);
    With([](Model& m) { m.knobs.answerFrames = 2; });
    auto* cancel = new QTimer(win.get());
    cancel->setInterval(1);
    QObject::connect(cancel, &QTimer::timeout, win.get(), [this, cancel] {
        auto* d = qobject_cast<frmGenSettings*>(QApplication::activeModalWidget());
        size_t frames = 0;
        With([&](Model& m) { frames = m.Frames().size(); });
        if (d != nullptr && frames >= 3) {
            cancel->stop();
            QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cmdProgressCancel_0")), Qt::LeftButton);
        }
    });
    cancel->start();
    const auto started = std::chrono::steady_clock::now();
    const FrameList read = Open("cmdSettings", [&](frmGenSettings&) {
        With([](Model& m) { m.knobs.answerFrames = -1; });
        EXPECT_EQ(Text("cboGain_0") + "|" + Text("cboGenTAT"), "High|");
    });
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1500)); // not two time-outs of 1 s
    EXPECT_EQ(read, (FrameList{V9, G0, G2, Init}));
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{});
    Take();
}

// The TAT write is lost: the question comes before the pulse width.
class LostWriteE2E : public GenSettingsE2E, public ::testing::WithParamInterface<int> {};

TEST_P(LostWriteE2E, QuestionAfterAFailedWrite)
{
    const bool goOn = GetParam() == Yes;
    LoadAndStatus([](Model& m) {
        Tone(m);
        m.knobs.ignoreFrame = Sim::FrameAddress('W', 0xE0, 0x00, 0x03);
    });
    const auto want = Expected({{NoReply, Ok}, {GoOn, GetParam()}});
    FrameList written;
    Open("cmdSettings", [&](frmGenSettings&) {
        ChangeGainTatPulse();
        Click("cmdGenWrite_0");
        written = Take();
        EXPECT_EQ(Colour("cboGain_0") + Colour("cboGenTAT") + Colour("txtPulseWidth"), goOn ? "WOW" : "WOO");
        EXPECT_TRUE(Enabled("cmdGenWrite_0")); // a second Set sends what is still orange
    });
    const FrameList head{W("00", "00"), W("03", "24 8A")};
    const FrameList tail = goOn ? FrameList{W("05", "BC"), Init} : FrameList{Init};
    EXPECT_EQ(written, head + tail);
    EXPECT_EQ(boxes.Boxes(), want);
    Take();
    With([&](Model& m) { EXPECT_EQ(Held(m, 0, 6), goOn ? "00 2F 4F 30 BF BC" : "00 2F 4F 30 BF C8"); });
}

INSTANTIATE_TEST_SUITE_P(Answers, LostWriteE2E, ::testing::Values(Yes, No),
                         [](const ::testing::TestParamInfo<int>& info) { return info.param == Yes ? "Yes" : "No"; });

// Every write after the first refused ("!"): a box per refusal, no question.
TEST_F(GenSettingsE2E, RefusedWritesAreReportedAndTheChainGoesOn)
{
    LoadAndStatus([](Model& m) {
        Tone(m);
        m.knobs.acceptWrites = 1;
    });
    const auto want = Expected({{NotWritten, Ok}, {NotWritten, Ok}});
    FrameList written;
    Open("cmdSettings", [&](frmGenSettings&) {
        ChangeGainTatPulse();
        Click("cmdGenWrite_0");
        written = Take();
    });
    EXPECT_EQ(written, (FrameList{W("00", "00"), W("03", "24 8A"), W("05", "BC"), Init}));
    EXPECT_EQ(boxes.Boxes(), want);
    Take();
    With([](Model& m) { EXPECT_EQ(Held(m, 0, 6), "00 2F 4F 30 BF C8"); });
}

// From an HPR unit whose codeword is of the second Spanwave type: the quick-set
// writes the whole Spanwave chain through the main window (made the first
// type on the user's Yes), then the general parameters of preset B2.
TEST_F(GenSettingsE2E, QuickSetFromHprUnit)
{
    LoadAndStatus([](Model& m) {
        m.Poke(true, 0x80, 0x00, 0x00, 0x28);
        m.Poke(true, 0x80, 0x00, 0x01, 0x50);
    });
    const auto want = Expected({{M24, Yes}});
    FrameList written;
    const FrameList read = Open("cmdQuickSet", [&](frmGenSettings&) {
        EXPECT_FALSE(C("picGeneral_1")->isHidden());
        Click("cmdQuick_5");
        EXPECT_TRUE(Enabled("cmdGenWrite_1"));
        Click("cmdGenWrite_1");
        written = Take();
        EXPECT_EQ(Text("cboOrvaneIntChan") + " " + Text("txtAddress") + " " + Text("cboGenTAT"), "MF10 4603 375.0");
        EXPECT_EQ(Colour("cboOrvaneIntChan") + Colour("txtAddress") + Colour("cboGenTAT"), "WWW");
        EXPECT_FALSE(Enabled("cmdGenWrite_1"));
    });
    EXPECT_EQ(read, (FrameList{V9, G0, G2, G5, Init}));
    // The main window's whole Spanwave chain: the RS232 channel that selects
    // the Orvane schemes, the codeword (first type, address 46, channel 3), the
    // parameter block, address, channel code and pulse width, the initialise
    // command and its read-back; then the preset's turn-around time, blocking
    // period and power level (its gain is the one read), and the initialise.
    const FrameList chain{Frames::Text("!F", "00 00 00 01 10"), Frames::Text("!w", "80 00 00 02 22 E3"),
                       Frames::Text("!w", "00 00 00 14 00 C8 00 AF 00 0D 4F DF 19 50 68 AA 00 0D 1B 71 D6 DD BC 8E"),
                       W("01", "2E"), W("09", "03"), W("05", "C8"), Init};
    const FrameList general{W("03", "24 8A"), W("06", "18 6A"), W("0A", "00"), Init};
    EXPECT_EQ(written, chain + Frames::GetF + general);
    EXPECT_EQ(boxes.Boxes(), want);
    EXPECT_EQ(Take(), Frames::GetF);
    With([](Model& m) {
        EXPECT_EQ(Held(m, 0, 11), "FF 2E 4F 24 8A C8 18 6A 39 03 00");
        EXPECT_EQ(m.Peek(true, 0x80, 0, 0) * 256 + m.Peek(true, 0x80, 0, 1), 0x22E3);
        EXPECT_EQ(m.Peek(false, 0xA0, 0x04, 0x08), 0x10);
    });
}

// While the main window writes the quick-set's navigation chain the dialog
// stays open under it: a preset picked then, or any other edit, must neither
// change what the write goes on to send nor open a second exchange.
TEST_F(GenSettingsE2E, QuickSetDialogIsBusyWhileTheChainIsWritten)
{
    LoadAndStatus([](Model& m) {
        m.Poke(true, 0x80, 0x00, 0x00, 0x28);
        m.Poke(true, 0x80, 0x00, 0x01, 0x50);
    });
    Expected({{M24, Yes}});
    std::vector<std::string> live;
    auto* meddle = new QTimer(win.get());
    meddle->setInterval(1);
    QObject::connect(meddle, &QTimer::timeout, win.get(), [this, meddle, &live] {
        bool started = false;
        With([&](Model& m) { started = !m.Frames().empty(); });
        if (dialog == nullptr || !started) {
            return;
        }
        meddle->stop();
        for (const char* name : {"cmdQuick_9", "cboGain_1", "cboPowerLevel_1", "cmdGenCancel_1", "cmdGenRead_1",
                                 "cmdAdvanced", "cmdMultiTATs"}) {
            if (Enabled(name)) {
                live.emplace_back(name);
            }
        }
        QTest::mouseClick(C<QPushButton>("cmdQuick_9"), Qt::LeftButton);
    });
    FrameList written;
    Open("cmdQuickSet", [&](frmGenSettings&) {
        Click("cmdQuick_5");
        meddle->start();
        Click("cmdGenWrite_1");
        written = Take();
        EXPECT_EQ(Text("cboOrvaneIntChan") + " " + Text("txtAddress") + " " + Text("cboGenTAT"), "MF10 4603 375.0");
    });
    EXPECT_EQ(live, std::vector<std::string>{});
    // B2's general parameters, as in the plain quick-set.
    const FrameList general{W("03", "24 8A"), W("06", "18 6A"), W("0A", "00"), Init};
    ASSERT_GE(written.size(), general.size());
    EXPECT_EQ(FrameList(written.end() - static_cast<std::ptrdiff_t>(general.size()), written.end()), general);
    Take();
}

// An HPR unit made preset A1 by the quick-set; the main window has read it back.
void GenSettingsE2E::SpanwaveA1()
{
    LoadAndStatus([](Model& m) {
        m.Poke(true, 0x80, 0x00, 0x00, 0x28);
        m.Poke(true, 0x80, 0x00, 0x01, 0x50);
    });
    Expected({{M24, Yes}});
    Open("cmdQuickSet", [&](frmGenSettings&) {
        Click("cmdQuick_1");
        Click("cmdGenWrite_1");
    });
    Take();
    boxes.Clear();
    With([](Model& m) { ASSERT_EQ(m.Peek(true, 0x80, 0, 0) * 256 + m.Peek(true, 0x80, 0, 1), 0x22F1); });
}

// One lost reply to the dialog's version read says nothing of the unit: after
// a Get that finds the same firmware, preset B2 is written whole.
TEST_F(GenSettingsE2E, ALostVersionReplyIsNoOtherUnit)
{
    SpanwaveA1();
    With([](Model& m) { m.knobs.ignoreFrame = Sim::FrameAddress('V', 0xA0, 0x00, 0x00); });
    const auto want = Expected({{NoReply, Ok}});
    FrameList written;
    Open("cmdSettings", [&](frmGenSettings&) {
        With([](Model& m) { m.knobs.ignoreFrame.clear(); });
        Click("cmdGenRead_1");
        EXPECT_EQ(Take(), (FrameList{V9, G0, G2, G5, Init}));
        Click("cmdQuick_5");
        Click("cmdGenWrite_1");
        written = Take();
        EXPECT_EQ(Text("cboOrvaneIntChan") + " " + Text("txtAddress"), "MF10 4603");
    });
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(written.front(), Frames::Text("!w", "80 00 00 02 22 E3"));
    EXPECT_EQ(boxes.Boxes(), want);
    Take();
    With([](Model& m) { EXPECT_EQ(m.Peek(true, 0x80, 0, 0) * 256 + m.Peek(true, 0x80, 0, 1), 0x22E3); });
}

// A navigation write that fails leaves the dialog showing what the unit holds,
// never the preset's address beside the unit's channel.
TEST_F(GenSettingsE2E, AFailedNavigationWriteShowsWhatTheUnitHolds)
{
    SpanwaveA1();
    With([](Model& m) { m.knobs.ignoreFrame = Sim::FrameAddress('w', 0x80, 0x00, 0x00); });
    const auto want = Expected({{NoReply, Ok}});
    FrameList written;
    Open("cmdQuickSet", [&](frmGenSettings&) {
        Click("cmdQuick_5");
        Click("cmdGenWrite_1");
        written = Take();
        With([](Model& m) { m.knobs.ignoreFrame.clear(); });
        EXPECT_EQ(Text("cboOrvaneIntChan") + " " + Text("txtAddress"), "MF9 4701");
        EXPECT_EQ(Colour("cboOrvaneIntChan") + Colour("txtAddress"), "WW");
    });
    EXPECT_EQ(written, (FrameList{Frames::Text("!w", "80 00 00 02 22 E3")} + Frames::GetF));
    EXPECT_EQ(boxes.Boxes(), want);
    Take();
    With([](Model& m) { EXPECT_EQ(m.Peek(true, 0x80, 0, 0) * 256 + m.Peek(true, 0x80, 0, 1), 0x22F1); });
}

// The quick-set navigation shows what the unit holds as the main window read
// it, or shows as not read; while it is not read, a preset is a change shown
// against nothing and Set is off, so no Set ends writing part of a choice. A
// Get reads it again.
class QuickSetNavigationE2E : public GenSettingsE2E, public ::testing::WithParamInterface<int> {};

TEST_P(QuickSetNavigationE2E, ShowsTheUnitOrNotRead)
{
    const auto HPR = [](Model& m) {
        m.Poke(true, 0x80, 0x00, 0x00, 0x28);
        m.Poke(true, 0x80, 0x00, 0x01, 0x50);
    };
    // Unit A made preset A1, then unit B on the cable.
    const auto anotherUnit = [&] {
        SpanwaveA1();
        With([](Model& m) { m.versionText = "Vers1.20F"; });
    };
    const std::string lostChannelWrite = Sim::FrameAddress('F', 0, 0, 0);
    const std::string lostCodewordRead = Sim::FrameAddress('r', 0x80, 0, 0);
    const auto lostReadBack = [&] { // B2 written, its read-back's codeword read lost
        Click("cmdQuick_5");
        With([&](Model& m) { m.knobs.ignoreFrame = lostCodewordRead; });
        Click("cmdGenWrite_1");
        With([](Model& m) { m.knobs.ignoreFrame.clear(); });
    };
    const struct {
        const char* name;
        std::function<void()> before; // up to the dialog, Quickset opening it
        std::function<void()> inside;  // the steps in the dialog
        std::string after;             // QuickNav once they are done
        std::function<void()> more;    // then these
        std::string last;              // and QuickNav once more
    } rows[] = {
        {"a write from HPR addressing whose first frame is lost",
         [&] {
             LoadAndStatus(HPR);
             Expected({{M24, Yes}, {NoReply, Ok}});
         },
         [&] {
             Click("cmdQuick_5");
             With([&](Model& m) { m.knobs.ignoreFrame = lostChannelWrite; });
             Click("cmdGenWrite_1");
             With([](Model& m) { m.knobs.ignoreFrame.clear(); });
         },
         "||WW|-|off", [&] { Click("cmdQuick_5"); }, "MF10|4603|OO|B2|off"},
        {"a lost read-back",
         [&] {
             SpanwaveA1();
             Expected({{NoReply, Ok}});
         },
         lostReadBack,
         "||WW|-|off", [&] { Click("cmdQuick_1"); }, "MF9|4701|OO|A1|off"},
        {"a lost read-back, then Get",
         [&] {
             SpanwaveA1();
             Expected({{NoReply, Ok}});
         },
         lostReadBack,
         "||WW|-|off",
         [&] {
             Click("cmdGenRead_1");
             Click("cmdQuick_3");
             Click("cmdGenWrite_1");
         },
         "MF9|4705|WW|A3|off"},
        {"another unit, read again on opening, then Cancel",
         anotherUnit,
         [] {}, "MF9|4701|WW|A1|off", [&] { Click("cmdGenCancel_1"); }, "MF9|4701|WW|A1|off"},
        {"another unit, read again on opening, then a preset",
         anotherUnit,
         [&] { Click("cmdQuick_3"); }, "MF9|4705|WO|A3|Set", [] {}, "MF9|4705|WO|A3|Set"},
        {"a preset written, another picked, then Get",
         [&] {
             LoadAndStatus(Tone);
             Open("cmdQuickSet", [&](frmGenSettings&) {
                 Click("cmdQuick_8");
                 Pick("cboPowerLevel_1", "High");
                 Click("cmdGenWrite_1");
             });
             Take();
         },
         [&] {
             Click("cmdQuick_6");
             Click("cmdGenRead_1");
         },
         "MF0|4503|WW|C2|off", [] {}, "MF0|4503|WW|C2|off"},
    };
    const auto& r = rows[GetParam()];
    {
        SCOPED_TRACE(r.name);
        r.before();
        std::string after, last;
        Open("cmdQuickSet", [&](frmGenSettings&) {
            r.inside();
            after = QuickNav();
            r.more();
            last = QuickNav();
            Take();
            if (!Enabled("cmdGenWrite_1")) {
                QTest::mouseClick(C<QPushButton>("cmdGenWrite_1"), Qt::LeftButton);
                EXPECT_EQ(Take(), FrameList{}) << "Set while off";
            }
        });
        EXPECT_EQ(after, r.after);
        EXPECT_EQ(last, r.last);
        Take();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, QuickSetNavigationE2E, ::testing::Range(0, 6));

// The quick-set ends in the Spanwave write, which S-family and test-mode units
// do not take: the main window offers it after neither Get Status nor Get, and
// a click on it opens nothing and sends nothing.
class NoQuickSetE2E : public GenSettingsE2E, public ::testing::WithParamInterface<const char*> {};

TEST_P(NoQuickSetE2E, QuickSetIsNotOffered)
{
    int opened = 0;
    Forms::RegisterDialog("frmGenSettings", [&opened](QWidget*) {
        ++opened;
        return std::unique_ptr<QDialog>();
    });
    LoadAndStatus([](Model& m) { m.versionText = GetParam(); });
    auto* quickSet = win->findChild<QPushButton*>(QStringLiteral("cmdQuickSet"));
    EXPECT_FALSE(quickSet->isEnabled()) << "after Get Status";
    QTest::mouseClick(win->findChild<QPushButton*>(QStringLiteral("cmdRead")), Qt::LeftButton);
    EXPECT_EQ(Take(), Frames::GetS);
    EXPECT_FALSE(quickSet->isEnabled()) << "after Get";
    QTest::mouseClick(quickSet, Qt::LeftButton);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(Take(), FrameList{});
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{});
}

INSTANTIATE_TEST_SUITE_P(Firmware, NoQuickSetE2E, ::testing::Values("Vers4.50S", "TestMode "),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param[0] == 'V' ? "SFamily" : "TestMode");
                         });

// V2.02S offers no general parameter: only the version is read, nothing can be edited.
TEST_F(GenSettingsE2E, UnsupportedFirmware)
{
    LoadAndStatus([](Model& m) { m.versionText = "Vers2.02S"; });
    const FrameList read = Open("cmdSettings", [&](frmGenSettings&) {
        for (const char* name : {"cboGain_0", "cboGenTAT", "txtPulseWidth", "cboBlock", "cmdGenWrite_0", "cmdGenCancel_0",
                                 "cmdMultiTATs", "cmdTimedRelease"}) {
            EXPECT_FALSE(Enabled(name)) << name;
        }
        EXPECT_TRUE(Enabled("cmdGenRead_0"));
    });
    EXPECT_EQ(read, (FrameList{V9, Init}));
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{});
    Take();
}

} // namespace
