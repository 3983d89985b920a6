#include "sim/cabinetdirective.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace VireoSim {

bool CabinetDirective::parse(const QByteArray& text, QString* error)
{
    const QList<QByteArray> lines = text.split('\n');
    int number = 0;
    for (QByteArray raw : lines) {
        ++number;
        if (raw.endsWith('\r'))
            raw.chop(1);
        const QString line = QString::fromLocal8Bit(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('.'))) {
            if (!line.startsWith(QLatin1String(".Set "), Qt::CaseInsensitive))
                continue; // other directives do not change what is packed
            const QString assignment = line.mid(5).trimmed();
            const int equals = assignment.indexOf(QLatin1Char('='));
            if (equals <= 0) {
                *error = QStringLiteral("line %1: .Set needs NAME=VALUE").arg(number);
                return false;
            }
            const QString name = assignment.left(equals).trimmed();
            QString value = assignment.mid(equals + 1).trimmed();
            if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) &&
                value.endsWith(QLatin1Char('"')))
                value = value.mid(1, value.size() - 2);
            if (name.compare(QLatin1String("CabinetName1"), Qt::CaseInsensitive) == 0)
                m_cabinetName = value;
            else if (name.compare(QLatin1String("DiskDirectory1"), Qt::CaseInsensitive) == 0)
                m_diskDirectory = value;
            continue;
        }
        QString file = line;
        if (file.startsWith(QLatin1Char('"'))) {
            const int close = file.indexOf(QLatin1Char('"'), 1);
            if (close < 0) {
                *error = QStringLiteral("line %1: unterminated quote").arg(number);
                return false;
            }
            file = file.mid(1, close - 1);
        } else {
            file = file.section(QLatin1Char(' '), 0, 0);
        }
        m_files << QString(file).replace(QLatin1Char('\\'), QLatin1Char('/'));
    }
    if (m_cabinetName.isEmpty() || m_cabinetName.contains(QLatin1Char('/')) ||
        m_cabinetName.contains(QLatin1Char('\\'))) {
        *error = QStringLiteral("CabinetName1 must be a plain file name");
        return false;
    }
    return true;
}

bool CabinetDirective::load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    return parse(file.readAll(), error);
}

QString CabinetDirective::outputPath() const
{
    return QString(m_diskDirectory).replace(QLatin1Char('\\'), QLatin1Char('/')) +
           QLatin1Char('/') + m_cabinetName;
}

int CabinetDirective::build(QString* error) const
{
    if (m_files.isEmpty()) {
        *error = QStringLiteral("the directive file lists no files");
        return 1;
    }
    for (const QString& file : m_files) {
        if (!QFileInfo(file).isFile()) {
            *error = QStringLiteral("%1 does not exist").arg(file);
            return 1;
        }
    }
    const QString gcab = QStandardPaths::findExecutable(QStringLiteral("gcab"));
    if (gcab.isEmpty()) {
        *error = QStringLiteral("gcab is not installed");
        return 1;
    }
    QDir().mkpath(QFileInfo(outputPath()).absolutePath());
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(
        gcab, QStringList{QStringLiteral("--create"), QStringLiteral("--nopath"), outputPath()} +
                  m_files);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        *error =
            QStringLiteral("gcab failed: ") + QString::fromLocal8Bit(process.readAll()).trimmed();
        QFile::remove(outputPath());
        return 1;
    }
    return 0;
}

} // namespace VireoSim
