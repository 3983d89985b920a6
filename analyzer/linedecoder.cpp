#include "analyzer/linedecoder.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <simdjson.h>
#include <vector>

namespace Analyzer {

// Defined beside JsonView, which reads long values with the same parser.
std::unique_lock<std::mutex> lockStreamingParser();
simdjson::simdjson_result<simdjson::ondemand::document>
iterateStreaming(std::string_view text, std::size_t readable, simdjson::padded_string* copy);
bool isStrictOnly(simdjson::error_code error);
simdjson::simdjson_result<std::string_view> rawJsonText(simdjson::ondemand::value& value);

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

bool isBlank(std::string_view text)
{
    return std::all_of(text.cbegin(), text.cend(), [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    });
}

/// Bytes of a UTF-8 byte-order mark at the start of line (Qt's parser
/// skipped one; simdjson refuses it).
int byteOrderMark(const QByteArray& line)
{
    return line.startsWith("\xEF\xBB\xBF") ? 3 : 0;
}

/// The replies of a line as Qt's parser reads it: the way back for a line
/// that only strict JSON refuses.
QVector<Response> leniently(const QByteArray& line, int from)
{
    QVector<Response> replies;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromRawData(line.constData() + from, line.size() - from), &error);
    if (error.error != QJsonParseError::NoError) {
        logParseError(qPrintable(error.errorString()), line);
        return replies;
    }
    if (document.isArray()) {
        const QJsonArray array = document.array();
        replies.reserve(array.size());
        for (const QJsonValue& value : array)
            replies.append(value.isObject() ? Response(value.toObject()) : Response());
    } else if (document.isObject()) {
        replies.append(Response(document.object()));
    }
    return replies;
}

/// A member name written as JSON text.
void appendQuoted(QByteArray& out, std::string_view name)
{
    out.append('"');
    for (const char c : name) {
        if (c == '"' || c == '\\') {
            out.append('\\').append(c);
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x",
                          unsigned(static_cast<unsigned char>(c)));
            out.append(escaped);
        } else {
            out.append(c);
        }
    }
    out.append('"');
}

/// Reads a long line with the streaming parser: each reply's members are
/// parsed, but its result stays text of the line until a handler reads it.
class LongLine
{
public:
    LongLine(const QByteArray& line, int from) : m_line(line), m_from(from) {}

    /// SUCCESS, or why the line yields nothing.
    simdjson::error_code decode(QVector<Response>* replies)
    {
        const std::unique_lock<std::mutex> lock = lockStreamingParser();
        const std::string_view text(m_line.constData() + m_from,
                                    std::size_t(m_line.size() - m_from));
        const std::size_t readable =
            m_line.capacity() > 0 ? std::size_t(m_line.capacity() + 1 - m_from) : 0;
        simdjson::padded_string copy;
        simdjson::ondemand::document document;
        simdjson::ondemand::json_type type;
        if (const auto error = iterateStreaming(text, readable, &copy).get(document))
            return error;
        // Results are spans of the line: offsets count from where it was read.
        m_base = copy.size() > 0 ? copy.data() : text.data();
        if (const auto error = document.type().get(type))
            return error;
        if (type == simdjson::ondemand::json_type::array) {
            simdjson::ondemand::array array;
            if (const auto error = document.get_array().get(array))
                return error;
            for (auto item : array) {
                simdjson::ondemand::value value;
                simdjson::ondemand::json_type itemType;
                if (const auto error = item.get(value))
                    return error;
                if (const auto error = value.type().get(itemType))
                    return error;
                if (itemType != simdjson::ondemand::json_type::object) {
                    replies->append(Response());
                    continue;
                }
                simdjson::ondemand::object object;
                if (const auto error = value.get_object().get(object))
                    return error;
                if (const auto error = reply(object, replies))
                    return error;
            }
        } else if (type == simdjson::ondemand::json_type::object) {
            simdjson::ondemand::object object;
            if (const auto error = document.get_object().get(object))
                return error;
            if (const auto error = reply(object, replies))
                return error;
        } else {
            return simdjson::SUCCESS; // a scalar holds no reply
        }
        // Anything after the top value is not JSON.
        const char* rest = nullptr;
        return document.current_location().get(rest) == simdjson::SUCCESS
                   ? simdjson::TRAILING_CONTENT
                   : simdjson::SUCCESS;
    }

    bool duplicate() const { return m_duplicate; }

private:
    simdjson::error_code reply(simdjson::ondemand::object& object, QVector<Response>* replies)
    {
        QByteArray members("{");
        JsonView result;
        int results = 0;
        for (auto item : object) {
            simdjson::ondemand::field field;
            std::string_view name;
            std::string_view value;
            if (const auto error = std::move(item).get(field))
                return error;
            if (const auto error = field.unescaped_key().get(name))
                return error;
            const bool isResult = name == "result";
            // The name lives in the parser's buffer only until the next one.
            if (!isResult) {
                if (members.size() > 1)
                    members.append(',');
                appendQuoted(members, name);
                members.append(':');
            }
            if (const auto error = rawJsonText(field.value()).get(value))
                return error;
            if (isResult) {
                ++results;
                result = JsonView(m_line, int(value.data() - m_base) + m_from, int(value.size()));
            } else {
                members.append(value.data(), int(value.size()));
            }
        }
        members.append('}');
        const JsonView parsed =
            JsonView::fromText(std::string_view(members.constData(), std::size_t(members.size())));
        if (results > 1 || parsed.isUndefined()) {
            m_duplicate = true;
            return simdjson::TAPE_ERROR;
        }
        replies->append(results ? Response(parsed, result) : Response(parsed));
        return simdjson::SUCCESS;
    }

    const QByteArray& m_line;
    const int m_from;
    const char* m_base = nullptr;
    bool m_duplicate = false;
};

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
    const int from = byteOrderMark(line);
    const std::string_view text(line.constData() + from, std::size_t(line.size() - from));
    if (isBlank(text))
        return replies;

    if (line.size() >= kLongLineBytes) {
        LongLine longLine(line, from);
        const simdjson::error_code error = longLine.decode(&replies);
        if (error == simdjson::SUCCESS)
            return replies;
        if (isStrictOnly(error))
            return leniently(line, from);
        logParseError(
            longLine.duplicate() ? "duplicate member name" : simdjson::error_message(error), line);
        return {};
    }

    const std::shared_ptr<document> doc = d->takeDocument();
    // A received line is usually the tail of a larger buffer, and the parser
    // may read past the end of the text where that is the buffer's own memory.
    const bool padded = std::size_t(line.capacity() - line.size()) >= simdjson::SIMDJSON_PADDING;
    element root;
    const simdjson::error_code error =
        d->parser
            .parse_into_document(*doc, reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                                 !padded)
            .get(root);
    if (error != simdjson::SUCCESS) {
        if (isStrictOnly(error))
            return leniently(line, from);
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
    JsonView::releaseStreamingBuffers();
}

QList<QByteArray> LineDecoder::takeCompleteLines(QByteArray& buffer, int from)
{
    // Only the bytes from `from` on are searched: a line of many megabytes
    // arrives in many reads, and searching all of it on each would take time
    // that grows with the square of its length.
    from = int(std::clamp<qsizetype>(from, 0, buffer.size()));
    const auto* lastFeed = static_cast<const char*>(
        memrchr(buffer.constData() + from, '\n', std::size_t(buffer.size() - from)));
    if (!lastFeed)
        return {};
    const int end = int(lastFeed - buffer.constData());
    QByteArray whole;
    if (end == buffer.size() - 1) {
        // The parsers read a little past a line's end: a long line taken
        // whole keeps that room in its own block, so it is never copied.
        if (buffer.capacity() - buffer.size() < int(simdjson::SIMDJSON_PADDING))
            buffer.reserve(buffer.size() + int(simdjson::SIMDJSON_PADDING));
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
