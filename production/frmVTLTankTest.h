// The tank test dialog; not offered in this version.
#pragma once

#include "forms.h"

class frmVTLTankTest : public Forms::NotAvailableDialog {
public:
    explicit frmVTLTankTest(QWidget* owner = nullptr)
        : NotAvailableDialog(owner, "frmVTLTankTest", "Tank Test", "The tank test is not available in this version.")
    {
    }
};
