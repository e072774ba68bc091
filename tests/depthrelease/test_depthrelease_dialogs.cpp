// The depth dialog's Get and Set against the simulated transponder.
#include "clsDepth.h"
#include "clsFirmware.h"
#include "clsSettings.h"
#include "frmDepth.h"
#include "link_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const std::string ReadFrame("!R\xA0\x04\x00\x01\x00", 7);

class DepthDialogTest : public LinkFixture {
protected:
    DepthDialogTest() { AppSettings.TpdrTelemWait(1.0f); }
};

TEST_F(DepthDialogTest, GetShowsTheStateTheTransponderReports)
{
    struct Row {
        uint8_t byte;
        int32_t fw;
        int16_t onOff;
        const char* shown;
    };
    const Row rows[] = {
        {0x01, 411, 1, "ON"},         {0x00, 411, 2, "OFF"}, {0x02, 411, 3, "Status ON"},
        {0xFF, 411, 4, "Not fitted"}, {0xFF, 300, 0, "Not read"}, {0x07, 411, 0, "Not read"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.byte));
        model.Poke(false, 0xA0, 0x04, 0x00, row.byte);
        model.ClearFrames();
        TpdrFirmware.FWVersion(row.fw);
        ReadDepth.OnOff(2);
        frmDepth dialog;
        QTest::mouseClick(dialog.cmdGet, Qt::LeftButton);
        EXPECT_EQ(model.Frames(), std::vector<std::string>{ReadFrame});
        EXPECT_EQ(ReadDepth.OnOff(), row.onOff);
        EXPECT_EQ(dialog.lblDepthOnOff->text().toStdString(), row.shown);
        EXPECT_EQ(dialog.cmdSet->isEnabled(), row.onOff != 4);
    }
}

// A Get that fails leaves the state not read: the state shown before is no
// longer known to be the unit's.
TEST_F(DepthDialogTest, FailedGetLeavesTheStateNotRead)
{
    model.Poke(false, 0xA0, 0x04, 0x00, 0x01);
    TpdrFirmware.FWVersion(411);
    ReadDepth.OnOff(0);
    frmDepth dialog;
    QTest::mouseClick(dialog.cmdGet, Qt::LeftButton);
    ASSERT_EQ(dialog.lblDepthOnOff->text().toStdString(), "ON");

    model.knobs.noReply = true;
    boxes.Answer(1);
    QTest::mouseClick(dialog.cmdGet, Qt::LeftButton);
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{NoReplyBox});
    EXPECT_EQ(ReadDepth.OnOff(), 0);
    EXPECT_EQ(dialog.lblDepthOnOff->text().toStdString(), "Not read");
}

// Get, Set and Exit clicked while a read waits for a silent unit: nothing
// more is sent and the dialog stays open under the running exchange.
TEST_F(DepthDialogTest, ClicksDuringAnExchangeDoNothing)
{
    model.knobs.answerFrames = 0;
    boxes.Answer(1);
    frmDepth dialog;
    dialog.show();
    int clicked = 0;
    QTimer::singleShot(0, &dialog, [&] {
        ++clicked;
        for (QPushButton* button : {dialog.cmdGet, dialog.cmdSet, dialog.cmdExit}) {
            QTest::mouseClick(button, Qt::LeftButton);
        }
    });
    QTest::mouseClick(dialog.cmdGet, Qt::LeftButton);
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(model.Frames(), std::vector<std::string>{ReadFrame});
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{NoReplyBox});
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(DepthDialogTest, SetWritesTheChoiceAndReadsItBack)
{
    struct Row {
        int choice; // 0 ON, 1 OFF
        bool refused;
        std::vector<std::string> frames;
        uint8_t stored;
        int16_t onOff;
        std::vector<ShownBox> shown;
    };
    const std::string writeOn("!W\xA0\x04\x00\x01\x01", 7);
    const std::string writeOff("!W\xA0\x04\x00\x01\x00", 7);
    const Row rows[] = {
        {1, false, {writeOff, ReadFrame}, 0x00, 2, {}},
        {0, false, {writeOn, ReadFrame}, 0x01, 1, {}},
        {1, true, {writeOff}, 0x02, 3, {{"The transponder did not accept the depth setting.", 48, "Depth Sensor"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.choice);
        model.Poke(false, 0xA0, 0x04, 0x00, 0x02);
        model.ClearFrames();
        model.knobs.refuseWrites = row.refused;
        ReadDepth.OnOff(3);
        boxes.Clear();
        for (size_t i = 0; i < row.shown.size(); ++i) {
            boxes.Answer(1);
        }
        frmDepth dialog;
        dialog.cboDepthOnOff->setCurrentIndex(row.choice);
        QTest::mouseClick(dialog.cmdSet, Qt::LeftButton);
        EXPECT_EQ(model.Frames(), row.frames);
        EXPECT_EQ(model.Peek(false, 0xA0, 0x04, 0x00), row.stored);
        EXPECT_EQ(ReadDepth.OnOff(), row.onOff);
        EXPECT_EQ(boxes.Boxes(), row.shown);
    }
}

} // namespace
