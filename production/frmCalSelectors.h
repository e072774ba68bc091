// The channel-selector calibration dialog; not offered in this version.
#pragma once

#include "forms.h"

class frmCalSelectors : public Forms::NotAvailableDialog {
public:
    explicit frmCalSelectors(QWidget* owner = nullptr)
        : NotAvailableDialog(owner, "frmCalSelectors", "Channel Selector Calibration", "The channel selector calibration is not available in this version.")
    {
    }
};
