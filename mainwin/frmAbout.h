// The about box: the program's name and full version, the company and the
// transponder models the program serves.
#pragma once

#include "forms.h"

class QGroupBox;
class QLabel;
class QPushButton;

class frmAbout : public Forms::Dialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner = nullptr);

    QLabel* lblProduct;
    QLabel* lblCopyright;
    QLabel* lblCompany;
    QGroupBox* fraAbout;
    QLabel* imgLogo;
    QPushButton* cmdProducts;
    QPushButton* cmdOK;

private:
    void Form_Load();
    void cmdProducts_Click();
    void cmdOK_Click();
};
