// The forms runtime's watch over every window: validation on leaving a field,
// KeyPress, Tab in reading order, access keys and the held input around a
// field's focus-out work.
#include "forms.h"
#include "forms_order_p.h"

#include "clock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QShortcutEvent>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

namespace Forms {

namespace {

// The handler rides on the field as a child, so that it goes with the field.
class ValidateHook : public QObject {
public:
    ValidateHook(QWidget* field, ValidateHandler handler) : QObject(field), handler_(std::move(handler)) {}
    bool Accepts()
    {
        bool cancel = false;
        handler_(cancel);
        return !cancel;
    }

private:
    ValidateHandler handler_;
};

template <typename Hook = ValidateHook>
Hook* HookOf(const QObject* owner)
{
    if (owner != nullptr) {
        for (QObject* child : owner->children()) {
            if (auto* hook = dynamic_cast<Hook*>(child)) {
                return hook;
            }
        }
    }
    return nullptr;
}

const char* const ShownText = "shownText";

QString FieldText(const QWidget* field)
{
    if (const auto* box = qobject_cast<const QLineEdit*>(field)) {
        return box->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(field)) {
        return combo->currentText();
    }
    return {};
}

// Still showing what its window put there. Once its handler has run, the value
// behind the field is the user's, and so is the text.
bool Untouched(QWidget* field)
{
    const QVariant shown = field->property(ShownText);
    if (shown.isValid() && shown.toString() == FieldText(field)) {
        return true;
    }
    field->setProperty(ShownText, QVariant());
    return false;
}

// The characters that come into a box, typed, pasted, dropped or chosen from
// its menu, pass its KeyPress handler one by one; a paste or drop is refused
// whole at its first refused character, so the box keeps its text.
class KeyPressHook : public QObject {
public:
    KeyPressHook(QLineEdit* box, KeyPressHandler handler) : QObject(box), box_(box), handler_(std::move(handler)) {}

    bool Takes(const QString& text)
    {
        for (const QChar c : text) {
            auto keyAscii = static_cast<int16_t>(c.unicode());
            handler_(keyAscii);
            if (keyAscii == 0) {
                return false;
            }
        }
        return true;
    }

    // True when the event is refused (or handled here).
    bool Filter(QEvent* event)
    {
        if (box_->isReadOnly() || !box_->isEnabled()) {
            return false;
        }
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Paste)) {
                return !Takes(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
            }
            return IsCharacter(key) && !Takes(key->text());
        }
        case QEvent::MouseButtonRelease: // the middle button pastes the selection
            return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
                   QGuiApplication::clipboard()->supportsSelection() &&
                   !Takes(QGuiApplication::clipboard()->text(QClipboard::Selection));
        case QEvent::Drop:
            if (auto* drop = static_cast<QDropEvent*>(event); !Takes(drop->mimeData()->text())) {
                drop->ignore();
                QDragLeaveEvent leave;
                QCoreApplication::sendEvent(box_, &leave);
                return true;
            }
            return false;
        case QEvent::ContextMenu:
            ContextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        default:
            return false;
        }
    }

private:
    // A key that the box would take as text: Ctrl with a letter, Delete and
    // Backspace carry control characters and edit instead.
    static bool IsCharacter(const QKeyEvent* key)
    {
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        return !key->text().isEmpty() && key->text().at(0).isPrint() && modifiers != Qt::ControlModifier &&
               modifiers != (Qt::ControlModifier | Qt::ShiftModifier);
    }

    // The box's own menu, whose Paste asks first.
    void ContextMenu(const QPoint& at)
    {
        QMenu* menu = box_->createStandardContextMenu();
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith(QLineEdit::tr("&Paste"))) {
                QObject::disconnect(action, nullptr, box_, nullptr);
                QObject::connect(action, &QAction::triggered, box_, [this] {
                    if (Takes(QGuiApplication::clipboard()->text(QClipboard::Clipboard))) {
                        box_->paste();
                    }
                });
            }
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(at);
    }

    QLineEdit* box_;
    KeyPressHandler handler_;
};

// Qt keeps the access keys of a menu bar's disabled menus, so a button that
// shares its letter with one gets an ambiguous key, which only moves the
// focus. The key belongs to the button when it is the one shown, enabled
// control of its window that carries it.
QAbstractButton* SoleBearer(const QWidget* window, const QKeySequence& key)
{
    QAbstractButton* button = nullptr;
    int bearers = 0;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->isVisible() || !w->isEnabled()) {
            continue;
        }
        if (const auto* bar = qobject_cast<const QMenuBar*>(w)) {
            for (const QAction* menu : bar->actions()) {
                bearers += menu->isVisible() && menu->isEnabled() && QKeySequence::mnemonic(menu->text()) == key;
            }
        } else if (auto* b = qobject_cast<QAbstractButton*>(w); b != nullptr && b->shortcut() == key) {
            button = b;
            ++bearers;
        } else if (const auto* label = qobject_cast<const QLabel*>(w);
                   label != nullptr && label->buddy() != nullptr && QKeySequence::mnemonic(label->text()) == key) {
            ++bearers;
        }
    }
    return bearers == 1 ? button : nullptr;
}

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

// The events through which text comes into a box.
bool BringsText(QEvent::Type type)
{
    return type == QEvent::KeyPress || type == QEvent::MouseButtonRelease || type == QEvent::Drop ||
           type == QEvent::ContextMenu;
}

// Watches every focus change of the application. Qt has already chosen the new
// focus widget when the old one receives FocusOut, so the check happens there
// and a refusal takes the focus straight back before the target sees FocusIn.
// It also keeps the runtime's other rules for every window: a field's
// focus-out work before the next input, access keys that move the focus, and
// Tab in reading order.
class ValidateWatch : public QObject {
public:
    static ValidateWatch& Instance()
    {
        static ValidateWatch* watch = [] {
            auto* w = new ValidateWatch(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(w);
            return w;
        }();
        return *watch;
    }

    bool Run(QWidget* field, QWidget* target)
    {
        ValidateHook* hook = HookOf(field);
        if (hook == nullptr || running_) {
            return true;
        }
        running_ = true;
        const QPointer<QWidget> guard(field);
        const bool accepted = Untouched(field) || hook->Accepts();
        if (guard) {
            if (accepted) {
                pending_.remove(guard->window());
                refusing_.remove(guard->window());
                refused_ = nullptr;
            } else {
                pending_[guard->window()] = guard;
                refusing_[guard->window()] = guard;
                refused_ = target;
                if (QApplication::focusWidget() != guard) {
                    guard->setFocus(Qt::OtherFocusReason);
                }
            }
        }
        running_ = false;
        return accepted;
    }

    // Runs the rest of a focus-out (the field's own LostFocus work) with the
    // user's input to its window held back, so that a click or key that
    // follows, however quickly, reaches its control after the press or key
    // that moved the focus, never inside the field's work.
    bool RunFocusWork(QWidget* widget, QFocusEvent* event)
    {
        QFocusEvent copy(QEvent::FocusOut, event->reason());
        const Platform::InputHold hold;
        held_.push_back(widget->window());
        QEvent* outer = std::exchange(redispatched_, &copy);
        QCoreApplication::sendEvent(widget, &copy);
        redispatched_ = outer;
        held_.pop_back();
        return true;
    }

    // Input for a window whose field's focus-out work is running waits until
    // that work is done.
    bool Defer(QWidget* widget, QEvent* event)
    {
        if (!Platform::InputHeld() || std::find(held_.begin(), held_.end(), widget->window()) == held_.end()) {
            return false;
        }
        // A box or popup the work opened takes its own input; the window waits anyway.
        const QWidget* modal = QApplication::activeModalWidget();
        if (QApplication::activePopupWidget() != nullptr || (modal != nullptr && modal != widget->window())) {
            return false;
        }
        QCoreApplication::postEvent(widget, event->clone());
        return true;
    }

    // An access key moves the focus to its button first, as a click does, so
    // that the field being left commits (and may refuse) before the click.
    bool AccessKey(QWidget* widget, QShortcutEvent* event)
    {
        auto* button = event->isAmbiguous() ? SoleBearer(widget->window(), event->key())
                                            : qobject_cast<QAbstractButton*>(widget);
        if (button == nullptr || event->key() != button->shortcut()) {
            return false;
        }
        const QPointer<QAbstractButton> guard(button);
        if ((button->focusPolicy() & Qt::TabFocus) != 0 && !button->hasFocus()) {
            button->setFocus(Qt::ShortcutFocusReason);
            if (!guard || TakeRefused(button) || !button->isEnabled() || !button->isVisible()) {
                return true;
            }
        }
        button->click();
        return true;
    }

    // Alt with a key is an access key, never text: one that no shown, enabled
    // control carries reaches the focused control as a key press, and goes no
    // further, so no field or list takes it as a character. A menu keeps its
    // letters; Ctrl+Alt, which is AltGr on some systems, still types.
    static bool StrayAccessKey(const QWidget* widget, const QKeyEvent* event)
    {
        const Qt::KeyboardModifiers modifiers = event->modifiers();
        return (modifiers & Qt::AltModifier) != 0 && (modifiers & Qt::ControlModifier) == 0 &&
               !event->text().isEmpty() && event->text().at(0).isPrint() &&
               qobject_cast<const QMenu*>(widget) == nullptr;
    }

    // Tab and Shift+Tab go through the shown controls in reading order.
    // Buttons never become the default (Enter in a field presses nothing), so
    // Qt ignores Enter on them: a focused button takes it, as it takes Space.
    static bool Enter(QWidget* widget, const QKeyEvent* event)
    {
        auto* button = qobject_cast<QPushButton*>(widget);
        if (button == nullptr || button->autoDefault() || button->isDefault() || !button->isEnabled() ||
            (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) ||
            (event->modifiers() & ~Qt::KeypadModifier) != 0) {
            return false;
        }
        if (!event->isAutoRepeat()) {
            button->click();
        }
        return true;
    }

    bool Tab(QWidget* widget, const QKeyEvent* event)
    {
        const bool back = event->key() == Qt::Key_Backtab ||
                          (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ShiftModifier) != 0);
        if ((event->key() != Qt::Key_Tab && !back) ||
            (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0 || KeepsTab(widget) ||
            widget->window()->windowType() == Qt::Popup || widget->window()->property("keepTabOrder").toBool()) {
            return false;
        }
        const std::vector<QWidget*> order = TabOrder(widget->window());
        const auto at = std::find(order.begin(), order.end(), widget);
        if (at == order.end()) {
            return false;
        }
        const auto n = static_cast<std::ptrdiff_t>(order.size());
        const std::ptrdiff_t i = ((at - order.begin()) + (back ? n - 1 : 1)) % n;
        order[static_cast<size_t>(i)]->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        return true;
    }

    // While a field refuses to be left and holds the focus, the other
    // controls of its window take no mouse input, as they take no keys: a
    // press, a drop-down or a wheel turn there would change a value that
    // nothing checks. Controls that do not cause validation (Exit, Cancel)
    // still take it, so the edit can be abandoned.
    bool HeldByRefusal(QWidget* widget, QEvent* event)
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::Wheel:
            break;
        case QEvent::MouseMove:
            if (static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton) {
                break;
            }
            return false;
        default:
            return false;
        }
        QWidget* window = widget->window();
        const auto it = refusing_.find(window);
        if (it == refusing_.end()) {
            return false;
        }
        QWidget* field = it->data();
        if (field == nullptr || field->window() != window) {
            refusing_.erase(it);
            return false;
        }
        QWidget* focus = window->focusWidget();
        if (focus == nullptr || (focus != field && !field->isAncestorOf(focus)) || widget == field ||
            field->isAncestorOf(widget)) {
            return false;
        }
        for (QWidget* w = widget; w != nullptr && w != window; w = w->parentWidget()) {
            if (!CausesValidation(w)) {
                return false;
            }
        }
        return true;
    }

    // A combo box changes its value on the wheel only while it has the focus,
    // so that scrolling over a window never changes a value the user did not
    // look at. The wheel goes on to the window behind it.
    static bool IgnoresWheel(QWidget* widget, QEvent* event)
    {
        if (event->type() != QEvent::Wheel) {
            return false;
        }
        for (QWidget* w = widget; w != nullptr && !w->isWindow(); w = w->parentWidget()) {
            if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
                if (combo->hasFocus()) {
                    return false;
                }
                event->ignore();
                return true;
            }
        }
        return false;
    }

    bool TakeRefused(QWidget* control)
    {
        if (control == nullptr || refused_ != control) {
            return false;
        }
        refused_ = nullptr;
        return true;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (running_ || !watched->isWidgetType() || event == redispatched_) {
            return false;
        }
        auto* widget = static_cast<QWidget*>(watched);
        if (IsUserInput(event->type()) && Defer(widget, event)) {
            return true;
        }
        if (HeldByRefusal(widget, event) || IgnoresWheel(widget, event)) {
            return true;
        }
        if (event->type() == QEvent::KeyPress && StrayAccessKey(widget, static_cast<QKeyEvent*>(event))) {
            return true;
        }
        if (BringsText(event->type())) {
            auto* hook = HookOf<KeyPressHook>(qobject_cast<QLineEdit*>(widget));
            if (hook != nullptr && hook->Filter(event)) {
                return true;
            }
        }
        switch (event->type()) {
        case QEvent::Polish:
            if (auto* list = qobject_cast<QComboBox*>(widget)) {
                // Nor does the wheel give it the focus.
                if (list->focusPolicy() == Qt::WheelFocus) {
                    list->setFocusPolicy(Qt::StrongFocus);
                }
                UseDropDownStyle(list);
            }
            return false;
        case QEvent::KeyPress:
            return Tab(widget, static_cast<QKeyEvent*>(event)) || Enter(widget, static_cast<QKeyEvent*>(event));
        case QEvent::Shortcut:
            return AccessKey(widget, static_cast<QShortcutEvent*>(event));
        case QEvent::FocusIn:
            if (widget == refused_) {
                refused_ = nullptr;
            }
            return false;
        case QEvent::FocusOut: {
            const QPointer<QWidget> guard(widget);
            CheckFocusOut(widget, static_cast<QFocusEvent*>(event)->reason());
            return guard && RunFocusWork(widget, static_cast<QFocusEvent*>(event));
        }
        default:
            return false;
        }
    }

    // A field left with the keyboard is checked whatever control takes the
    // focus; a click or an access key on one that does not cause validation
    // (Exit, Cancel) leaves the check pending, so the edit can be abandoned.
    void CheckFocusOut(QWidget* widget, Qt::FocusReason reason)
    {
        QWidget* window = widget->window();
        const bool leftByKeyboard = HookOf(widget) != nullptr &&
                                    (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason);
        QPointer<QWidget> field = HookOf(widget) != nullptr ? QPointer<QWidget>(widget) : pending_.value(window);
        if (!field) {
            pending_.remove(window);
            return;
        }
        QWidget* target = QApplication::focusWidget();
        if (target == field.data()) {
            pending_.remove(window);
        } else if (target == nullptr || target->window() != window || (!CausesValidation(target) && !leftByKeyboard)) {
            pending_[window] = field;
        } else {
            Run(field, target);
        }
    }

private:
    using QObject::QObject;

    bool running_ = false;
    QEvent* redispatched_ = nullptr;
    std::vector<QWidget*> held_; // windows whose field's focus-out work runs
    QPointer<QWidget> refused_;
    QMap<QWidget*, QPointer<QWidget>> pending_; // by window
    QMap<QWidget*, QPointer<QWidget>> refusing_; // by window: the field that refused last, until it accepts
};

// The rules hold for every window from the start.
void InstallWatch() { ValidateWatch::Instance(); }
Q_COREAPP_STARTUP_FUNCTION(InstallWatch)

} // namespace

void OnValidate(QWidget* field, ValidateHandler handler)
{
    ValidateWatch::Instance();
    delete HookOf(field);
    new ValidateHook(field, std::move(handler));
}

void MarkShown(QWidget* field) { field->setProperty(ShownText, FieldText(field)); }

void OnKeyPress(QLineEdit* box, KeyPressHandler handler)
{
    ValidateWatch::Instance();
    delete HookOf<KeyPressHook>(box);
    new KeyPressHook(box, std::move(handler));
}

void SetCausesValidation(QWidget* control, bool causes) { control->setProperty("causesValidation", causes); }

bool CausesValidation(const QWidget* control)
{
    const QVariant value = control->property("causesValidation");
    return !value.isValid() || value.toBool();
}

bool Validate(QWidget* field) { return ValidateWatch::Instance().Run(field, nullptr); }

bool FocusLost(const QWidget* control, const QEvent* event)
{
    if (event->type() != QEvent::FocusOut) {
        return false;
    }
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    // Qt has already chosen the new focus widget; a list's drop-down is a window whose parent is the list.
    const QWidget* w = QApplication::focusWidget();
    while (w != nullptr && w != control) {
        w = w->parentWidget();
    }
    return w == nullptr && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

bool FocusRefused(QWidget* control) { return ValidateWatch::Instance().TakeRefused(control); }

void KeepTabOrder(QWidget* window) { window->setProperty("keepTabOrder", true); }

} // namespace Forms
