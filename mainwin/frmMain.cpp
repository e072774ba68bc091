#include "frmMain.h"

#include "globals.h"
#include "tpdrport.h"


frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("frmMain");
    setWindowTitle(QString::fromLatin1(AppTitleVersion().c_str()));
    resize(640, 480);
    SetTpdrPort(&comTpdr);
}

frmMain::~frmMain()
{
    SetTpdrPort(nullptr);
    comTpdr.PortOpen(false);
    comANT.PortOpen(false);
}
