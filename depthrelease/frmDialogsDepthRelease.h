// The depth and release dialogs, by form name, for Forms::ShowModal.
#pragma once

void RegisterDepthReleaseDialogs();
