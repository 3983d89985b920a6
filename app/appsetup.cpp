#include "app/appsetup.h"

#include "base/language.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QPixmapCache>
#include <QResource>
#include <malloc.h>
#include <unistd.h>

namespace {

const QString kCatalog = QStringLiteral("marlomax");
/// The style keeps every button face it draws, one per size, state and
/// palette. Qt's default of 10 MB fills up over hours of popups and greyed
/// values, more than the panel's whole heap; this holds the faces of a screen.
constexpr int kPixmapCacheKb = 2048;
constexpr int kBaseFontPointSize = 12;
constexpr int kMapThresholdBytes = 1024 * 1024;

void loadStyleSheet(QApplication& app)
{
    QFile file(QStringLiteral(":/styles/application.qss"));
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "Failed to load application style sheet";
        return;
    }
    // Latin-1 up to the first NUL byte, as the resource was always read.
    const QByteArray bytes = file.readAll();
    app.setStyleSheet(
        QString::fromLatin1(bytes.constData(), qstrnlen(bytes.constData(), bytes.size())));
}

} // namespace

void prepareEnvironment()
{
    mallopt(M_MMAP_THRESHOLD, kMapThresholdBytes);
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
}

void setUpApplication(QApplication& app)
{
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/marlomax.ico")));
    // Handed over where the program keeps it: added by its path, the font
    // database and then FreeType would each read a copy of their own (two of
    // 760 KB on the heap for the panel's whole life).
    const QResource font(QStringLiteral(":/fonts/DejaVuSans.ttf"));
    const int fontId = font.isValid() && font.compressionAlgorithm() == QResource::NoCompression
                           ? QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
                                 reinterpret_cast<const char*>(font.data()), int(font.size())))
                           : QFontDatabase::addApplicationFont(font.fileName());
    if (fontId < 0)
        qDebug() << "Failed to load application font";
    // Texts that no form sizes (the charts' axes and titles) take the
    // application's font, which would otherwise be whatever the platform and
    // the Qt version offer: 12 pt, as the panel's screens were laid out with.
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), kBaseFontPointSize));
    loadStyleSheet(app);
    QPixmapCache::setCacheLimit(kPixmapCacheKb);
    // Before any window exists, so every text is made in the chosen language.
    setUpLanguage();
    qputenv("PATH", pathWithProgramFolder(qgetenv("PATH"),
                                          programFolder(QCoreApplication::applicationDirPath())));
}

QString setUpLanguage()
{
    setLanguage(kCatalog, systemLanguage(kCatalog));
    qDebug().noquote() << "Language:" << currentLanguage();
    return currentLanguage();
}

QString programFolder(const QString& applicationDir)
{
    return QDir::cleanPath(applicationDir + QStringLiteral("/" MARLOMAX_PROGRAMS_FROM_BIN));
}

QByteArray pathWithProgramFolder(const QByteArray& path, const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return path;
    const QByteArray entry = QFile::encodeName(folder);
    if (path.split(':').contains(entry))
        return path;
    if (path.isEmpty()) {
        // No PATH means the system's default search path: keep it in front.
        QByteArray defaults(confstr(_CS_PATH, nullptr, 0), '\0');
        confstr(_CS_PATH, defaults.data(), size_t(defaults.size()));
        return QByteArray(defaults.constData()) + ':' + entry;
    }
    return path + ':' + entry;
}
