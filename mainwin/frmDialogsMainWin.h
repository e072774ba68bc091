// The dialogs of the main window's folder, by form name, for Forms::ShowModal.
#pragma once

void RegisterMainWinDialogs();
