// The analyzer's own log file (vireo.log): what the simulated instrument did,
// one time-stamped line per event, so "download_log_file" has real content.
#pragma once

#include <QString>

namespace VireoSim {

class SimLog
{
public:
    explicit SimLog(const QString& path);
    QString path() const { return m_path; }
    void write(const QString& text);

private:
    QString m_path;
};

} // namespace VireoSim
