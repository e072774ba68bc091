// Message boxes and file dialogs that record what was shown and answer from a
// queue. A box nobody expected fails the test.
#pragma once

#include "dialogs.h"

#include <deque>
#include <string>
#include <vector>

struct ShownBox {
    std::string text;
    int style = 0;
    std::string title;
    bool operator==(const ShownBox&) const = default;
};

// The link's box when the transponder does not answer in time.
inline const ShownBox NoReplyBox{"No reply from Transponder.", 48, "Communication Error"};

class ScriptedDialogs : public Platform::DialogProvider {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override; // restores the real dialogs; unanswered answers fail

    // Answers for the next boxes, in order. Without any, a box fails the test
    // unless boxes are allowed (then OK / Yes... the first button answers).
    void Answer(int result) { answers_.push_back(result); }
    void AllowBoxes(bool allow = true) { allow_ = allow; }
    const std::vector<ShownBox>& Boxes() const { return boxes_; }
    void Clear() { boxes_.clear(); }

    // File dialogs: answers for the next open / save dialogs ("" = cancelled).
    void AnswerOpen(const std::string& path) { opens_.push_back(path); }
    void AnswerSave(const std::string& path) { saves_.push_back(path); }
    const std::vector<FileDialogRequest>& FileRequests() const { return fileRequests_; }

    int MessageBox(const std::string& text, int style, const std::string& title) override;
    std::string OpenFile(const FileDialogRequest& request) override;
    std::string SaveFile(const FileDialogRequest& request) override;

private:
    std::deque<int> answers_;
    std::deque<std::string> opens_;
    std::deque<std::string> saves_;
    std::vector<ShownBox> boxes_;
    std::vector<FileDialogRequest> fileRequests_;
    bool allow_ = false;
};

std::ostream& operator<<(std::ostream& os, const ShownBox& box);
