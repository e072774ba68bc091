// The battery-life estimate's settings: the hours of life left below which it
// advises a charge, and whether it gives the advice at all.
#pragma once

#include "forms.h"

#include <array>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// What the dialog hands back to its owner.
struct BattLifeSettings {
    int16_t threshold = 0; // hours
    bool advice = false;
    bool operator==(const BattLifeSettings&) const = default;
};

class frmBattLifeSettings : public Forms::Dialog {
    Q_OBJECT
public:
    explicit frmBattLifeSettings(const BattLifeSettings& current, QWidget* owner = nullptr);

    static constexpr int16_t MinThreshold = 0;
    static constexpr int16_t MaxThreshold = 999;

    // The values as the dialog leaves them. A change counts as soon as it is
    // made (a threshold once it is accepted); only Cancel takes changes back.
    BattLifeSettings Settings() const { return settings_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();
    void txtThreshold_Click();
    void txtThreshold_GotFocus();
    void txtThreshold_Validate(bool& Cancel);
    void chkWarning_Click();
    bool ThresholdIsValid();

    QGroupBox* fraSetup;
    std::array<QLabel*, 2> lblSetting{};
    QLineEdit* txtThreshold;
    QCheckBox* chkWarning;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    BattLifeSettings settings_;
    const BattLifeSettings loaded_;
};
