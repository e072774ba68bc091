#include "frmAbout.h"

#include "appinfo.h"
#include "dialogs.h"
#include "globals.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

namespace {

// The models the program serves, in the order the box lists them.
const char* const SupportedProducts[] = {
    "Type 5120 VTL (Directional)",
    "Type 5121 VTL (Omni)",
    "Type 5020 Corvel Tidelet (Directional)",
    "Type 5023 Corvel Tidelet (Omni)",
    "Type 5021 HVR (Omni)",
    "Type 5027 HVR (Directional)",
    "Type 5028 HVR (Narrow Beam)",
};

// A transponder sending its rings into the water.
QPixmap Logo()
{
    constexpr int size = 64;
    QPixmap picture(size, size);
    picture.fill(QColor(0, 51, 102));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(120, 200, 230), 2));
    for (int r = 12; r <= 36; r += 8) {
        painter.drawArc(QRect(size / 2 - r, size - 14 - r, 2 * r, 2 * r), 30 * 16, 120 * 16);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 200, 40));
    painter.drawRoundedRect(QRect(size / 2 - 5, size - 18, 10, 14), 3, 3);
    return picture;
}

} // namespace

frmAbout::frmAbout(QWidget* owner) : Forms::Dialog(owner)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));

    fraAbout = Forms::Named(new QGroupBox(this), "fraAbout");
    imgLogo = Forms::Named(new QLabel(fraAbout), "imgLogo");
    imgLogo->setPixmap(Logo());
    lblProduct = Forms::Named(new QLabel(fraAbout), "lblProduct");
    lblCopyright = Forms::Named(new QLabel(fraAbout), "lblCopyright");
    lblCompany = Forms::Named(new QLabel(fraAbout), "lblCompany");

    cmdProducts = Forms::Named(new QPushButton(QStringLiteral("&Products Supported..."), this), "cmdProducts");
    cmdOK = Forms::Named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    cmdOK->setDefault(true);

    auto* company = new QHBoxLayout;
    company->addWidget(lblCopyright);
    company->addWidget(lblCompany);
    company->addStretch();
    auto* frame = new QGridLayout(fraAbout);
    frame->addWidget(imgLogo, 0, 0, 2, 1);
    frame->addWidget(lblProduct, 0, 1);
    frame->addLayout(company, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdProducts);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraAbout);
    layout->addLayout(buttons);

    connect(cmdProducts, &QPushButton::clicked, this, &frmAbout::cmdProducts_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    Form_Load();
}

void frmAbout::Form_Load()
{
    char revision[16];
    std::snprintf(revision, sizeof revision, "%02d", App::Revision());
    lblProduct->setText(Forms::Q(AppTitleVersion() + "." + revision));
    lblCopyright->setText(Forms::Q("\xA9"));
    lblCompany->setText(Forms::Q(App::CompanyName()));
}

void frmAbout::cmdProducts_Click()
{
    const std::string blanks(5, ' ');
    std::string text = "Ths software supports the following products:" + blanks + "\r\n\r\n";
    for (const char* line : SupportedProducts) {
        text += blanks + line + "\r\n";
    }
    text += "\r\n";
    MsgBox(text, MsgBoxStyle::Information | MsgBoxStyle::OKOnly, "Products supported");
}

void frmAbout::cmdOK_Click() { Unload(QDialog::Accepted); }
