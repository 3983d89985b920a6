// History read straight from the analyzer's trend database, used when the
// panel runs on the instrument itself. Queries run synchronously, so both
// historyRx signals have been delivered when requestRange() returns.
#pragma once

#include "trend/historyinterface.h"

#include <QObject>

namespace Trend {

class LocalHistory : public QObject, public HistoryInterface
{
    Q_OBJECT

public:
    /// Opens databaseName under a connection name of its own; a database that
    /// cannot be opened is logged and leaves every later query empty.
    LocalHistory(const QString& databaseName, QObject* parent);
    ~LocalHistory() override;

    void requestRange(const QDateTime& start, const QDateTime& end, const QString& unitKey) override;
    void refresh() override;
    const QVector<TrendPoint>& points() override { return m_points; }

    /// The SQLite connection name this source registered.
    QString connectionName() const { return m_connectionName; }

signals:
    void historyRx(bool cleared);

private:
    void query();

    QString m_connectionName;
    QDateTime m_start;
    QDateTime m_end;
    QString m_unitKey;
    QVector<TrendPoint> m_points;
};

} // namespace Trend
