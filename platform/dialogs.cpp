#include "dialogs.h"

#include "appinfo.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <algorithm>

namespace Platform {
namespace {

QString L1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

// Paths are the file system's bytes (UTF-8), not one character per byte.
QString FromPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// A pattern that matches a name whatever the letter case of either: a native
// dialog matches case by case. "*.DLD" becomes "*.[Dd][Ll][Dd]".
QString AnyCase(const QString& pattern)
{
    QString out;
    bool inSet = false;
    for (const QChar c : pattern) {
        inSet = c == '[' || (inSet && c != ']');
        if (!inSet && c.toLower() != c.toUpper()) {
            out += QLatin1Char('[') + c.toUpper() + c.toLower() + QLatin1Char(']');
        } else {
            out += c;
        }
    }
    return out;
}

// "Text (*.A)|*.A|Other|*.B" becomes Qt's ";;"-separated filter list. Qt
// reads the patterns from the last parentheses and, told to hide them, shows
// only the text before them: each filter reads as the program words it.
QString QtFilter(const std::string& filter)
{
    const QStringList parts = L1(filter).split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        std::transform(patterns.begin(), patterns.end(), patterns.begin(), AnyCase);
        out << parts[i] + " (" + patterns.join(' ') + ")";
    }
    return out.join(";;");
}

void SetFilter(QFileDialog& dialog, const std::string& filter)
{
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(QtFilter(filter));
}

void FitTitle(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    const int screen = box.screen() != nullptr ? box.screen()->availableGeometry().width() : 0;
    int width = TitleWidth(box.windowTitle());
    if (screen > 0) {
        width = std::min(width, screen);
    }
    const QMargins margins = grid->contentsMargins();
    grid->addItem(new QSpacerItem(width - margins.left() - margins.right(), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

class QtDialogs : public DialogProvider {
public:
    int MessageBox(const std::string& text, int style, const std::string& title) override
    {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(L1(title));
        box.setText(L1(text));
        switch (style & 0x70) {
        case MsgBoxStyle::Critical: box.setIcon(QMessageBox::Critical); break;
        case MsgBoxStyle::Question: box.setIcon(QMessageBox::Question); break;
        case MsgBoxStyle::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case MsgBoxStyle::Information: box.setIcon(QMessageBox::Information); break;
        default: break;
        }
        QPushButton* first = nullptr;
        QPushButton* second = nullptr;
        int firstResult = MsgBoxResult::OK;
        int secondResult = MsgBoxResult::Cancel;
        switch (style & 0x7) {
        case MsgBoxStyle::OKCancel:
            first = box.addButton(QMessageBox::Ok);
            second = box.addButton(QMessageBox::Cancel);
            break;
        case MsgBoxStyle::YesNo:
            first = box.addButton(QMessageBox::Yes);
            second = box.addButton(QMessageBox::No);
            firstResult = MsgBoxResult::Yes;
            secondResult = MsgBoxResult::No;
            break;
        default: first = box.addButton(QMessageBox::Ok); break;
        }
        box.setDefaultButton((style & MsgBoxStyle::DefaultButton2) != 0 && second != nullptr ? second : first);
        box.setEscapeButton(second != nullptr ? second : first);
        // Qt's box allows too little for its title. Last: the box lays itself
        // out anew as it is set up.
        FitTitle(box);
        box.exec();
        if (second != nullptr && box.clickedButton() == second) {
            return secondResult;
        }
        return firstResult;
    }

    std::string OpenFile(const FileDialogRequest& r) override
    {
        QFileDialog dialog(QApplication::activeWindow(), L1(r.title), FromPath(r.initialDir));
        SetFilter(dialog, r.filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(r.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::ReadOnly, false);
        if (!r.fileName.empty()) {
            dialog.selectFile(FromPath(r.fileName));
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return {};
        }
        return ToPath(dialog.selectedFiles().front());
    }

    std::string SaveFile(const FileDialogRequest& r) override
    {
        QFileDialog dialog(QApplication::activeWindow(), L1(r.title), FromPath(r.initialDir));
        SetFilter(dialog, r.filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        if (!r.fileName.empty()) {
            dialog.selectFile(FromPath(r.fileName));
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return {};
        }
        return ToPath(dialog.selectedFiles().front());
    }
};

DialogProvider* g_dialogs = nullptr;
int g_boxHolds = 0;

} // namespace

int TitleWidth(const QString& title)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(title) + 8 * metrics.height();
}

DialogProvider& RealDialogs()
{
    static QtDialogs dialogs;
    return dialogs;
}

DialogProvider& Dialogs() { return g_dialogs != nullptr ? *g_dialogs : RealDialogs(); }

void SetDialogs(DialogProvider* provider) { g_dialogs = provider; }

BoxHold::BoxHold() { ++g_boxHolds; }
BoxHold::~BoxHold() { --g_boxHolds; }

int ShowMessageBox(const std::string& text, int style, const std::string& title)
{
    if (g_boxHolds > 0) {
        switch (style & 0x7) {
        case MsgBoxStyle::OKCancel: return MsgBoxResult::Cancel;
        case MsgBoxStyle::YesNo: return MsgBoxResult::No;
        default: return MsgBoxResult::OK;
        }
    }
    return Dialogs().MessageBox(text, style, title);
}

} // namespace Platform

int MsgBox(const std::string& text, int style, const std::string& title)
{
    return Platform::ShowMessageBox(text, style, title.empty() ? App::Title() : title);
}
