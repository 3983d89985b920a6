// A wait that keeps the event loop turning, for the few places that must
// pause on the GUI thread (the shutdown sequence).
#pragma once

/// Returns after ms milliseconds, handling events as they arrive meanwhile.
void processEventsFor(int ms);
