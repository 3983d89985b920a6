// makecab's directive file: ".Set" variables and the quoted list of files to
// pack. Lines end in CR LF; a backslash separates folder and file name.
#pragma once

#include <QString>
#include <QStringList>

namespace VireoSim {

class CabinetDirective
{
public:
    bool parse(const QByteArray& text, QString* error);
    bool load(const QString& path, QString* error);

    QString cabinetName() const { return m_cabinetName; }
    QString diskDirectory() const { return m_diskDirectory; }
    /// The cabinet to write: disk directory + "/" + cabinet name.
    QString outputPath() const;
    /// Source files in local form (backslashes turned into slashes).
    QStringList files() const { return m_files; }

    /// Builds the cabinet with gcab. Returns the process exit code style
    /// result: 0 success, 1 failure (message in error).
    int build(QString* error) const;

private:
    QString m_cabinetName = QStringLiteral("1.cab");
    QString m_diskDirectory = QStringLiteral(".");
    QStringList m_files;
};

} // namespace VireoSim
