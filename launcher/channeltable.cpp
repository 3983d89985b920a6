#include "launcher/channeltable.h"

namespace {

const int kNoChannelPort = 49999;
const int kChannelPorts[] = {kNoChannelPort, 60001, 60002, 60003, 60004};
const int kChannelCount = int(sizeof(kChannelPorts) / sizeof(kChannelPorts[0]));

} // namespace

QStringList channelItems()
{
    QStringList items{QStringLiteral("(None)")};
    for (int channel = 1; channel < kChannelCount; ++channel)
        items << QString::number(channel);
    return items;
}

int portForChannel(int channel)
{
    return channel > 0 && channel < kChannelCount ? kChannelPorts[channel] : kNoChannelPort;
}

int channelForPort(int port)
{
    for (int channel = 1; channel < kChannelCount; ++channel) {
        if (kChannelPorts[channel] == port)
            return channel;
    }
    return 0;
}
