// The multi turn-around-time dialog, opened over the real main window, against
// the simulated transponder on a real pseudo-terminal: every frame the
// transponder received, what it holds afterwards, the entries and the boxes.
// The real clock runs; the time-out rows wait their second.
#include "clsMultiTAT.h"
#include "e2e_fixture.h"
#include "forms.h"
#include "frmMultiTAT.h"
#include "multitat_probe.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace MultiTATProbe;
using Frames = std::vector<std::string>;

class MultiTATEndToEnd : public ::testing::Test, public PtyMainWindow {
protected:
    void SetUp() override
    {
        WithModel([](Model& m) { m.versionText = "Vers2.05D"; });
        Start();
        Load();
        dialog = std::make_unique<frmMultiTAT>(win.get());
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    void TearDown() override
    {
        dialog.reset();
        Finish();
    }

    // The bytes the transponder holds for entry n (high, low).
    std::pair<int, int> Word(int n)
    {
        std::pair<int, int> word;
        WithModel([&](Model& m) {
            const auto p3 = static_cast<uint8_t>((n < 5 ? 0x00 : 0x10) + 2 * (n % 5));
            word = {m.Peek(false, 0xE2, 0, p3), m.Peek(false, 0xE2, 0, static_cast<uint8_t>(p3 + 1))};
        });
        return word;
    }

    void Click(const char* button) { MultiTATProbe::Click(dialog.get(), button); }
    void Type(int n, const char* text) { MultiTATProbe::Type(dialog.get(), n, text); }
    QWidget* Control(const char* name) const { return Find(dialog.get(), QString::fromLatin1(name)); }
    const QWidget* d() const { return dialog.get(); }
    std::string Firmware() const
    {
        const uint32_t c = Forms::BackColor(win->lblFirmware);
        return Forms::S(win->lblFirmware->text()) + "/" + (c == Forms::vbWhite ? "W" : c == Forms::vbRed ? "R" : "?");
    }
    // OK for the next `count` boxes.
    void Expect(int count)
    {
        for (int i = 0; i < count; ++i) {
            boxes.Answer(MsgBoxResult::OK);
        }
    }

    std::unique_ptr<frmMultiTAT> dialog;
};

TEST_F(MultiTATEndToEnd, SupportedUnitReadEditedWrittenAndReadBack)
{
    Take();
    Click("cmdTATRead");
    EXPECT_EQ(Take(), (Frames{V9, R1, R2}));
    EXPECT_EQ(Firmware(), "V2.05D/W");
    EXPECT_EQ(Texts(d()), AsRead);

    Type(3, "300");
    Type(6, "812.5");
    EXPECT_EQ(Look(d()), "WWWOWWOWWW EEEEEEEEEE");
    Click("cmdTATWrite");
    EXPECT_EQ(Take(), (Frames{"!W|E2|00|00|0A|06|06|0C|20|12|3A|1D|37|1E|70",
                              "!W|E2|00|10|0A|24|8A|4F|44|30|BF|36|DA|3C|F4", INIT}));
    EXPECT_EQ(Word(3), std::make_pair(0x1D, 0x37));
    EXPECT_EQ(Word(6), std::make_pair(0x4F, 0x44));
    EXPECT_EQ(Word(9), std::make_pair(0x3C, 0xF4));
    EXPECT_EQ(Look(d()), "WWWWWWWWWW DDDDDDDDDD");

    // Read back: the transponder gives what was written.
    Click("cmdTATRead");
    EXPECT_EQ(Take(), (Frames{V9, R1, R2}));
    EXPECT_EQ(Texts(d()), "62.5 125 187.5 300 312.5 375 812.5 500 562.5 625");
    EXPECT_EQ(Look(d()), "WWWWWWWWWW EEEEEEEEEE");
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{});
}

TEST_F(MultiTATEndToEnd, UnsupportedUnit)
{
    WithModel([](Model& m) { m.versionText = "Vers2.05F"; });
    Take();
    Expect(1);
    Click("cmdTATRead");
    EXPECT_EQ(Take(), Frames{V9});
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{NotSupported});
    EXPECT_EQ(Firmware(), "V2.05F/W");
    EXPECT_EQ(Texts(d()), Blank);
    EXPECT_EQ(Look(d()), "WWWWWWWWWW DDDDDDDDDD");
}

TEST_F(MultiTATEndToEnd, UnitStopsAnsweringAfterTheFirstPage)
{
    Take();
    WithModel([](Model& m) { m.knobs.answerFrames = 2; });
    Expect(2);
    Click("cmdTATRead");
    EXPECT_EQ(Take(), (Frames{V9, R1, R2}));
    EXPECT_EQ(boxes.Boxes(), (std::vector<ShownBox>{NoReply, NotRead}));
    EXPECT_EQ(Texts(d()), "62.5 125 187.5 250 312.5          ");
    EXPECT_EQ(Look(d()), "WWWWWRRRRR EEEEEEEEEE");
    EXPECT_FALSE(Control("cmdTATWrite")->isEnabled());
}

TEST_F(MultiTATEndToEnd, RefusedSecondPage)
{
    WithModel([](Model& m) { m.knobs.acceptWrites = 1; });
    Take();
    Click("cmdTATRead");
    Take();
    Type(2, "200");
    Type(7, "300");
    Expect(1);
    Click("cmdTATWrite");
    EXPECT_EQ(Take(), (Frames{"!W|E2|00|00|0A|06|06|0C|20|13|73|18|55|1E|70",
                              "!W|E2|00|10|0A|24|8A|2A|A4|1D|37|36|DA|3C|F4"}));
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{NotWritten});
    EXPECT_EQ(Word(2), std::make_pair(0x13, 0x73));
    EXPECT_EQ(Word(7), std::make_pair(0x30, 0xBF)); // as it was
    // Only the acknowledged page counts as written: entry 7 is still a change.
    EXPECT_EQ(ReadMultiTAT.Value(2), 200.0f);
    EXPECT_EQ(ReadMultiTAT.Value(7), 500.0f);
    EXPECT_EQ(Look(d()), "WWWWWWWOWW EEEEEEEEEE");
    EXPECT_TRUE(Control("cmdTATWrite")->isEnabled());
}

TEST_F(MultiTATEndToEnd, CancelDuringARead)
{
    Take();
    WithModel([](Model& m) { m.knobs.answerFrames = 1; }); // page 1 waits for a reply that never comes
    // Once page 1 is on the wire: the busy state, closing refused, then Cancel.
    std::string during;
    auto* timer = new QTimer(dialog.get());
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, dialog.get(), [&, timer] {
        size_t frames = 0;
        WithModel([&](Model& m) { frames = m.Frames().size(); });
        if (frames >= 2) {
            timer->stop();
            dialog->close();
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
            for (const char* name : {"cmdExit", "cmdProgressCancel", "cmdTATRead"}) {
                during += std::string(name) + (Control(name)->isVisible() ? " shown" : " hidden") +
                          (Control(name)->isEnabled() ? " on, " : " off, ");
            }
            during += dialog->isVisible() ? "open" : "closed";
            Click("cmdProgressCancel");
        }
    });
    timer->start();
    Expect(1);
    Click("cmdTATRead");
    EXPECT_EQ(during, "cmdExit hidden on, cmdProgressCancel shown on, cmdTATRead shown off, open");
    // No time-out box, and page 2 never sent.
    EXPECT_EQ(Take(), (Frames{V9, R1}));
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{NotRead});
    Click("cmdExit");
    EXPECT_FALSE(dialog->isVisible());
}

} // namespace
