// The engineering window that lists every command sent to the transponder and
// every reply, one line per exchange, while it is loaded. Modeless.
#pragma once

#include "iolog.h"

#include <QWidget>
#include <functional>
#include <string>

class QListWidget;
class QPushButton;

class frmIOlist : public QWidget, public IOLogSink {
    Q_OBJECT
public:
    explicit frmIOlist(QWidget* parent = nullptr);
    ~frmIOlist() override;

    // The list's line limit: the oldest lines go before a command is added.
    static constexpr int MaxLines = 499;

    void IO_Command(const std::string& stgCommand) override;
    void IO_Reply(const std::string& stgReply) override;

    // Run when the window unloads; the main window clears its menu check mark.
    std::function<void()> OnUnload;

    QListWidget* lstIO;
    QPushButton* cmdClear;
    QPushButton* cmdInit;
    QPushButton* cmdClose;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void Form_Resize();
    void cmdClear_Click();
    void cmdInit_Click();
    void cmdClose_Click();
    void lstIO_Click();

    void AddLine(const std::string& line);

    bool LastWasCommand = false;
    bool HideInit = true;
    bool loaded_ = false;
    bool inResize_ = false;
};
