#include "files/chunkreassembly.h"

#include <QIODevice>

void ChunkReassembly::start(QIODevice* file)
{
    m_file = file;
    m_held.clear();
    m_requested = 0;
    m_written = 0;
    m_complete = false;
}

ChunkReassembly::Placed ChunkReassembly::place(int slot, std::optional<QByteArray> chunk)
{
    if (slot < 0 || slot >= m_requested)
        return Placed::NotRequested;
    if (m_complete || slot < m_written || m_held.contains(slot))
        return Placed::Repeated;
    if (slot != m_written) {
        m_held.insert(slot, std::move(chunk));
        return Placed::Taken;
    }
    for (;;) {
        if (!chunk) {
            // Whatever came after the end is not part of the file.
            m_complete = true;
            m_held.clear();
            return Placed::Taken;
        }
        if (!m_file || m_file->write(*chunk) != chunk->size())
            return Placed::WriteFailed;
        ++m_written;
        const auto next = m_held.find(m_written);
        if (next == m_held.end())
            return Placed::Taken;
        chunk = std::move(next.value());
        m_held.erase(next);
    }
}
