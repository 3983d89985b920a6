// Turns the bytes received from the analyzer into replies. The stream is
// line-framed: each line holds one reply object or an array of them, and a
// line is decoded as soon as its line feed has arrived.
//
// Lines are parsed with a parser made for speed, which keeps its buffers from
// one line to the next. Every reply is read where the parser left it, ids,
// errors and results alike, so the handler of a large result (a week of
// trend, a file chunk) reads it without Qt values being built for it. A long
// line goes through a streaming parser instead: its replies' results stay
// text of the line, read only as far as their handler reads them, so a week
// costs no parsed copy of itself.
//
// What strict JSON refuses but Qt's parser took (a raw control character in
// a string, a lone surrogate escape, an integer of 64 bits or more, deep
// nesting) is not lost: that one line is read the way Qt read it. A UTF-8
// byte-order mark before a line is skipped.
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
    /// A line this long or longer goes through the streaming parser.
    static constexpr int kLongLineBytes = 1024 * 1024;

    LineDecoder();
    ~LineDecoder();
    LineDecoder(const LineDecoder&) = delete;
    LineDecoder& operator=(const LineDecoder&) = delete;

    /// The replies held by one line: one per array element (a non-object element
    /// gives an empty reply), one for an object, none for anything else. A line
    /// that is not JSON, or names a member twice in one object (at any depth,
    /// escapes decoded; in a long line, inside a result only once that result
    /// is read), is logged as a parse error and yields nothing.
    QVector<Response> decode(const QByteArray& line);
    /// Gives back the memory that the largest line so far made the parser
    /// keep; the next line takes what it needs again.
    void releaseBuffers();

    /// Takes every line the buffer holds up to its last line feed (line feeds
    /// dropped) and leaves only the unfinished line after it. A complete reply
    /// is never held back behind the start of the next one: a link that drops
    /// there, or a peer that always leaves a line open, would lose it. The
    /// bytes before `from` are known to hold no line feed (they are the
    /// unfinished line of an earlier call) and are not searched again.
    static QList<QByteArray> takeCompleteLines(QByteArray& buffer, int from = 0);

    /// decode() with the calling thread's own decoder.
    static QVector<Response> decodeLine(const QByteArray& line);

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace Analyzer
