#include "trend/wallclock.h"

#include <algorithm>

namespace Trend {

namespace {

constexpr qint64 kHour = 3600;
constexpr qint64 kDay = 86400;

/// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's algorithm).
qint64 daysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

/// The digits at [from, from + count) as a number; -1 when any is no digit.
int number(QStringView text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

/// Seconds of the wall-clock text counted as if it were UTC; false when it is no date and time.
bool naiveSeconds(QStringView text, qint64* naive)
{
    if (text.size() != 19 || text.at(4) != u'-' || text.at(7) != u'-' || text.at(10) != u' ' ||
        text.at(13) != u':' || text.at(16) != u':')
        return false;
    const int year = number(text, 0, 4);
    const int month = number(text, 5, 2);
    const int day = number(text, 8, 2);
    const int hour = number(text, 11, 2);
    const int minute = number(text, 14, 2);
    const int second = number(text, 17, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59 || !QDate::isValid(year, month, day))
        return false;
    *naive = daysFromCivil(year, month, day) * kDay + hour * kHour + minute * 60 + second;
    return true;
}

qint64 offsetAt(qint64 utcSeconds)
{
    return QDateTime::fromSecsSinceEpoch(utcSeconds).offsetFromUtc();
}

/// The first instant after low whose offset differs from low's; high when none does before it.
qint64 changeBetween(qint64 low, qint64 high)
{
    const qint64 lowOffset = offsetAt(low);
    while (high - low > 1) {
        const qint64 middle = low + (high - low) / 2;
        (offsetAt(middle) == lowOffset ? low : high) = middle;
    }
    return high;
}

QString textOf(qint64 naive)
{
    return QDateTime::fromSecsSinceEpoch(naive, Qt::UTC)
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

WallClock::Resolution WallClock::resolveUncached(qint64 naive)
{
    // Changes are months apart, so the offsets a day either side are the two
    // a wall-clock time can have.
    const qint64 before = offsetAt(naive - kDay);
    const qint64 after = offsetAt(naive + kDay);
    const bool beforeFits = offsetAt(naive - before) == before;
    const bool afterFits = offsetAt(naive - after) == after;
    if (beforeFits && afterFits && before != after) {
        return {std::min(naive - before, naive - after), std::max(naive - before, naive - after)};
    }
    if (beforeFits)
        return {naive - before, naive - before};
    if (afterFits)
        return {naive - after, naive - after};
    // In the gap: the nearest valid instant is the change itself. Search it
    // between the two readings of the text.
    const qint64 change = changeBetween(std::min(naive - before, naive - after),
                                        std::max(naive - before, naive - after));
    return {change, change};
}

WallClock::Resolution WallClock::resolve(qint64 naive)
{
    const qint64 hour = naive >= 0 ? naive / kHour : (naive - kHour + 1) / kHour;
    const auto cached = m_hourOffsets.constFind(hour);
    if (cached != m_hourOffsets.cend())
        return {naive - *cached, naive - *cached};
    const Resolution first = resolveUncached(hour * kHour);
    const Resolution last = resolveUncached(hour * kHour + kHour - 1);
    if (first.earlier == first.later && last.earlier == last.later &&
        last.earlier - first.earlier == kHour - 1) {
        m_hourOffsets.insert(hour, hour * kHour - first.earlier);
        return {naive - (hour * kHour - first.earlier), naive - (hour * kHour - first.earlier)};
    }
    // An hour holding a change: resolved sample by sample (one hour a year).
    return resolveUncached(naive);
}

bool WallClock::isReadable(QStringView text)
{
    qint64 naive = 0;
    return naiveSeconds(text, &naive);
}

void WallClock::restart()
{
    m_previousNaive = 0;
    m_previousAmbiguous = false;
    m_previousLater = false;
    m_secondPass = false;
}

qint64 WallClock::toMSecs(QStringView text, qint64 fallback)
{
    qint64 naive = 0;
    if (!naiveSeconds(text, &naive))
        return fallback;
    const Resolution resolution = resolve(naive);
    const bool ambiguous = resolution.earlier != resolution.later;
    bool later = false;
    if (!ambiguous)
        m_secondPass = false;
    else if (m_previousAmbiguous && naive == m_previousNaive && !m_previousLater)
        later = true; // the same text again: the second pass of the hour
    else if (m_previousAmbiguous && naive < m_previousNaive)
        later = m_secondPass = true; // the clock stepped back: the second pass begins
    else
        later = m_secondPass;
    m_previousNaive = naive;
    m_previousAmbiguous = ambiguous;
    m_previousLater = later;
    return (later ? resolution.later : resolution.earlier) * 1000;
}

QDateTime WallClock::instant(const QDate& date, const QTime& time)
{
    const qint64 naive = daysFromCivil(date.year(), date.month(), date.day()) * kDay +
                         time.msecsSinceStartOfDay() / 1000;
    return QDateTime::fromSecsSinceEpoch(resolveUncached(naive).earlier);
}

std::pair<QString, QString> WallClock::rangeTexts(const QDateTime& start, const QDateTime& end)
{
    const qint64 startUtc = start.toSecsSinceEpoch();
    const qint64 endUtc = std::max(end.toSecsSinceEpoch(), startUtc);
    const qint64 startOffset = offsetAt(startUtc);
    const qint64 endOffset = offsetAt(endUtc);
    if (startOffset == endOffset)
        return {textOf(startUtc + startOffset), textOf(endUtc + endOffset)};
    // Across an autumn change the wall clock steps back: the text just after
    // the change may lie before the start's, the text just before it after
    // the end's. The range covers both.
    const qint64 change = changeBetween(startUtc, endUtc);
    return {textOf(std::min(startUtc + startOffset, change + endOffset)),
            textOf(std::max(endUtc + endOffset, change - 1 + startOffset))};
}

} // namespace Trend
