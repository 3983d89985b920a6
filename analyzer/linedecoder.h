// Turns the bytes received from the analyzer into replies. The stream is
// line-framed: nothing is decoded until the collected text ends with a line
// feed, and each line holds one reply object or an array of them.
#pragma once

#include "analyzer/response.h"

#include <QByteArray>
#include <QList>
#include <QVector>

namespace Analyzer {

class LineDecoder
{
public:
    /// When the buffer ends with a line feed, empties it and returns its lines
    /// (the final line feed dropped); otherwise leaves it alone and returns nothing.
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
