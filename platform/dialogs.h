// Message boxes and file dialogs, with the style and answer numbers the
// program uses. A test installs a scripted implementation.
#pragma once

#include <QString>
#include <string>

namespace MsgBoxStyle {
constexpr int OKOnly = 0;
constexpr int OKCancel = 1;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton2 = 256; // the second button answers Enter
} // namespace MsgBoxStyle

namespace MsgBoxResult {
constexpr int OK = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MsgBoxResult

struct FileDialogRequest {
    std::string title;
    std::string filter;     // "Description (*.EXT)|*.EXT|..."
    std::string initialDir;
    std::string fileName;   // proposed name
    bool fileMustExist = false;
};

namespace Platform {

class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    // style = icon + buttons; returns the button pressed (1 OK, 2 Cancel, 6 Yes, 7 No).
    virtual int MessageBox(const std::string& text, int style, const std::string& title) = 0;
    // Return the chosen path, or "" when cancelled.
    virtual std::string OpenFile(const FileDialogRequest& request) = 0;
    virtual std::string SaveFile(const FileDialogRequest& request) = 0;
};

DialogProvider& RealDialogs(); // QMessageBox and QFileDialog
DialogProvider& Dialogs();     // the provider in use
void SetDialogs(DialogProvider* provider); // nullptr restores the real one

// Every message box goes through here: to the provider in use, unless boxes
// are held.
int ShowMessageBox(const std::string& text, int style, const std::string& title);

// While a hold lives (the user has closed the program under a running
// exchange) nothing more is asked or told: a box is not shown, and answers as
// its Escape button would (Cancel, No or OK).
class BoxHold {
public:
    BoxHold();
    ~BoxHold();
    BoxHold(const BoxHold&) = delete;
    BoxHold& operator=(const BoxHold&) = delete;
};

// The width a window needs for the window manager to show all of its title:
// it writes it in its own font, mostly the program's in bold, between the
// window's icon and its buttons.
int TitleWidth(const QString& title);

} // namespace Platform

// The message box; the title defaults to the program's title.
int MsgBox(const std::string& text, int style = MsgBoxStyle::OKOnly, const std::string& title = {});
