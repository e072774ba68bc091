// What the forms runtime's watch asks of the reading order and the list style.
#pragma once

#include <vector>

class QComboBox;
class QWidget;

namespace Forms {

// The shown controls of `window` that Tab reaches, in reading order (see KeepTabOrder).
std::vector<QWidget*> TabOrder(const QWidget* window);
// Widgets that use Tab themselves keep it.
bool KeepsTab(const QWidget* w);
// The list drops down below its box at its visible items, with a scroll bar for the rest.
void UseDropDownStyle(QComboBox* list);

} // namespace Forms
