// The firmware download dialogs, by form name, for Forms::ShowModal.
#pragma once

void RegisterDownloadDialogs();
