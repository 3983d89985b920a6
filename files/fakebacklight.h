// The backlight of a panel that runs on a PC: it only remembers and logs the
// level the operator asked for.
#pragma once

#include "files/ibacklight.h"

class FakeBacklight : public IBacklight
{
public:
    void refresh() override {}
    int brightness() const override { return m_level; }
    void setBrightness(int percent) override;

private:
    int m_level = 50;
};
