#include "frmMultiTAT.h"

#include "clock.h"
#include "clsFirmware.h"
#include "clsMultiTAT.h"
#include "clsSettings.h"
#include "commonprocs.h"
#include "dialogs.h"
#include "errorhandler.h"
#include "resets.h"
#include "tpdrexchange.h"
#include "vbconv.h"
#include "vberror.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

using Forms::Named;
using Forms::Q;

namespace {

constexpr float MinTAT = 62.5f;
constexpr float MaxTAT = 875.0f;
constexpr int ListItems = 10; // the list stops at 625 ms; typed values go up to 875
constexpr int16_t Pages = 2;
constexpr int EntriesPerPage = 5;
constexpr int ReadToEdit = 0;
constexpr int EditToRead = 1;
constexpr int NoCopy = 2;
constexpr float InitialiseWait = 0.5f;

bool Supported() { return clsMultiTAT::EnableOK(TpdrFirmware.FWVersion()); }

// The firmware the table was read under; the table outlives the dialog.
FirmwareStamp TableStamp;

// The table is coloured against the read copy: read, and under no firmware
// found since.
bool TableShown()
{
    const int32_t fw = TpdrFirmware.FWVersion();
    return TableStamp.Current() && ReadMultiTAT.HasBeenRead() && (fw == FWUnknown || clsMultiTAT::EnableOK(fw));
}

// Whether entry n would travel as another word than the one the unit holds. A
// value shown rounded, left as it is, sends the word read; an entry not read
// is never unchanged.
bool EntryChanged(int16_t n)
{
    if (!ReadMultiTAT.ReadOK(n) || ReadMultiTAT.Word(n) < 0) {
        return true;
    }
    try {
        return EditMultiTAT.WireWord(n) != ReadMultiTAT.Word(n);
    } catch (const VBError&) {
        return true; // no word carries it
    }
}

void Exclamation(const std::string& text, const std::string& title)
{
    Forms::DefaultPointer();
    MsgBox(text, MsgBoxStyle::Exclamation | MsgBoxStyle::OKOnly, title);
}

// A run-time error of Get or Set, reported the one way every window reports one.
void Report(const char* procName, const std::exception& error)
{
    Forms::DefaultPointer();
    ErrorHandler::CatchAllErrors(error, procName);
}

} // namespace

frmMultiTAT::frmMultiTAT(QWidget* owner) : Forms::Dialog(owner), owner_(dynamic_cast<FirmwareWindow*>(owner))
{
    setObjectName(QStringLiteral("frmMultiTAT"));
    setWindowTitle(QStringLiteral("Multi-TAT Settings"));
    MakeControls();
    ConnectControls();
    Form_Load();
    follower_.emplace([this] { TableStillRead(); });
}

void frmMultiTAT::MakeControls()
{
    fraTAT = Named(new QGroupBox(QStringLiteral("Channel 2 Selector TAT Settings"), this), "fraTAT");
    auto* grid = new QGridLayout(fraTAT);
    for (int n = 0; n < Entries; ++n) {
        const auto i = static_cast<size_t>(n);
        lblTAT[i] = Named(new QLabel(QStringLiteral("Position %1").arg(n), fraTAT), "lblTAT", n);
        cboTAT[i] = Named(new QComboBox(fraTAT), "cboTAT", n);
        cboTAT[i]->setEditable(true);
        cboTAT[i]->setInsertPolicy(QComboBox::NoInsert);
        // What is typed stays as typed: no completion from the list.
        cboTAT[i]->setCompleter(nullptr);
        const int column = n < EntriesPerPage ? 0 : 2;
        grid->addWidget(lblTAT[i], n % EntriesPerPage, column);
        grid->addWidget(cboTAT[i], n % EntriesPerPage, column + 1);
    }

    cmdTATRead = Forms::NewButton(this, "cmdTATRead", QStringLiteral("&Get"),
                                  QStringLiteral("Read all Turn-Around-Times from Transponder"));
    cmdTATWrite = Forms::NewButton(this, "cmdTATWrite", QStringLiteral("&Set"),
                                   QStringLiteral("Send all changed Turn-Around-Times to Transponder"));
    cmdTATCancel = Forms::NewButton(this, "cmdTATCancel", QStringLiteral("&Cancel"),
                                    QStringLiteral("Reset all unsent TAT parameters"));
    cmdTATApply = Forms::NewButton(this, "cmdTATApply", {}, QStringLiteral("Confirm TAT selection"));
    cmdTATApply->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    lblReadIfo = Named(new QLabel(QStringLiteral("Please Read before selecting or writing."), this), "lblReadIfo");
    prgMultiTAT = Named(new QProgressBar(this), "prgMultiTAT");
    prgMultiTAT->setRange(0, 100);
    prgMultiTAT->setValue(0);
    prgMultiTAT->setTextVisible(false);
    cmdProgressCancel =
        Forms::NewButton(this, "cmdProgressCancel", QStringLiteral("&Cancel"), QStringLiteral("Cancel operation"));
    cmdExit = Forms::NewButton(this, "cmdExit", QStringLiteral("E&xit"));
    // Leaving an entry for these does not check it: they abandon the edit (Get
    // reads every entry afresh), so a blank entry never holds the user back.
    for (QWidget* control : std::initializer_list<QWidget*>{cmdTATRead, cmdTATCancel, cmdProgressCancel, cmdExit}) {
        Forms::SetCausesValidation(control, false);
    }
    staMultiTAT = Forms::NewStatusBar(this, "staMultiTAT", staMultiTATPanel1, "staMultiTATPanel1");

    // From the last entry Tab goes on to confirm it, then to Set.
    QWidget* previous = cboTAT[Entries - 1];
    for (QWidget* next : std::initializer_list<QWidget*>{cmdTATApply, cmdTATWrite, cmdTATRead, cmdTATCancel,
                                                          cmdProgressCancel, cmdExit}) {
        setTabOrder(previous, next);
        previous = next;
    }
    Forms::KeepTabOrder(this);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {cmdTATRead, cmdTATWrite, cmdTATCancel, cmdTATApply}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(fraTAT, 1);
    top->addLayout(buttons);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(prgMultiTAT, 1);
    bottom->addWidget(cmdProgressCancel);
    bottom->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    QMargins margins = layout->contentsMargins();
    margins.setBottom(0); // the status bar sits at the foot
    layout->setContentsMargins(margins);
    layout->addLayout(top);
    layout->addWidget(lblReadIfo);
    layout->addLayout(bottom);
    layout->addWidget(staMultiTAT);
}

void frmMultiTAT::ConnectControls()
{
    for (int n = 0; n < Entries; ++n) {
        Forms::OnValidate(cboTAT[static_cast<size_t>(n)], [this, n](bool& Cancel) { cboTAT_Validate(n, Cancel); });
    }
    connect(cmdTATRead, &QPushButton::clicked, this, &frmMultiTAT::cmdTATRead_Click);
    connect(cmdTATWrite, &QPushButton::clicked, this, &frmMultiTAT::cmdTATWrite_Click);
    connect(cmdTATCancel, &QPushButton::clicked, this, &frmMultiTAT::cmdTATCancel_Click);
    connect(cmdProgressCancel, &QPushButton::clicked, this, &frmMultiTAT::cmdProgressCancel_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmMultiTAT::cmdExit_Click);
}

// Nothing is sent: the entries show what the edit copy holds from earlier in the run.
void frmMultiTAT::Form_Load()
{
    TATToolTip();
    TableStillRead();
    for (int n = 0; n < Entries; ++n) {
        CopyTAT(NoCopy, n);
        ShowTAT(n);
    }
    ShowTATs();
    EnableTATControls(false);
    cmdTATWrite->setEnabled(TATsChanged());
    cmdProgressCancel->hide();
    // Reading comes first; an entry left blank by an earlier read would hold the focus.
    cmdTATRead->setFocus();
}

// ------------------------------------------------------------------ Get

void frmMultiTAT::cmdTATRead_Click()
{
    SetBusy(true);
    Forms::BusyPointer();
    int32_t result = ReplyReceived;
    try {
        GetFirmware();
        if (!Supported()) {
            if (TpdrFirmware.FWVersion() != FWUnknown) {
                Forms::DefaultPointer();
                CommonProcs::ShowNotSupported();
            }
        } else {
            CommonProcs::ResetParamGroup(6, true, true);
            result = ReadPages();
        }
        for (int n = 0; n < Entries; ++n) {
            CopyTAT(ReadToEdit, n);
            ShowTAT(n);
        }
        ShowTATs();
    } catch (const std::exception& e) {
        Report("cmdTATReadErrorHandler (frmMultiTAT)", e);
        result = ReplyReceived; // reported already
    }
    IdleControls();
    if (result != ReplyReceived) {
        Exclamation("Some Turn-Around-Times may not have been read,\nor have been read incorrectly and are invalid.",
                    "Turn-Around-Time Parameters");
    }
    cmdTATRead->setFocus();
}

void frmMultiTAT::GetFirmware()
{
    BusyControls();
    FirmwareReader::GetFirmware(FirmwarePolicies::frmMultiTAT, *this);
    TableStamp.Take();
    EnableTATControls(false);
    ExchangeEnded();
}

int32_t frmMultiTAT::ReadPages()
{
    int32_t result = ReplyReceived;
    for (int16_t page = 1; page <= Pages && result == ReplyReceived; ++page) {
        BusyControls();
        TpdrExchange::Reply reply;
        result = TpdrExchange::Run(
            *this,
            [page](TpdrCommand& frame, int16_t& count, int16_t& length) {
                ReadMultiTAT.ReadEncode(frame, count, length, page);
            },
            [] { return ReadMultiTAT.StatusBarText(); }, reply);
        // A failed page counts as read: its entries show blank and red.
        ReadMultiTAT.HasBeenRead(true);
        if (result == ReplyReceived) {
            ReadMultiTAT.ReadDecode(reply.text, page);
            ShowStatus(ReadMultiTAT.StatusBarText());
        }
    }
    ExchangeEnded();
    return result;
}

// ------------------------------------------------------------------ editing

void frmMultiTAT::cboTAT_Validate(int Index, bool& Cancel)
{
    const auto i = static_cast<int16_t>(Index);
    const std::string text = Forms::S(cboTAT[static_cast<size_t>(Index)]->currentText());
    if (!VB::IsNumeric(text)) {
        Cancel = true;
        return;
    }
    const double v = VB::Val(text);
    // The entry holds what it travels as; a word that would read back out of
    // range is refused like the typed value.
    const uint16_t word = v >= MinTAT && v <= MaxTAT ? clsMultiTAT::WordOf(static_cast<float>(v)) : 0;
    const float travels = clsMultiTAT::ValueOf(word);
    if (travels < MinTAT || travels > MaxTAT) {
        EditMultiTAT.OKToWrite(i, false);
        Cancel = true;
        return;
    }
    EditMultiTAT.Value(i, travels);
    EditMultiTAT.Word(i, word);
    EditMultiTAT.OKToWrite(i, true);
    ShowTAT(Index);
    ShowTATs();
    cmdTATWrite->setEnabled(TATsChanged());
    Cancel = false;
}

void frmMultiTAT::cmdTATCancel_Click()
{
    for (int n = 0; n < Entries; ++n) {
        CopyTAT(ReadToEdit, n);
        ShowTAT(n);
    }
    ShowTATs();
    for (int16_t n = 0; n < Entries; ++n) {
        if (!ReadMultiTAT.ReadOK(n)) {
            MsgBox("Some Turn-Around-Times are invalid.", MsgBoxStyle::Exclamation | MsgBoxStyle::OKOnly,
                   "Reset Turn-Around-Times");
            break;
        }
    }
    cmdTATWrite->setEnabled(TATsChanged());
}

// ------------------------------------------------------------------ Set

void frmMultiTAT::cmdTATWrite_Click()
{
    // A click that follows a refused entry, or a table that is no longer whole
    // or no longer the unit's.
    if (Forms::FocusRefused(cmdTATWrite) || !TableStillRead() || !TATsChanged()) {
        cmdTATWrite->setEnabled(TATsChanged());
        return;
    }
    SetBusy(true);
    Forms::BusyPointer();
    try {
        const bool written = WritePages();
        if (!written) {
            ShowTATs();
            Exclamation("Some Turn-Around-Times may not have been written.", "Turn-Around-Time Decode");
        } else {
            InitialiseAfterWrite(); // the entries keep their colours until the unit is initialised
            ShowTATs();
        }
    } catch (const std::exception& e) {
        Report("cmdTATWriteErrorHandler (frmMultiTAT)", e);
        ShowTATs();
    }
    IdleControls();
    cmdTATRead->setFocus();
}

bool frmMultiTAT::WritePages()
{
    TpdrExchange::Options options;
    options.delayFirst = false; // the two pages go one straight after the other
    options.statusAfterDecode = true;
    for (int16_t page = 1; page <= Pages; ++page) {
        BusyControls();
        TpdrExchange::Reply reply;
        const int32_t result = TpdrExchange::Run(
            *this,
            [page](TpdrCommand& frame, int16_t& count, int16_t& length) {
                EditMultiTAT.WriteEncode(frame, count, length, page);
            },
            [] { return EditMultiTAT.StatusBarText(); }, reply,
            [](const std::string& text, int16_t) { EditMultiTAT.WriteDecode(text); }, options);
        if (result != ReplyReceived) {
            // Sent, but no answer taken: the unit may hold either table.
            for (int16_t n = (page - 1) * EntriesPerPage; n < page * EntriesPerPage; ++n) {
                ReadMultiTAT.ReadOK(n, false);
            }
        }
        if (result != ReplyReceived || !EditMultiTAT.WriteOK()) {
            return false;
        }
        // What the transponder acknowledged is what it now holds.
        for (int n = (page - 1) * EntriesPerPage; n < page * EntriesPerPage; ++n) {
            CopyTAT(EditToRead, n);
            ShowTAT(n);
        }
    }
    return true;
}

void frmMultiTAT::InitialiseAfterWrite()
{
    // The table must be read again before the next edit.
    ReadMultiTAT.HasBeenRead(false);
    ShowStatus("Initialising Transponder.");
    EnableTATControls(true);
    CommonProcs::Delay(InitialiseWait);
    CommonProcs::InitialiseTpdr(*this);
    CommonProcs::Delay(InitialiseWait);
    CommonProcs::Delay(AppSettings.DelayBetweenCmds());
    EnableTATControls(false);
    ShowStatus("");
}

// ------------------------------------------------------------------ closing, progress

void frmMultiTAT::cmdExit_Click() { Unload(QDialog::Accepted); }

void frmMultiTAT::cmdProgressCancel_Click() { CancelRequested = true; }

void frmMultiTAT::QueryUnload(bool& Cancel, CloseBy /*how*/)
{
    // Never closed in the middle of a read or write, however it is asked.
    if (Busy()) {
        Cancel = true;
    }
}

void frmMultiTAT::mTpdrComms_PercentDone(float Fraction, bool& Cancel)
{
    TpdrExchange::ShowProgress(prgMultiTAT, Fraction, *this, Cancel);
}

// ------------------------------------------------------------------ entries and states

void frmMultiTAT::TATToolTip()
{
    QStringList items;
    for (int k = 1; k <= ListItems; ++k) {
        items << Q(VB::NumText(k * 62.5));
    }
    for (int n = 0; n < Entries; ++n) {
        QComboBox* combo = cboTAT[static_cast<size_t>(n)];
        combo->clear();
        combo->addItems(items);
        combo->setToolTip(QStringLiteral("Position %1 Turn-Around-Time (62.5 - 875 mSec)").arg(n));
    }
}

void frmMultiTAT::CopyTAT(int Direction, int Index)
{
    const int32_t fw = TpdrFirmware.FWVersion();
    const auto i = static_cast<int16_t>(Index);
    if (clsMultiTAT::EnableOK(fw)) {
        if (Direction == ReadToEdit) {
            EditMultiTAT.Value(i, ReadMultiTAT.Value(i));
            EditMultiTAT.Word(i, ReadMultiTAT.Word(i));
            EditMultiTAT.OKToWrite(i, ReadMultiTAT.ReadOK(i));
        } else if (Direction == EditToRead) {
            // The unit acknowledged the word sent: that is what it now holds.
            ReadMultiTAT.Value(i, EditMultiTAT.Value(i));
            ReadMultiTAT.Word(i, EditMultiTAT.WireWord(i));
            ReadMultiTAT.ReadOK(i, EditMultiTAT.OKToWrite(i));
        }
    } else if (fw != FWUnknown) {
        CommonProcs::ResetParamGroup(6, true, true);
    }
}

// An entry shows the word it travels as, in the form a read shows it, and only
// while the table belongs to the unit on the cable. Where no colour can mark
// an edit as a change (a table to be read again), only what the unit holds shows.
void frmMultiTAT::ShowTAT(int Index)
{
    const auto i = static_cast<int16_t>(Index);
    std::string text = " ";
    if (TableStamp.Current() && EditMultiTAT.OKToWrite(i) && (TableShown() || !EntryChanged(i))) {
        try {
            text = VB::NumText(clsMultiTAT::ValueOf(EditMultiTAT.WireWord(i)));
        } catch (const VBError&) {
            text = VB::NumText(EditMultiTAT.Value(i)); // no word carries it: Set reports it
        }
    }
    QComboBox* combo = cboTAT[static_cast<size_t>(Index)];
    // The list's own selection follows the value shown, so that the arrow keys,
    // the wheel and the drop-down step on from it.
    combo->setCurrentIndex(combo->findText(Q(text)));
    combo->setEditText(Q(text));
    Forms::MarkShown(combo);
}

// One row loop: each entry's colour from the read and edit copies.
void frmMultiTAT::ShowTATs()
{
    const bool shown = TableShown();
    for (int16_t n = 0; n < Entries; ++n) {
        uint32_t colour = Forms::vbWhite;
        if (shown && !EditMultiTAT.OKToWrite(n)) {
            colour = Forms::vbRed;
        } else if (shown && EntryChanged(n)) {
            colour = Forms::vbOrange;
        }
        Forms::SetBackColor(cboTAT[static_cast<size_t>(n)], colour);
    }
    repaint();
}

bool frmMultiTAT::TATsChanged() const
{
    if (!Supported() || !ReadMultiTAT.HasBeenRead()) {
        return false;
    }
    bool changed = false;
    for (int16_t n = 0; n < Entries; ++n) {
        if (!EditMultiTAT.OKToWrite(n)) {
            return false;
        }
        changed = changed || EntryChanged(n);
    }
    return changed;
}

bool frmMultiTAT::TableStillRead()
{
    // Outdated even when a read since has cleared the read flag: the copies
    // still hold the other unit's table.
    if (!TableStamp.Outdated()) {
        return true;
    }
    CommonProcs::ResetParamGroup(6, true, true);
    ReadMultiTAT.HasBeenRead(false);
    TableStamp.Drop();
    for (int n = 0; n < Entries; ++n) {
        ShowTAT(n);
    }
    ShowTATs();
    EnableTATControls(false);
    return false;
}

// Nothing is open to edit or write while an exchange of the dialog runs.
void frmMultiTAT::EnableTATControls(bool Busy)
{
    const bool enable = !Busy && !Forms::Dialog::Busy() && Supported() && ReadMultiTAT.HasBeenRead();
    for (int n = 0; n < Entries; ++n) {
        lblTAT[static_cast<size_t>(n)]->setEnabled(enable);
        cboTAT[static_cast<size_t>(n)]->setEnabled(enable);
    }
    for (QPushButton* button : {cmdTATWrite, cmdTATCancel, cmdTATApply}) {
        button->setEnabled(enable);
    }
    cmdTATRead->setEnabled(!Busy && !Forms::Dialog::Busy());
}

void frmMultiTAT::BusyControls()
{
    EnableTATControls(true);
    cmdExit->hide();
    cmdProgressCancel->show();
    cmdProgressCancel->setEnabled(true);
    CancelRequested = false;
}

void frmMultiTAT::ExchangeEnded()
{
    cmdProgressCancel->hide();
    cmdExit->show();
    prgMultiTAT->setValue(prgMultiTAT->minimum());
}

void frmMultiTAT::IdleControls()
{
    SetBusy(false);
    EnableTATControls(false);
    ExchangeEnded();
    cmdTATWrite->setEnabled(TATsChanged());
    Forms::DefaultPointer();
}

// ------------------------------------------------------------------ status and firmware label

void frmMultiTAT::ShowStatus(const std::string& text)
{
    staMultiTATPanel1->setText(Q(text));
    staMultiTAT->repaint();
}

std::string frmMultiTAT::StatusText() const { return Forms::S(staMultiTATPanel1->text()); }

// The version read here shows where the owner shows its own: the general
// parameters dialog hands it on to the main window.
void frmMultiTAT::SetFirmwareLabelText(const std::string& text)
{
    if (owner_ != nullptr) {
        owner_->SetFirmwareLabelText(text);
    }
}

void frmMultiTAT::SetFirmwareLabelBackColor(int32_t vbColor)
{
    if (owner_ != nullptr) {
        owner_->SetFirmwareLabelBackColor(vbColor);
    }
}
