// The memory figures the benchmarks report for their own process: the
// resident set, and the heap the allocator has handed out and not got back.
#pragma once

#include <QFile>
#include <malloc.h>

namespace Bench {

/// VmRSS of this process in MB (0 when /proc cannot be read).
inline double residentMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

/// Heap in use in MB: small blocks in use plus mapped large ones.
inline double heapMB()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

} // namespace Bench
