// A read-only view of one JSON value of a reply. A value is either a Qt JSON
// value or an element of a document the line decoder parsed, which the view
// keeps alive; both read alike. A large reply keeps its result in the parsed
// form, so a handler that walks a week of trend samples or decodes a file
// chunk reads them where the parser put them instead of waiting for Qt values
// to be built. Scalars read exactly as QJsonValue reads them.
#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <cstring>
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
    /// Held in the parser's form, not as a Qt value.
    bool isParsed() const { return bool(m_document); }

private:
    std::shared_ptr<const simdjson::dom::document> m_document;
    Slot m_element;
    QJsonValue m_value{QJsonValue::Undefined};
    /// text() of a Qt string, kept for the view's life.
    mutable QByteArray m_utf8;
};

} // namespace Analyzer
