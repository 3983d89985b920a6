#include "analyzer/socketwriter.h"

#include <QIODevice>

namespace Analyzer {

bool SocketWriter::writeLine(QIODevice& device, QByteArray data)
{
    data.append('\n');
    while (!data.isEmpty()) {
        const qint64 written = device.write(data);
        if (written < 0)
            return false;
        data.remove(0, static_cast<int>(written));
    }
    return true;
}

} // namespace Analyzer
