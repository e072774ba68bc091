#include "frmMain.h"

#include "appinfo.h"
#include "tpdrport.h"

#include <cstdio>

std::string AppTitleVersion()
{
    char minor[8];
    std::snprintf(minor, sizeof minor, "%02d", App::Minor());
    return App::Title() + " V" + std::to_string(App::Major()) + "." + minor;
}

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
