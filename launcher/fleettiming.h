// The Fleet window's clocks. The defaults are the product's; tests shorten them.
#pragma once

struct FleetTiming
{
    /// How often a reachable analyzer is asked again.
    int refreshMs = 5000;
    /// How long a connection attempt and each request may take.
    int timeoutMs = 2000;
    /// The longest wait between attempts at a failing analyzer; the wait
    /// starts at refreshMs and doubles per failure up to this.
    int longestRetryMs = 60000;
    /// Status changes reach the view at most this often, as one update.
    int viewUpdateMs = 250;
};
