#include "frmIOlist.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string VersionCmd = "!V|A0|00|00|09|00|00|00|00|00|00|00|00|00|";
const std::string InitCmd = "!I|00|00|00|00|";

class IOListTest : public ::testing::Test {
protected:
    IOListTest()
    {
        form.OnUnload = [this] { ++unloads; };
        form.show();
    }

    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < form.lstIO->count(); ++i) {
            lines.push_back(form.lstIO->item(i)->text().toLatin1().toStdString());
        }
        return lines;
    }

    // One exchange as the link logs it.
    static void Exchange(const std::string& command, const std::string& reply)
    {
        LogCommand(command);
        LogReplyLine(reply);
    }

    int unloads = 0; // outlives the form, whose destructor unloads it
    frmIOlist form;
};

using List = std::vector<std::string>;

TEST_F(IOListTest, LoadingOpensTheLogWithAnEmptyList)
{
    EXPECT_TRUE(ShowIOFlag);
    EXPECT_EQ(IOList(), &form);
    EXPECT_EQ(form.windowTitle(), QString("Engineering Mode Beacon Command/Reply List"));
    EXPECT_EQ(form.lstIO->count(), 0);
    EXPECT_EQ(form.cmdInit->text(), QString("Skip Initialize Cmds"));
    EXPECT_EQ(form.cmdClear->text(), QString("Clear"));
    EXPECT_EQ(form.cmdClose->text(), QString("Close"));
    EXPECT_EQ(form.lstIO->font().family(), QString("Courier"));
    EXPECT_EQ(form.lstIO->font().styleHint(), QFont::TypeWriter);
    EXPECT_EQ(form.findChild<QListWidget*>("lstIO"), form.lstIO);
    EXPECT_EQ(form.findChild<QPushButton*>("cmdInit"), form.cmdInit);
}

TEST_F(IOListTest, AnExchangeIsOneLine)
{
    Exchange(VersionCmd, "TxV2.10F");
    EXPECT_EQ(Lines(), List{VersionCmd + "  >>  TxV2.10F"});
}

TEST_F(IOListTest, BytesAboveSevenBitsSurviveTheList)
{
    Exchange(std::string("!W|\xE0|", 5), std::string("\xFF\x80\0?", 4));
    EXPECT_EQ(Lines(), List{std::string("!W|\xE0|  >>  \xFF\x80\0?", 15)});
}

TEST_F(IOListTest, SixHundredExchangesKeepTheNewest499Lines)
{
    for (int i = 1; i <= 600; ++i) {
        Exchange("C" + std::to_string(i), "R" + std::to_string(i));
    }
    const List lines = Lines();
    ASSERT_EQ(lines.size(), 499u);
    EXPECT_EQ(lines.front(), "C102  >>  R102");
    EXPECT_EQ(lines.back(), "C600  >>  R600");
}

TEST_F(IOListTest, HiddenInitialiseLeavesTheJoinedLineAlone)
{
    Exchange("A", "ra");
    LogCommand(InitCmd);
    EXPECT_EQ(Lines(), List{"A  >>  ra"});
    Exchange("B", "rb");
    EXPECT_EQ(Lines(), (List{"A  >>  ra", "B  >>  rb"}));
}

TEST_F(IOListTest, HiddenInitialiseBetweenCommandAndReplyKeepsTheJoin)
{
    LogCommand("A");
    LogCommand(InitCmd);
    LogReplyLine("ra");
    EXPECT_EQ(Lines(), List{"A  >>  ra"});
}

TEST_F(IOListTest, CommandWithNothingSentStartsWithTheArrow)
{
    Exchange("", "reply");
    EXPECT_EQ(Lines(), List{"  >>  reply"});
}

TEST_F(IOListTest, ReplyAfterClearDuringTheWaitStandsAlone)
{
    Exchange("A", "ra");
    LogCommand("B");
    QTest::mouseClick(form.cmdClear, Qt::LeftButton);
    EXPECT_EQ(form.lstIO->count(), 0);
    EXPECT_FALSE(form.cmdClear->isEnabled());
    LogReplyLine("rb");
    EXPECT_EQ(Lines(), List{"  >>  rb"});
    EXPECT_TRUE(form.cmdClear->isEnabled());
}

TEST_F(IOListTest, ReplyAfterAReplyStandsAlone)
{
    Exchange("A", "ra");
    LogReplyLine("rb");
    EXPECT_EQ(Lines(), (List{"A  >>  ra", "  >>  rb"}));
}

TEST_F(IOListTest, ClearIsEnabledAgainByTheNextCommand)
{
    LogCommand("A");
    form.cmdClear->click();
    EXPECT_FALSE(form.cmdClear->isEnabled());
    LogCommand("B");
    EXPECT_TRUE(form.cmdClear->isEnabled());
    EXPECT_EQ(Lines(), List{"B"});
}

TEST_F(IOListTest, InitButtonTogglesHidingAndNamesTheMode)
{
    QTest::mouseClick(form.cmdInit, Qt::LeftButton);
    EXPECT_EQ(form.cmdInit->text(), QString("Display Init Cmds"));
    LogCommand(InitCmd);
    EXPECT_EQ(Lines(), List{InitCmd});

    QTest::mouseClick(form.cmdInit, Qt::LeftButton);
    EXPECT_EQ(form.cmdInit->text(), QString("Skip Initialize Cmds"));
    LogCommand(InitCmd);
    LogCommand("!IX"); // any command starting "!I" counts as initialise
    EXPECT_EQ(Lines(), List{InitCmd});
}

TEST_F(IOListTest, ClickingALineLeavesNothingSelected)
{
    Exchange("A", "ra");
    Exchange("B", "rb");
    const QRect rect = form.lstIO->visualItemRect(form.lstIO->item(1));
    QTest::mouseClick(form.lstIO->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(form.lstIO->currentRow(), -1);
    EXPECT_TRUE(form.lstIO->selectedItems().isEmpty());
}

TEST_F(IOListTest, CloseButtonUnloadsAndCloseBoxDoesNotUnloadTwice)
{
    QTest::mouseClick(form.cmdClose, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(ShowIOFlag);
    EXPECT_EQ(IOList(), nullptr);
    form.close();
    EXPECT_EQ(unloads, 1);
}

TEST_F(IOListTest, NothingIsLoggedWhileClosedAndReopeningStartsEmpty)
{
    Exchange("A", "ra");
    form.cmdInit->click();
    form.cmdClear->click();
    form.cmdClose->click();
    Exchange("B", "rb");

    form.show();
    EXPECT_TRUE(ShowIOFlag);
    EXPECT_EQ(IOList(), &form);
    EXPECT_EQ(form.lstIO->count(), 0);
    EXPECT_EQ(form.cmdInit->text(), QString("Skip Initialize Cmds"));
    EXPECT_TRUE(form.cmdClear->isEnabled());
    Exchange("C", "rc");
    EXPECT_EQ(Lines(), List{"C  >>  rc"});
}

TEST(IOList, DestroyingTheWindowUnloadsIt)
{
    int unloads = 0;
    {
        frmIOlist form;
        form.OnUnload = [&] { ++unloads; };
        EXPECT_TRUE(ShowIOFlag);
    }
    EXPECT_FALSE(ShowIOFlag);
    EXPECT_EQ(IOList(), nullptr);
    EXPECT_EQ(unloads, 1);
}

TEST_F(IOListTest, ResizeKeepsTheMinimumAndPlacesTheControls)
{
    const int clearLeft = form.cmdClear->x();
    const int initWidth = form.cmdInit->width();
    // In pixels of 15 twips: minimum 5835 x 1545; the list ends 900 and the
    // buttons start 765 above the bottom; Close starts 1155 from the right.
    struct Row {
        int w, h;          // asked for
        int width, height; // got
        int listHeight, buttonTop, closeLeft;
    };
    const std::vector<Row> rows = {
        {100, 50, 389, 103, 43, 52, 312},
        {800, 400, 800, 400, 340, 349, 723},
        {300, 500, 389, 500, 440, 449, 312},
        {389, 103, 389, 103, 43, 52, 312},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.w) + " x " + std::to_string(r.h));
        form.resize(r.w, r.h);
        QCoreApplication::processEvents();
        EXPECT_EQ(form.width(), r.width);
        EXPECT_EQ(form.height(), r.height);
        EXPECT_EQ(form.lstIO->height(), r.listHeight);
        EXPECT_EQ(form.lstIO->width(), r.width); // the start of every line shows
        for (const QPushButton* button : {form.cmdClear, form.cmdInit, form.cmdClose}) {
            EXPECT_EQ(button->y(), r.buttonTop) << button->objectName().toStdString();
        }
        EXPECT_EQ(form.cmdClose->x(), r.closeLeft);
        EXPECT_EQ(form.cmdInit->x(), (r.width - initWidth) / 2);
        EXPECT_EQ(form.cmdClear->x(), clearLeft);
    }
}

} // namespace
