#include "analyzer/linedecoder.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <algorithm>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace Analyzer {

QList<QByteArray> LineDecoder::takeCompleteLines(QByteArray& buffer)
{
    if (!buffer.endsWith('\n'))
        return {};
    QByteArray whole;
    whole.swap(buffer);
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
std::string_view memberName(std::string_view quoted, std::deque<std::string>& decoded)
{
    const std::string_view inner = quoted.substr(1, quoted.size() - 2);
    if (inner.find('\\') == std::string_view::npos)
        return inner;
    // An array holding one string cannot repeat a name itself.
    const QByteArray wrapped = '[' + QByteArray(quoted.data(), int(quoted.size())) + ']';
    decoded.push_back(QJsonDocument::fromJson(wrapped).array().at(0).toString().toStdString());
    return decoded.back();
}

bool repeats(std::vector<std::string_view>::iterator first,
             std::vector<std::string_view>::iterator last)
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
    std::vector<std::pair<bool, std::size_t>> open;
    std::vector<std::string_view> names;
    std::deque<std::string> decoded;
    bool nameNext = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        switch (text[i]) {
        case '{':
            open.emplace_back(true, names.size());
            nameNext = true;
            break;
        case '[':
            open.emplace_back(false, names.size());
            nameNext = false;
            break;
        case '}':
        case ']':
            if (open.empty())
                return false; // not JSON; the parser says why
            if (open.back().first && repeats(names.begin() + open.back().second, names.end()))
                return true;
            names.resize(open.back().second);
            open.pop_back();
            nameNext = false;
            break;
        case ',':
            nameNext = !open.empty() && open.back().first;
            break;
        case '"': {
            std::size_t end = i + 1;
            while (end < text.size() && text[end] != '"')
                end += text[end] == '\\' ? 2 : 1;
            if (end >= text.size())
                return false;
            if (nameNext)
                names.push_back(memberName(text.substr(i, end - i + 1), decoded));
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
