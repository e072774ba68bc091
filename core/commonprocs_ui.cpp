#include "commonprocs.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace CommonProcs {

// Selecting from code is not a user's click: callers that want their Click
// handler to run call it themselves.
void SelectComboItem(QComboBox* combo, const std::string& text)
{
    const QString wanted = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    int index = -1;
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i) == wanted) {
            index = i;
            break;
        }
    }
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(index);
}

} // namespace CommonProcs
