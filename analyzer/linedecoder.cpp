#include "analyzer/linedecoder.h"

#include <QDebug>
#include <algorithm>
#include <cstring>
#include <mutex>
#include <simdjson.h>
#include <vector>

namespace Analyzer {

namespace {

using simdjson::dom::document;
using simdjson::dom::element;

void logParseError(const char* reason, const QByteArray& line)
{
    // Keep the log readable when a peer floods garbage.
    qDebug().noquote() << "Parse error encountered" << reason << "in"
                       << QString::fromUtf8(line.left(200));
}

/// Parsed documents whose replies are gone, kept for the next line: a
/// document of a large line is worth keeping, since touching its memory anew
/// costs more than parsing into it. Replies may end on any thread.
class DocumentPool
{
public:
    static constexpr std::size_t kKept = 2;

    std::unique_ptr<document> take()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_free.empty())
            return std::make_unique<document>();
        std::unique_ptr<document> doc = std::move(m_free.back());
        m_free.pop_back();
        return doc;
    }

    void give(document* doc)
    {
        std::unique_ptr<document> owned(doc);
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_free.size() < kKept)
            m_free.push_back(std::move(owned));
    }

    void clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_free.clear();
    }

private:
    std::mutex m_mutex;
    std::vector<std::unique_ptr<document>> m_free;
};

bool isBlank(const QByteArray& line)
{
    return std::all_of(line.cbegin(), line.cend(), [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    });
}

} // namespace

class LineDecoder::Private
{
public:
    simdjson::dom::parser parser;
    std::shared_ptr<DocumentPool> pool = std::make_shared<DocumentPool>();

    /// A document from the pool, going back to it when its last reply ends.
    std::shared_ptr<document> takeDocument()
    {
        const std::weak_ptr<DocumentPool> home = pool;
        return std::shared_ptr<document>(pool->take().release(), [home](document* doc) {
            if (const std::shared_ptr<DocumentPool> owner = home.lock())
                owner->give(doc);
            else
                delete doc;
        });
    }
};

LineDecoder::LineDecoder() : d(std::make_unique<Private>()) {}

LineDecoder::~LineDecoder() = default;

QVector<Response> LineDecoder::decode(const QByteArray& line)
{
    QVector<Response> replies;
    if (isBlank(line))
        return replies;

    const std::shared_ptr<document> doc = d->takeDocument();
    // A received line is usually the tail of a larger buffer, and the parser
    // may read past the end of the text where that is the buffer's own memory.
    const bool padded = std::size_t(line.capacity() - line.size()) >= simdjson::SIMDJSON_PADDING;
    element root;
    const simdjson::error_code error =
        d->parser
            .parse_into_document(*doc, reinterpret_cast<const uint8_t*>(line.constData()),
                                 std::size_t(line.size()), !padded)
            .get(root);
    if (error != simdjson::SUCCESS) {
        logParseError(simdjson::error_message(error), line);
        return replies;
    }
    const std::shared_ptr<const document> parsed = doc;
    if (JsonView(parsed, JsonView::Slot::of(root)).hasDuplicateMemberName()) {
        logParseError("duplicate member name", line);
        return replies;
    }

    // Each reply is read where the parser left it; the document goes back
    // to the pool when the line's last reply ends.
    const auto reply = [&parsed](element value) {
        return value.is_object() ? Response(JsonView(parsed, JsonView::Slot::of(value)))
                                 : Response();
    };
    simdjson::dom::array array;
    if (root.get(array) == simdjson::SUCCESS) {
        replies.reserve(int(array.size()));
        for (element value : array)
            replies.append(reply(value));
    } else if (root.is_object()) {
        replies.append(reply(root));
    }
    return replies;
}

void LineDecoder::releaseBuffers()
{
    d->parser = simdjson::dom::parser();
    d->pool->clear();
}

QList<QByteArray> LineDecoder::takeCompleteLines(QByteArray& buffer, int from)
{
    // Only the bytes from `from` on are searched: a line of many megabytes
    // arrives in many reads, and searching all of it on each would take time
    // that grows with the square of its length.
    from = std::clamp(from, 0, buffer.size());
    const auto* lastFeed = static_cast<const char*>(
        memrchr(buffer.constData() + from, '\n', std::size_t(buffer.size() - from)));
    if (!lastFeed)
        return {};
    const int end = int(lastFeed - buffer.constData());
    QByteArray whole;
    if (end == buffer.size() - 1) {
        whole.swap(buffer); // the usual case: nothing left over, nothing copied
    } else {
        whole = buffer.left(end + 1);
        buffer.remove(0, end + 1);
    }
    // Lines are found with memchr: a batch of file chunks is megabytes long,
    // and Qt's own split looks at it byte by byte.
    QList<QByteArray> lines;
    const char* const begin = whole.constData();
    const char* const stop = begin + whole.size();
    for (const char* line = begin; line < stop;) {
        const auto* feed =
            static_cast<const char*>(std::memchr(line, '\n', std::size_t(stop - line)));
        if (line == begin && feed == stop - 1) {
            // One line, the usual case: the buffer itself, without a copy.
            whole.chop(1);
            lines.append(whole);
            break;
        }
        lines.append(QByteArray(line, int(feed - line)));
        line = feed + 1;
    }
    return lines;
}

QVector<Response> LineDecoder::decodeLine(const QByteArray& line)
{
    thread_local LineDecoder decoder;
    return decoder.decode(line);
}

} // namespace Analyzer
