// Procedures that act on the global parameter objects as a group: back to
// "not read", read copies the firmware cannot supply, and the interrogation
// channel list.
#pragma once

#include <cstdint>

class QComboBox;

namespace CommonProcs {

// Groups: 0 firmware, 1 battery, 5 depth pair, 6 multi-TAT pair, 7 general
// pair; any other group changes nothing. The keep flags count for group 5 only.
void ResetParamGroup(int32_t group, bool KeepOnOff, bool KeepZeroOffset);
// reset true marks every read copy not read; false only those the firmware
// just read cannot supply (none while the firmware is unknown).
void ClearUnsupportedReads(bool reset);
// The Orvane interrogation channels 0 to 15, in order.
void FillOrvaneIntChanCombo(QComboBox* combo);

} // namespace CommonProcs

// Lets the firmware reader clear unsupported reads after each version read;
// called once at start-up.
void WireStore();

// Makes the main window's parameter objects afresh, in the order of start-up
// (firmware, multi-TAT, depth, general, channel, battery, navigation, status).
void MakeStoreObjects();
