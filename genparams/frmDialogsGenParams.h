// The general parameters dialogs, by form name, for Forms::ShowModal.
#pragma once

void RegisterGenParamsDialogs();
