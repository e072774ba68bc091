// The depth-sensor dialog, as far as this version goes: the depth telemetry
// on/off state, read (Get) and written (Set) through ReadDepth and EditDepth.
#pragma once

#include "forms.h"
#include "tpdrexchange.h"

class QComboBox;
class QLabel;
class QPushButton;

class frmDepth : public Forms::Dialog, public ExchangeWindow {
    Q_OBJECT
public:
    explicit frmDepth(QWidget* owner = nullptr);

    QLabel* lblDepthOnOff;   // the state last read
    QComboBox* cboDepthOnOff; // "ON" or "OFF", the state to write
    QPushButton* cmdGet;
    QPushButton* cmdSet;
    QPushButton* cmdExit;

protected:
    void QueryUnload(bool& Cancel, CloseBy how) override;

private:
    void cmdGet_Click();
    void cmdSet_Click();
    void cmdExit_Click();
    // True when the state was read; ReadDepth.OnOff holds it.
    bool ReadOnOff();
    // One exchange with the dialog shown busy; true when a reply came.
    bool Exchange(const TpdrExchange::Encoder& encode, TpdrExchange::Reply& reply);
    void ShowOnOff();
};
