// The translation catalogues in the tree against the texts of the sources:
// each .ts is brought up to date in a copy by scripts/update-translations.sh
// (lupdate over the sources and forms), and the suite fails when a text of the
// sources is missing from the catalogue or only kept there as obsolete, when
// an entry is unfinished, or when a translation drops or adds a %1. So a new
// tr() without its translation fails CI.
#include "base/language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Entry
{
    QString translation;
    bool finished = false;
    bool obsolete = false;
};

/// A catalogue's entries by context, source text and comment.
using Catalogue = QMap<QString, Entry>;

QString keyOf(const QString& context, const QString& source, const QString& comment)
{
    return context + QLatin1String(" | ") + source +
           (comment.isEmpty() ? QString() : QLatin1String(" (") + comment + QLatin1Char(')'));
}

bool readCatalogue(const QByteArray& xml, Catalogue* catalogue, QString* error)
{
    QXmlStreamReader reader(xml);
    QString context, source, comment;
    Entry entry;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const auto name = reader.name();
            if (name == QLatin1String("name")) {
                context = reader.readElementText();
            } else if (name == QLatin1String("message")) {
                source.clear();
                comment.clear();
                entry = Entry();
            } else if (name == QLatin1String("source")) {
                source = reader.readElementText();
            } else if (name == QLatin1String("comment")) {
                comment = reader.readElementText();
            } else if (name == QLatin1String("translation")) {
                const QString type = reader.attributes().value(QLatin1String("type")).toString();
                entry.obsolete =
                    type == QLatin1String("obsolete") || type == QLatin1String("vanished");
                entry.finished = type.isEmpty();
                entry.translation = reader.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else if (reader.isEndElement() && reader.name() == QLatin1String("message")) {
            catalogue->insert(keyOf(context, source, comment), entry);
        }
    }
    if (reader.hasError()) {
        *error = reader.errorString();
        return false;
    }
    return true;
}

QStringList placeholders(const QString& text)
{
    static const QRegularExpression marker(QStringLiteral("%L?\\d+"));
    QStringList found;
    auto it = marker.globalMatch(text);
    while (it.hasNext())
        found << it.next().captured().remove(QLatin1Char('L'));
    found.sort();
    return found;
}

/// What is wrong with the catalogue in the tree (committed), given the same
/// catalogue brought up to date with the sources (fresh): one line each.
QStringList catalogueFaults(const Catalogue& committed, const Catalogue& fresh)
{
    QStringList faults;
    for (auto it = fresh.cbegin(); it != fresh.cend(); ++it) {
        if (it->obsolete)
            continue;
        const auto kept = committed.constFind(it.key());
        if (kept == committed.cend()) {
            faults << QStringLiteral("missing: ") + it.key();
        } else if (kept->obsolete) {
            faults << QStringLiteral("obsolete but used: ") + it.key();
        } else if (!kept->finished || kept->translation.isEmpty()) {
            faults << QStringLiteral("unfinished: ") + it.key();
        } else {
            const QString source = it.key().section(QLatin1String(" | "), 1);
            if (placeholders(source) != placeholders(kept->translation))
                faults << QStringLiteral("placeholders differ: ") + it.key() +
                              QLatin1String(" -> ") + kept->translation;
        }
    }
    return faults;
}

QByteArray catalogueXml(const QString& messages)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?><!DOCTYPE TS>"
                          "<TS version=\"2.1\" language=\"de\"><context><name>Page</name>%1"
                          "</context></TS>")
        .arg(messages)
        .toUtf8();
}

QString message(const QString& source, const QString& translation, const char* type = nullptr)
{
    return QStringLiteral("<message><source>%1</source><translation%2>%3</translation></message>")
        .arg(source, type ? QStringLiteral(" type=\"%1\"").arg(QLatin1String(type)) : QString(),
             translation);
}

} // namespace

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void catalogueMatchesSources_data();
    void catalogueMatchesSources();
    void faultsFound_data();
    void faultsFound();
    void compiledCatalogueSpeaks();
    void englishNeedsNoCatalogue();

private:
    QTemporaryDir m_updated;
};

void tst_Translations::initTestCase()
{
    QVERIFY(m_updated.isValid());
    QProcess update;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LUPDATE"), QStringLiteral(MARLOMAX_LUPDATE));
    update.setProcessEnvironment(env);
    update.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    update.start(
        QStringLiteral("bash"),
        {QStringLiteral(MARLOMAX_SOURCE_DIR "/scripts/update-translations.sh"), m_updated.path()});
    QVERIFY(update.waitForFinished(120000));
    QCOMPARE(update.exitCode(), 0);
}

void tst_Translations::catalogueMatchesSources_data()
{
    QTest::addColumn<QString>("tree");
    for (const char* path :
         {"resources/translations/marlomax_de.ts", "launcher/translations/marlomax-launcher_de.ts"})
        QTest::newRow(path) << QStringLiteral(MARLOMAX_SOURCE_DIR "/") + QLatin1String(path);
}

void tst_Translations::catalogueMatchesSources()
{
    QFETCH(QString, tree);
    QFile committedFile(tree);
    QFile freshFile(m_updated.filePath(QFileInfo(tree).fileName()));
    QVERIFY2(committedFile.open(QIODevice::ReadOnly), qPrintable(tree));
    QVERIFY(freshFile.open(QIODevice::ReadOnly));
    Catalogue committed, fresh;
    QString error;
    QVERIFY2(readCatalogue(committedFile.readAll(), &committed, &error), qPrintable(error));
    QVERIFY2(readCatalogue(freshFile.readAll(), &fresh, &error), qPrintable(error));
    QVERIFY(fresh.size() > 50);
    const QStringList faults = catalogueFaults(committed, fresh);
    for (const QString& fault : faults)
        qWarning().noquote() << fault;
    QVERIFY2(faults.isEmpty(),
             qPrintable(QStringLiteral("%1 faults (above). Run scripts/update-translations.sh and "
                                       "translate what it marks unfinished.")
                            .arg(faults.size())));
}

void tst_Translations::faultsFound_data()
{
    QTest::addColumn<QString>("committed");
    QTest::addColumn<QString>("fresh");
    QTest::addColumn<QString>("fault");
    const QString done = message(QStringLiteral("Close"), QStringLiteral("Schließen"));
    const QString asked = message(QStringLiteral("Close"), QString(), "unfinished");
    QTest::newRow("sound") << done << asked << QString();
    QTest::newRow("a new text") << QString() << asked << "missing: Page | Close";
    QTest::newRow("unfinished") << message(QStringLiteral("Close"), QStringLiteral("Schließen"),
                                           "unfinished")
                                << asked << "unfinished: Page | Close";
    QTest::newRow("empty") << message(QStringLiteral("Close"), QString()) << asked
                           << "unfinished: Page | Close";
    QTest::newRow("obsolete but used")
        << message(QStringLiteral("Close"), QStringLiteral("Schließen"), "vanished") << asked
        << "obsolete but used: Page | Close";
    QTest::newRow("no longer used")
        << done + message(QStringLiteral("Gone"), QStringLiteral("Weg")) << asked << QString();
    QTest::newRow("a lost placeholder")
        << message(QStringLiteral("%1 of %2"), QStringLiteral("%1 von"))
        << message(QStringLiteral("%1 of %2"), QString(), "unfinished")
        << "placeholders differ: Page | %1 of %2 -> %1 von";
    QTest::newRow("placeholders moved")
        << message(QStringLiteral("%1 of %2"), QStringLiteral("von %2: %1"))
        << message(QStringLiteral("%1 of %2"), QString(), "unfinished") << QString();
}

void tst_Translations::faultsFound()
{
    QFETCH(QString, committed);
    QFETCH(QString, fresh);
    QFETCH(QString, fault);
    Catalogue a, b;
    QString error;
    QVERIFY(readCatalogue(catalogueXml(committed), &a, &error));
    QVERIFY(readCatalogue(catalogueXml(fresh), &b, &error));
    QCOMPARE(catalogueFaults(a, b), fault.isEmpty() ? QStringList() : QStringList{fault});
}

void tst_Translations::compiledCatalogueSpeaks()
{
    QVERIFY(QFile::exists(QStringLiteral(":/i18n/marlomax_de.qm")));
    QVERIFY(setLanguage(QStringLiteral("marlomax"), QStringLiteral("de")));
    QCOMPARE(currentLanguage(), QStringLiteral("de"));
    QCOMPARE(QCoreApplication::translate("SettingsWindow", "Weekly"),
             QStringLiteral("Wöchentlich"));
    QCOMPARE(QLocale().language(), QLocale::German);

    QVERIFY(setLanguage(QStringLiteral("marlomax"), QStringLiteral("en")));
    QCOMPARE(QCoreApplication::translate("SettingsWindow", "Weekly"), QStringLiteral("Weekly"));
    QCOMPARE(currentLanguage(), QStringLiteral("en"));
}

void tst_Translations::englishNeedsNoCatalogue()
{
    // A language without a catalogue leaves the texts of the sources.
    QTest::ignoreMessage(QtWarningMsg, "No marlomax translation for fr");
    QVERIFY(!setLanguage(QStringLiteral("marlomax"), QStringLiteral("fr")));
    QCOMPARE(currentLanguage(), QStringLiteral("en"));
    QCOMPARE(QCoreApplication::translate("SettingsWindow", "Weekly"), QStringLiteral("Weekly"));
}

QTEST_MAIN(tst_Translations)
#include "tst_translations.moc"
