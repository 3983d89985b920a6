// Local wall-clock text ("yyyy-MM-dd HH:mm:ss", as trend data and range
// parameters travel) to and from real instants, fast and sound across
// daylight-saving changes.
//
// Reading: the text is taken apart by hand and the zone offset is looked up
// once per wall-clock hour, so a week of samples costs a few tens of
// milliseconds instead of a QDateTime parse per sample. A text in the spring
// gap takes the instant of the change; a text of the repeated autumn hour
// takes its first pass, unless the samples show the second one (the same text
// again, or the clock stepping back inside the hour).
//
// Writing: a range of instants becomes the texts that cover every sample
// stored in it, so a window across the autumn change never collapses to an
// empty or inverted text range.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringView>
#include <utility>

namespace Trend {

class WallClock
{
public:
    /// Milliseconds since the epoch of a wall-clock text; fallback when the
    /// text is no date and time. Samples of one reply go through one reader
    /// in order, which lets it tell the two passes of the autumn hour apart.
    qint64 toMSecs(QStringView text, qint64 fallback);
    /// Forgets the order seen so far (a new reply starts).
    void restart();
    /// Whether text is a wall-clock date and time at all.
    static bool isReadable(QStringView text);

    /// The instant of a wall-clock date and time; a time in the spring gap
    /// gives the instant of the change, never an invalid one.
    static QDateTime instant(const QDate& date, const QTime& time);
    /// The texts [start, end] that hold every sample stored between the two instants.
    static std::pair<QString, QString> rangeTexts(const QDateTime& start, const QDateTime& end);

private:
    struct Resolution
    {
        qint64 earlier; ///< seconds since the epoch; equal to later unless ambiguous
        qint64 later;
    };
    Resolution resolve(qint64 naive);
    static Resolution resolveUncached(qint64 naive);

    QHash<qint64, qint64> m_hourOffsets; ///< naive hour -> offset, for hours without a change
    qint64 m_previousNaive = 0;
    bool m_previousAmbiguous = false;
    bool m_previousLater = false;
    bool m_secondPass = false;
};

} // namespace Trend
