#include "scripted_dialogs.h"

#include <gtest/gtest.h>
#include <ostream>

ScriptedDialogs::ScriptedDialogs() { Platform::SetDialogs(this); }

ScriptedDialogs::~ScriptedDialogs()
{
    Platform::SetDialogs(nullptr);
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted box answer(s) never used";
    EXPECT_TRUE(opens_.empty()) << "scripted open-file answer never used";
    EXPECT_TRUE(saves_.empty()) << "scripted save-file answer never used";
}

int ScriptedDialogs::MessageBox(const std::string& text, int style, const std::string& title)
{
    boxes_.push_back({text, style, title});
    if (!answers_.empty()) {
        const int result = answers_.front();
        answers_.pop_front();
        return result;
    }
    if (!allow_) {
        ADD_FAILURE() << "unexpected message box: " << boxes_.back();
    }
    return (style & 0x7) == MsgBoxStyle::YesNo ? MsgBoxResult::Yes : MsgBoxResult::OK;
}

std::string ScriptedDialogs::OpenFile(const FileDialogRequest& request)
{
    fileRequests_.push_back(request);
    if (opens_.empty()) {
        ADD_FAILURE() << "unexpected open-file dialog: " << request.title;
        return {};
    }
    std::string path = opens_.front();
    opens_.pop_front();
    return path;
}

std::string ScriptedDialogs::SaveFile(const FileDialogRequest& request)
{
    fileRequests_.push_back(request);
    if (saves_.empty()) {
        ADD_FAILURE() << "unexpected save-file dialog: " << request.title;
        return {};
    }
    std::string path = saves_.front();
    saves_.pop_front();
    return path;
}

std::ostream& operator<<(std::ostream& os, const ShownBox& box)
{
    return os << "{text \"" << box.text << "\", style " << box.style << ", title \"" << box.title << "\"}";
}
