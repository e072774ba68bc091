// The forms runtime's look: colours, names, buttons and the mouse pointer.
#include "forms.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>
#include <cmath>

namespace Forms {

QColor ToQColor(uint32_t vbColor)
{
    return QColor(static_cast<int>(vbColor & 0xFF), static_cast<int>((vbColor >> 8) & 0xFF),
                  static_cast<int>((vbColor >> 16) & 0xFF));
}

namespace {
constexpr QPalette::ColorRole BackRoles[] = {QPalette::Base, QPalette::Window, QPalette::Button};
constexpr QPalette::ColorRole TextRoles[] = {QPalette::Text, QPalette::WindowText, QPalette::ButtonText};

// Black or white, whichever reads better on `back`.
QColor TextOn(const QColor& back)
{
    const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const double luminance = 0.2126 * linear(back.redF()) + 0.7152 * linear(back.greenF()) + 0.0722 * linear(back.blueF());
    return luminance > 0.179 ? QColor(Qt::black) : QColor(Qt::white);
}

// A list's drop-down is a window of its own that takes the list's palette;
// it keeps the normal colours.
void KeepNormalColours(QWidget* popup)
{
    const QPalette normal = QApplication::palette(popup);
    QPalette palette = popup->palette();
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        const auto g = static_cast<QPalette::ColorGroup>(group);
        for (const QPalette::ColorRole role : BackRoles) {
            palette.setBrush(g, role, normal.brush(g, role));
        }
        for (const QPalette::ColorRole role : TextRoles) {
            palette.setBrush(g, role, normal.brush(g, role));
        }
    }
    popup->setPalette(palette);
}
} // namespace

void SetBackColor(QWidget* widget, uint32_t vbColor)
{
    widget->setProperty("backColor", static_cast<uint>(vbColor));
    const QColor back = ToQColor(vbColor);
    QPalette palette = widget->palette();
    for (const QPalette::ColorRole role : BackRoles) {
        palette.setColor(role, back);
    }
    // The style greys a disabled field's text, which cannot be read on a
    // coloured back; a white one keeps the usual look.
    const QPalette normal = QApplication::palette(widget);
    for (const QPalette::ColorRole role : TextRoles) {
        palette.setColor(QPalette::Disabled, role, vbColor == vbWhite ? normal.color(QPalette::Disabled, role) : TextOn(back));
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
    if (auto* list = qobject_cast<QComboBox*>(widget)) {
        KeepNormalColours(list->view()->window());
    }
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

QStatusBar* NewStatusBar(QWidget* window, const char* name, QLabel*& panel1, const char* panelName)
{
    auto* bar = Named(new QStatusBar(window), name);
    bar->setSizeGripEnabled(false);
    panel1 = Named(new QLabel(bar), panelName);
    panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel1->setContentsMargins(4, 1, 4, 1);
    bar->addWidget(panel1, 1);
    return bar;
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
} // namespace

void HourglassPointer() { SetPointer(Qt::WaitCursor); }
void BusyPointer() { SetPointer(Qt::BusyCursor); }
void DefaultPointer() { SetPointer(Qt::ArrowCursor); }

} // namespace Forms
