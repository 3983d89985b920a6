#include "analyzer/linedecoder.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

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

QVector<Response> LineDecoder::decodeLine(const QByteArray& line)
{
    QVector<Response> replies;
    if (line.trimmed().isEmpty())
        return replies;

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError) {
        // Keep the log readable when a peer floods garbage.
        qDebug().noquote() << "Parse error encountered" << error.errorString() << "in"
                           << QString::fromUtf8(line.left(200));
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
