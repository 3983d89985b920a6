#include "analyzer/jsonview.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QVarLengthArray>
#include <algorithm>
#include <mutex>
#include <simdjson.h>

namespace Analyzer {

namespace {

using simdjson::dom::element;
using simdjson::dom::element_type;

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), int(text.size()));
}

/// A scalar as Qt's parser would have made it: integers that fit 64 signed
/// bits stay integers, every other number is a double.
QJsonValue scalarValue(element value)
{
    switch (value.type()) {
    case element_type::INT64:
        return QJsonValue(qint64(int64_t(value)));
    case element_type::UINT64:
        return QJsonValue(double(uint64_t(value)));
    case element_type::DOUBLE:
        return QJsonValue(double(value));
    case element_type::STRING:
        return QJsonValue(fromUtf8(std::string_view(value)));
    case element_type::BOOL:
        return QJsonValue(bool(value));
    case element_type::NULL_VALUE:
        return QJsonValue(QJsonValue::Null);
    default:
        return QJsonValue(QJsonValue::Undefined);
    }
}

QJsonValue toQt(element value)
{
    switch (value.type()) {
    case element_type::ARRAY: {
        QJsonArray array;
        for (element item : simdjson::dom::array(value))
            array.append(toQt(item));
        return array;
    }
    case element_type::OBJECT: {
        QJsonObject object;
        for (const simdjson::dom::key_value_pair field : simdjson::dom::object(value))
            object.insert(fromUtf8(field.key), toQt(field.value));
        return object;
    }
    default:
        return scalarValue(value);
    }
}

bool repeats(std::string_view* first, std::string_view* last)
{
    // Replies carry two or three members; sorting pays only for big objects.
    if (last - first <= 8) {
        for (auto it = first; it != last; ++it) {
            if (std::find(it + 1, last, *it) != last)
                return true;
        }
        return false;
    }
    std::sort(first, last);
    return std::adjacent_find(first, last) != last;
}

bool anyDuplicate(element value)
{
    if (value.type() == element_type::ARRAY) {
        for (element item : simdjson::dom::array(value)) {
            // Scalars hold no names: only containers are entered.
            const element_type type = item.type();
            if ((type == element_type::ARRAY || type == element_type::OBJECT) && anyDuplicate(item))
                return true;
        }
        return false;
    }
    if (value.type() != element_type::OBJECT)
        return false;
    // The parser has decoded every escape, so "a" and "\u0061" compare equal.
    QVarLengthArray<std::string_view, 16> names;
    for (const simdjson::dom::key_value_pair field : simdjson::dom::object(value)) {
        names.append(field.key);
        if (anyDuplicate(field.value))
            return true;
    }
    return repeats(names.begin(), names.end());
}

/// The streaming parser, one for the process: long lines are few and come one
/// after another, so its buffers (sized to the longest line) are kept once.
struct Streaming
{
    std::mutex mutex;
    simdjson::ondemand::parser parser;
};

Streaming& streaming()
{
    static Streaming shared;
    return shared;
}

/// The text of value, whatever it holds; consumes a container.
simdjson::simdjson_result<std::string_view> rawText(simdjson::ondemand::value& value)
{
    simdjson::ondemand::json_type type;
    if (const auto error = value.type().get(type))
        return error;
    if (type == simdjson::ondemand::json_type::array) {
        simdjson::ondemand::array array;
        if (const auto error = value.get_array().get(array))
            return error;
        return array.raw_json();
    }
    if (type == simdjson::ondemand::json_type::object) {
        simdjson::ondemand::object object;
        if (const auto error = value.get_object().get(object))
            return error;
        return object.raw_json();
    }
    // A scalar's token runs to the next structural character, spaces included.
    std::string_view token = value.raw_json_token();
    while (!token.empty() && std::strchr(" \t\n\r", token.back()))
        token.remove_suffix(1);
    return token;
}

} // namespace

std::unique_lock<std::mutex> lockStreamingParser()
{
    return std::unique_lock<std::mutex>(streaming().mutex);
}

static simdjson::ondemand::parser& streamingParser()
{
    return streaming().parser;
}

simdjson::simdjson_result<simdjson::ondemand::document>
iterateStreaming(std::string_view text, std::size_t readable, simdjson::padded_string* copy)
{
    // The parser reads a little past the text's end: in place when the
    // memory after it is the line's own (readable bytes from the text on).
    const char* data = text.data();
    std::size_t capacity = readable;
    if (readable < text.size() + simdjson::SIMDJSON_PADDING) {
        *copy = simdjson::padded_string(text);
        data = copy->data();
        capacity = copy->size() + simdjson::SIMDJSON_PADDING;
    }
    return streamingParser().iterate(data, text.size(), capacity);
}

bool isStrictOnly(simdjson::error_code error)
{
    // What Qt's parser took and simdjson does not: raw control characters
    // in strings, lone surrogate escapes, integers of 64 bits or more (a number error), deep
    // nesting; and the UTF-8 checks, which Qt makes in its own way.
    switch (error) {
    case simdjson::UNESCAPED_CHARS:
    case simdjson::STRING_ERROR:
    case simdjson::NUMBER_ERROR:
    case simdjson::NUMBER_OUT_OF_RANGE:
    case simdjson::DEPTH_ERROR:
    case simdjson::UTF8_ERROR:
        return true;
    default:
        return false;
    }
}

simdjson::simdjson_result<std::string_view> rawJsonText(simdjson::ondemand::value& value)
{
    return rawText(value);
}

struct JsonView::Text
{
    QByteArray line;
    int offset = 0;
    int size = 0;
    std::once_flag once;
    JsonView parsed;

    std::string_view text() const
    {
        return std::string_view(line.constData() + offset, std::size_t(size));
    }
    /// Bytes that may be read from the text's start: the line's block, its
    /// terminating zero included.
    std::size_t readable() const
    {
        return line.capacity() > 0 ? std::size_t(line.capacity() + 1 - offset) : 0;
    }
};

JsonView::JsonView(const QByteArray& line, int offset, int size) : m_text(std::make_shared<Text>())
{
    m_text->line = line;
    m_text->offset = offset;
    m_text->size = size;
}

JsonView JsonView::fromText(std::string_view json)
{
    // A small value (a sample, a reply's members) parses with buffers kept
    // for the thread; a large one with buffers of its own, given back after.
    constexpr std::size_t kKeptBuffers = 64 * 1024;
    thread_local simdjson::dom::parser kept;
    simdjson::dom::parser once;
    simdjson::dom::parser& parser = json.size() <= kKeptBuffers ? kept : once;
    auto document = std::make_shared<simdjson::dom::document>();
    element root;
    const simdjson::error_code error =
        parser
            .parse_into_document(*document, reinterpret_cast<const uint8_t*>(json.data()),
                                 json.size(), true)
            .get(root);
    if (error == simdjson::SUCCESS) {
        if (anyDuplicate(root)) {
            qDebug() << "Parse error encountered duplicate member name in a long result";
            return JsonView();
        }
        return JsonView(std::shared_ptr<const simdjson::dom::document>(std::move(document)),
                        Slot::of(root));
    }
    if (!isStrictOnly(error)) {
        qDebug() << "Parse error encountered" << simdjson::error_message(error)
                 << "in a long result";
        return JsonView();
    }
    // Qt reads only arrays and objects at the top: the value goes in one.
    QByteArray wrapped;
    wrapped.reserve(int(json.size()) + 2);
    wrapped.append('[').append(json.data(), int(json.size())).append(']');
    QJsonParseError qtError;
    const QJsonDocument qt = QJsonDocument::fromJson(wrapped, &qtError);
    if (qtError.error != QJsonParseError::NoError || qt.array().size() != 1) {
        qDebug() << "Parse error encountered" << qtError.errorString() << "in a long result";
        return JsonView();
    }
    return JsonView(qt.array().at(0));
}

bool JsonView::plainString() const
{
    // A string without escapes or control characters reads as it stands;
    // simdjson has checked the line's UTF-8 already.
    const std::string_view text = m_text->text();
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
        return false;
    return std::none_of(text.begin() + 1, text.end() - 1, [](char c) {
        return c == '\\' || c == '"' || static_cast<unsigned char>(c) < 0x20;
    });
}

const JsonView& JsonView::parsedText() const
{
    std::call_once(m_text->once, [text = m_text.get()] { text->parsed = fromText(text->text()); });
    return m_text->parsed;
}

int JsonView::forEachKept(const std::function<int(int)>& stepFor,
                          const std::function<void(const JsonView&)>& visit) const
{
    if (!m_text) {
        const int count = size();
        const int step = std::max(1, stepFor(count));
        auto it = begin();
        for (int i = 0; i < count; i += step) {
            visit(*it);
            if (i + step < count)
                it += step;
        }
        return count;
    }
    // Not asked whether it is an array: that would parse all of it. The
    // streaming parser tells, and whatever it cannot walk is parsed whole.
    const std::unique_lock<std::mutex> lock = lockStreamingParser();
    simdjson::padded_string copy;
    simdjson::ondemand::document document;
    simdjson::ondemand::array array;
    std::size_t count = 0;
    simdjson::error_code error =
        iterateStreaming(m_text->text(), m_text->readable(), &copy).get(document);
    if (!error)
        error = document.get_array().get(array);
    if (!error)
        error = array.count_elements().get(count);
    if (error == simdjson::INCORRECT_TYPE)
        return 0;
    if (error) {
        // What strict JSON refuses is read as Qt reads it, whole.
        const JsonView& parsed = parsedText();
        return parsed.m_text ? 0 : parsed.forEachKept(stepFor, visit);
    }
    const int step = std::max(1, stepFor(int(count)));
    int index = 0;
    for (auto item : array) {
        // Elements not kept are stepped over inside the parser.
        simdjson::ondemand::value value;
        if (item.get(value))
            break; // the rest cannot be walked: what came before stands
        if (index % step == 0) {
            std::string_view text;
            if (rawText(value).get(text))
                break;
            visit(fromText(text));
        }
        ++index;
    }
    return int(count);
}

void JsonView::releaseStreamingBuffers()
{
    const std::unique_lock<std::mutex> lock = lockStreamingParser();
    streamingParser() = simdjson::ondemand::parser();
}

JsonView::JsonView(const QJsonValue& value) : m_value(value) {}

JsonView::JsonView(std::shared_ptr<const simdjson::dom::document> document, const Slot& element)
    : m_document(std::move(document)), m_element(element)
{
}

bool JsonView::isUndefined() const
{
    if (m_text)
        return parsedText().isUndefined();
    return !m_document && m_value.isUndefined();
}

bool JsonView::isNull() const
{
    if (m_text)
        return parsedText().isNull();
    return m_document ? m_element.as<element>().is_null() : m_value.isNull();
}

bool JsonView::isBool() const
{
    if (m_text)
        return parsedText().isBool();
    return m_document ? m_element.as<element>().is_bool() : m_value.isBool();
}

bool JsonView::isDouble() const
{
    if (m_text)
        return parsedText().isDouble();
    return m_document ? m_element.as<element>().is_number() : m_value.isDouble();
}

bool JsonView::isString() const
{
    if (m_text)
        return plainString() || parsedText().isString();
    return m_document ? m_element.as<element>().is_string() : m_value.isString();
}

bool JsonView::isArray() const
{
    if (m_text)
        return parsedText().isArray();
    return m_document ? m_element.as<element>().is_array() : m_value.isArray();
}

bool JsonView::isObject() const
{
    if (m_text)
        return parsedText().isObject();
    return m_document ? m_element.as<element>().is_object() : m_value.isObject();
}

bool JsonView::toBool(bool defaultValue) const
{
    if (m_text)
        return parsedText().toBool(defaultValue);
    if (!m_document)
        return m_value.toBool(defaultValue);
    const element value = m_element.as<element>();
    return value.is_bool() ? bool(value) : defaultValue;
}

int JsonView::toInt(int defaultValue) const
{
    if (m_text)
        return parsedText().toInt(defaultValue);
    // Qt's rules for fractions and ranges, exactly.
    return m_document ? scalarValue(m_element.as<element>()).toInt(defaultValue)
                      : m_value.toInt(defaultValue);
}

double JsonView::toDouble(double defaultValue) const
{
    if (m_text)
        return parsedText().toDouble(defaultValue);
    if (!m_document)
        return m_value.toDouble(defaultValue);
    const element value = m_element.as<element>();
    return value.is_number() ? scalarValue(value).toDouble(defaultValue) : defaultValue;
}

QString JsonView::toString() const
{
    if (m_text)
        return plainString() ? fromUtf8(text()) : parsedText().toString();
    if (!m_document)
        return m_value.toString();
    return isString() ? fromUtf8(text()) : QString();
}

std::string_view JsonView::text() const
{
    if (m_text) {
        // Text without escapes is read where it stands (a file chunk).
        if (plainString())
            return m_text->text().substr(1, std::size_t(m_text->size - 2));
        return parsedText().text();
    }
    if (m_document) {
        const element value = m_element.as<element>();
        return value.is_string() ? std::string_view(value) : std::string_view();
    }
    if (!m_value.isString())
        return {};
    if (m_utf8.isNull())
        m_utf8 = m_value.toString().toUtf8();
    return std::string_view(m_utf8.constData(), std::size_t(m_utf8.size()));
}

int JsonView::size() const
{
    if (m_text)
        return parsedText().size();
    if (!m_document)
        return m_value.isArray() ? m_value.toArray().size() : 0;
    const element value = m_element.as<element>();
    return value.is_array() ? int(simdjson::dom::array(value).size()) : 0;
}

JsonView JsonView::at(int index) const
{
    if (m_text)
        return parsedText().at(index);
    if (!m_document)
        return JsonView(m_value.toArray().at(index));
    int i = 0;
    for (auto it = begin(); it != end(); ++it, ++i) {
        if (i == index)
            return *it;
    }
    return JsonView();
}

JsonView JsonView::value(std::string_view key) const
{
    if (m_text)
        return parsedText().value(key);
    if (!m_document)
        return JsonView(m_value.toObject().value(QLatin1String(key.data(), int(key.size()))));
    simdjson::dom::object object;
    element member;
    if (m_element.as<element>().get(object) != simdjson::SUCCESS ||
        object.at_key(key).get(member) != simdjson::SUCCESS)
        return JsonView();
    return JsonView(m_document, Slot::of(member));
}

JsonView::Iterator JsonView::begin() const
{
    if (m_text)
        return parsedText().begin();
    Iterator it;
    it.m_array = this;
    if (m_document && isArray())
        it.m_position = JsonView::Slot::of(simdjson::dom::array(m_element.as<element>()).begin());
    return it;
}

JsonView::Iterator JsonView::end() const
{
    if (m_text)
        return parsedText().end();
    Iterator it;
    it.m_array = this;
    if (!m_document)
        it.m_index = size();
    else if (isArray())
        it.m_position = JsonView::Slot::of(simdjson::dom::array(m_element.as<element>()).end());
    return it;
}

JsonView JsonView::Iterator::operator*() const
{
    if (!m_array->m_document)
        return JsonView(m_array->m_value.toArray().at(m_index));
    return JsonView(m_array->m_document,
                    JsonView::Slot::of(*m_position.as<simdjson::dom::array::iterator>()));
}

JsonView::Iterator& JsonView::Iterator::operator++()
{
    if (m_array->m_document) {
        auto position = m_position.as<simdjson::dom::array::iterator>();
        m_position = JsonView::Slot::of(++position);
    } else {
        ++m_index;
    }
    return *this;
}

JsonView::Iterator& JsonView::Iterator::operator+=(int n)
{
    if (m_array->m_document) {
        // The steps stay inside the parser's iterator: a week of samples is
        // skipped through at a few nanoseconds each.
        auto position = m_position.as<simdjson::dom::array::iterator>();
        for (int i = 0; i < n; ++i)
            ++position;
        m_position = Slot::of(position);
    } else {
        m_index += n;
    }
    return *this;
}

bool JsonView::Iterator::operator==(const Iterator& other) const
{
    if (m_array->m_document)
        return m_position.as<simdjson::dom::array::iterator>() ==
               other.m_position.as<simdjson::dom::array::iterator>();
    return m_index == other.m_index;
}

QJsonValue JsonView::toJsonValue() const
{
    if (m_text)
        return parsedText().toJsonValue();
    return m_document ? toQt(m_element.as<element>()) : m_value;
}

bool JsonView::hasDuplicateMemberName() const
{
    if (m_text)
        return parsedText().hasDuplicateMemberName();
    return m_document && anyDuplicate(m_element.as<element>());
}

} // namespace Analyzer
