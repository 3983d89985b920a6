// The directive file that tells the cabinet maker what to pack: a few ".Set"
// lines and one quoted path per file, every line ended by CR LF. A name that
// would break its quoted line is refused rather than written.
#pragma once

#include <QString>
#include <QStringList>

class QIODevice;

class CabinetDirectiveFile
{
public:
    /// Writes the directive for packing folder's files names into
    /// folder/cabinetName; false (and why in error) when a name or the folder
    /// holds a double quote or a line break, or the device cannot be written.
    static bool write(QIODevice& device, const QString& cabinetName, const QString& folder,
                      const QStringList& names, QString* error);
};
