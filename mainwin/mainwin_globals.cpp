#include "mainwin_globals.h"

bool EngineeringMode = false;
std::string EngineeringCode;
int32_t ReadNavScheme = 0;
