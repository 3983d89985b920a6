// History read straight from the analyzer's trend database, used when the
// panel runs on the instrument itself. Queries run synchronously, so both
// historyRx signals have been delivered when requestRange() returns. A
// database that cannot be opened (the analyzer has not created it yet) is
// opened again before each query.
#pragma once

#include "trend/historyinterface.h"

#include <QObject>

namespace Trend {

class LocalHistory : public QObject, public HistoryInterface
{
    Q_OBJECT

public:
    /// Opens databaseName under a connection name of its own; a database that
    /// cannot be opened is logged, leaves queries empty and is tried again
    /// before each of them.
    LocalHistory(const QString& databaseName, QObject* parent);
    ~LocalHistory() override;

    void requestRange(const QDateTime& start, const QDateTime& end,
                      const QString& unitKey) override;
    void refresh() override;
    const QVector<TrendPoint>& points() override { return m_points; }

    /// How many samples the window behind points() holds, before thinning.
    qint64 sampleCount() const { return m_sampleCount; }
    /// Every sample of the window behind points(), none thinned out.
    QVector<TrendPoint> samples();

    /// The SQLite connection name this source registered.
    QString connectionName() const { return m_connectionName; }

signals:
    void historyRx(bool cleared);

private:
    /// Opens the connection when it is closed; false when that fails.
    bool reopen();
    void query();
    /// Reads every step-th sample of the window into points.
    bool read(qint64 step, QVector<TrendPoint>* points);

    QString m_connectionName;
    QDateTime m_start;
    QDateTime m_end;
    QString m_unitKey;
    QVector<TrendPoint> m_points;
    qint64 m_sampleCount = 0;
    /// Set while the file cannot be opened, so that the failure is logged once.
    bool m_openFailureLogged = false;
};

} // namespace Trend
