#include "frmGenSettings.h"

frmGenSettings::frmGenSettings(QWidget* owner) : Forms::Dialog(owner)
{
    setObjectName(QStringLiteral("frmGenSettings"));
    setWindowTitle(QStringLiteral("General Settings"));
}
