// The firmware download dialog, as far as this version goes: a download file
// can be chosen, but no download starts, so DownloadAttempted stays false.
#pragma once

#include "forms.h"

class QLabel;
class QPushButton;

class frmDownload : public Forms::Dialog {
    Q_OBJECT
public:
    explicit frmDownload(QWidget* owner = nullptr);

    QLabel* lblFile;
    QPushButton* cmdOpen;
    QPushButton* cmdClose;

private:
    void cmdOpen_Click();
    void cmdClose_Click();
};
