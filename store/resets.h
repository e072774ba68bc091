// Procedures that act on the global parameter objects as a group: back to
// "not read" and read copies the firmware cannot supply.
#pragma once

#include <cstdint>

namespace CommonProcs {

// Groups: 0 firmware, 1 battery, 5 depth pair, 6 multi-TAT pair, 7 general
// pair; any other group changes nothing. The keep flags count for group 5 only.
void ResetParamGroup(int32_t group, bool KeepOnOff, bool KeepZeroOffset);
// reset true marks every read copy not read; false only those the firmware
// just read cannot supply (none while the firmware is unknown).
void ClearUnsupportedReads(bool reset);

} // namespace CommonProcs

// Lets the firmware reader clear unsupported reads after each version read.
// Every program that uses the store calls it once as it starts (the program's
// main, the test main, the benchmarks), so no window has to remember to.
void WireStore();

// Makes the main window's parameter objects afresh, in the order of start-up
// (firmware, multi-TAT, depth, general, channel, battery, navigation, status).
void MakeStoreObjects();
