// The forms runtime's closing and validation rules.
#include "forms.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <vector>

namespace {

using CloseBy = Forms::Dialog::CloseBy;

class Probe : public Forms::Dialog {
public:
    Probe()
    {
        auto* layout = new QVBoxLayout(this);
        for (QWidget* w : {static_cast<QWidget*>(field), static_cast<QWidget*>(exit), static_cast<QWidget*>(other)}) {
            layout->addWidget(w);
        }
        Forms::SetCausesValidation(exit, false);
        Forms::OnValidate(field, [this](bool& Cancel) {
            ++validations;
            Cancel = field->text() == "bad";
        });
    }
    void Show()
    {
        show();
        activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(this));
    }

    QLineEdit* field = new QLineEdit(this);
    QPushButton* exit = new QPushButton(QStringLiteral("Exit"), this);
    QLineEdit* other = new QLineEdit(this);
    bool refuse = false;
    int validations = 0;
    std::vector<CloseBy> asked;

protected:
    void QueryUnload(bool& Cancel, CloseBy how) override
    {
        asked.push_back(how);
        Cancel = refuse;
    }
};

TEST(FormsDialogTest, EveryWayOfClosingAsksFirstAndBusyIgnoresTheUser)
{
    struct Row {
        bool busy;
        bool refuse;
        CloseBy how;
        bool closes;
        std::vector<CloseBy> asked;
    };
    const Row rows[] = {
        {false, false, CloseBy::CloseBox, true, {CloseBy::CloseBox}},
        {false, false, CloseBy::Escape, true, {CloseBy::Escape}},
        {false, false, CloseBy::Code, true, {CloseBy::Code}},
        {false, true, CloseBy::CloseBox, false, {CloseBy::CloseBox}},
        {false, true, CloseBy::Code, false, {CloseBy::Code}},
        {true, false, CloseBy::CloseBox, false, {}},
        {true, false, CloseBy::Escape, false, {}},
        {true, false, CloseBy::Code, true, {CloseBy::Code}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "busy " << row.busy << " refuse " << row.refuse << " how "
                                          << static_cast<int>(row.how));
        Probe probe;
        probe.Show();
        probe.SetBusy(row.busy);
        probe.refuse = row.refuse;
        switch (row.how) {
        case CloseBy::CloseBox:
            probe.close();
            break;
        case CloseBy::Escape:
            QTest::keyClick(&probe, Qt::Key_Escape);
            break;
        case CloseBy::Code:
            probe.Unload();
            break;
        }
        EXPECT_EQ(probe.isVisible(), !row.closes);
        EXPECT_EQ(probe.asked, row.asked);
    }
}

TEST(FormsValidateTest, AMoveToAControlThatDoesNotValidateLeavesTheCheckPending)
{
    Probe probe;
    probe.Show();
    probe.field->setFocus();
    probe.field->setText(QStringLiteral("bad"));

    QTest::mouseClick(probe.exit, Qt::LeftButton); // Exit: no check yet
    EXPECT_EQ(QApplication::focusWidget(), probe.exit);
    EXPECT_EQ(probe.validations, 0);

    QTest::keyClick(probe.exit, Qt::Key_Tab); // on to a control that validates
    EXPECT_EQ(probe.validations, 1);
    EXPECT_EQ(QApplication::focusWidget(), probe.field);
    EXPECT_TRUE(Forms::FocusRefused(probe.other));
    EXPECT_FALSE(Forms::FocusRefused(probe.other)); // told once

    probe.field->setText(QStringLiteral("good"));
    EXPECT_TRUE(Forms::Validate(probe.field));
    QTest::keyClick(probe.field, Qt::Key_Tab);
    EXPECT_EQ(probe.validations, 2);
    EXPECT_EQ(QApplication::focusWidget(), probe.exit);
}

// An access key moves the focus to its button before it clicks: a field that
// refuses to be left keeps the focus and the click does not happen.
TEST(FormsAccessKeyTest, TheFieldIsLeftFirstAndMayRefuse)
{
    Probe probe;
    auto* go = new QPushButton(QStringLiteral("&Go"), &probe);
    probe.layout()->addWidget(go);
    int clicks = 0;
    QObject::connect(go, &QPushButton::clicked, [&clicks] { ++clicks; });
    probe.Show();
    QTest::mouseClick(probe.field, Qt::LeftButton);
    QTest::keyClicks(probe.field, QStringLiteral("bad"));

    QTest::keyClick(probe.field, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(probe.validations, 1);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(QApplication::focusWidget(), probe.field);

    probe.field->selectAll();
    QTest::keyClicks(probe.field, QStringLiteral("good"));
    QTest::keyClick(probe.field, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(probe.validations, 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(QApplication::focusWidget(), go);
}

// Enter on a focused button presses it, as Space does; Enter in a field
// presses nothing.
TEST(FormsEnterKeyTest, PressesTheFocusedButtonOnly)
{
    Probe probe;
    QPushButton* go = Forms::NewButton(&probe, "cmdGo", QStringLiteral("&Go"));
    probe.layout()->addWidget(go);
    int clicks = 0;
    QObject::connect(go, &QPushButton::clicked, [&clicks] { ++clicks; });
    probe.Show();
    QTest::mouseClick(probe.field, Qt::LeftButton);
    QTest::keyClick(probe.field, Qt::Key_Return);
    EXPECT_EQ(clicks, 0);

    QTest::keyClick(probe.field, Qt::Key_G, Qt::AltModifier);
    ASSERT_EQ(clicks, 1);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(QApplication::focusWidget(), key);
    }
    EXPECT_EQ(clicks, 3);
    EXPECT_TRUE(probe.isVisible());
}

} // namespace
