// How the settings screen sets the display brightness, without knowing
// whether a real panel backlight is behind it.
#pragma once

class IBacklight
{
public:
    virtual ~IBacklight() = default;

    /// Re-reads whatever limits the implementation needs.
    virtual void refresh() = 0;
    /// The current level in percent.
    virtual int brightness() const = 0;
    /// Applies a level in percent (clamped to 0..100).
    virtual void setBrightness(int percent) = 0;
};
