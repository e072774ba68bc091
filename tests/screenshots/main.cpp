// Renders the main window in its two idle states, and the general parameters
// dialog on each of its panels after a read, to PNG files, offscreen, in a
// temporary program folder with a simulated transponder port.
#include "appinfo.h"
#include "clock.h"
#include "filehandler.h"
#include "forms.h"
#include "frmGenSettings.h"
#include "frmMain.h"
#include "resets.h"
#include "registry.h"
#include "sim_serial_comm.h"
#include "store.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void Status(QLabel* label, const char* text)
{
    label->setText(QString::fromLatin1(text));
    Forms::SetBackColor(label, Forms::vbWhite);
}

bool Save(QWidget& window, const QString& folder, const char* name)
{
    QApplication::processEvents();
    const QString path = folder + "/" + name;
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    WireStore();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(out);

    QTemporaryDir dir;
    App::SetPath(dir.path().toStdString());
    Platform::SetRegistryFile((dir.path() + "/registry").toStdString());
    AppSettings.AppPath(dir.path().toStdString());
    AppSettings.TpdrComPort(1);
    AppSettings.sTpdrComPortBaud("19200");
    AppSettings.sTpdrComPortBits("N,8,1");
    FileHandler::WriteIniFile();

    Platform::FakeClock clock;
    Platform::ScopedClock scoped(clock);
    Sim::TransponderModel model;
    Sim::TransponderModel antModel;
    frmMain window(std::make_unique<Sim::SimSerialComm>(model, clock),
                   std::make_unique<Sim::SimSerialComm>(antModel, clock));
    window.Form_Load();
    window.show();
    bool ok = Save(window, out, "main_nofirmware.png");

    // As a Get Status of an F-family transponder would leave it.
    TpdrFirmware.FWVersion(400);
    Status(window.lblFirmware, "V4.00F");
    Status(window.lblTxFirmware, "TxV2.10F");
    Status(window.lblDepthOnOff, "ON");
    Status(window.lblTypeNumber, "5027-2");
    Status(window.lblSerialNumber, "0412");
    Status(window.lblVoltage, "17.3 Volts");
    NavParams.ChanType(1);
    NavParams.ReplyType(1);
    NavParams.SpanwaveType(1);
    NavParams.AddressCode(false, 33);
    NavParams.ChannelCode(false, 5);
    NavParams.OrvaneIntChan(5);
    NavParams.OrvaneReplyChan(7);
    window.NavParamsRead = true;
    window.DepthFitted = true;
    window.UpdateControls();
    window.ShowStatus("Transponder initialised.");
    ok = Save(window, out, "main_firmware.png") && ok;

    // The general parameters dialog as its own read of the unit leaves it.
    AppSettings.TpdrTelemWait(1.0f);
    AppSettings.DelayBetweenCmds(0.05f);
    for (const int scheme : {2, 4}) {
        NavParams.NavScheme(scheme);
        NavParams.OrvaneIntChan(10);
        NavParams.AddressCode(false, 47);
        frmGenSettings dialog(&window);
        dialog.show();
        dialog.tmrReadParams_Timer();
        ok = Save(dialog, out, scheme == 4 ? "gensettings_quickset.png" : "gensettings_general.png") && ok;
    }

    Platform::SetRegistryFile("");
    return ok ? 0 : 1;
}
