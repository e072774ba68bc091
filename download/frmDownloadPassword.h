// The download password dialog: accepts the download password or not, and
// tells the main window through TpdrDownload->Password.
#pragma once

#include "forms.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The one password that opens the firmware download; letter case counts.
inline constexpr char DownloadPassword[] = "tidelet";

class frmDownloadPassword : public Forms::Dialog {
    Q_OBJECT
public:
    explicit frmDownloadPassword(QWidget* owner = nullptr);

    QLabel* lblPassword;
    QLineEdit* txtPassword;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

private:
    void cmdOK_Click();
    void cmdCancel_Click();
};
