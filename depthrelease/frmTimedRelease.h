// The timed-release dialog; the timed release is not offered in this version.
#pragma once

#include "forms.h"

class frmTimedRelease : public Forms::NotAvailableDialog {
public:
    explicit frmTimedRelease(QWidget* owner = nullptr)
        : NotAvailableDialog(owner, "frmTimedRelease", "Timed Release",
                             "The timed release controls are not available in this version.")
    {
    }
};
