#include "tpdrexchange.h"

#include "clock.h"
#include "vbconv.h"

#include <QProgressBar>

namespace TpdrExchange {

void ShowProgress(QProgressBar* bar, float fraction, const ExchangeWindow& window, bool& Cancel)
{
    const int max = bar->maximum();
    bar->setValue(fraction < 1.0f ? VB::CInt(static_cast<double>(max) * fraction) : max);
    DoEvents(); // lets the Cancel button be clicked
    if (window.Stopping()) {
        Cancel = true;
    }
}

} // namespace TpdrExchange
