// What the general parameters dialog's source files share: the firmware in
// use, the check of the command address, and combo boxes as the forms runtime
// sees them.
#pragma once

#include "clsFirmware.h"
#include "clsSpanwaveParams.h"
#include "forms.h"
#include "frmGenSettings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace GenSettingsForm {

inline int32_t FW() { return TpdrFirmware.FWVersion(); }

// The presets' command addresses are of the first Spanwave type. On a unit of
// another type the navigation write offers to switch it to that type (and
// checks the address again), so such an address is not refused here. The
// address judged is the one the box shows: one that reads "Invalid" offers
// no Set.
inline bool CmdAddressOK(const std::string& text)
{
    clsSpanwaveParams shown = NavParams;
    shown.CmdAddressString(text);
    if (shown.CmdAddressIsOK()) {
        return true;
    }
    shown.SpanwaveType(1);
    return shown.CmdAddressIsOK();
}

inline bool CmdAddressOK(const QLineEdit* box) { return CmdAddressOK(Forms::S(box->text())); }

// The list index as the forms runtime knows it: an editable combo counts as
// selected only while its text is one of its items.
inline int ListIndex(const QComboBox* combo)
{
    return combo->isEditable() ? combo->findText(combo->currentText(), Qt::MatchExactly) : combo->currentIndex();
}

inline std::string ComboText(const QComboBox* combo) { return Forms::S(combo->currentText()); }

inline void SetVisible(std::initializer_list<QWidget*> widgets, bool visible)
{
    for (QWidget* w : widgets) {
        w->setVisible(visible);
    }
}

inline void SetEnabled(std::initializer_list<QWidget*> widgets, bool enabled)
{
    for (QWidget* w : widgets) {
        w->setEnabled(enabled);
    }
}

// Sets the list index from code with no handler running.
inline void SetListIndex(QComboBox* combo, int index)
{
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(index);
}

} // namespace GenSettingsForm

template <typename T>
T* frmGenSettings::Control(const char* name) const
{
    return findChild<T*>(QString::fromLatin1(name));
}
