// The production dialogs, by form name, for Forms::ShowModal.
#pragma once

void RegisterProductionDialogs();
