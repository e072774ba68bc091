#include "globals.h"

#include "appinfo.h"

#include <cstdio>

bool ShowCmdHexFlag = false;

std::string AppTitleVersion()
{
    char minor[8];
    std::snprintf(minor, sizeof minor, "%02d", App::Minor() % 100);
    return App::Title() + " V" + std::to_string(App::Major()) + "." + minor;
}
