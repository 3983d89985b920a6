// The analyzer's measurement server listens on one TCP port per channel; the
// launcher offers the channels by number and stores the port.
#pragma once

#include <QStringList>

/// The items of the channel choice, index 0 being "(None)".
QStringList channelItems();

/// The TCP port of a channel index; 49999 for "(None)" and any unknown index.
int portForChannel(int channel);

/// The channel index whose port this is; 0 ("(None)") for any other port.
int channelForPort(int port);
