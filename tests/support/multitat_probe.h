// The multi turn-around-time dialog as a user sees and drives it: the frames
// it sends, the boxes it shows, its ten entries at a glance, typing into one.
#pragma once

#include "forms.h"
#include "frames.h"
#include "frmMultiTAT.h"
#include "scripted_dialogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>
#include <string>

namespace MultiTATProbe {

using Frames::V10;
using Frames::V9;
inline const std::string R1 = Frames::Text("!R", "E2 00 00 0A", 10), R2 = Frames::Text("!R", "E2 00 10 0A", 10);
inline const std::string& INIT = Frames::Init;
// The simulated transponder's table: 62.5 ms to 625 ms in steps of 62.5 ms.
inline const std::string AsRead = "62.5 125 187.5 250 312.5 375 437.5 500 562.5 625";
inline const std::string Blank(19, ' ');

inline const ShownBox& NoReply = NoReplyBox;
inline const ShownBox NotSupported{"The Transponder firmware does not support this function.", 64, "Not Supported"};
inline const ShownBox InvalidVersion{"Invalid Firmware Version returned.", 48, "Firmware Version"};
inline const ShownBox NotRead{
    "Some Turn-Around-Times may not have been read,\nor have been read incorrectly and are invalid.", 48,
    "Turn-Around-Time Parameters"};
inline const ShownBox NotWritten{"Some Turn-Around-Times may not have been written.", 48, "Turn-Around-Time Decode"};
inline const ShownBox Invalid{"Some Turn-Around-Times are invalid.", 48, "Reset Turn-Around-Times"};

template <typename T = QWidget> T* Find(const QWidget* dialog, const QString& name)
{
    T* w = dialog->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}
inline QComboBox* Entry(const QWidget* dialog, int n) { return Find<QComboBox>(dialog, Forms::ArrayName("cboTAT", n)); }
inline void Click(const QWidget* dialog, const char* button)
{
    QTest::mouseClick(Find<QPushButton>(dialog, QString::fromLatin1(button)), Qt::LeftButton);
}
// A control's own flag, not what its frame imposes.
inline bool Enabled(const QWidget* dialog, const char* name)
{
    return !Find(dialog, QString::fromLatin1(name))->testAttribute(Qt::WA_ForceDisabled);
}

// Clicks into the entry, replaces its text and tabs on (or stays).
inline void Type(const QWidget* dialog, int n, const char* text, bool tab = true)
{
    QComboBox* combo = Entry(dialog, n);
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    QTest::keyClick(combo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(combo, Qt::Key_Backspace);
    QTest::keyClicks(combo, QString::fromLatin1(text));
    if (tab) {
        QTest::keyClick(combo, Qt::Key_Tab);
    }
}

// One notch of the wheel over the middle of `widget`, delivered as the window
// system delivers it (QTest has no wheel of its own).
inline void Wheel(QWidget* widget, int notches)
{
    const QPoint centre = widget->rect().center();
    QWidget* under = widget->childAt(centre) != nullptr ? widget->childAt(centre) : widget;
    const QPointF at = under->mapFrom(widget, centre);
    QWheelEvent wheel(at, under->mapToGlobal(at), {}, QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(under, &wheel);
}

// The ten texts, blank-separated.
inline std::string Texts(const QWidget* dialog)
{
    std::string s;
    for (int n = 0; n < frmMultiTAT::Entries; ++n) {
        s += (n ? " " : "") + Forms::S(Entry(dialog, n)->currentText());
    }
    return s;
}
// The ten colours (W white, O orange, R red), then the entries' own enabled flags (E, D).
inline std::string Look(const QWidget* dialog)
{
    std::string colours, enabled;
    for (int n = 0; n < frmMultiTAT::Entries; ++n) {
        const uint32_t c = Forms::BackColor(Entry(dialog, n));
        colours += c == Forms::vbWhite ? 'W' : c == Forms::vbOrange ? 'O' : c == Forms::vbRed ? 'R' : '?';
        enabled += Entry(dialog, n)->testAttribute(Qt::WA_ForceDisabled) ? 'D' : 'E';
    }
    return colours + " " + enabled;
}

} // namespace MultiTATProbe
