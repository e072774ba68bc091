// The real file dialogs, driven as the operator drives them, in a folder
// whose name is not ASCII.
#include "dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Seen {
    std::string folder;   // the folder the dialog opened in
    std::string proposed; // the name in its file name box
};

// While the dialog is up: note what it shows; in the folder expected, type
// `name` (none: take the name proposed) and press Enter. Anywhere else, or
// when the dialog does not take the name, it is cancelled.
std::string Pick(const std::function<std::string()>& show, const std::string& folder, const char* name, Seen& seen)
{
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no file dialog";
            return;
        }
        seen.folder = QFile::encodeName(dialog->directory().absolutePath()).toStdString();
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        seen.proposed = edit != nullptr ? QFile::encodeName(edit->text()).toStdString() : std::string();
        if (edit == nullptr || seen.folder != folder) {
            dialog->reject();
            return;
        }
        if (name != nullptr) {
            edit->selectAll();
            QTest::keyClicks(edit, QString::fromLatin1(name));
        }
        QTest::keyClick(edit, Qt::Key_Return);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog did not take the name";
            dialog->reject();
        }
    });
    return show();
}

TEST(FileDialogs, PathsAreTheFileSystemsBytesBothWays)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // "Küste Łeba" in UTF-8: one letter inside Latin-1, one outside it.
    const std::string folder = QFile::encodeName(dir.path()).toStdString() + "/K\xC3\xBCste \xC5\x81" "eba";
    ASSERT_TRUE(fs::create_directory(folder));
    std::ofstream(folder + "/QTL1.INI") << "[COMMS]\r\n";

    FileDialogRequest request;
    request.title = "Corvel Tidelet .INI File";
    request.filter = "Corvel Tidelet INI Files (QTL*.INI)|QTL*.INI";
    request.initialDir = folder;
    request.fileMustExist = true;
    Seen seen;
    const std::string picked = Pick([&] { return Platform::RealDialogs().OpenFile(request); }, folder, "QTL1.INI", seen);
    EXPECT_EQ(seen.folder, folder);
    EXPECT_EQ(picked, folder + "/QTL1.INI");
    EXPECT_TRUE(std::ifstream(picked).good());

    request.fileMustExist = false;
    request.fileName = "QTL\xC5\x81.INI";
    const std::string named = Pick([&] { return Platform::RealDialogs().SaveFile(request); }, folder, nullptr, seen);
    EXPECT_EQ(seen.folder, folder);
    EXPECT_EQ(seen.proposed, request.fileName);
    EXPECT_EQ(named, folder + "/" + request.fileName);
}

} // namespace
