// The trend download page: service-mode gating from the polled mode (closed
// until a mode is heard), the period each button stands for, the unit it
// passes on and the storage label.
#include "analyzer/response.h"
#include "base/globals.h"
#include "support/testsupport.h"
#include "trend/trenddownload.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

namespace {
constexpr int kFirstId = 40;

Analyzer::Response reply(int id, const QJsonValue& result)
{
    return Analyzer::Response(QJsonObject{{"id", id}, {"result", result}});
}
} // namespace

class tst_TrendDownload : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void requests();
    void serviceModeGating_data();
    void serviceModeGating();
    void periodStart_data();
    void periodStart();
    void unitPassedOn_data();
    void unitPassedOn();
    void storageLabel();

private:
    QPushButton* button(const char* name)
    {
        return m_page->findChild<QPushButton*>(QLatin1String(name));
    }
    QLabel* label(const char* name) { return m_page->findChild<QLabel*>(QLatin1String(name)); }

    std::unique_ptr<TrendDownload> m_page;
};

void tst_TrendDownload::init()
{
    m_page = std::make_unique<TrendDownload>(nullptr);
    m_page->assignRequestIds(kFirstId);
    m_page->resize(636, 450);
    m_page->show();
}

void tst_TrendDownload::requests()
{
    QCOMPARE(m_page->firstRequestId(), kFirstId);
    QCOMPARE(m_page->lastRequestId(), kFirstId + 1);
    const QJsonArray poll = m_page->updateRequests();
    QCOMPARE(poll.size(), 2);
    QCOMPARE(poll[0]["method"].toString(), QStringLiteral("opmode"));
    QCOMPARE(poll[0]["id"].toInt(), kFirstId);
    QCOMPARE(poll[1]["method"].toString(), QStringLiteral("units"));
    QCOMPARE(poll[1]["id"].toInt(), kFirstId + 1);

    QSignalSpy back(m_page.get(), &TrendDownload::goToWindow);
    QTest::mouseClick(button("pushButtonClose"), Qt::LeftButton);
    QCOMPARE(back.value(0).value(0).value<WindowType>(), TREND);
}

void tst_TrendDownload::serviceModeGating_data()
{
    QTest::addColumn<QList<int>>("modes"); // replies in order; -1 an error reply
    QTest::addColumn<bool>("enabled");
    QTest::newRow("no mode heard yet") << QList<int>{} << false;
    QTest::newRow("measure mode") << QList<int>{8} << false;
    QTest::newRow("service mode") << QList<int>{8, 2} << true;
    QTest::newRow("service, then tune") << QList<int>{2, 3} << false;
    QTest::newRow("an error leaves it as it was") << QList<int>{2, -1} << true;
}

void tst_TrendDownload::serviceModeGating()
{
    QFETCH(QList<int>, modes);
    QFETCH(bool, enabled);
    for (int mode : modes) {
        if (mode < 0)
            m_page->handleResponse(Analyzer::Response(QJsonObject{
                {"id", kFirstId}, {"error", QJsonObject{{"code", 3}, {"message", "busy"}}}}));
        else
            m_page->handleResponse(reply(kFirstId, mode));
    }
    QCOMPARE(button("pushButtonDownload")->isEnabled(), enabled);
    QCOMPARE(label("downloadInServiceModeLabel")->isVisible(), !enabled);
    TestSupport::saveScreenshot(m_page.get(),
                                enabled ? "trenddownload-service" : "trenddownload-measure");
}

void tst_TrendDownload::periodStart_data()
{
    QTest::addColumn<QString>("radio");
    QTest::addColumn<int>("daysBack"); // -1: the fixed start of all data
    QTest::newRow("Day") << "radioButtonDay" << 0;
    QTest::newRow("Week") << "radioButtonWeek" << 7;
    QTest::newRow("Month") << "radioButtonMonth" << 31;
    QTest::newRow("All Data") << "radioButtonAll" << -1;
}

void tst_TrendDownload::periodStart()
{
    QFETCH(QString, radio);
    QFETCH(int, daysBack);
    m_page->handleResponse(reply(kFirstId, 2));
    m_page->handleResponse(reply(kFirstId + 1, "dewpointf"));
    QSignalSpy download(m_page.get(), &TrendDownload::downloadTrend);
    auto* button = m_page->findChild<QRadioButton*>(radio);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(12, button->height() / 2));
    const QDateTime before = QDateTime::currentDateTime();
    QTest::mouseClick(this->button("pushButtonDownload"), Qt::LeftButton);
    const QDateTime after = QDateTime::currentDateTime();

    QCOMPARE(download.size(), 1);
    const QDateTime start = download.first().at(0).toDateTime();
    if (daysBack < 0) {
        QCOMPARE(start, QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    } else {
        QVERIFY(start >= before.addDays(-daysBack));
        QVERIFY(start <= after.addDays(-daysBack));
    }
    QCOMPARE(download.first().at(1).toString(), QStringLiteral("dewpointf"));
}

void tst_TrendDownload::unitPassedOn_data()
{
    QTest::addColumn<QJsonArray>("replies"); // to "units", in order
    QTest::addColumn<QString>("unit");       // handed on with the download
    const QJsonObject error{{"id", kFirstId + 1},
                            {"error", QJsonObject{{"code", 3}, {"message", "busy"}}}};
    const QJsonObject weight{{"id", kFirstId + 1}, {"result", "weight"}};
    QTest::newRow("nothing heard: volume") << QJsonArray{} << "volume";
    QTest::newRow("the analyzer's unit") << QJsonArray{weight} << "weight";
    QTest::newRow("an error keeps the last unit") << QJsonArray{weight, error} << "weight";
    QTest::newRow("a result that is no text keeps it")
        << QJsonArray{weight, QJsonObject{{"id", kFirstId + 1}, {"result", QJsonValue()}}}
        << "weight";
}

void tst_TrendDownload::unitPassedOn()
{
    QFETCH(QJsonArray, replies);
    QFETCH(QString, unit);
    m_page->handleResponse(reply(kFirstId, 2));
    for (const QJsonValue& json : replies)
        m_page->handleResponse(Analyzer::Response(json.toObject()));
    QSignalSpy download(m_page.get(), &TrendDownload::downloadTrend);
    QTest::mouseClick(button("pushButtonDownload"), Qt::LeftButton);
    QCOMPARE(download.size(), 1);
    QCOMPARE(download.first().at(1).toString(), unit);
}

void tst_TrendDownload::storageLabel()
{
    QTemporaryDir storage;
    setStoragePath(storage.path());
    QTRY_COMPARE_WITH_TIMEOUT(label("label")->text(), QStringLiteral("Ready to download"), 1500);
    QVERIFY(storage.remove());
    QTRY_COMPARE_WITH_TIMEOUT(label("label")->text(), QStringLiteral("Configure storage"), 1500);
    // The button follows the mode alone.
    m_page->handleResponse(reply(kFirstId, 2));
    QVERIFY(button("pushButtonDownload")->isEnabled());
}

QTEST_MAIN(tst_TrendDownload)
#include "tst_trenddownload.moc"
