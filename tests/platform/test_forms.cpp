// The forms runtime's closing and validation rules.
#include "forms.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>
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

// Contrast of two colours as the web's accessibility rules reckon it: 4.5 or
// more reads as ordinary text.
double Contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A back colour marks the field itself: it stays, with its text readable,
// while the field is disabled (busy), and a list's drop-down keeps the normal
// colours.
TEST(FormsColourTest, DisabledTextReadsAndTheDropDownKeepsItsColours)
{
    QWidget window;
    auto* text = new QLineEdit(QStringLiteral("4603"), &window);
    auto* list = new QComboBox(&window);
    list->addItems({QStringLiteral("62.5"), QStringLiteral("125.0")});
    auto* label = new QLabel(QStringLiteral("Unknown"), &window);
    auto* entry = new QComboBox(&window);
    entry->setEditable(true);
    entry->addItems({QStringLiteral("62.5"), QStringLiteral("125.0")});
    // The back as painted, right of the text.
    const auto back = [](QWidget* w) {
        auto* combo = qobject_cast<QComboBox*>(w);
        const QRect box = combo != nullptr && combo->lineEdit() != nullptr ? combo->lineEdit()->geometry() : w->rect();
        return w->grab().toImage().pixelColor(box.right() - box.width() / 4, box.center().y()).name().toStdString();
    };
    QComboBox plain;
    const QPalette normal = plain.view()->palette();
    list->view(); // a list that was opened before it was coloured too
    for (const uint32_t colour : {Forms::vbRed, Forms::vbOrange, Forms::vbMagenta}) {
        SCOPED_TRACE(colour);
        for (QWidget* w : {static_cast<QWidget*>(text), static_cast<QWidget*>(list), static_cast<QWidget*>(label),
                           static_cast<QWidget*>(entry)}) {
            SCOPED_TRACE(w->metaObject()->className());
            Forms::SetBackColor(w, colour);
            const std::string enabled = back(w);
            w->setEnabled(false);
            EXPECT_EQ(back(w), enabled);
            for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
                EXPECT_GE(Contrast(w->palette().color(QPalette::Disabled, role), Forms::ToQColor(colour)), 4.5)
                    << role;
            }
            w->setEnabled(true);
        }
        for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::Text}) {
            EXPECT_EQ(list->view()->palette().color(role).name().toStdString(), normal.color(role).name().toStdString()) << role;
        }
    }
}

// A list opens at the height of its visible items, long or short, editable or
// not, coloured before it first showed or not, and scrolls to the rest with
// the chosen item in view.
TEST(FormsListTest, ADropDownOpensAtItsVisibleItemsAndScrolls)
{
    const struct {
        bool editable;
        int maxVisible; // 0: Qt's own
        int count;
        bool coloured = false;
    } rows[] = {{false, 0, 100}, {false, 16, 100}, {true, 16, 100}, {false, 16, 5}, {false, 0, 14, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << "editable " << r.editable << " visible " << r.maxVisible << " of "
                                          << r.count << " coloured " << r.coloured);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* list = new QComboBox(&window);
        layout->addWidget(list);
        list->setEditable(r.editable);
        if (r.maxVisible != 0) {
            list->setMaxVisibleItems(r.maxVisible);
        }
        for (int i = 0; i < r.count; ++i) {
            list->addItem(QString::number(i));
        }
        list->setCurrentIndex(r.count / 2);
        if (r.coloured) {
            Forms::SetBackColor(list, Forms::vbOrange);
        }
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(list->width() - 4, list->height() / 2));
        QAbstractItemView* view = list->view();
        ASSERT_TRUE(view->isVisible());
        const int row = view->visualRect(view->model()->index(0, 0)).height();
        const int shown = std::min(r.count, list->maxVisibleItems());
        const QWidget* popup = view->window();
        EXPECT_GE(popup->height(), shown * row);
        EXPECT_LE(popup->height(), (shown + 1) * row);
        EXPECT_EQ(view->currentIndex().row(), r.count / 2);
        EXPECT_TRUE(view->viewport()->rect().contains(view->visualRect(view->currentIndex())));
        if (r.count > shown) {
            EXPECT_TRUE(view->verticalScrollBar()->isVisible());
        }
        QTest::keyClick(view, Qt::Key_Escape);
    }
}

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
    EXPECT_EQ(probe.validations, 2);
    QTest::keyClick(probe.field, Qt::Key_Tab); // left with the keyboard: checked again, even on to Exit
    EXPECT_EQ(probe.validations, 3);
    EXPECT_EQ(QApplication::focusWidget(), probe.exit);
}

// A field left with the keyboard is checked whatever control the focus
// reaches; only a click or an access key on a control that does not cause
// validation leaves the check pending. A refusal keeps the focus in the field.
TEST(FormsValidateTest, TabChecksTheFieldEvenOnToAControlThatDoesNotValidate)
{
    const std::function<void(Probe&)> tab = [](Probe& p) { QTest::keyClick(p.field, Qt::Key_Tab); };
    const std::function<void(Probe&)> backTab = [](Probe& p) {
        QTest::keyClick(p.field, Qt::Key_Tab, Qt::ShiftModifier);
    };
    const std::function<void(Probe&)> click = [](Probe& p) { QTest::mouseClick(p.exit, Qt::LeftButton); };
    const std::function<void(Probe&)> accessKey = [](Probe& p) {
        QTest::keyClick(p.field, Qt::Key_X, Qt::AltModifier);
    };
    const struct {
        const char* typed;
        const char* how;
        const std::function<void(Probe&)>& leave;
        int validations;
        const char* focus;
    } rows[] = {
        {"bad", "Tab", tab, 1, "field"},           {"bad", "Shift+Tab", backTab, 1, "field"},
        {"good", "Tab", tab, 1, "exit"},           {"good", "Shift+Tab", backTab, 1, "cancel"},
        {"bad", "click on Exit", click, 0, "exit"}, {"bad", "Alt+X", accessKey, 0, "exit"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.typed) + ", " + r.how);
        Probe probe;
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), &probe);
        Forms::SetCausesValidation(cancel, false);
        static_cast<QVBoxLayout*>(probe.layout())->insertWidget(0, cancel);
        probe.exit->setText(QStringLiteral("E&xit"));
        probe.field->setObjectName("field");
        probe.exit->setObjectName("exit");
        cancel->setObjectName("cancel");
        probe.Show();
        QTest::mouseClick(probe.field, Qt::LeftButton);
        QTest::keyClicks(probe.field, QString::fromLatin1(r.typed));
        r.leave(probe);
        EXPECT_EQ(probe.validations, r.validations);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), r.focus);
    }
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

// Alt with a key never enters text: when no shown, enabled control carries the
// key, the field keeps its text, the focus and its choice, and nothing is
// clicked.
TEST(FormsAccessKeyTest, AltWithAKeyNeverEntersText)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* text = new QLineEdit(QStringLiteral("250"), &window);
    auto* editable = new QComboBox(&window);
    editable->setEditable(true);
    editable->addItems({QStringLiteral("250"), QStringLiteral("312.5")});
    auto* list = new QComboBox(&window);
    list->addItems({QStringLiteral("Low"), QStringLiteral("Slow"), QStringLiteral("High")});
    QPushButton* set = Forms::NewButton(&window, "cmdSet", QStringLiteral("&Set"));
    QPushButton* hidden = Forms::NewButton(&window, "cmdHidden", QStringLiteral("&Hidden"));
    for (QWidget* w : {static_cast<QWidget*>(text), static_cast<QWidget*>(editable), static_cast<QWidget*>(list),
                       static_cast<QWidget*>(set), static_cast<QWidget*>(hidden)}) {
        layout->addWidget(w);
    }
    set->setEnabled(false);
    hidden->hide();
    int clicks = 0;
    for (QPushButton* b : {set, hidden}) {
        QObject::connect(b, &QPushButton::clicked, [&clicks] { ++clicks; });
    }
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto shown = [&] {
        return (text->text() + '|' + editable->currentText() + '|' + list->currentText()).toStdString();
    };
    for (QWidget* field : {static_cast<QWidget*>(text), static_cast<QWidget*>(editable), static_cast<QWidget*>(list)}) {
        SCOPED_TRACE(field->metaObject()->className() + std::string(editable == field ? " editable" : ""));
        QTest::mouseClick(field == editable ? static_cast<QWidget*>(editable->lineEdit()) : field, Qt::LeftButton);
        if (list->view()->isVisible()) {
            QTest::keyClick(list->view(), Qt::Key_Escape);
        }
        ASSERT_EQ(QApplication::focusWidget(), field);
        for (const Qt::Key key : {Qt::Key_S, Qt::Key_H, Qt::Key_Q}) { // disabled, hidden, nobody's
            for (const Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::AltModifier),
                                                          Qt::KeyboardModifiers(Qt::AltModifier | Qt::ShiftModifier)}) {
                QTest::keyClick(field, key, modifiers);
            }
        }
        EXPECT_EQ(shown(), "250|250|Low");
        EXPECT_EQ(QApplication::focusWidget(), field);
        EXPECT_EQ(clicks, 0);
    }
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
