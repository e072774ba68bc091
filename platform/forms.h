// The forms-runtime rules the windows rely on, mapped once onto Qt.
#pragma once

#include <QColor>
#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
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

// One way to make a named control: its objectName is the member's name, and
// a control array's element N is "name_N". Buttons never become the default
// button by taking the focus, so Enter in a field clicks nothing.
QString ArrayName(const char* name, int index);
template <typename T>
T* Named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}
template <typename T>
T* Named(T* widget, const char* name)
{
    return Named(widget, QString::fromLatin1(name));
}
template <typename T>
T* Named(T* widget, const char* name, int index)
{
    return Named(widget, ArrayName(name, index));
}
// A button with its caption (access key as "&") and tool tip.
QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, const QString& toolTip = {});
// A window's status bar, without a size grip: panel 1 (`panel1`, named
// `panelName`) across it shows the texts, sunken as a status bar's panel, so
// that the bar reads as one whatever the frame the window manager draws below.
QStatusBar* NewStatusBar(QWidget* window, const char* name, QLabel*& panel1, const char* panelName);

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

// Validate: when the focus is about to leave `field` for a control of the same
// window that causes validation, or leaves it by Tab or Shift+Tab for any
// control, `handler` runs and may set Cancel to keep the focus in the field. A
// click or access key on a control that does not cause validation (Exit and
// Cancel buttons) leaves the check pending until the focus next moves on to
// one that does. Moves to other windows do not validate.
using ValidateHandler = std::function<void(bool& Cancel)>;
void OnValidate(QWidget* field, ValidateHandler handler);
// Every control causes validation unless told otherwise (dynamic property
// "causesValidation").
void SetCausesValidation(QWidget* control, bool causes);
bool CausesValidation(const QWidget* control);
// Runs the field's handler now; true when it accepts (no handler: true). The
// focus is put back in the field when it refuses.
bool Validate(QWidget* field);
// The field's text as its window shows a value: until the user changes it,
// leaving the field is no edit and its handler does not run, so a value the
// window rounded for display never replaces the one behind it. Line edits and
// combo boxes.
void MarkShown(QWidget* field);
// LostFocus: true when `event` is the focus-out of a control that the user
// has left for another control of the program. A popup or another application
// taking the focus, the focus going into a window the control owns (a list's
// drop-down, its menu), whatever reason Qt gives, or coming back to it after
// a refused check, is no leaving.
bool FocusLost(const QWidget* control, const QEvent* event);
// Qt still delivers a click whose focus change was refused: the clicked
// control asks here first. True (once) when the last focus change towards
// `control` was refused and it has not had the focus since.
bool FocusRefused(QWidget* control);

// KeyPress: every character that comes into `box`, typed, pasted, dropped or
// chosen from its menu, reaches `handler` first as its code; a handler that
// sets KeyAscii to 0 drops it. A paste or drop with a dropped character is
// refused whole and the box keeps its text. Keys that edit (Backspace, Delete,
// cut, copy) or move carry no character.
using KeyPressHandler = std::function<void(int16_t& KeyAscii)>;
void OnKeyPress(QLineEdit* box, KeyPressHandler handler);

// Tab and Shift+Tab go through a window's shown controls in reading order, as
// its layouts give it: each layout in the order its controls were added, a
// nested layout (a column of frames, a row of buttons) and a frame as a whole;
// controls placed by position by rows from the top, each from the left. Tab
// enters a group of options at its chosen one. A window that sets its own order with
// QWidget::setTabOrder keeps it by saying so here.
void KeepTabOrder(QWidget* window);

// A dialog that asks before it closes, however it is closed, and ignores its
// close box and Esc while it is busy with an exchange.
class Dialog : public QDialog {
    Q_OBJECT
public:
    enum class CloseBy { CloseBox, Escape, Code };

    explicit Dialog(QWidget* owner = nullptr);

    void SetBusy(bool busy) { busy_ = busy; }
    bool Busy() const { return busy_; }

    // Unload from code (QueryUnload with CloseBy::Code). Also valid while the
    // dialog is being loaded: it then never shows. True when it closed. An
    // unloaded dialog does not show again: make one for each showing.
    bool Unload(int result = QDialog::Rejected);
    bool Unloaded() const { return unloaded_; }

    int exec() override; // returns at once when unloaded before it showed
    void done(int result) override;
    void setVisible(bool visible) override;

protected:
    // Set Cancel to keep the dialog open.
    virtual void QueryUnload(bool& Cancel, CloseBy how);
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool busy_ = false;
    bool unloaded_ = false;
    CloseBy closing_ = CloseBy::Code;
};

// The least dialog of a function this version does not offer: its caption, one
// line saying so and a Close button (`lblMessage`, `cmdClose`).
class NotAvailableDialog : public Dialog {
    Q_OBJECT
public:
    NotAvailableDialog(QWidget* owner, const std::string& formName, const std::string& caption,
                       const std::string& message);
};

} // namespace Forms
