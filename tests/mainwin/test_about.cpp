// The about box: what it shows and the models box.
#include "appinfo.h"
#include "frmAbout.h"
#include "globals.h"
#include "scripted_dialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(AboutTest, ShowsTitleFullVersionAndCompany)
{
    frmAbout about;
    const int revision = App::Revision();
    const std::string twoDigits = std::string(revision < 10 ? "0" : "") + std::to_string(revision);
    EXPECT_EQ(about.windowTitle().toStdString(), "About");
    EXPECT_EQ(about.lblProduct->text().toStdString(), AppTitleVersion() + "." + twoDigits);
    EXPECT_EQ(about.lblCopyright->text(), QString(QChar(0xA9)));
    EXPECT_EQ(about.lblCompany->text().toStdString(), "Orvane");
    EXPECT_FALSE(about.imgLogo->pixmap().isNull());
}

TEST(AboutTest, ProductsBoxListsTheSevenModels)
{
    ScriptedDialogs boxes;
    boxes.Answer(1);
    frmAbout about;
    QTest::mouseClick(about.cmdProducts, Qt::LeftButton);
    const std::string text = "Ths software supports the following products:     \r\n\r\n"
                             "     Type 5120 VTL (Directional)\r\n"
                             "     Type 5121 VTL (Omni)\r\n"
                             "     Type 5020 Corvel Tidelet (Directional)\r\n"
                             "     Type 5023 Corvel Tidelet (Omni)\r\n"
                             "     Type 5021 HVR (Omni)\r\n"
                             "     Type 5027 HVR (Directional)\r\n"
                             "     Type 5028 HVR (Narrow Beam)\r\n"
                             "\r\n";
    EXPECT_EQ(boxes.Boxes(), (std::vector<ShownBox>{{text, 64, "Products supported"}}));
}

} // namespace
