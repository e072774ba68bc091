#include "forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <map>

namespace Forms {

QColor ToQColor(uint32_t vbColor)
{
    return QColor(static_cast<int>(vbColor & 0xFF), static_cast<int>((vbColor >> 8) & 0xFF),
                  static_cast<int>((vbColor >> 16) & 0xFF));
}

void SetBackColor(QWidget* widget, uint32_t vbColor)
{
    widget->setProperty("backColor", static_cast<uint>(vbColor));
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, ToQColor(vbColor));
    palette.setColor(QPalette::Window, ToQColor(vbColor));
    palette.setColor(QPalette::Button, ToQColor(vbColor));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
    widget->update();
}

uint32_t BackColor(const QWidget* widget)
{
    const QVariant value = widget->property("backColor");
    return value.isValid() ? value.toUInt() : vbWhite;
}

QString Q(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

std::string S(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString ArrayName(const char* name, int index) { return QString::fromLatin1(name) + '_' + QString::number(index); }

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, const QString& toolTip)
{
    auto* button = Named(new QPushButton(caption, parent), name);
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    return button;
}

namespace {
void SetPointer(Qt::CursorShape shape)
{
    while (QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
    if (shape != Qt::ArrowCursor) {
        QApplication::setOverrideCursor(QCursor(shape));
    }
}

std::map<std::string, DialogFactory>& Factories()
{
    static std::map<std::string, DialogFactory> factories;
    return factories;
}
} // namespace

void HourglassPointer() { SetPointer(Qt::WaitCursor); }
void BusyPointer() { SetPointer(Qt::BusyCursor); }
void DefaultPointer() { SetPointer(Qt::ArrowCursor); }

void RegisterDialog(const std::string& formName, DialogFactory factory)
{
    Factories()[formName] = std::move(factory);
}

bool HasDialog(const std::string& formName) { return Factories().count(formName) != 0; }

int ShowModal(const std::string& formName, QWidget* owner)
{
    const auto it = Factories().find(formName);
    if (it == Factories().end()) {
        return 0;
    }
    std::unique_ptr<QDialog> dialog = it->second(owner);
    if (!dialog) {
        return 0;
    }
    dialog->setWindowModality(Qt::ApplicationModal);
    return dialog->exec();
}

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

ValidateHook* HookOf(const QWidget* field)
{
    if (field != nullptr) {
        for (QObject* child : field->children()) {
            if (auto* hook = dynamic_cast<ValidateHook*>(child)) {
                return hook;
            }
        }
    }
    return nullptr;
}

// Watches every focus change of the application. Qt has already chosen the new
// focus widget when the old one receives FocusOut, so the check happens there
// and a refusal takes the focus straight back before the target sees FocusIn.
class ValidateWatch : public QObject {
public:
    static ValidateWatch& Instance()
    {
        static ValidateWatch* watch = [] {
            auto* w = new ValidateWatch(qApp);
            qApp->installEventFilter(w);
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
        const bool accepted = hook->Accepts();
        if (guard) {
            if (accepted) {
                pending_.remove(guard->window());
                refused_ = nullptr;
            } else {
                pending_[guard->window()] = guard;
                refused_ = target;
                if (QApplication::focusWidget() != guard) {
                    guard->setFocus(Qt::OtherFocusReason);
                }
            }
        }
        running_ = false;
        return accepted;
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
        if (running_ || !watched->isWidgetType()) {
            return false;
        }
        auto* widget = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::FocusIn && widget == refused_) {
            refused_ = nullptr;
        }
        if (event->type() != QEvent::FocusOut) {
            return false;
        }
        QWidget* window = widget->window();
        QPointer<QWidget> field = HookOf(widget) != nullptr ? QPointer<QWidget>(widget) : pending_.value(window);
        if (!field) {
            pending_.remove(window);
            return false;
        }
        QWidget* target = QApplication::focusWidget();
        if (target == field.data()) {
            pending_.remove(window);
        } else if (target == nullptr || target->window() != window || !CausesValidation(target)) {
            pending_[window] = field;
        } else {
            Run(field, target);
        }
        return false;
    }

private:
    using QObject::QObject;

    bool running_ = false;
    QPointer<QWidget> refused_;
    QMap<QWidget*, QPointer<QWidget>> pending_; // by window
};

} // namespace

void OnValidate(QWidget* field, ValidateHandler handler)
{
    ValidateWatch::Instance();
    delete HookOf(field);
    new ValidateHook(field, std::move(handler));
}

void SetCausesValidation(QWidget* control, bool causes) { control->setProperty("causesValidation", causes); }

bool CausesValidation(const QWidget* control)
{
    const QVariant value = control->property("causesValidation");
    return !value.isValid() || value.toBool();
}

bool Validate(QWidget* field) { return ValidateWatch::Instance().Run(field, nullptr); }

bool FocusRefused(QWidget* control) { return ValidateWatch::Instance().TakeRefused(control); }

Dialog::Dialog(QWidget* owner) : QDialog(owner) {}

bool Dialog::Unload(int result)
{
    done(result);
    return unloaded_;
}

int Dialog::exec()
{
    if (unloaded_) {
        return result();
    }
    return QDialog::exec();
}

void Dialog::done(int result)
{
    const CloseBy how = std::exchange(closing_, CloseBy::Code);
    bool cancel = false;
    QueryUnload(cancel, how);
    if (cancel) {
        return;
    }
    unloaded_ = true;
    QDialog::done(result);
}

void Dialog::setVisible(bool visible)
{
    if (visible && unloaded_) {
        return;
    }
    QDialog::setVisible(visible);
}

void Dialog::QueryUnload(bool& Cancel, CloseBy how)
{
    Q_UNUSED(Cancel);
    Q_UNUSED(how);
}

void Dialog::closeEvent(QCloseEvent* event)
{
    if (busy_) {
        event->ignore();
        return;
    }
    closing_ = CloseBy::CloseBox;
    QDialog::closeEvent(event); // rejects, which ends in done()
    closing_ = CloseBy::Code;
}

void Dialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        if (busy_) {
            event->accept();
            return;
        }
        closing_ = CloseBy::Escape;
        QDialog::keyPressEvent(event);
        closing_ = CloseBy::Code;
        return;
    }
    QDialog::keyPressEvent(event);
}

NotAvailableDialog::NotAvailableDialog(QWidget* owner, const std::string& formName, const std::string& caption,
                                       const std::string& message)
    : Dialog(owner)
{
    setObjectName(Q(formName));
    setWindowTitle(Q(caption));
    auto* lblMessage = Forms::Named(new QLabel(Q(message), this), "lblMessage");
    auto* cmdClose = Forms::NewButton(this, "cmdClose", QStringLiteral("&Close"));
    SetCausesValidation(cmdClose, false);
    connect(cmdClose, &QPushButton::clicked, this, [this] { Unload(QDialog::Rejected); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMessage);
    layout->addLayout(buttons);
}

} // namespace Forms
