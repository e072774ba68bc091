// Registers every dialog the windows open by form name.
#pragma once

void RegisterAllDialogs();
