#include "analyzer/linedecoder.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QVarLengthArray>
#include <algorithm>
#include <list>
#include <string>
#include <string_view>

namespace Analyzer {

QList<QByteArray> LineDecoder::takeCompleteLines(QByteArray& buffer)
{
    const int end = buffer.lastIndexOf('\n');
    if (end < 0)
        return {};
    QByteArray whole;
    if (end == buffer.size() - 1) {
        whole.swap(buffer); // the usual case: nothing left over, nothing copied
    } else {
        whole = buffer.left(end + 1);
        buffer.remove(0, end + 1);
    }
    whole.chop(1);
    return whole.split('\n');
}

namespace {

void logParseError(const QString& reason, const QByteArray& line)
{
    // Keep the log readable when a peer floods garbage.
    qDebug().noquote() << "Parse error encountered" << reason << "in"
                       << QString::fromUtf8(line.left(200));
}

/// A member name as written, or decoded when it holds escapes, so "a" and
/// "\u0061" compare equal as they do for the parser.
std::string_view memberName(std::string_view quoted, std::list<std::string>& decoded)
{
    const std::string_view inner = quoted.substr(1, quoted.size() - 2);
    if (inner.find('\\') == std::string_view::npos)
        return inner;
    // An array holding one string cannot repeat a name itself.
    const QByteArray wrapped = '[' + QByteArray(quoted.data(), int(quoted.size())) + ']';
    decoded.push_back(QJsonDocument::fromJson(wrapped).array().at(0).toString().toStdString());
    return decoded.back();
}

bool escapedQuote(std::string_view text, std::size_t quote)
{
    std::size_t backslashes = 0;
    while (backslashes < quote && text[quote - backslashes - 1] == '\\')
        ++backslashes;
    return backslashes % 2 == 1;
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

} // namespace

bool LineDecoder::hasDuplicateMemberName(const QByteArray& json)
{
    const std::string_view text(json.constData(), std::size_t(json.size()));
    // Per open container: whether it is an object and where its names start.
    // Sized so that a tick's line never allocates: the scan runs on every line.
    QVarLengthArray<std::pair<bool, int>, 16> open;
    QVarLengthArray<std::string_view, 32> names;
    std::list<std::string> decoded; // names with escapes, decoded; stable for the views
    bool nameNext = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        switch (text[i]) {
        case '{':
            open.append({true, names.size()});
            nameNext = true;
            break;
        case '[':
            open.append({false, names.size()});
            nameNext = false;
            break;
        case '}':
        case ']':
            if (open.isEmpty())
                return false; // not JSON; the parser says why
            if (open.last().first && repeats(names.begin() + open.last().second, names.end()))
                return true;
            names.resize(open.last().second);
            open.removeLast();
            nameNext = false;
            break;
        case ',':
            nameNext = !open.isEmpty() && open.last().first;
            break;
        case '"': {
            // The closing quote is the first one not escaped by an odd run of backslashes.
            std::size_t end = i;
            do {
                end = text.find('"', end + 1);
                if (end == std::string_view::npos)
                    return false;
            } while (escapedQuote(text, end));
            if (nameNext)
                names.append(memberName(text.substr(i, end - i + 1), decoded));
            nameNext = false;
            i = end;
            break;
        }
        default:
            break;
        }
    }
    return false;
}

QVector<Response> LineDecoder::decodeLine(const QByteArray& line)
{
    QVector<Response> replies;
    if (line.trimmed().isEmpty())
        return replies;
    if (hasDuplicateMemberName(line)) {
        logParseError(QStringLiteral("duplicate member name"), line);
        return replies;
    }

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError) {
        logParseError(error.errorString(), line);
        return replies;
    }
    if (document.isArray()) {
        const QJsonArray array = document.array();
        replies.reserve(array.size());
        for (const QJsonValue& element : array)
            replies.append(Response(element.toObject()));
    } else if (document.isObject()) {
        replies.append(Response(document.object()));
    }
    return replies;
}

} // namespace Analyzer
