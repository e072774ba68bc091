// Where Tab goes in a window, and how its lists drop down: the reading order
// and the list style that the forms runtime's watch applies to every window.
#include "forms_order_p.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QRadioButton>
#include <QTextEdit>
#include <algorithm>

namespace Forms {

namespace {

// A group of exclusive options is entered at its chosen option, or at its
// first when none is chosen; the arrow keys move within it.
bool TakesTabAsOption(const QRadioButton* option)
{
    const QRadioButton* first = nullptr;
    for (QObject* o : option->parent()->children()) {
        const auto* other = qobject_cast<const QRadioButton*>(o);
        if (other == nullptr || !other->autoExclusive() || other->isHidden() || !other->isEnabled()) {
            continue;
        }
        if (other->isChecked()) {
            return other == option;
        }
        first = first != nullptr ? first : other;
    }
    return first == option;
}

bool TakesTab(const QWidget* w)
{
    if (!w->isEnabled() || w->focusProxy() != nullptr || w->focusPolicy() == Qt::NoFocus) {
        return false;
    }
    if (const auto* option = qobject_cast<const QRadioButton*>(w); option != nullptr && option->autoExclusive()) {
        return TakesTabAsOption(option);
    }
    return (w->focusPolicy() & Qt::TabFocus) != 0;
}

void AppendTabOrder(const QWidget* container, std::vector<QWidget*>& order);

void AppendControl(QWidget* w, std::vector<QWidget*>& order)
{
    if (TakesTab(w)) {
        order.push_back(w);
    }
    AppendTabOrder(w, order);
}

// A layout's widgets in the order the window laid them out, a nested layout (a
// column of frames, a row of buttons) read as a whole.
void AppendLaidOut(const QLayout* layout, std::vector<QWidget*>& order, std::vector<const QWidget*>& laidOut)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QWidget* w = item->widget()) {
            laidOut.push_back(w);
            if (!w->isWindow() && !w->isHidden()) {
                AppendControl(w, order);
            }
        } else if (const QLayout* inner = item->layout()) {
            AppendLaidOut(inner, order, laidOut);
        }
    }
}

// The shown controls of `container` that Tab reaches: those of its layout in
// the layout's order, so that a window lays out its controls in the order it
// reads; then any it places by position, by rows from the top, each row from
// the left. Each child's own controls follow it, so a frame is read as a whole.
void AppendTabOrder(const QWidget* container, std::vector<QWidget*>& order)
{
    std::vector<const QWidget*> laidOut;
    if (const QLayout* layout = container->layout()) {
        AppendLaidOut(layout, order, laidOut);
    }
    std::vector<QWidget*> children;
    for (QObject* o : container->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w != nullptr && !w->isWindow() && !w->isHidden() &&
            std::find(laidOut.begin(), laidOut.end(), w) == laidOut.end()) {
            children.push_back(w);
        }
    }
    std::stable_sort(children.begin(), children.end(), [](const QWidget* a, const QWidget* b) {
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    // A row is every child that starts above the middle of the row's first one.
    auto rowStart = children.begin();
    while (rowStart != children.end()) {
        const QWidget* first = *rowStart;
        auto rowEnd = std::find_if(rowStart, children.end(),
                                   [first](const QWidget* w) { return w->y() >= first->y() + first->height() / 2; });
        std::stable_sort(rowStart, rowEnd, [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
        for (auto it = rowStart; it != rowEnd; ++it) {
            AppendControl(*it, order);
        }
        rowStart = rowEnd;
    }
}

// A list drops down below its box, at its visible items, and scrolls to the
// rest. Styles that open it as a menu over the box (Fusion, for one) show every
// item, up to the height of the screen; this keeps the rest of such a style.
class DropDownStyle : public QProxyStyle {
public:
    static void Apply(QComboBox* list)
    {
        QStyle* style = QApplication::style();
        if (list->style() != style) {
            return; // a style of its own, or this one already
        }
        static QPointer<DropDownStyle> instance;
        if (!instance || instance->baseName_ != style->name()) {
            instance = new DropDownStyle(style->name());
            instance->setParent(QCoreApplication::instance());
        }
        list->setStyle(instance);
        // A drop-down made before, as a window colours its list, took the
        // menu's hidden scroll bar, and Qt keeps it through a change of style.
        list->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        return hint == SH_ComboBox_Popup ? 0 : QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    explicit DropDownStyle(const QString& baseName) : QProxyStyle(baseName), baseName_(baseName) {}

    QString baseName_;
};

} // namespace

std::vector<QWidget*> TabOrder(const QWidget* window)
{
    std::vector<QWidget*> order;
    AppendTabOrder(window, order);
    return order;
}

// Widgets that use Tab themselves keep it.
bool KeepsTab(const QWidget* w)
{
    if (const auto* text = qobject_cast<const QTextEdit*>(w)) {
        return !text->tabChangesFocus();
    }
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(w)) {
        return !text->tabChangesFocus();
    }
    return qobject_cast<const QAbstractItemView*>(w) != nullptr;
}

void UseDropDownStyle(QComboBox* list) { DropDownStyle::Apply(list); }

} // namespace Forms
