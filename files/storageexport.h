// Writes a file the panel makes itself (the journal's or the chart's export)
// into the storage folder under the checks every copy there passes: the
// storage is mounted first and unmounted after, a volume without room for
// the file is refused, the name carries the serial number and the time, and
// the file is written whole or not at all. Each export goes into the event
// journal as a transfer with its result (in the file manager's own words,
// shown in the language on screen). An export of nothing writes no file and
// says so.
#pragma once

#include <QByteArray>
#include <QString>

class ProgressDialog;

class StorageExport
{
public:
    struct Result
    {
        bool ok = false;
        /// What the operator is told: the file manager's messages.
        QString message;
        /// Where the file was written (empty when it was not).
        QString path;
    };

    /// Writes bytes as storageFileName(sourceName, serial, now) in the
    /// storage folder ("journal.csv" becomes journal_<serial>_<time>.csv).
    static Result write(const QString& sourceName, const QString& serial, const QByteArray& bytes,
                        ProgressDialog* progress = nullptr);
    /// write(), then the outcome told in the file manager's popup ("File
    /// Transfer"); rows is how many rows (or points) bytes holds: with none,
    /// nothing is written and the popup says "Nothing to export".
    static Result save(const QString& sourceName, const QString& serial, const QByteArray& bytes,
                       int rows);
    /// What the operator is told when there is nothing to export.
    static QString nothingText();
};
