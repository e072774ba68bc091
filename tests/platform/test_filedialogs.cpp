// The real file dialogs and message boxes, driven as the operator drives
// them.
#include "dialogs.h"
#include "forms.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
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

// The filter shows as the program words it, and offers the files whatever
// their letter case: the patterns go as they are to a native dialog, which
// matches them case by case.
TEST(FileDialogs, FilterShowsOnceAndMatchesAnyLetterCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = QFile::encodeName(dir.path()).toStdString();
    FileDialogRequest request;
    request.title = "Open Download File";
    request.filter = "Download Files (*.DLD)|*.DLD";
    request.initialDir = folder;
    QString shown;
    QStringList patterns;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no file dialog";
            return;
        }
        if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
            shown = types->currentText();
        }
        static const QRegularExpression last(QStringLiteral("\\(([^()]*)\\)$"));
        patterns = last.match(dialog->nameFilters().value(0)).captured(1).split(' ', Qt::SkipEmptyParts);
        dialog->reject();
    });
    Platform::RealDialogs().OpenFile(request);
    EXPECT_EQ(shown, QStringLiteral("Download Files (*.DLD)"));
    for (const char* name : {"FW520.DLD", "fw520.dld", "Fw520.Dld"}) {
        EXPECT_TRUE(std::any_of(patterns.begin(), patterns.end(), [name](const QString& p) {
            return QRegularExpression::fromWildcard(p, Qt::CaseSensitive).match(QString::fromLatin1(name)).hasMatch();
        })) << name << " not matched by " << patterns.join(' ').toStdString();
    }
    for (const QString& p : patterns) {
        EXPECT_FALSE(QRegularExpression::fromWildcard(p, Qt::CaseSensitive).match(QStringLiteral("fw520.ini")).hasMatch());
    }
}

// The window manager writes a window's title across its top, in about the
// program's font in bold, between the window's icon and its buttons: however
// short its text, a box is wide enough for all of the title.
TEST(MessageBoxes, AreWideEnoughForTheirTitle)
{
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    for (const char* title :
         {"Firmware Download", "Communication Error", "HPR Channel Written not written", "Not Supported"}) {
        SCOPED_TRACE(title);
        int width = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                ADD_FAILURE() << "no message box";
                return;
            }
            width = box->width();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        EXPECT_EQ(Platform::RealDialogs().MessageBox("OK", MsgBoxStyle::Information, title), MsgBoxResult::OK);
        EXPECT_GE(width, metrics.horizontalAdvance(QString::fromLatin1(title)) + 4 * metrics.height());

        // So is a dialog that takes its size from its few controls.
        Forms::NotAvailableDialog dialog(nullptr, "frmProbe", title, "OK");
        dialog.show();
        EXPECT_GE(dialog.width(), metrics.horizontalAdvance(QString::fromLatin1(title)) + 4 * metrics.height());
    }
}

} // namespace
