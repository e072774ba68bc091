#include "frmBattLifeSettings.h"

#include "vbconv.h"
#include "vberror.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using Forms::Named;
using Forms::Twips;

frmBattLifeSettings::frmBattLifeSettings(const BattLifeSettings& current, QWidget* owner)
    : Forms::Dialog(owner), settings_(current), loaded_(current)
{
    setObjectName(QStringLiteral("frmBattLifeSettings"));
    setWindowTitle(QStringLiteral("Battery Life Settings"));
    setFixedSize(Twips(5640), Twips(2325));

    fraSetup = Named(new QGroupBox(QStringLiteral("Setup"), this), "fraSetup");
    fraSetup->setGeometry(Twips(120), Twips(60), Twips(5400), Twips(1500));
    lblSetting[0] = Named(new QLabel(QStringLiteral("Charge battery when life left is less than"), fraSetup),
                          "lblSetting", 0);
    lblSetting[0]->setGeometry(Twips(120), Twips(360), Twips(3960), Twips(285));
    txtThreshold = Named(new QLineEdit(fraSetup), "txtThreshold");
    txtThreshold->setGeometry(Twips(4110), Twips(330), Twips(525), Twips(315));
    txtThreshold->setMaxLength(3);
    txtThreshold->setAlignment(Qt::AlignCenter);
    lblSetting[1] = Named(new QLabel(QStringLiteral("hours"), fraSetup), "lblSetting", 1);
    lblSetting[1]->setGeometry(Twips(4710), Twips(360), Twips(600), Twips(285));
    chkWarning = Named(new QCheckBox(QStringLiteral("Show warning"), fraSetup), "chkWarning");
    chkWarning->setGeometry(Twips(120), Twips(900), Twips(3000), Twips(315));
    chkWarning->setToolTip(
        QStringLiteral("When checked, operator is prompted whether or not to charge the Transponder"));

    cmdOK = Forms::NewButton(this, "cmdOK", QStringLiteral("&OK"), QStringLiteral("Accept Setup parameters"));
    cmdOK->setGeometry(Twips(1530), Twips(1740), Twips(1215), Twips(375));
    cmdCancel = Forms::NewButton(this, "cmdCancel", QStringLiteral("&Cancel"),
                                 QStringLiteral("Cancel any changes to existing setup"));
    cmdCancel->setGeometry(Twips(2895), Twips(1740), Twips(1215), Twips(375));
    Forms::SetCausesValidation(cmdCancel, false);

    connect(cmdOK, &QPushButton::clicked, this, &frmBattLifeSettings::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBattLifeSettings::cmdCancel_Click);
    connect(chkWarning, &QCheckBox::clicked, this, &frmBattLifeSettings::chkWarning_Click);
    Forms::OnValidate(txtThreshold, [this](bool& Cancel) { txtThreshold_Validate(Cancel); });
    txtThreshold->installEventFilter(this);

    Form_Load();
}

void frmBattLifeSettings::Form_Load()
{
    txtThreshold->setText(Forms::Q(VB::Trim(VB::Str(int32_t{settings_.threshold}))));
    chkWarning->setChecked(settings_.advice);
    txtThreshold->setToolTip(Forms::Q("Charge Battery warning appears if hours left is less than this (" +
                                      VB::NumText(int32_t{MinThreshold}) + " - " +
                                      VB::NumText(int32_t{MaxThreshold}) + " hours)"));
}

bool frmBattLifeSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtThreshold) {
        if (event->type() == QEvent::FocusIn) {
            txtThreshold_GotFocus();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            txtThreshold_Click();
        }
    }
    return Forms::Dialog::eventFilter(watched, event);
}

void frmBattLifeSettings::txtThreshold_Click() { txtThreshold->selectAll(); }

void frmBattLifeSettings::txtThreshold_GotFocus()
{
    // After the focus event, or a click that brought the focus would undo it.
    QTimer::singleShot(0, txtThreshold, [field = txtThreshold] { field->selectAll(); });
}

void frmBattLifeSettings::txtThreshold_Validate(bool& Cancel) { Cancel = !ThresholdIsValid(); }

bool frmBattLifeSettings::ThresholdIsValid()
{
    const std::string text = Forms::S(txtThreshold->text());
    if (!VB::IsNumeric(text)) {
        return false;
    }
    int16_t value = 0;
    try {
        value = VB::CInt(VB::Val(text));
    } catch (const VBError&) {
        return false; // beyond the 16-bit range
    }
    if (value < MinThreshold || value > MaxThreshold) {
        return false;
    }
    settings_.threshold = value;
    return true;
}

void frmBattLifeSettings::chkWarning_Click()
{
    // The box never took the focus from a refused threshold: the click is not its.
    if (Forms::FocusRefused(chkWarning)) {
        chkWarning->setChecked(settings_.advice);
        return;
    }
    settings_.advice = chkWarning->isChecked();
}

void frmBattLifeSettings::cmdOK_Click()
{
    if (ThresholdIsValid()) {
        Unload(QDialog::Accepted);
    } else {
        txtThreshold->setFocus(Qt::OtherFocusReason);
    }
}

void frmBattLifeSettings::cmdCancel_Click()
{
    settings_ = loaded_;
    Unload(QDialog::Rejected);
}
