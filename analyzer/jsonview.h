// A read-only view of one JSON value of a reply. A value is either a Qt JSON
// value or an element of a document the line decoder parsed, which the view
// keeps alive; both read alike. A large reply keeps its result in the parsed
// form, so a handler that walks a week of trend samples or decodes a file
// chunk reads them where the parser put them instead of waiting for Qt values
// to be built. Scalars read exactly as QJsonValue reads them.
//
// A value of a long line (a week of trend) is not even parsed into that form:
// it stays a span of the line's text, and forEachKept() reads it with the
// streaming parser, building views only of the elements it keeps. Any other
// access parses the span then, once.
#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>
#include <type_traits>

namespace simdjson {
namespace dom {
class document;
}
} // namespace simdjson

namespace Analyzer {

class JsonView
{
public:
    /// Room for one element, or one position in an array, of a parsed document.
    struct Slot
    {
        alignas(8) unsigned char bytes[16] = {};

        template <typename T> static Slot of(const T& value)
        {
            static_assert(sizeof(T) == sizeof(bytes) && std::is_trivially_copyable_v<T>);
            Slot slot;
            std::memcpy(slot.bytes, static_cast<const void*>(&value), sizeof(T));
            return slot;
        }

        template <typename T> T as() const
        {
            static_assert(sizeof(T) == sizeof(bytes) && std::is_trivially_copyable_v<T>);
            T value;
            std::memcpy(static_cast<void*>(&value), bytes, sizeof(T));
            return value;
        }
    };

    /// Walks an array front to back; on a parsed array a step costs the same
    /// whatever the elements hold.
    class Iterator
    {
    public:
        JsonView operator*() const;
        Iterator& operator++();
        /// Steps n elements on; n must not take it past end().
        Iterator& operator+=(int n);
        bool operator==(const Iterator& other) const;
        bool operator!=(const Iterator& other) const { return !(*this == other); }

    private:
        friend class JsonView;
        const JsonView* m_array = nullptr;
        int m_index = 0; ///< in a Qt array
        Slot m_position; ///< in a parsed array
    };

    /// Undefined: a member that is not there.
    JsonView() = default;
    explicit JsonView(const QJsonValue& value);
    /// element of document, which the view keeps alive.
    JsonView(std::shared_ptr<const simdjson::dom::document> document, const Slot& element);
    /// The JSON text line[offset, offset + size), read when asked; the view
    /// keeps the line (shared, not copied).
    JsonView(const QByteArray& line, int offset, int size);
    /// A value as Qt's parser reads text it cannot take strictly: raw
    /// control characters in strings, lone surrogate escapes, integers
    /// beyond 64 bits, deep nesting. Undefined when no parser takes it.
    static JsonView fromText(std::string_view json);

    bool isUndefined() const;
    bool isNull() const;
    bool isBool() const;
    /// Any number, as QJsonValue::isDouble.
    bool isDouble() const;
    bool isString() const;
    bool isArray() const;
    bool isObject() const;

    bool toBool(bool defaultValue = false) const;
    int toInt(int defaultValue = 0) const;
    double toDouble(double defaultValue = 0) const;
    QString toString() const;
    /// A string's text in UTF-8 (empty for anything else), without a copy
    /// when parsed; valid as long as this view.
    std::string_view text() const;

    /// The elements of an array; 0 for anything else.
    int size() const;
    /// An element of an array (undefined past its end). A parsed array is
    /// walked to the index: iterate over a long one instead.
    JsonView at(int index) const;
    Iterator begin() const;
    Iterator end() const;

    /// A member of an object (undefined when it has none, or for anything
    /// but an object).
    JsonView value(std::string_view key) const;

    /// The value as a Qt value; built on each call when parsed, which for a
    /// large value costs what the view exists to avoid.
    QJsonValue toJsonValue() const;
    /// Some object in the value names a member twice (names compared with
    /// escapes decoded). Only a parsed value can: a Qt object cannot hold it.
    bool hasDuplicateMemberName() const;
    /// Held in the parser's form (or still as text), not as a Qt value.
    bool isParsed() const { return m_document || m_text; }
    /// Still the text of its line, not parsed yet.
    bool isText() const { return bool(m_text); }

    /// For an array of n elements: calls visit for the elements at 0, step,
    /// 2 * step ... with step = stepFor(n) (at least 1) and returns n; 0 for
    /// anything else. A value still held as text is read in one pass of the
    /// streaming parser, and only the elements visited are built.
    int forEachKept(const std::function<int(int)>& stepFor,
                    const std::function<void(const JsonView&)>& visit) const;

    /// Lets go of the streaming parser's buffers (the next long value takes
    /// them again).
    static void releaseStreamingBuffers();

private:
    struct Text;
    /// What a value held as text reads as, parsed on first use.
    const JsonView& parsedText() const;
    /// Held as text, a string without escapes: read where it stands.
    bool plainString() const;
    std::shared_ptr<const simdjson::dom::document> m_document;
    Slot m_element;
    QJsonValue m_value{QJsonValue::Undefined};
    std::shared_ptr<Text> m_text;
    /// text() of a Qt string, kept for the view's life.
    mutable QByteArray m_utf8;
};

} // namespace Analyzer
