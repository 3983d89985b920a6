// File transfers with the simulator: every download through the chunk
// protocol, counts and byte-for-byte content; settings uploads that are
// accepted whole or refused with the old settings kept.
#include "support/simclient.h"
#include "support/simulatorprocess.h"

#include <QFile>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const int kChunk = 1000;

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

int rows(const QString& path, const QString& table)
{
    int count = -1;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) &&
            query.next())
            count = query.value(0).toInt();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return count;
}

void execute(const QString& path, const QStringList& statements)
{
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("edit"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString& statement : statements)
            QVERIFY2(query.exec(statement), qPrintable(statement));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("edit"));
}
} // namespace

class tst_SimTransfer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void plainFilesArriveByteForByte_data();
    void plainFilesArriveByteForByte();
    void databasesArriveAsConsistentCopies_data();
    void databasesArriveAsConsistentCopies();
    void unknownFileIsEmpty();
    void finishedTransferKeepsAnsweringEmpty();
    void uploadReplacesSettingsByteForByte();
    void badUploadsKeepTheOldSettings_data();
    void badUploadsKeepTheOldSettings();
    void damagedChunkIsRefused();

private:
    QByteArray validSettings();

    TestSupport::SimulatorProcess* m_sim = nullptr;
    SimClient m_client;
    QTemporaryDir m_work;
};

void tst_SimTransfer::initTestCase()
{
    m_sim =
        new TestSupport::SimulatorProcess({QStringLiteral("--chunk-size"), QString::number(kChunk),
                                           QStringLiteral("--backfill-days"), QStringLiteral("1")});
    QVERIFY2(m_sim->start(), qPrintable(m_sim->errorString()));
    QVERIFY(m_client.connectTo(m_sim->port()));
    // Something in the log and in the scan database.
    for (int i = 0; i < 40; ++i)
        m_client.call(QStringLiteral("laser_current"), QJsonArray{90 + i / 10.0});
    m_client.call(QStringLiteral("opmode"), QJsonArray{2});
}

void tst_SimTransfer::cleanupTestCase()
{
    delete m_sim;
}

void tst_SimTransfer::plainFilesArriveByteForByte_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("file");
    QTest::newRow("srda") << "download_srda"
                          << "srda.bin";
    QTest::newRow("log") << "download_log_file"
                         << "vireo.log";
}

void tst_SimTransfer::plainFilesArriveByteForByte()
{
    QFETCH(QString, method);
    QFETCH(QString, file);
    int count = 0;
    QString error;
    const QByteArray downloaded = m_client.download(method, &count, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(downloaded.size() > kChunk); // several chunks
    // Count = whole chunks plus the closing empty reply, so the panel's
    // count-driven requests always reach the end of the file.
    QCOMPARE(count, (downloaded.size() + kChunk - 1) / kChunk + 1);
    // The simulator only appends to these files, so the copy is a prefix of
    // the file as it is now, and it was the whole file when the transfer began.
    const QByteArray now = fileBytes(m_sim->statePath() + QLatin1Char('/') + file);
    QVERIFY(now.startsWith(downloaded));
}

void tst_SimTransfer::databasesArriveAsConsistentCopies_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("minimumRows");
    QTest::newRow("settings") << "download_settings"
                              << "settings_table" << 1;
    QTest::newRow("trend") << "download_trend_file"
                           << "trend_table" << 86000;
    QTest::newRow("scans") << "download_scan_data"
                           << "scan_table" << 0;
}

void tst_SimTransfer::databasesArriveAsConsistentCopies()
{
    QFETCH(QString, method);
    QFETCH(QString, table);
    QFETCH(int, minimumRows);
    QString error;
    const QByteArray downloaded = m_client.download(method, nullptr, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QString path = m_work.filePath(method + QStringLiteral(".db"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(downloaded);
    out.close();
    QVERIFY(rows(path, table) >= minimumRows);
    // A self-contained file: no write-ahead log needed beside it.
    QCOMPARE(downloaded.at(18), char(1));
}

void tst_SimTransfer::unknownFileIsEmpty()
{
    int count = 0;
    QCOMPARE(m_client.download(QStringLiteral("download_unknown_file"), &count), QByteArray());
    QCOMPARE(count, 1);
}

void tst_SimTransfer::finishedTransferKeepsAnsweringEmpty()
{
    const QJsonArray info = m_client.call(QStringLiteral("download_log_file"))
                                .value(QStringLiteral("result"))
                                .toArray();
    const int count = info.at(0).toInt();
    // The panel asks in batches of 25 and may ask past the end: every extra
    // request gets the empty chunk, not an error that would pop up a message.
    for (int i = 0; i < count + 30; ++i) {
        const QJsonObject reply =
            m_client.call(QStringLiteral("download_file_data"), QJsonArray{info.at(1)});
        QVERIFY(!reply.contains(QStringLiteral("error")));
        QCOMPARE(reply.value(QStringLiteral("result")).toString().isEmpty(), i >= count - 1);
    }
}

QByteArray tst_SimTransfer::validSettings()
{
    return m_client.download(QStringLiteral("download_settings"));
}

void tst_SimTransfer::uploadReplacesSettingsByteForByte()
{
    const QString path = m_work.filePath(QStringLiteral("edited.db"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(validSettings());
    file.close();
    execute(
        path,
        {QStringLiteral("INSERT OR REPLACE INTO settings_table VALUES ('laser_current', '[88.5]')"),
         QStringLiteral("INSERT OR REPLACE INTO settings_table VALUES ('units', '[\"weight\"]')")});
    const QByteArray uploaded = fileBytes(path);
    const QJsonObject reply = m_client.upload(uploaded);
    QVERIFY2(!reply.contains(QStringLiteral("error")), QJsonDocument(reply).toJson());
    QCOMPARE(m_client.call(QStringLiteral("laser_current")).value(QStringLiteral("result")),
             QJsonValue(88.5));
    QCOMPARE(m_client.call(QStringLiteral("units")).value(QStringLiteral("result")),
             QJsonValue("weight"));
    QCOMPARE(fileBytes(m_sim->statePath() + QStringLiteral("/settings.db")), uploaded);
}

void tst_SimTransfer::badUploadsKeepTheOldSettings_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("text file") << "text";
    QTest::newRow("cut-off database") << "truncated";
    QTest::newRow("database without display_table") << "no display";
    QTest::newRow("empty file") << "empty";
}

void tst_SimTransfer::badUploadsKeepTheOldSettings()
{
    QFETCH(QString, kind);
    m_client.call(QStringLiteral("laser_current"), QJsonArray{91.25});
    QByteArray data;
    if (kind == QLatin1String("text")) {
        data = QByteArray("laser_current=50\n").repeated(200);
    } else if (kind == QLatin1String("truncated")) {
        data = validSettings();
        data.truncate(data.size() / 2);
    } else if (kind == QLatin1String("no display")) {
        const QString path = m_work.filePath(QStringLiteral("nodisplay.db"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(validSettings());
        file.close();
        execute(path, {QStringLiteral("DROP TABLE display_table")});
        data = fileBytes(path);
    }
    const QJsonObject reply = m_client.upload(data);
    const QJsonObject error = reply.value(QStringLiteral("error")).toObject();
    QCOMPARE(error.value(QStringLiteral("code")).toInt(), 1);
    QVERIFY2(
        error.value(QStringLiteral("message")).toString().contains(QLatin1String("not changed")),
        qPrintable(error.value(QStringLiteral("message")).toString()));
    QCOMPARE(m_client.call(QStringLiteral("laser_current")).value(QStringLiteral("result")),
             QJsonValue(91.25));
}

void tst_SimTransfer::damagedChunkIsRefused()
{
    const QString token =
        m_client.call(QStringLiteral("upload_settings")).value(QStringLiteral("result")).toString();
    const QJsonObject reply =
        m_client.call(QStringLiteral("upload_file_data"), QJsonArray{token, "@@not base64@@"});
    QCOMPARE(reply.value(QStringLiteral("error")).toObject().value(QStringLiteral("code")).toInt(),
             1);
    // The transfer is over: its token is no longer accepted.
    const QJsonObject after =
        m_client.call(QStringLiteral("upload_file_data"), QJsonArray{token, "AAAA"});
    QCOMPARE(after.value(QStringLiteral("error")).toObject().value(QStringLiteral("code")).toInt(),
             1);
}

QTEST_GUILESS_MAIN(tst_SimTransfer)
#include "tst_simtransfer.moc"
