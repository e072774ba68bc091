// The channel test dialog, for the range test and the depth test as
// AppSettings.ANTDepthTest says; neither is offered in this version.
#pragma once

#include "forms.h"

class frmChanTest : public Forms::NotAvailableDialog {
public:
    explicit frmChanTest(QWidget* owner = nullptr);
};
