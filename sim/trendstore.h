// trend.db: one concentration sample a second in the table the panel's local
// history reads, and the server side of "get_trend_data".
#pragma once

#include "sim/trendsample.h"

#include <QDateTime>
#include <QJsonArray>
#include <QString>
#include <functional>

namespace VireoSim {

class TrendStore
{
public:
    explicit TrendStore(const QString& path);
    ~TrendStore();
    TrendStore(const TrendStore&) = delete;
    TrendStore& operator=(const TrendStore&) = delete;

    bool open(QString* error);
    QString path() const { return m_path; }

    void append(const QDateTime& when, const TrendSample& sample);
    /// Writes one sample a second from 'from' (inclusive) to 'to' (exclusive),
    /// asking next() for each, in one transaction. Returns the rows written.
    qint64 backfill(const QDateTime& from, const QDateTime& to,
                    const std::function<TrendSample()>& next);
    /// The time of the newest sample; invalid when the table is empty.
    QDateTime lastSampleTime() const;

    qint64 count(const QString& start, const QString& end) const;
    /// Samples [date_time, value, alarm] between the two date-time texts, in
    /// the unit's column, thinned to about 720 by the panel's step rule
    /// unless fullResolution.
    QJsonArray query(const QString& start, const QString& end, const QString& unitKey,
                     bool fullResolution) const;
    bool clear();

    static QString timeText(const QDateTime& when);

private:
    QString m_path;
    QString m_connectionName;
};

} // namespace VireoSim
