// The multi turn-around-time dialog against the simulated transponder on the
// fake clock, driven as a user drives it: clicks, typing, Tab.
#include "clsFirmware.h"
#include "clsMultiTAT.h"
#include "clsSettings.h"
#include "firmwarereader.h"
#include "frmDialogsGenParams.h"
#include "link_fixture.h"
#include "multitat_probe.h"
#include "resets.h"
#include "status_bar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

namespace {

using namespace MultiTATProbe;
using Frames = std::vector<std::string>;

class MultiTATDialogTest : public LinkFixture {
protected:
    MultiTATDialogTest()
    {
        saved = AppSettings;
        AppSettings.TpdrTelemWait(1.0f);
        AppSettings.DelayBetweenCmds(0.05f);
        MakeStoreObjects();
        WireStore();
        CommonProcs::ResetParamGroup(0, true, true);
        CommonProcs::ResetParamGroup(6, true, true);
        CommonProcs::ClearUnsupportedReads(true);
        model.versionText = "Vers2.05D";
    }
    ~MultiTATDialogTest() override
    {
        dialog.reset();
        AppSettings = saved;
    }

    QWidget* Open()
    {
        dialog = std::make_unique<frmMultiTAT>(&mainWindow);
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return dialog.get();
    }
    void Click(const char* button) { MultiTATProbe::Click(dialog.get(), button); }
    void Type(int n, const char* text, bool tab = true) { MultiTATProbe::Type(dialog.get(), n, text, tab); }
    bool Enabled(const char* name) const { return MultiTATProbe::Enabled(dialog.get(), name); }
    QWidget* Control(const char* name) const { return Find(dialog.get(), QString::fromLatin1(name)); }

    Frames Sent()
    {
        clock.Advance(0.1);
        port.InBufferCount();
        Frames texts = FrameTexts(model.Frames().begin(), model.Frames().end());
        model.ClearFrames();
        return texts;
    }
    void Read()
    {
        Click("cmdTATRead");
        Sent();
    }

    clsSettings saved;
    // Shows the firmware label, as the main window does.
    struct Owner : QWidget, FirmwareWindow {
        QLabel* label = new QLabel(this);
        void SetFirmwareLabelText(const std::string& text) override { label->setText(Forms::Q(text)); }
        void SetFirmwareLabelBackColor(int32_t vbColor) override
        {
            Forms::SetBackColor(label, static_cast<uint32_t>(vbColor));
        }
    } mainWindow;
    QLabel* lblFirmware = mainWindow.label;
    std::unique_ptr<frmMultiTAT> dialog;
};

TEST_F(MultiTATDialogTest, LoadsWithItsControlsAndSendsNothing)
{
    RegisterGenParamsDialogs();
    EXPECT_TRUE(Forms::HasDialog("frmMultiTAT"));
    QWidget* d = Open();
    EXPECT_EQ(d->windowTitle(), "Multi-TAT Settings");
    EXPECT_EQ(Control("fraTAT")->property("title").toString(), "Channel 2 Selector TAT Settings");
    EXPECT_EQ(Find<QLabel>(d, "lblReadIfo")->text(), "Please Read before selecting or writing.");
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
        auto* button = Find<QPushButton>(d, b.name);
        EXPECT_EQ(button->text(), b.caption) << b.name;
        EXPECT_EQ(button->toolTip(), b.tip) << b.name;
        EXPECT_EQ(Enabled(b.name), b.enabled) << b.name;
        EXPECT_EQ(!button->isHidden(), b.visible) << b.name;
    }
    for (int n = 0; n < frmMultiTAT::Entries; ++n) {
        EXPECT_EQ(Find<QLabel>(d, Forms::ArrayName("lblTAT", n))->text(), QStringLiteral("Position %1").arg(n));
        EXPECT_EQ(Entry(d, n)->toolTip(), QStringLiteral("Position %1 Turn-Around-Time (62.5 - 875 mSec)").arg(n));
        QStringList items;
        for (int i = 0; i < Entry(d, n)->count(); ++i) {
            items << Entry(d, n)->itemText(i);
        }
        EXPECT_EQ(items.join(' ').toStdString(), AsRead) << n;
    }
    EXPECT_EQ(Texts(d), Blank);
    EXPECT_EQ(Look(d), "WWWWWWWWWW DDDDDDDDDD");
    EXPECT_EQ(Sent(), Frames{});
    ExpectOneStatusBar(d, "staMultiTAT", "staMultiTATPanel1");
}

// Get by what the transponder answers. The rows run in order on one store, as
// reads do in one run.
TEST_F(MultiTATDialogTest, GetByFirmwareAndFailure)
{
    const struct {
        const char* name;
        std::function<void(Sim::TransponderModel&)> setup;
        Frames frames;
        std::vector<ShownBox> boxes;
        std::string label, texts, look;
    } rows[] = {
        {"D family", {}, {V9, R1, R2}, {}, "V2.05D", AsRead, "WWWWWWWWWW EEEEEEEEEE"},
        {"V1.11D read twice", [](auto& m) { m.versionText = "Vers1.11S "; }, {V9, V10, R1, R2}, {}, "V1.11D", AsRead,
         "WWWWWWWWWW EEEEEEEEEE"},
        {"test mode", [](auto& m) { m.versionText = "TestMode "; }, {V9, R1, R2}, {}, "Test Mode", AsRead,
         "WWWWWWWWWW EEEEEEEEEE"},
        // The version unknown: the values of the read before stay, out of reach.
        {"unrecognised version", [](auto& m) { m.versionText = "Vers7.77X"; }, {V9}, {InvalidVersion},
         "Unrecognised", AsRead, "WWWWWWWWWW DDDDDDDDDD"},
        {"silent on page 1", [](auto& m) { m.knobs.answerFrames = 1; }, {V9, R1}, {NoReply, NotRead}, "V2.05D", Blank,
         "RRRRRRRRRR EEEEEEEEEE"},
        {"875.1 ms read at entry 8",
         [](auto& m) {
             m.Poke(false, 0xE2, 0, 0x16, 0x55);
             m.Poke(false, 0xE2, 0, 0x17, 0x60);
         },
         {V9, R1, R2}, {}, "V2.05D", "62.5 125 187.5 250 312.5 375 437.5 500   625", "WWWWWWWWRW EEEEEEEEEE"},
        {"not supported after a read", [](auto& m) { m.versionText = "Vers2.00P"; }, {V9}, {NotSupported}, "V2.00P",
         Blank, "WWWWWWWWWW DDDDDDDDDD"},
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
        QWidget* d = Open();
        Click("cmdTATRead");
        EXPECT_EQ(Sent(), r.frames);
        EXPECT_EQ(boxes.Boxes(), r.boxes);
        EXPECT_EQ(Forms::S(lblFirmware->text()), r.label);
        EXPECT_EQ(Texts(d), r.texts);
        EXPECT_EQ(Look(d), r.look);
        EXPECT_FALSE(Enabled("cmdTATWrite"));
        EXPECT_EQ(QApplication::focusWidget(), Control("cmdTATRead"));
    }
    // The unsupported unit left both copies reset.
    EXPECT_EQ(ReadMultiTAT.Value(0), 61.5f);
    EXPECT_EQ(EditMultiTAT.Value(0), 61.5f);
}

TEST_F(MultiTATDialogTest, TypedValuesAreCheckedWhenTheEntryIsLeft)
{
    QWidget* d = Open();
    Read();
    const struct {
        const char* typed;
        bool accepted;
        const char* shown;
        char colour;
        bool okToWrite; // a text that is no number leaves the flag alone
    } rows[] = {
        {"100.01", true, "100", 'O', true}, {"62.4", false, "62.4", 'W', false}, {"875.1", false, "875.1", 'W', false},
        {"abc", false, "abc", 'W', true},      {"875", true, "875", 'O', true},      {" 125 ", true, "125", 'W', true},
        {"1e400", false, "1e400", 'W', true},  {"", false, "", 'W', true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        Click("cmdTATCancel");
        Type(1, r.typed);
        EXPECT_EQ(QApplication::focusWidget() == Entry(d, 1), !r.accepted);
        EXPECT_EQ(Forms::S(Entry(d, 1)->currentText()), r.shown);
        EXPECT_EQ(Look(d)[1], r.colour);
        EXPECT_EQ(EditMultiTAT.OKToWrite(1), r.okToWrite);
        EXPECT_EQ(Enabled("cmdTATWrite"), r.accepted && r.colour == 'O');
    }

    // A valid change, then a bad value: Set's click follows a refused focus change and writes nothing.
    Click("cmdTATCancel");
    Type(2, "200");
    Type(3, "900");
    ASSERT_TRUE(Enabled("cmdTATWrite"));
    Click("cmdTATWrite");
    EXPECT_EQ(QApplication::focusWidget(), Entry(d, 3));
    EXPECT_EQ(Sent(), Frames{});
    // Cancel brings the values read back; a value read invalid is reported.
    model.Poke(false, 0xE2, 0, 0x02, 0);
    model.Poke(false, 0xE2, 0, 0x03, 0);
    Read();
    Type(0, "70");
    boxes.Answer(MsgBoxResult::OK);
    Click("cmdTATCancel");
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{Invalid});
    EXPECT_EQ(Texts(d), "62.5   187.5 250 312.5 375 437.5 500 562.5 625");
    EXPECT_EQ(Look(d), "WRWWWWWWWW EEEEEEEEEE");
    EXPECT_FALSE(Enabled("cmdTATWrite"));
}

TEST_F(MultiTATDialogTest, SetWritesBothPagesThenInitialises)
{
    QWidget* d = Open();
    Read();
    Type(0, "100");
    Type(9, "875"); // Tab from the last entry confirms it too
    EXPECT_EQ(Look(d), "OWWWWWWWWO EEEEEEEEEE");
    const double before = clock.Elapsed();
    Click("cmdTATWrite");
    EXPECT_EQ(Sent(), (Frames{"!W|E2|00|00|0A|09|AF|0C|20|12|3A|18|55|1E|70",
                              "!W|E2|00|10|0A|24|8A|2A|A4|30|BF|36|DA|55|5E", INIT}));
    // Half a second and the delay between commands on each side of the initialise command.
    EXPECT_GE(clock.Elapsed() - before, 1.1);
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{});
    EXPECT_EQ(ReadMultiTAT.Value(9), 875.0f);
    // The table counts as not read: the entries stay off until the next Get.
    const std::string written = "100 125 187.5 250 312.5 375 437.5 500 562.5 875";
    EXPECT_EQ(Texts(d), written);
    EXPECT_EQ(Look(d), "WWWWWWWWWW DDDDDDDDDD");
    EXPECT_FALSE(Enabled("cmdTATWrite"));
    EXPECT_EQ(dialog->StatusText(), "");

    // Opened again, the dialog shows the same without an exchange.
    d = Open();
    EXPECT_EQ(Texts(d), written);
    EXPECT_EQ(Sent(), Frames{});
}

// Entry 0 holds 06 05 and entry 1 0C 21, which show rounded as 62.5 and 125.
// Set sends back every entry the user left as the word it was read as; an
// entry counts as changed only when its value would travel as another word.
TEST_F(MultiTATDialogTest, UntouchedEntriesGoBackAsTheWordsRead)
{
    const std::string page2AsRead = "!W|E2|00|10|0A|24|8A|2A|A4|30|BF|36|DA|3C|F4";
    const struct {
        int entry;
        std::vector<const char*> typed; // in turn, each left with Tab
        const char* look;
        Frames frames;
    } rows[] = {
        {7, {"600"}, "WWWWWWWOWW EEEEEEEEEE",
         {"!W|E2|00|00|0A|06|05|0C|21|12|3A|18|55|1E|70", "!W|E2|00|10|0A|24|8A|2A|A4|3A|83|36|DA|3C|F4", INIT}},
        // Back to the text shown, but 62.5 ms travels as 06 06.
        {0, {"70", "62.5"}, "OWWWWWWWWW EEEEEEEEEE", {"!W|E2|00|00|0A|06|06|0C|21|12|3A|18|55|1E|70", page2AsRead, INIT}},
        // Not as shown, but 125.04 ms travels as the 0C 21 read: nothing to write.
        {1, {"125.04"}, "WWWWWWWWWW EEEEEEEEEE", {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed.back());
        model = Sim::TransponderModel();
        model.versionText = "Vers2.05D";
        for (auto [p3, byte] : {std::pair<uint8_t, uint8_t>{0x00, 0x06}, {0x01, 0x05}, {0x02, 0x0C}, {0x03, 0x21}}) {
            model.Poke(false, 0xE2, 0, p3, byte);
        }
        QWidget* d = Open();
        Read();
        ASSERT_EQ(Texts(d), AsRead);
        for (const char* typed : r.typed) {
            Type(r.entry, typed);
        }
        EXPECT_EQ(Look(d), r.look);
        EXPECT_EQ(Enabled("cmdTATWrite"), !r.frames.empty());
        Click("cmdTATWrite");
        EXPECT_EQ(Sent(), r.frames);
    }
}

// Entry 0 reads 100 ms (09 AF). An accepted entry shows what Set sends, in the
// form a read shows it: the same text after Tab, after Set and after a Get.
TEST_F(MultiTATDialogTest, AnEntryShowsTheValueAsItWillTravel)
{
    const std::string rest = " 125 187.5 250 312.5 375 437.5 500 562.5 625";
    const std::string page2AsRead = "!W|E2|00|10|0A|24|8A|2A|A4|30|BF|36|DA|3C|F4";
    const struct {
        const char* typed;
        const char* shown;
        const char* look;
        Frames frames;
    } rows[] = {
        {"100.01", "100", "WWWWWWWWWW EEEEEEEEEE", {}},
        {"62.51", "62.5", "OWWWWWWWWW EEEEEEEEEE",
         {"!W|E2|00|00|0A|06|06|0C|20|12|3A|18|55|1E|70", page2AsRead, INIT}},
        {"874.99", "875", "OWWWWWWWWW EEEEEEEEEE",
         {"!W|E2|00|00|0A|55|5E|0C|20|12|3A|18|55|1E|70", page2AsRead, INIT}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        model = Sim::TransponderModel();
        model.versionText = "Vers2.00D";
        model.Poke(false, 0xE2, 0, 0x00, 0x09);
        model.Poke(false, 0xE2, 0, 0x01, 0xAF);
        QWidget* d = Open();
        Read();
        ASSERT_EQ(Texts(d), "100" + rest);
        Type(0, r.typed);
        EXPECT_EQ(Texts(d), r.shown + rest);
        EXPECT_EQ(Look(d), r.look);
        EXPECT_EQ(Enabled("cmdTATWrite"), !r.frames.empty());
        Click("cmdTATWrite");
        EXPECT_EQ(Sent(), r.frames);
        EXPECT_EQ(Texts(d), r.shown + rest);
        Read();
        EXPECT_EQ(Texts(d), r.shown + rest);
    }
}

// A table read from a V2.00D unit, edited and cancelled, is not shown once the
// general dialog has found another unit, even with a unit without the table
// read between.
TEST_F(MultiTATDialogTest, AnEarlierUnitsTableIsNotShown)
{
    const std::vector<const char*> rows[] = {{"Vers1.11S "}, {"Vers2.05F", "Vers1.11S "}};
    for (const auto& versions : rows) {
        SCOPED_TRACE(versions.front());
        model = Sim::TransponderModel();
        model.versionText = "Vers2.00D";
        QWidget* d = Open();
        Read();
        Type(0, "100");
        Click("cmdTATCancel");
        Click("cmdExit");
        FirmwareWindow general;
        for (const char* version : versions) {
            model.versionText = version;
            FirmwareReader::GetFirmware(FirmwarePolicies::frmGenSettings, general);
        }
        Sent();
        d = Open();
        EXPECT_EQ(Texts(d), Blank);
        EXPECT_EQ(Look(d), "WWWWWWWWWW DDDDDDDDDD");
        EXPECT_FALSE(Enabled("cmdTATWrite"));
        EXPECT_EQ(Sent(), Frames{});
    }
}

// The list steps on from the value shown, not from its first item, by the
// arrow key or by the wheel over the entry being edited.
TEST_F(MultiTATDialogTest, ArrowKeyStepsFromTheValueShown)
{
    QWidget* d = Open();
    const std::function<void(QComboBox*)> steps[] = {
        [](QComboBox* entry) { QTest::keyClick(entry, Qt::Key_Down); },
        [](QComboBox* entry) { Wheel(entry, -1); },
    };
    for (const auto& step : steps) {
        Read();
        QTest::mouseClick(Entry(d, 7)->lineEdit(), Qt::LeftButton);
        step(Entry(d, 7));
        QTest::keyClick(Entry(d, 7), Qt::Key_Tab);
        EXPECT_EQ(Texts(d), "62.5 125 187.5 250 312.5 375 437.5 562.5 562.5 625");
        EXPECT_EQ(Look(d), "WWWWWWWOWW EEEEEEEEEE");
    }
}

// The mouse changes no entry but the one being edited: while an entry refuses
// to be left the rest of the window takes no press, drop-down or wheel, and
// the wheel over an entry without the focus does nothing. Set then writes
// what the entries show.
TEST_F(MultiTATDialogTest, TheMouseChangesNoEntryButTheOneBeingEdited)
{
    // From the arrow: the list opens at 375; two down is 500.
    const auto pick500 = [](QComboBox* entry) {
        QTest::mouseClick(entry, Qt::LeftButton, {}, QPoint(entry->width() - 4, entry->height() / 2));
        if (QAbstractItemView* list = entry->view(); list->isVisible()) {
            for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}) {
                QTest::keyClick(list, key);
            }
        }
    };
    const auto doubleClick = [](QComboBox* entry) {
        QTest::mouseDClick(entry, Qt::LeftButton, {}, QPoint(entry->width() - 4, entry->height() / 2));
    };
    const struct {
        const char* name;
        const char* typed; // into entry 3, which keeps the focus
        std::function<void(QComboBox*)> reach; // entry 5
    } rows[] = {
        {"drop-down while refused", "900", pick500},
        {"wheel while refused", "900", [](QComboBox* entry) { Wheel(entry, -1); }},
        {"double click while refused", "900", doubleClick},
        {"wheel without the focus", "300", [](QComboBox* entry) { Wheel(entry, -1); }},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        model = Sim::TransponderModel();
        model.versionText = "Vers2.05D";
        QWidget* d = Open();
        Read();
        Type(3, r.typed, false);
        r.reach(Entry(d, 5));
        EXPECT_FALSE(Entry(d, 5)->view()->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), Entry(d, 3));
        EXPECT_EQ(Texts(d), "62.5 125 187.5 " + std::string(r.typed) + " 312.5 375 437.5 500 562.5 625");
        Type(3, "300");
        Click("cmdTATWrite");
        EXPECT_EQ(Sent(), (Frames{"!W|E2|00|00|0A|06|06|0C|20|12|3A|1D|37|1E|70",
                                  "!W|E2|00|10|0A|24|8A|2A|A4|30|BF|36|DA|3C|F4", INIT}));
        EXPECT_EQ(Texts(d), "62.5 125 187.5 300 312.5 375 437.5 500 562.5 625");
    }
}

// Alt+S clicks Set with the focus still in the entry being edited: the entry is
// checked first, a refused value writes nothing, an accepted one is written.
TEST_F(MultiTATDialogTest, SetByItsAccessKeyChecksTheEntryFirst)
{
    QWidget* d = Open();
    Read();
    Type(3, "350");
    auto* set = Find<QPushButton>(d, "cmdTATWrite");
    const struct {
        const char* typed;
        Frames frames;
    } rows[] = {
        {"900", {}},
        {"400", {"!W|E2|00|00|0A|06|06|0C|20|12|3A|22|19|26|FB", "!W|E2|00|10|0A|24|8A|2A|A4|30|BF|36|DA|3C|F4", INIT}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        QTest::mouseClick(Entry(d, 4)->lineEdit(), Qt::LeftButton);
        QTest::keyClick(Entry(d, 4), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Entry(d, 4), QString::fromLatin1(r.typed));
        QTest::keyClick(Entry(d, 4), Qt::Key_S, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([set] { return !set->isDown(); })); // the key's click comes a moment later
        EXPECT_EQ(Sent(), r.frames);
        EXPECT_EQ(QApplication::focusWidget() == Entry(d, 4), r.frames.empty());
    }
}

// An access key that no enabled control carries types nothing: Set is off and
// no control has Q, so the entry keeps the value read.
TEST_F(MultiTATDialogTest, AnAccessKeyWithoutItsControlTypesNothing)
{
    QWidget* d = Open();
    Read();
    ASSERT_FALSE(Enabled("cmdTATWrite"));
    QTest::mouseClick(Entry(d, 3)->lineEdit(), Qt::LeftButton);
    QTest::keyClick(Entry(d, 3), Qt::Key_S, Qt::AltModifier);
    QTest::keyClick(Entry(d, 3), Qt::Key_Q, Qt::AltModifier);
    QTest::keyClick(Entry(d, 3), Qt::Key_Tab);
    EXPECT_EQ(Texts(d), AsRead);
    EXPECT_EQ(Look(d), "WWWWWWWWWW EEEEEEEEEE");
    EXPECT_FALSE(Enabled("cmdTATWrite"));
    EXPECT_EQ(Sent(), Frames{});
}

// While Set runs, up to the end of the initialise that follows the pages, the
// changed entry keeps its orange on its disabled box; only then does it show
// as the unit's.
TEST_F(MultiTATDialogTest, AChangedEntryKeepsItsColourWhileSetRuns)
{
    QWidget* d = Open();
    Read();
    Type(3, "300");
    std::vector<std::string> looks; // at each frame on the wire
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (model.Frames().size() > looks.size()) {
            looks.push_back(Look(d));
        }
    });
    watch.start();
    Click("cmdTATWrite");
    watch.stop();
    EXPECT_EQ(looks, std::vector<std::string>(3, "WWWOWWWWWW DDDDDDDDDD"));
    EXPECT_EQ(Look(d), "WWWWWWWWWW DDDDDDDDDD");
    EXPECT_EQ(Sent(), (Frames{"!W|E2|00|00|0A|06|06|0C|20|12|3A|1D|37|1E|70",
                              "!W|E2|00|10|0A|24|8A|2A|A4|30|BF|36|DA|3C|F4", INIT}));
}

TEST_F(MultiTATDialogTest, RunTimeErrorDuringSetIsReportedAndTheDialogIdles)
{
    QWidget* d = Open();
    Read();
    Type(4, "400");
    EditMultiTAT.Value(4, 3000.0f); // no 16-bit word: no entry lets such a value through
    boxes.Answer(MsgBoxResult::OK);
    Click("cmdTATWrite");
    const ShownBox overflow{"Error from cmdTATWriteErrorHandler (frmMultiTAT) trapped in CatchAll Errors.", 48,
                            "Error:  6  Overflow"};
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{overflow});
    EXPECT_EQ(Sent(), Frames{});
    EXPECT_FALSE(Control("cmdExit")->isHidden());
    EXPECT_TRUE(Control("cmdProgressCancel")->isHidden());
    EXPECT_TRUE(Enabled("cmdTATRead"));
    EXPECT_EQ(Look(d), "WWWWOWWWWW EEEEEEEEEE");
    Click("cmdExit");
    EXPECT_FALSE(d->isVisible());
}

} // namespace
