// The transponder-to-transponder test dialog; not offered in this version.
#pragma once

#include "forms.h"

class frmTransceiver : public Forms::NotAvailableDialog {
public:
    explicit frmTransceiver(QWidget* owner = nullptr)
        : NotAvailableDialog(owner, "frmTransceiver", "Transceiver Test", "The transceiver test is not available in this version.")
    {
    }
};
