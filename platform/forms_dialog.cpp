// The forms runtime's dialogs: the registry windows open each other through,
// modal showing, and unloading that asks first.
#include "forms.h"

#include "dialogs.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <utility>

namespace Forms {

namespace {
std::map<std::string, DialogFactory>& Factories()
{
    static std::map<std::string, DialogFactory> factories;
    return factories;
}
} // namespace

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
    // A dialog sized by its controls is at least as wide as its title; one
    // given its size keeps it.
    if (visible && !isVisible() && !testAttribute(Qt::WA_Resized) && maximumWidth() == QWIDGETSIZE_MAX) {
        setMinimumWidth(std::max(minimumWidth(), Platform::TitleWidth(windowTitle())));
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
