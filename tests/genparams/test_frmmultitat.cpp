// The multi turn-around-time dialog against the simulated transponder on the
// fake clock, driven as a user drives it: clicks, typing, Tab.
#include "clsFirmware.h"
#include "clsMultiTAT.h"
#include "clsSettings.h"
#include "forms.h"
#include "frmDialogsGenParams.h"
#include "frmMultiTAT.h"
#include "link_fixture.h"
#include "resets.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

std::string Zeros(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i) {
        s += "|00";
    }
    return s;
}

const std::string V9 = "!V|A0|00|00|09" + Zeros(9), V10 = "!V|A0|00|00|0A" + Zeros(10);
const std::string R1 = "!R|E2|00|00|0A" + Zeros(10), R2 = "!R|E2|00|10|0A" + Zeros(10);
const std::string INIT = "!I|00|00|00|00";
// The simulated transponder's table: 62.5 ms to 625 ms in steps of 62.5 ms.
const char* const AsRead = "62.5 125 187.5 250 312.5 375 437.5 500 562.5 625";

const ShownBox NoReply{"No reply from Transponder.", 48, "Communication Error"};
const ShownBox NotSupported{"The Transponder firmware does not support this function.", 64, "Not Supported"};
const ShownBox InvalidVersion{"Invalid Firmware Version returned.", 48, "Firmware Version"};
const ShownBox NotRead{"Some Turn-Around-Times may not have been read,\nor have been read incorrectly and are invalid.",
                       48, "Turn-Around-Time Parameters"};
const ShownBox NotWritten{"Some Turn-Around-Times may not have been written.", 48, "Turn-Around-Time Decode"};
const ShownBox Invalid{"Some Turn-Around-Times are invalid.", 48, "Reset Turn-Around-Times"};

class MultiTATDialogTest : public LinkFixture {
protected:
    MultiTATDialogTest()
    {
        saved = AppSettings;
        AppSettings.TpdrTelemWait(1.0f);
        AppSettings.DelayBetweenCmds(0.05f);
        MakeStoreObjects();
        WireStore();
        for (int32_t group = 0; group <= 7; ++group) {
            CommonProcs::ResetParamGroup(group, group != 5, group != 5);
        }
        CommonProcs::ClearUnsupportedReads(true);
        model.versionText = "Vers2.05D";
        lblFirmware = Forms::Named(new QLabel(&mainWindow), "lblFirmware");
    }
    ~MultiTATDialogTest() override
    {
        dialog.reset();
        AppSettings = saved;
    }

    frmMultiTAT& Open()
    {
        dialog = std::make_unique<frmMultiTAT>(&mainWindow);
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return *dialog;
    }
    template <typename T = QWidget> T* Find(const QString& name) const
    {
        T* w = dialog->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QComboBox* Entry(int n) const { return Find<QComboBox>(Forms::ArrayName("cboTAT", n)); }
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(QString::fromLatin1(button)), Qt::LeftButton); }
    // Clicks into the entry, replaces its text and tabs on.
    void Type(int n, const char* text)
    {
        QComboBox* combo = Entry(n);
        QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
        QTest::keyClick(combo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(combo, Qt::Key_Backspace);
        QTest::keyClicks(combo, QString::fromLatin1(text));
        QTest::keyClick(combo, Qt::Key_Tab);
    }
    bool Enabled(const QString& name) const { return !Find(name)->testAttribute(Qt::WA_ForceDisabled); }
    bool Visible(const QString& name) const { return !Find(name)->isHidden(); }

    // The ten entries' texts, blank-separated.
    std::string Texts() const
    {
        std::string s;
        for (int n = 0; n < frmMultiTAT::Entries; ++n) {
            s += (n ? " " : "") + Forms::S(Entry(n)->currentText());
        }
        return s;
    }
    // The ten colours: W white, O orange, R red.
    std::string Colours() const
    {
        std::string s;
        for (int n = 0; n < frmMultiTAT::Entries; ++n) {
            const uint32_t c = Forms::BackColor(Entry(n));
            s += c == Forms::vbWhite ? 'W' : c == Forms::vbOrange ? 'O' : c == Forms::vbRed ? 'R' : '?';
        }
        return s;
    }
    // The entries' own enabled flags: E or D each.
    std::string EntriesEnabled() const
    {
        std::string s;
        for (int n = 0; n < frmMultiTAT::Entries; ++n) {
            s += Enabled(Forms::ArrayName("cboTAT", n)) ? 'E' : 'D';
        }
        return s;
    }

    std::vector<std::string> Sent()
    {
        clock.Advance(0.1);
        port.InBufferCount();
        std::vector<std::string> texts;
        for (const std::string& f : model.Frames()) {
            texts.push_back(Sim::FrameText(f));
        }
        model.ClearFrames();
        return texts;
    }
    // A read of the whole table from a supported unit, frames forgotten.
    void Read()
    {
        Click("cmdTATRead");
        Sent();
    }
    // Runs `action` at the first event pass after `frames` frames were received.
    void AtFrame(size_t frames, std::function<void()> action)
    {
        auto* timer = new QTimer(dialog.get());
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, dialog.get(), [this, timer, frames, action] {
            if (model.Frames().size() >= frames) {
                timer->stop();
                action();
            }
        });
        timer->start();
    }

    clsSettings saved;
    QWidget mainWindow;
    QLabel* lblFirmware = nullptr;
    std::unique_ptr<frmMultiTAT> dialog;
};

TEST_F(MultiTATDialogTest, LoadsWithItsControlsAndSendsNothing)
{
    RegisterGenParamsDialogs();
    EXPECT_TRUE(Forms::HasDialog("frmMultiTAT"));
    Open();
    EXPECT_EQ(dialog->windowTitle(), "Multi-TAT Settings");
    EXPECT_EQ(Find<QWidget>("fraTAT")->property("title").toString(), "Channel 2 Selector TAT Settings");
    const struct {
        const char* name;
        const char* caption;
        const char* tip;
        bool enabled, visible;
    } buttons[] = {
        {"cmdTATRead", "&Get", "Read all Turn-Around-Times from Transponder", true, true},
        {"cmdTATWrite", "&Set", "Send all changed Turn-Around-Times to Transponder", false, true},
        {"cmdTATCancel", "&Cancel", "Reset all unsent TAT parameters", false, true},
        {"cmdTATApply", "", "Confirm TAT selection", false, true},
        {"cmdProgressCancel", "&Cancel", "Cancel operation", true, false},
        {"cmdExit", "E&xit", "", true, true},
    };
    for (const auto& b : buttons) {
        auto* button = Find<QPushButton>(b.name);
        EXPECT_EQ(button->text(), b.caption) << b.name;
        EXPECT_EQ(button->toolTip(), b.tip) << b.name;
        EXPECT_EQ(Enabled(b.name), b.enabled) << b.name;
        EXPECT_EQ(Visible(b.name), b.visible) << b.name;
    }
    EXPECT_EQ(Find<QLabel>("lblReadIfo")->text(), "Please Read before selecting or writing.");
    for (int n = 0; n < frmMultiTAT::Entries; ++n) {
        EXPECT_EQ(Find<QLabel>(Forms::ArrayName("lblTAT", n))->text(), QStringLiteral("Position %1").arg(n));
        EXPECT_EQ(Entry(n)->toolTip(), QStringLiteral("Position %1 Turn-Around-Time (62.5 - 875 mSec)").arg(n));
        QStringList items;
        for (int i = 0; i < Entry(n)->count(); ++i) {
            items << Entry(n)->itemText(i);
        }
        EXPECT_EQ(items.join(' '), QString::fromLatin1(AsRead)) << n;
    }
    EXPECT_EQ(Texts(), std::string(19, ' '));
    EXPECT_EQ(Colours(), "WWWWWWWWWW");
    EXPECT_EQ(EntriesEnabled(), "DDDDDDDDDD");
    EXPECT_EQ(Sent(), std::vector<std::string>{});
}

// Get by what the transponder answers: the frames, the boxes, and what the entries
// show. The rows run in order on one store, as reads do in one run.
TEST_F(MultiTATDialogTest, GetByFirmwareAndFailure)
{
    const struct {
        const char* name;
        std::function<void(Sim::TransponderModel&)> setup;
        std::vector<std::string> frames;
        std::vector<ShownBox> boxes;
        std::string label, texts, colours, enabled;
    } rows[] = {
        {"D family", {}, {V9, R1, R2}, {}, "V2.05D", AsRead, "WWWWWWWWWW", "EEEEEEEEEE"},
        {"V1.11D read twice", [](auto& m) { m.versionText = "Vers1.11S "; }, {V9, V10, R1, R2}, {}, "V1.11D", AsRead,
         "WWWWWWWWWW", "EEEEEEEEEE"},
        {"test mode", [](auto& m) { m.versionText = "TestMode "; }, {V9, R1, R2}, {}, "Test Mode", AsRead,
         "WWWWWWWWWW", "EEEEEEEEEE"},
        // The version unknown: the values of the read before stay, out of reach.
        {"unrecognised version", [](auto& m) { m.versionText = "Vers7.77X"; }, {V9}, {InvalidVersion},
         "Unrecognised", AsRead, "WWWWWWWWWW", "DDDDDDDDDD"},
        {"silent on page 1", [](auto& m) { m.knobs.answerFrames = 1; }, {V9, R1}, {NoReply, NotRead}, "V2.05D",
         std::string(19, ' '), "RRRRRRRRRR", "EEEEEEEEEE"},
        {"silent on page 2", [](auto& m) { m.knobs.answerFrames = 2; }, {V9, R1, R2}, {NoReply, NotRead}, "V2.05D",
         "62.5 125 187.5 250 312.5          ", "WWWWWRRRRR", "EEEEEEEEEE"},
        {"word out of range", [](auto& m) {
             m.Poke(false, 0xE2, 0, 0x16, 0x55); // 875.1 ms
             m.Poke(false, 0xE2, 0, 0x17, 0x60);
         },
         {V9, R1, R2}, {}, "V2.05D", "62.5 125 187.5 250 312.5 375 437.5 500   625", "WWWWWWWWRW", "EEEEEEEEEE"},
        {"F family not supported after a read", [](auto& m) { m.versionText = "Vers2.05F"; }, {V9}, {NotSupported},
         "V2.05F", std::string(19, ' '), "WWWWWWWWWW", "DDDDDDDDDD"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        model = Sim::TransponderModel();
        model.versionText = "Vers2.05D";
        if (r.setup) {
            r.setup(model);
        }
        boxes.Clear();
        for (size_t i = 0; i < r.boxes.size(); ++i) {
            boxes.Answer(MsgBoxResult::OK);
        }
        Open();
        Click("cmdTATRead");
        EXPECT_EQ(Sent(), r.frames);
        EXPECT_EQ(boxes.Boxes(), r.boxes);
        EXPECT_EQ(Forms::S(lblFirmware->text()), r.label);
        EXPECT_EQ(Texts(), r.texts);
        EXPECT_EQ(Colours(), r.colours);
        EXPECT_EQ(EntriesEnabled(), r.enabled);
        EXPECT_FALSE(Enabled("cmdTATWrite"));
        EXPECT_TRUE(Visible("cmdExit"));
        EXPECT_FALSE(Visible("cmdProgressCancel"));
        EXPECT_EQ(QApplication::focusWidget(), Find("cmdTATRead"));
    }
    // The unsupported unit left both copies reset.
    EXPECT_EQ(ReadMultiTAT.Value(0), 61.5f);
    EXPECT_EQ(EditMultiTAT.Value(0), 61.5f);
}

TEST_F(MultiTATDialogTest, TypedValuesAreCheckedWhenTheEntryIsLeft)
{
    Open();
    Read();
    const struct {
        const char* typed;
        bool accepted;
        const char* shown;
        char colour;
        bool okToWrite; // a text that is no number leaves the flag alone
    } rows[] = {
        {"100.01", true, "100.01", 'O', true}, {"62.4", false, "62.4", 'W', false}, {"875.1", false, "875.1", 'W', false},
        {"abc", false, "abc", 'W', true},      {"875", true, "875", 'O', true},      {" 125 ", true, "125", 'W', true},
        {"1e400", false, "1e400", 'W', true},  {"", false, "", 'W', true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        Click("cmdTATCancel");
        Type(1, r.typed);
        EXPECT_EQ(QApplication::focusWidget() == Entry(1), !r.accepted);
        EXPECT_EQ(Forms::S(Entry(1)->currentText()), r.shown);
        EXPECT_EQ(Colours()[1], r.colour);
        EXPECT_EQ(EditMultiTAT.OKToWrite(1), r.okToWrite);
        EXPECT_EQ(Enabled("cmdTATWrite"), r.accepted && r.colour == 'O');
    }
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{});

    // A valid change, then a bad value: Set's click follows a refused focus change and writes nothing.
    Click("cmdTATCancel");
    Type(2, "200");
    Type(3, "900");
    ASSERT_TRUE(Enabled("cmdTATWrite"));
    Click("cmdTATWrite");
    EXPECT_EQ(QApplication::focusWidget(), Entry(3));
    EXPECT_EQ(Sent(), std::vector<std::string>{});
    // Cancel brings the values read back.
    Click("cmdTATCancel");
    EXPECT_EQ(Texts(), AsRead);
    EXPECT_EQ(Colours(), "WWWWWWWWWW");
    EXPECT_FALSE(Enabled("cmdTATWrite"));
}

TEST_F(MultiTATDialogTest, CancelReportsValuesReadInvalid)
{
    model.Poke(false, 0xE2, 0, 0x02, 0);
    model.Poke(false, 0xE2, 0, 0x03, 0);
    Open();
    Read();
    Type(0, "70");
    boxes.Answer(MsgBoxResult::OK);
    Click("cmdTATCancel");
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{Invalid});
    EXPECT_EQ(Texts(), "62.5   187.5 250 312.5 375 437.5 500 562.5 625");
    EXPECT_EQ(Colours(), "WRWWWWWWWW");
}

TEST_F(MultiTATDialogTest, SetWritesBothPagesThenInitialises)
{
    Open();
    Read();
    Type(0, "100");
    Type(9, "875");
    EXPECT_EQ(Colours(), "OWWWWWWWWO");
    const double before = clock.Elapsed();
    Click("cmdTATWrite");
    EXPECT_EQ(Sent(), (std::vector<std::string>{"!W|E2|00|00|0A|09|AF|0C|20|12|3A|18|55|1E|70",
                                                "!W|E2|00|10|0A|24|8A|2A|A4|30|BF|36|DA|55|5E", INIT}));
    // Half a second and the delay between commands on each side of the initialise command.
    EXPECT_GE(clock.Elapsed() - before, 1.1);
    EXPECT_EQ(model.Peek(false, 0xE2, 0, 0x00), 0x09);
    EXPECT_EQ(model.Peek(false, 0xE2, 0, 0x19), 0x5E);
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{});
    EXPECT_EQ(ReadMultiTAT.Value(0), 100.0f);
    EXPECT_EQ(ReadMultiTAT.Value(9), 875.0f);
    // The table counts as not read: entries off until the next Get.
    EXPECT_EQ(Texts(), "100 125 187.5 250 312.5 375 437.5 500 562.5 875");
    EXPECT_EQ(Colours(), "WWWWWWWWWW");
    EXPECT_EQ(EntriesEnabled(), "DDDDDDDDDD");
    EXPECT_FALSE(Enabled("cmdTATWrite"));
    EXPECT_EQ(dialog->StatusText(), "");
    EXPECT_EQ(QApplication::focusWidget(), Find("cmdTATRead"));

    // Opened again, the dialog shows the same without an exchange.
    dialog.reset();
    Open();
    EXPECT_EQ(Texts(), "100 125 187.5 250 312.5 375 437.5 500 562.5 875");
    EXPECT_EQ(Sent(), std::vector<std::string>{});
}

TEST_F(MultiTATDialogTest, SetWithRefusedSecondPageCopiesOnlyTheFirst)
{
    model.knobs.acceptWrites = 1;
    Open();
    Read();
    Type(2, "200");
    Type(7, "300");
    boxes.Answer(MsgBoxResult::OK);
    Click("cmdTATWrite");
    EXPECT_EQ(Sent(), (std::vector<std::string>{"!W|E2|00|00|0A|06|06|0C|20|13|73|18|55|1E|70",
                                                "!W|E2|00|10|0A|24|8A|2A|A4|1D|37|36|DA|3C|F4"}));
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{NotWritten});
    EXPECT_EQ(ReadMultiTAT.Value(2), 200.0f);
    EXPECT_EQ(ReadMultiTAT.Value(7), 500.0f);
    EXPECT_EQ(Colours(), "WWWWWWWOWW");
    EXPECT_EQ(EntriesEnabled(), "EEEEEEEEEE");
    EXPECT_TRUE(Enabled("cmdTATWrite"));
    EXPECT_EQ(model.Peek(false, 0xE2, 0, 0x14), 0x30); // page 2 as it was
}

TEST_F(MultiTATDialogTest, BusyDuringReadRefusesClosingAndCancelEndsIt)
{
    model.knobs.answerFrames = 1; // page 1 gets no answer: the read waits
    Open();
    struct {
        bool exitShown = true, cancelShown = false, getEnabled = true, open = false;
    } during;
    AtFrame(2, [&] {
        during.exitShown = Visible("cmdExit");
        during.cancelShown = Visible("cmdProgressCancel");
        during.getEnabled = Enabled("cmdTATRead");
        dialog->close();
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        during.open = dialog->isVisible();
        Click("cmdProgressCancel");
    });
    boxes.Answer(MsgBoxResult::OK);
    Click("cmdTATRead");
    EXPECT_FALSE(during.exitShown);
    EXPECT_TRUE(during.cancelShown);
    EXPECT_FALSE(during.getEnabled);
    EXPECT_TRUE(during.open);
    // Cancelled inside the time-out: no time-out box, only the summary; page 2 never sent.
    EXPECT_EQ(Sent(), (std::vector<std::string>{V9, R1}));
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{NotRead});
    EXPECT_TRUE(Visible("cmdExit"));
    EXPECT_FALSE(Visible("cmdProgressCancel"));
    // Idle again: the dialog closes.
    Click("cmdExit");
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(MultiTATDialogTest, RunTimeErrorDuringSetIsReportedAndTheDialogIdles)
{
    Open();
    Read();
    Type(4, "400");
    // A value with no 16-bit word, as no entry lets through.
    EditMultiTAT.Value(4, 3000.0f);
    boxes.Answer(MsgBoxResult::OK);
    Click("cmdTATWrite");
    const ShownBox overflow{"Error from cmdTATWriteErrorHandler (frmMultiTAT) trapped in CatchAll Errors.", 48,
                            "Error:  6  Overflow"};
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{overflow});
    EXPECT_EQ(Sent(), std::vector<std::string>{});
    EXPECT_TRUE(Visible("cmdExit"));
    EXPECT_FALSE(Visible("cmdProgressCancel"));
    EXPECT_TRUE(Enabled("cmdTATRead"));
    EXPECT_EQ(EntriesEnabled(), "EEEEEEEEEE");
    EXPECT_FALSE(dialog->Busy());
    Click("cmdExit");
    EXPECT_FALSE(dialog->isVisible());
}

} // namespace
