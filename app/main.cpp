#include "dialogs.h"
#include "frmMain.h"
#include "resets.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    WireStore();
    RegisterAllDialogs();
    frmMain window;
    window.Form_Load();
    // A start-up that found no settings file, or was refused, has already ended.
    if (window.Unloaded()) {
        return 0;
    }
    window.show();
    return QApplication::exec();
}
