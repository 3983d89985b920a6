// Names of the files the panel writes into the storage folder. Parts of them
// (the serial number) come from the analyzer, so they are reduced to plain
// file-name characters here: nothing a server sends can point a file outside
// the storage folder.
#pragma once

#include <QDateTime>
#include <QString>

/// text with every character other than ASCII letters, digits, "-", "_" and
/// "." replaced by "_", no ".." left and at most 64 characters.
QString safeFileNamePart(const QString& text);
/// "_yyyy-MM-dd_HHmmss" of time, as every stored file name carries it.
QString storageTimeStamp(const QDateTime& time);
/// The source's base name (up to the first dot) + "_" + serial (made safe) +
/// the time stamp + "." + the source's suffix (after the last dot).
QString storageFileName(const QString& sourceName, const QString& serial, const QDateTime& time);
