// The release dialog; the release controls are not offered in this version.
#pragma once

#include "forms.h"

class frmRelease : public Forms::NotAvailableDialog {
public:
    explicit frmRelease(QWidget* owner = nullptr)
        : NotAvailableDialog(owner, "frmRelease", "Release",
                             "The release controls are not available in this version.")
    {
    }
};
