// The target commands dialog; not offered in this version.
#pragma once

#include "forms.h"

class frmCommands : public Forms::NotAvailableDialog {
public:
    explicit frmCommands(QWidget* owner = nullptr)
        : NotAvailableDialog(owner, "frmCommands", "Target Commands", "The target commands are not available in this version.")
    {
    }
};
