// The channel test dialog serves the range test and the depth test.
#include "clsSettings.h"
#include "frmChanTest.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

TEST(ChanTestDialogTest, CaptionFollowsTheTestAsked)
{
    struct Row {
        bool depthTest;
        const char* caption;
        const char* message;
    };
    const Row rows[] = {
        {false, "Channel Range Test", "The channel range test is not available in this version."},
        {true, "Channel Depth Test", "The channel depth test is not available in this version."},
    };
    const bool saved = AppSettings.ANTDepthTest();
    for (const Row& row : rows) {
        AppSettings.ANTDepthTest(row.depthTest);
        const frmChanTest dialog;
        EXPECT_EQ(dialog.windowTitle().toStdString(), row.caption);
        EXPECT_EQ(dialog.findChild<QLabel*>("lblMessage")->text().toStdString(), row.message);
    }
    AppSettings.ANTDepthTest(saved);
}

} // namespace
