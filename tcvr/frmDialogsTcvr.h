// The transceiver test and target command dialogs, by form name, for Forms::ShowModal.
#pragma once

void RegisterTcvrDialogs();
