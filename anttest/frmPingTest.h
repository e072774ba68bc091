// The responder trigger (ping) test dialog; not offered in this version.
#pragma once

#include "forms.h"

class frmPingTest : public Forms::NotAvailableDialog {
public:
    explicit frmPingTest(QWidget* owner = nullptr)
        : NotAvailableDialog(owner, "frmPingTest", "Ping Test", "The ping test is not available in this version.")
    {
    }
};
