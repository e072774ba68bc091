// The forms-runtime rules the windows rely on, mapped once onto Qt.
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QDialog;
class QWidget;

namespace Forms {

// Colours are &HBBGGRR values.
constexpr uint32_t vbRed = 0x0000FF;
constexpr uint32_t vbWhite = 0xFFFFFF;
constexpr uint32_t vbOrange = 0x0080FF;
constexpr uint32_t vbMagenta = 0xFF00FF;
QColor ToQColor(uint32_t vbColor);
// Paints the widget's background and keeps the value as the dynamic property
// "backColor" so that tests read the value the program set.
void SetBackColor(QWidget* widget, uint32_t vbColor);
uint32_t BackColor(const QWidget* widget); // vbWhite when never set

// 15 twips to a pixel.
constexpr int Twips(int twips) { return twips / 15; }

// Latin-1 at the widget boundary: one byte, one character.
QString Q(const std::string& text);
std::string S(const QString& text);

// Mouse pointer: hourglass (wait), arrow with hourglass (busy), default.
void HourglassPointer();
void BusyPointer();
void DefaultPointer();

// Windows that open other windows reach them through one registry keyed by
// form name, so that tests, and later the full dialogs, replace them.
using DialogFactory = std::function<std::unique_ptr<QDialog>(QWidget* owner)>;
void RegisterDialog(const std::string& formName, DialogFactory factory);
bool HasDialog(const std::string& formName);
// Makes the dialog, shows it modally with `owner` as its owner and releases
// it when it closes; returns the dialog's result (0 when none is registered).
int ShowModal(const std::string& formName, QWidget* owner);

} // namespace Forms
