// Where the trend charts get concentration history: the analyzer's server or
// its trend database. Each chart owns its own source so that two screens never
// share query state. Implementations announce results with historyRx(bool):
// true when the points were just cleared for a new range, false when new
// points are ready.
#pragma once

#include "trend/trendpoint.h"

#include <QDateTime>
#include <QString>
#include <QVector>

namespace Trend {

class HistoryInterface
{
public:
    virtual ~HistoryInterface() = default;

    /// Replaces the points by the samples between start and end, in the
    /// column chosen by unitKey where the source has a choice.
    virtual void requestRange(const QDateTime& start, const QDateTime& end,
                              const QString& unitKey) = 0;
    /// Repeats the last range request.
    virtual void refresh() = 0;
    virtual const QVector<TrendPoint>& points() = 0;
};

/// The date-time text of trend data and of range parameters.
inline const QString kTrendDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
/// The stored range of a source that has not been asked for one yet.
inline QDateTime rangeBeforeFirstRequest()
{
    return QDateTime(QDate(1978, 12, 2), QTime(0, 0));
}
/// Points one query yields at most; the decimation step keeps a range near this.
constexpr int kTrendPointCapacity = 720;

} // namespace Trend
