// What the general parameters dialog may ask of the window that opened it:
// the navigation write of the quick-set panel, and the firmware label that
// every version read keeps up to date. Nothing else of that window.
#pragma once

#include <cstdint>
#include <string>

class GenSettingsOwner {
public:
    virtual ~GenSettingsOwner() = default;
    // Validates, confirms, writes the navigation parameters held in NavParams,
    // initialises and reads them back. True only when something was written
    // and every write was acknowledged.
    virtual bool SetNavParams() = 0;
    // Reads the navigation parameters into NavParams, as the window's Get does.
    // True when they were read: the scheme is then the unit's own.
    virtual bool GetNavParams() = 0;
    // Stops the exchange the window runs for the dialog, as its Cancel does.
    virtual void CancelExchange() = 0;
    virtual void SetFirmwareLabelText(const std::string& text) = 0;
    virtual void SetFirmwareLabelBackColor(int32_t vbColor) = 0;
};
