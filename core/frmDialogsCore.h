// The dialogs of the core, by form name, for Forms::ShowModal.
#pragma once

void RegisterCoreDialogs();
