// A wait that keeps the event loop turning, for the few places that must
// pause on the GUI thread (the shutdown sequence).
#pragma once

/// Returns after ms milliseconds, processing pending events in slices of at most 100 ms.
void processEventsFor(int ms);
