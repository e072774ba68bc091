// The serial-port dialog: the transponder's port, baud rate, reply wait and
// delay between commands, and the acoustic test unit's port. Works directly on
// AppSettings and on the two serial ports of the main window.
#pragma once

#include "forms.h"

#include <array>
#include <cstdint>
#include <string>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmComPorts : public Forms::Dialog {
    Q_OBJECT
public:
    explicit frmComPorts(QWidget* owner = nullptr);

    // Ports probed are COM1..COM16; the wait ranges in seconds.
    static constexpr int16_t FirstPort = 1;
    static constexpr int16_t LastPort = 16;
    static constexpr float MinTelemWait = 0.1f;
    static constexpr float MaxTelemWait = 10.0f;
    static constexpr float MinDelay = 0.0f;
    static constexpr float MaxDelay = 5.0f;

    QGroupBox* fraTransponder;
    QComboBox* cboTpdrPort;
    QComboBox* cboTpdrBaud;
    QLineEdit* txtTpdrTelemWait;
    QLineEdit* txtDelayBetweenCmds;
    QLabel* lblTpdrPort;
    std::array<QLabel*, 5> lblTpdr;
    QGroupBox* Frame1;
    QComboBox* cboANTPort;
    QLabel* lblANT;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QPushButton* cmdDefaults;

protected:
    void QueryUnload(bool& Cancel, CloseBy how) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void FillBaudLists();
    void FormatSeconds();
    void cboTpdrPort_Click();
    void txtTpdrTelemWait_Validate(bool& Cancel);
    void txtDelayBetweenCmds_Validate(bool& Cancel);
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdDefaults_Click();
    // Puts both port numbers and both ports back as they were when the dialog opened.
    void RestorePorts();

    int32_t OriginalTpdrComPort = 0;
    int32_t OriginalANTComPort = 0;
    float OriginalTpdrTelemWait = 0;
    float OriginalDelayBetweenCmds = 0;
    bool ANTWasOpen = false;
    bool TpdrWasOpen = false;
    int32_t OriginalBaud = 0;
};
