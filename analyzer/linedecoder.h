// Turns the bytes received from the analyzer into replies. The stream is
// line-framed: nothing is decoded until the collected text ends with a line
// feed, and each line holds one reply object or an array of them.
//
// Lines are parsed with a parser made for speed, which keeps its buffers from
// one line to the next. Every reply is read where the parser left it, ids,
// errors and results alike, so the handler of a large result (a week of
// trend, a file chunk) reads it without Qt values being built for it.
#pragma once

#include "analyzer/response.h"

#include <QByteArray>
#include <QList>
#include <QVector>
#include <memory>

namespace Analyzer {

class LineDecoder
{
public:
    LineDecoder();
    ~LineDecoder();
    LineDecoder(const LineDecoder&) = delete;
    LineDecoder& operator=(const LineDecoder&) = delete;

    /// The replies held by one line: one per array element (a non-object element
    /// gives an empty reply), one for an object, none for anything else. A line
    /// that is not JSON, or names a member twice in one object (at any depth,
    /// escapes decoded), is logged as a parse error and yields nothing.
    QVector<Response> decode(const QByteArray& line);
    /// Gives back the memory that the largest line so far made the parser
    /// keep; the next line takes what it needs again.
    void releaseBuffers();

    /// When the buffer ends with a line feed, empties it and returns its lines
    /// (the final line feed dropped); otherwise leaves it alone and returns nothing.
    static QList<QByteArray> takeCompleteLines(QByteArray& buffer);

    /// decode() with the calling thread's own decoder.
    static QVector<Response> decodeLine(const QByteArray& line);

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace Analyzer
