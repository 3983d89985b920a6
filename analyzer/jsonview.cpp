#include "analyzer/jsonview.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QVarLengthArray>
#include <algorithm>
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

} // namespace

JsonView::JsonView(const QJsonValue& value) : m_value(value) {}

JsonView::JsonView(std::shared_ptr<const simdjson::dom::document> document, const Slot& element)
    : m_document(std::move(document)), m_element(element)
{
}

bool JsonView::isUndefined() const
{
    return !m_document && m_value.isUndefined();
}

bool JsonView::isNull() const
{
    return m_document ? m_element.as<element>().is_null() : m_value.isNull();
}

bool JsonView::isBool() const
{
    return m_document ? m_element.as<element>().is_bool() : m_value.isBool();
}

bool JsonView::isDouble() const
{
    return m_document ? m_element.as<element>().is_number() : m_value.isDouble();
}

bool JsonView::isString() const
{
    return m_document ? m_element.as<element>().is_string() : m_value.isString();
}

bool JsonView::isArray() const
{
    return m_document ? m_element.as<element>().is_array() : m_value.isArray();
}

bool JsonView::isObject() const
{
    return m_document ? m_element.as<element>().is_object() : m_value.isObject();
}

bool JsonView::toBool(bool defaultValue) const
{
    if (!m_document)
        return m_value.toBool(defaultValue);
    const element value = m_element.as<element>();
    return value.is_bool() ? bool(value) : defaultValue;
}

int JsonView::toInt(int defaultValue) const
{
    // Qt's rules for fractions and ranges, exactly.
    return m_document ? scalarValue(m_element.as<element>()).toInt(defaultValue)
                      : m_value.toInt(defaultValue);
}

double JsonView::toDouble(double defaultValue) const
{
    if (!m_document)
        return m_value.toDouble(defaultValue);
    const element value = m_element.as<element>();
    return value.is_number() ? scalarValue(value).toDouble(defaultValue) : defaultValue;
}

QString JsonView::toString() const
{
    if (!m_document)
        return m_value.toString();
    return isString() ? fromUtf8(text()) : QString();
}

std::string_view JsonView::text() const
{
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
    if (!m_document)
        return m_value.isArray() ? m_value.toArray().size() : 0;
    const element value = m_element.as<element>();
    return value.is_array() ? int(simdjson::dom::array(value).size()) : 0;
}

JsonView JsonView::at(int index) const
{
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
    Iterator it;
    it.m_array = this;
    if (m_document && isArray())
        it.m_position = JsonView::Slot::of(simdjson::dom::array(m_element.as<element>()).begin());
    return it;
}

JsonView::Iterator JsonView::end() const
{
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
    return m_document ? toQt(m_element.as<element>()) : m_value;
}

bool JsonView::hasDuplicateMemberName() const
{
    return m_document && anyDuplicate(m_element.as<element>());
}

} // namespace Analyzer
