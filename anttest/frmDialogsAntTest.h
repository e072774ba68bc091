// The acoustic test unit's dialogs, by form name, for Forms::ShowModal.
#pragma once

void RegisterAntTestDialogs();
