// The write loop shared by both connection kinds: a message plus its line
// feed goes out completely, or the connection is dropped on a write error.
#pragma once

#include <QByteArray>
#include <functional>

class QIODevice;

namespace Analyzer {

class SocketWriter
{
public:
    /// Appends a line feed and writes until everything is written. Returns
    /// false when the device reported an error (-1) part way.
    static bool writeLine(QIODevice& device, QByteArray data);
};

} // namespace Analyzer
