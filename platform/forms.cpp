#include "forms.h"

#include <QApplication>
#include <QDialog>
#include <QPalette>
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

} // namespace Forms
