#include "base/language.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace {

const QString kEnglish = QStringLiteral("en");

struct Installed
{
    std::unique_ptr<QTranslator> ours;
    std::unique_ptr<QTranslator> qt;
    QString language = kEnglish;
};

Installed& installed()
{
    static Installed instance;
    return instance;
}

QString catalogPath(const QString& catalog, const QString& language)
{
    return QStringLiteral(":/i18n/%1_%2.qm").arg(catalog, language);
}

/// "de" of "de-DE", "de_AT" or "de"; "en" for English and for the C locale.
QString languageOf(const QString& uiLanguage)
{
    const QLocale locale(uiLanguage);
    if (locale.language() == QLocale::C || locale.language() == QLocale::English)
        return kEnglish;
    return locale.name().section(QLatin1Char('_'), 0, 0);
}

void removeTranslators()
{
    Installed& now = installed();
    for (std::unique_ptr<QTranslator>* translator : {&now.ours, &now.qt}) {
        if (*translator) {
            QCoreApplication::removeTranslator(translator->get());
            translator->reset();
        }
    }
}

} // namespace

QString systemLanguage(const QString& catalog)
{
    // Taken in order: a first choice of English is not passed over for a
    // later one that has a catalogue (Qt's own lookup would do that).
    for (const QString& uiLanguage : QLocale::system().uiLanguages()) {
        const QString language = languageOf(uiLanguage);
        if (language == kEnglish || QFileInfo::exists(catalogPath(catalog, language)))
            return language;
    }
    return kEnglish;
}

bool setLanguage(const QString& catalog, const QString& language)
{
    removeTranslators();
    Installed& now = installed();
    now.language = kEnglish;
    bool found = language == kEnglish;
    if (!found) {
        auto ours = std::make_unique<QTranslator>();
        found = ours->load(catalogPath(catalog, language));
        if (found) {
            QCoreApplication::installTranslator(ours.get());
            now.ours = std::move(ours);
            now.language = language;
            // The buttons of Qt's own dialogs; without Debian's catalogue they stay English.
            auto qt = std::make_unique<QTranslator>();
            if (qt->load(QStringLiteral("qtbase_") + language,
                         QLibraryInfo::location(QLibraryInfo::TranslationsPath))) {
                QCoreApplication::installTranslator(qt.get());
                now.qt = std::move(qt);
            } else {
                qDebug().noquote() << "No Qt translation for" << language;
            }
        } else {
            qWarning().noquote() << "No" << catalog << "translation for" << language;
        }
    }
    // The calendar and the names of days and months speak the same language
    // as the texts; the system's own locale is kept when it already does.
    const QLocale::Language wanted = QLocale(now.language).language();
    const QLocale::Language system = QLocale::system().language();
    const bool systemSpeaksIt =
        system == wanted || (wanted == QLocale::English && system == QLocale::C);
    QLocale::setDefault(systemSpeaksIt ? QLocale::system() : QLocale(now.language));
    return found;
}

QString currentLanguage()
{
    return installed().language;
}
