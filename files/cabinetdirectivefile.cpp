#include "files/cabinetdirectivefile.h"

#include <QFile>
#include <QIODevice>

namespace {
bool fitsOnOneQuotedLine(const QString& text)
{
    return !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
           !text.contains(QLatin1Char('\r'));
}
} // namespace

bool CabinetDirectiveFile::write(QIODevice& device, const QString& cabinetName,
                                 const QString& folder, const QStringList& names, QString* error)
{
    const QStringList texts = QStringList(names) << cabinetName << folder;
    for (const QString& text : texts) {
        if (!fitsOnOneQuotedLine(text)) {
            *error = QStringLiteral("a double quote or line break in \"%1\"").arg(text);
            return false;
        }
    }
    QByteArray directive = ".Set MaxDiskSize=CDROM\r\n";
    directive += ".Set CabinetName1=" + QFile::encodeName(cabinetName) + "\r\n";
    directive += ".Set DiskDirectory1=" + QFile::encodeName(folder) + "\r\n";
    for (const QString& name : names)
        directive += '"' + QFile::encodeName(folder) + '\\' + QFile::encodeName(name) + "\"\r\n";
    if (device.write(directive) != directive.size()) {
        *error = device.errorString();
        return false;
    }
    return true;
}
