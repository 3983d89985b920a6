#include "sim/simlog.h"

#include <QDateTime>
#include <QFile>

namespace VireoSim {

SimLog::SimLog(const QString& path) : m_path(path) {}

void SimLog::write(const QString& text)
{
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")).toUtf8() +
        text.toUtf8() + '\n');
}

} // namespace VireoSim
