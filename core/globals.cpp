#include "globals.h"

#include "appinfo.h"

#include <cstdio>

bool ShowCmdHexFlag = false;
bool EngineeringMode = false;
std::string EngineeringCode;
int32_t ReadNavScheme = 0;

std::string AppTitleVersion()
{
    char minor[8];
    std::snprintf(minor, sizeof minor, "%02d", App::Minor() % 100);
    return App::Title() + " V" + std::to_string(App::Major()) + "." + minor;
}
