// A download's chunks put back in the order they were asked for. The analyzer
// may answer a batch in any order, so a chunk that comes before an earlier one
// is held until the gap is filled: the file is written front to back, and it
// ends only when the empty end chunk sits in its place with every chunk before
// it written.
#pragma once

#include <QByteArray>
#include <QMap>
#include <optional>

class QIODevice;

class ChunkReassembly
{
public:
    enum class Placed
    {
        Taken,        ///< written, or held until the chunks before it arrive
        Repeated,     ///< the slot was answered already
        NotRequested, ///< no request was sent for the slot
        WriteFailed
    };

    /// Starts over, writing to file (which must outlive the reassembly's use).
    void start(QIODevice* file);
    /// Slots 0 to count - 1 have been asked for.
    void setRequested(int count) { m_requested = count; }
    int requested() const { return m_requested; }

    /// The reply for slot: its bytes, or nothing for the empty end chunk.
    /// Writes the chunk, and every held one that follows it, once it is next.
    Placed place(int slot, std::optional<QByteArray> chunk);

    /// Chunks written so far, all in order.
    int written() const { return m_written; }
    /// The end chunk is in its place and every chunk before it is written.
    bool isComplete() const { return m_complete; }
    /// Some slot that was asked for has no reply yet.
    bool isWaiting() const { return !m_complete && m_written + m_held.size() < m_requested; }

private:
    QIODevice* m_file = nullptr;
    /// Early replies by slot; an empty optional is the end chunk.
    QMap<int, std::optional<QByteArray>> m_held;
    int m_requested = 0;
    int m_written = 0;
    bool m_complete = false;
};
