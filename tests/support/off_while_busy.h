// Whether a button stays off while an exchange runs: it is sampled at every
// pass of events, and may be on only once no byte follows.
#pragma once

#include "sim_serial_comm.h"

#include <QTimer>
#include <QWidget>
#include <vector>

class OffWhileBusy {
public:
    OffWhileBusy(const Sim::SimSerialComm& port, const QWidget* button) : port_(port)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this, button] {
            if (button->isEnabled()) {
                on_.push_back(port_.Written().size());
            }
        });
        timer_.start(0);
    }
    // The bytes on the wire at each pass that found the button on with more to come.
    std::vector<size_t> OnTooEarly() const
    {
        std::vector<size_t> early;
        for (size_t bytes : on_) {
            if (bytes != port_.Written().size()) {
                early.push_back(bytes);
            }
        }
        return early;
    }

private:
    const Sim::SimSerialComm& port_;
    QTimer timer_;
    std::vector<size_t> on_;
};
