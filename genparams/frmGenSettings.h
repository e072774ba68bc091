// The general parameters dialog; its controls come later.
#pragma once

#include "forms.h"

class frmGenSettings : public Forms::Dialog {
    Q_OBJECT
public:
    explicit frmGenSettings(QWidget* owner = nullptr);
};
