// scans.db: every finished cavity or reference-cell scan with its parameters
// and its points, as the analyzer would keep them for download.
#pragma once

#include <QDateTime>
#include <QJsonArray>
#include <QString>

namespace VireoSim {

class ScanStore
{
public:
    explicit ScanStore(const QString& path);
    ~ScanStore();
    ScanStore(const ScanStore&) = delete;
    ScanStore& operator=(const ScanStore&) = delete;

    bool open(QString* error);
    QString path() const { return m_path; }
    /// Records one scan; x runs from params[0] to params[1] in steps of params[2].
    void record(const QString& method, const QJsonArray& params, const QDateTime& started,
                const QDateTime& finished, double tauZero);
    int scanCount() const;

private:
    QString m_path;
    QString m_connectionName;
};

} // namespace VireoSim
