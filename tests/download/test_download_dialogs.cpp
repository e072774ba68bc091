// The download password and download dialogs as the main window uses them.
#include "clsDownload.h"
#include "frmDownload.h"
#include "frmDownloadPassword.h"
#include "scripted_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(DownloadPasswordTest, OnlyTheRightPasswordWithOKIsAccepted)
{
    struct Row {
        const char* typed;
        bool ok; // else Cancel
        bool accepted;
    };
    const Row rows[] = {
        {"tidelet", true, true},   {"TIDELET", true, false}, {"tidelet ", true, false},
        {"", true, false},         {"tidelet", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("'") + row.typed + (row.ok ? "' OK" : "' Cancel"));
        TpdrDownload = std::make_unique<clsDownload>();
        frmDownloadPassword dialog;
        dialog.show();
        QTest::keyClicks(dialog.txtPassword, QString::fromLatin1(row.typed));
        QTest::mouseClick(row.ok ? dialog.cmdOK : dialog.cmdCancel, Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(TpdrDownload->Password(), row.accepted);
    }
    TpdrDownload.reset();
}

TEST(DownloadTest, AChosenFileStartsNoDownload)
{
    for (const char* chosen : {"/data/FW520.DLD", ""}) {
        SCOPED_TRACE(chosen);
        ScriptedDialogs boxes;
        boxes.AnswerOpen(chosen);
        if (*chosen != '\0') {
            boxes.Answer(1);
        }
        DownloadAttempted = false;
        frmDownload dialog;
        dialog.show();
        QTest::mouseClick(dialog.cmdOpen, Qt::LeftButton);
        ASSERT_EQ(boxes.FileRequests().size(), 1u);
        EXPECT_EQ(boxes.FileRequests()[0].filter, "Download Files (*.DLD)|*.DLD");
        const std::vector<ShownBox> expected =
            *chosen == '\0' ? std::vector<ShownBox>{}
                            : std::vector<ShownBox>{{"Firmware download is not available in this version.", 64,
                                                     "Firmware Download"}};
        EXPECT_EQ(boxes.Boxes(), expected);
        EXPECT_FALSE(DownloadAttempted);
        QTest::mouseClick(dialog.cmdClose, Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    }
}

} // namespace
