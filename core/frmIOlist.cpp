#include "frmIOlist.h"

#include "forms.h"

#include <QCloseEvent>
#include <QFont>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

namespace {

constexpr int TwipsPerPixel = 15;
constexpr int Px(int twips) { return twips / TwipsPerPixel; }

constexpr int MinWidth = Px(5835);
constexpr int MinHeight = Px(1545);
constexpr int ListHeightMargin = Px(900);
constexpr int ButtonTopMargin = Px(765);
constexpr int CloseLeftMargin = Px(1155);

constexpr char InitShownCaption[] = "Display Init Cmds";
constexpr char InitHiddenCaption[] = "Skip Initialize Cmds";

QString Latin1(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

// Geometry is assigned only where it changes, so that the resize handler
// does not stir up events of its own.
void Move(QWidget* w, int x, int y)
{
    if (w->x() != x || w->y() != y) {
        w->move(x, y);
    }
}

void Resize(QWidget* w, int width, int height)
{
    if (w->width() != width || w->height() != height) {
        w->resize(width, height);
    }
}

} // namespace

frmIOlist::frmIOlist(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmIOlist"));
    setWindowTitle(QStringLiteral("Engineering Mode Beacon Command/Reply List"));

    lstIO = Forms::Named(new QListWidget(this), "lstIO");
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    lstIO->setFont(font);
    lstIO->move(0, 0);

    cmdClear = Forms::NewButton(this, "cmdClear", QStringLiteral("Clear"));
    cmdInit = Forms::NewButton(this, "cmdInit", QString::fromLatin1(InitHiddenCaption));
    cmdClose = Forms::NewButton(this, "cmdClose", QStringLiteral("Close"));
    cmdClear->setGeometry(Px(120), 0, Px(975), Px(375));
    cmdInit->setGeometry(0, 0, Px(1950), Px(375));
    cmdClose->setGeometry(0, 0, Px(975), Px(375));

    connect(cmdClear, &QPushButton::clicked, this, &frmIOlist::cmdClear_Click);
    connect(cmdInit, &QPushButton::clicked, this, &frmIOlist::cmdInit_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmIOlist::cmdClose_Click);
    connect(lstIO, &QListWidget::itemSelectionChanged, this, &frmIOlist::lstIO_Click);

    resize(Px(7500), Px(3600));
    Form_Resize();
    Form_Load();
}

frmIOlist::~frmIOlist() { Form_Unload(); }

void frmIOlist::showEvent(QShowEvent* event)
{
    // Shown again after a close: load afresh, as a new window would.
    if (!loaded_) {
        Form_Load();
    }
    QWidget::showEvent(event);
}

void frmIOlist::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmIOlist::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmIOlist::Form_Load()
{
    lstIO->clear();
    LastWasCommand = false;
    ShowIOFlag = true;
    HideInit = true;
    // A reloaded window starts with its controls as designed.
    cmdInit->setText(QString::fromLatin1(InitHiddenCaption));
    cmdClear->setEnabled(true);
    SetIOList(this);
    loaded_ = true;
}

void frmIOlist::Form_Unload()
{
    if (!loaded_) {
        return;
    }
    loaded_ = false;
    ShowIOFlag = false;
    SetIOList(nullptr);
    if (OnUnload) {
        OnUnload();
    }
}

void frmIOlist::Form_Resize()
{
    if (inResize_) {
        return;
    }
    inResize_ = true;

    const int w = std::max(width(), MinWidth);
    const int h = std::max(height(), MinHeight);
    Resize(this, w, h);

    // The list takes the full width: lines are long and must show their start.
    Resize(lstIO, w, h - ListHeightMargin);
    const int top = h - ButtonTopMargin;
    Move(cmdClear, cmdClear->x(), top);
    Move(cmdInit, (w - cmdInit->width()) / 2, top);
    Move(cmdClose, w - CloseLeftMargin, top);

    inResize_ = false;
}

void frmIOlist::AddLine(const std::string& line)
{
    lstIO->addItem(Latin1(line));
    cmdClear->setEnabled(true);
}

void frmIOlist::IO_Command(const std::string& stgCommand)
{
    if (HideInit && stgCommand.starts_with("!I")) {
        return;
    }
    while (lstIO->count() >= MaxLines) {
        delete lstIO->takeItem(0);
    }
    AddLine(stgCommand);
    LastWasCommand = true;
}

void frmIOlist::IO_Reply(const std::string& stgReply)
{
    std::string line = "  >>  " + stgReply;
    const int last = lstIO->count() - 1;
    if (LastWasCommand && last >= 0) {
        line = lstIO->item(last)->text().toLatin1().toStdString() + line;
        delete lstIO->takeItem(last);
    }
    AddLine(line);
    LastWasCommand = false;
}

void frmIOlist::cmdClear_Click()
{
    lstIO->clear();
    cmdClear->setEnabled(false);
}

void frmIOlist::cmdInit_Click()
{
    HideInit = !HideInit;
    cmdInit->setText(QString::fromLatin1(HideInit ? InitHiddenCaption : InitShownCaption));
}

void frmIOlist::cmdClose_Click() { close(); }

void frmIOlist::lstIO_Click()
{
    // The list is for reading only: no line stays selected.
    if (lstIO->currentRow() == -1 && lstIO->selectedItems().isEmpty()) {
        return;
    }
    lstIO->setCurrentRow(-1);
    lstIO->clearSelection();
}
