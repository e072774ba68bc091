// The main window's exchanges with the transponder: status read, navigation
// read and write, battery voltage.
#include "frmMain.h"

#include "commonprocs.h"
#include "errorhandler.h"
#include "store.h"
#include "vberror.h"

void frmMain::cmdStatus_Click() {}

void frmMain::cmdRead_Click() {}

void frmMain::cmdSet_Click() {}

void frmMain::cmdVoltage_Click() {}

int32_t frmMain::WriteHPRChannel(int16_t Kind)
{
    int32_t result = 0;
    try {
        CommonProcs::Delay(AppSettings.DelayBetweenCmds());
        mTpdrComms = NewTpdrComms();
        TpdrCommand frame;
        int16_t count = 0;
        int16_t replyLength = 0;
        TpdrChannel.WriteEncode(frame, count, replyLength, Kind, true);
        ShowStatus(TpdrChannel.StatusBarText());
        const float wait = AppSettings.TpdrTelemWait();
        const TpdrCommsResult sent = mTpdrComms->SendAndReceive(frame, count, replyLength, wait, wait / 10, true, false, false);
        if (sent == ReplyReceived) {
            result = TpdrChannel.WriteDecode(mTpdrComms->TpdrReply(), replyLength);
            ShowStatus(TpdrChannel.StatusBarText());
            if (result != 0) {
                ShowMessage(15);
            }
        } else {
            result = sent;
        }
    } catch (const VBError& e) {
        result = ErrorHandler::CommsErrors(e.Number());
        if (result != ErrorHandler::Action::Reported) {
            result = ErrorHandler::Action::Unknown;
            ErrorHandler::CatchAllErrors(e.Number(), e.Description(), "WriteHPRChannel (frmMain)");
        }
    }
    mTpdrComms.reset();
    return result;
}
