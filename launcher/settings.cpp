#include "launcher/settings.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kConnections = QStringLiteral("connections");
const QString kNickname = QStringLiteral("nickname");
const QString kConnectionString = QStringLiteral("connectionString");
const QString kStorageLocation = QStringLiteral("storageLocation");
const QString kDefaultStorage = QStringLiteral("defaultstorage");
const QString kPanelLanguage = QStringLiteral("panelLanguage");

} // namespace

Settings::Settings()
    : m_store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Orvalis"),
              QStringLiteral("Marlo Max Launcher"))
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 keeps the file in UTF-8; so does Qt 5 here, or a name written by
    // one version would read garbled in the other.
    m_store.setIniCodec("UTF-8");
#endif
}

namespace {
// A file that cannot be opened reads as an empty store, and QSettings alone
// would then write an empty list over it; a file it cannot parse (or one with
// binary garbage, which it skips quietly) reads in part.
bool storeReadable(const QSettings& store)
{
    if (store.status() != QSettings::NoError)
        return false;
    const QFileInfo file(store.fileName());
    if (!file.exists())
        return true;
    QFile probe(file.filePath());
    return file.isFile() && probe.open(QIODevice::ReadOnly) && !probe.readAll().contains('\0');
}
} // namespace

void Settings::load()
{
    m_connections.clear();
    m_readable = storeReadable(m_store);
    if (!m_readable) {
        qWarning().noquote() << "Cannot read the whole connection list from"
                             << QDir::toNativeSeparators(m_store.fileName())
                             << "(unreadable or corrupt); showing what could be read, and "
                                "never writing it back";
    }
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    const int size = m_store.beginReadArray(kConnections);
    for (int i = 0; i < size; ++i) {
        m_store.setArrayIndex(i);
        m_connections.append({m_store.value(kNickname).toString(),
                              m_store.value(kConnectionString).toString(),
                              m_store.value(kStorageLocation, home).toString()});
    }
    m_store.endArray();
}

bool Settings::save()
{
    if (!m_readable) {
        qWarning().noquote() << "Not writing the connection list: it could not be read from"
                             << QDir::toNativeSeparators(m_store.fileName());
        return false;
    }
    m_store.remove(kConnections);
    m_store.beginWriteArray(kConnections, m_connections.size());
    for (int i = 0; i < m_connections.size(); ++i) {
        m_store.setArrayIndex(i);
        m_store.setValue(kNickname, m_connections.at(i).nickname);
        m_store.setValue(kConnectionString, m_connections.at(i).connectionString);
        m_store.setValue(kStorageLocation, m_connections.at(i).storageLocation);
    }
    m_store.endArray();
    // Written now rather than at exit, so a store that cannot be written is
    // noticed while the user can still do something about it.
    m_store.sync();
    if (m_store.status() != QSettings::NoError) {
        qWarning() << "Cannot write the connection list to" << m_store.fileName();
        return false;
    }
    return true;
}

QString Settings::defaultStorage() const
{
    if (!m_unsavedDefaultStorage.isEmpty())
        return m_unsavedDefaultStorage;
    return m_store.value(kDefaultStorage).toString();
}

void Settings::setDefaultStorage(const QString& folder)
{
    if (!m_readable) {
        m_unsavedDefaultStorage = folder;
        return;
    }
    m_store.setValue(kDefaultStorage, folder);
}

QString Settings::panelLanguage() const
{
    if (m_unsavedPanelLanguage)
        return *m_unsavedPanelLanguage;
    return m_store.value(kPanelLanguage).toString();
}

void Settings::setPanelLanguage(const QString& language)
{
    if (!m_readable) {
        m_unsavedPanelLanguage = language;
        return;
    }
    m_store.setValue(kPanelLanguage, language);
    m_store.sync();
}

void Settings::append(const ConnectionEntry& entry)
{
    m_connections.append(entry);
}

void Settings::replace(int row, const ConnectionEntry& entry)
{
    if (row >= 0 && row < m_connections.size())
        m_connections[row] = entry;
}

void Settings::removeAt(int row)
{
    if (row >= 0 && row < m_connections.size())
        m_connections.removeAt(row);
}
