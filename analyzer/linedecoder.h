// Turns the bytes received from the analyzer into replies. The stream is
// line-framed: each line holds one reply object or an array of them, and a
// line is decoded as soon as its line feed has arrived.
#pragma once

#include "analyzer/response.h"

#include <QByteArray>
#include <QList>
#include <QVector>

namespace Analyzer {

class LineDecoder
{
public:
    /// Takes every line the buffer holds up to its last line feed (line feeds
    /// dropped) and leaves only the unfinished line after it. A complete reply
    /// is never held back behind the start of the next one: a link that drops
    /// there, or a peer that always leaves a line open, would lose it.
    static QList<QByteArray> takeCompleteLines(QByteArray& buffer);

    /// The replies held by one line: one per array element (a non-object element
    /// gives an empty reply), one for an object, none for anything else. A line
    /// that is not JSON, or names a member twice in one object, is logged as a
    /// parse error and yields nothing.
    static QVector<Response> decodeLine(const QByteArray& line);

    /// Whether some object in the JSON text names a member twice (escapes
    /// decoded, at any depth). Qt's parser keeps memory it never gives back for
    /// every such repeat, a whole array when the first value was one, so these
    /// lines never reach it. The text is only scanned here, not validated.
    static bool hasDuplicateMemberName(const QByteArray& json);
};

} // namespace Analyzer
