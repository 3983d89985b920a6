#include "soak.h"

#include "analyzer/connectioninterface.h"
#include "analyzer/rpcinterface.h"
#include "app/appsetup.h"
#include "app/vireogui.h"
#include "base/language.h"
#include "files/filemanager.h"
#include "support/simclient.h"
#include "support/testsupport.h"
#include "transferharness.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

struct Stop
{
    WindowType page;
    const char* className;
    /// Whether the page polls anything: its first batch after a reconnect
    /// is looked for; otherwise the tick's serial number poll.
    bool polls;
    /// What the operator presses from the home screen to get there; the
    /// pages behind a condition (a due reminder, a password, service mode)
    /// are put on view by the controller, as their buttons would.
    QStringList presses;
};

const Stop kTour[] = {
    {HOME, "HomeWindow", true, {}},
    {MODE, "ModeWindow", false, {"pushButtonMode"}},
    {RD_GRAPH, "RDGraphWindow", true, {"pushButtonRDGraph"}},
    {SETTINGS, "SettingsWindow", true, {"pushButtonSettings"}},
    {TREND, "TrendWindow", true, {"pushButtonTrend"}},
    {TREND_DOWNLOAD, "TrendDownload", true, {"pushButtonTrend", "pushButtonDownload"}},
    {SCANS, "ScansWindow", true, {"pushButtonMode", "pushButtonScan"}},
    {SHUTDOWN, "ShutdownWindow", true, {"pushButtonMode", "pushButtonShutdown"}},
    {CERTIFICATE, "CertificateWindow", false, {}},
    {CERTIFICATION, "CertificationWindow", true, {}},
    {CALIBRATION, "CalibrationWindow", false, {}},
};

/// Faults that still deliver every reply, in effect from the restart on.
const QList<QStringList> kTransportFaults = {
    {"split-replies", "true"},
    {"delay-ms", "40"},
    {"shuffle-batches", "true"},
    {"garbage-every", "3"},
    {},
};

/// Faults that refuse, lose or cut, in effect for the ticks after the reconnect.
const QList<QStringList> kRefusingFaults = {
    {"fail-method", "conc", "true"}, // a server message the operator closes
    {"fail-method", "units::-32000", "true"},
    {"drop-reply", "serial_number:2", "true"},
    {"stop-after", "2"},
    {"close-after", "3"},
    {"drop-link-after", "serial_number::20", "true"},
    {"delay-method", "get_trend_data:800", "true"},
    {"fail-method", "download_file_data::-32000", "true"},
};

constexpr int kRefusingTicks = 3;
constexpr int kTransferEvery = 3;
constexpr int kArchiveBytes = 300 * 1024;
constexpr int kReplyTimeoutMs = 2000;
constexpr int kWaitMs = 5000;

QJsonValue controlValue(const QString& text)
{
    bool number = false;
    const int value = text.toInt(&number);
    if (number)
        return value;
    if (text == QLatin1String("true") || text == QLatin1String("false"))
        return text == QLatin1String("true");
    return text;
}

/// The connection popup, when it is open with text starting with prefix.
bool connectionPopupSays(const QString& prefix)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* label = widget->findChild<QLabel*>(QStringLiteral("textLabel"));
        if (widget->isVisible() && label && label->text().startsWith(prefix))
            return true;
    }
    return false;
}

} // namespace

Soak::Soak()
    : m_panel({QStringLiteral("--backfill-days"), QStringLiteral("1"), QStringLiteral("--seed"),
               QStringLiteral("7"), QStringLiteral("--control"), QStringLiteral("--chunk-size"),
               QStringLiteral("4096")})
{
}

Soak::~Soak() = default;

int Soak::pagesInTour() const
{
    return int(std::size(kTour));
}

qint64 Soak::residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

bool Soak::start(QString* error)
{
    m_archive = TransferTest::randomBytes(kArchiveBytes);
    if (!TransferTest::writeFile(m_panel.simulator().statePath() + QStringLiteral("/srda.bin"),
                                 m_archive)) {
        *error = QStringLiteral("cannot write the simulator's ring-down archive");
        return false;
    }
    // As the program starts: its style sheet, font and caches.
    setUpApplication(*static_cast<QApplication*>(QCoreApplication::instance()));
    // Whatever language the machine prefers: the checks read the English popups.
    setLanguage(QStringLiteral("marlomax"), QStringLiteral("en"));
    if (!m_panel.start(error))
        return false;
    m_gui = m_panel.gui();
    m_files = m_gui->findChild<FileManager*>();
    // A transfer whose reply was dropped ends in seconds, not the usual 30.
    m_files->setReplyTimeout(kReplyTimeoutMs);
    m_serialAsked = 1; // the start-up refresh
    QObject::connect(m_gui, &VireoGUI::replyRouted, [this](int id) {
        if (id == m_files->lastRequestId())
            ++m_serialAnswered;
        if (id >= m_pageFirst && id <= m_pageLast)
            ++m_pageReplies;
    });
    // The operator reads each message from the analyzer and closes it; the
    // connection popup is left to follow the link, as on an unattended panel.
    auto* reader = new QTimer(m_gui);
    reader->setInterval(20);
    QObject::connect(reader, &QTimer::timeout, [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box && box->isVisible())
                box->accept();
        }
    });
    reader->start();
    return settle(kWaitMs);
}

void Soak::tick()
{
    if (m_gui->findChild<Analyzer::ConnectionInterface*>()->isConnected())
        ++m_serialAsked;
    m_panel.tick();
}

bool Soak::settle(int timeoutMs)
{
    const bool settled =
        QTest::qWaitFor([this] { return m_serialAnswered >= m_serialAsked; }, timeoutMs);
    m_serialAnswered = m_serialAsked; // what was lost stays lost
    return settled;
}

bool Soak::goTo(int stop)
{
    const Stop& target = kTour[stop];
    // Home by the page's close button, then on by the buttons on view.
    for (int i = 0;
         i < 3 && m_panel.currentPage()->metaObject()->className() != QByteArray("HomeWindow");
         ++i) {
        if (!m_panel.press(QStringLiteral("pushButtonClose")))
            m_gui->switchToWindow(HOME);
    }
    for (const QString& button : target.presses)
        m_panel.press(button);
    if (m_panel.currentPage()->metaObject()->className() != QByteArray(target.className))
        m_gui->switchToWindow(target.page);
    auto* client = dynamic_cast<Analyzer::RPCInterface*>(m_panel.currentPage());
    m_pageFirst = client ? client->firstRequestId() : 0;
    m_pageLast = client ? client->lastRequestId() : -1;
    return m_panel.currentPage()->metaObject()->className() == QByteArray(target.className);
}

bool Soak::setFault(const QStringList& control)
{
    if (control.isEmpty())
        return true;
    QJsonArray params;
    for (const QString& part : control)
        params.append(controlValue(part));
    SimClient client;
    return client.connectTo(m_panel.simulator().port()) &&
           client.call(QStringLiteral("sim_control"), params)
               .value(QStringLiteral("result"))
               .toBool();
}

bool Soak::reconnect(int index, QString* error)
{
    auto* connection = m_gui->findChild<Analyzer::ConnectionInterface*>();
    TestSupport::SimulatorProcess& sim = m_panel.simulator();
    sim.kill();
    if (!QTest::qWaitFor([connection] { return !connection->isConnected(); }, kWaitMs)) {
        *error = QStringLiteral("the panel did not notice the simulator was gone");
        return false;
    }
    tick(); // reports the loss; nobody listens yet
    if (!connectionPopupSays(QStringLiteral("Lost connection to "))) {
        *error = QStringLiteral("no \"Lost connection to\" popup");
        return false;
    }
    if (!sim.restart()) {
        *error = sim.errorString();
        return false;
    }
    if (!setFault(kTransportFaults.at(index % kTransportFaults.size()))) {
        *error = QStringLiteral("the simulator refused a transport fault");
        return false;
    }
    tick(); // reconnects
    if (!connection->isConnected()) {
        *error = QStringLiteral("no reconnect after the simulator came back");
        return false;
    }
    m_pageReplies = 0;
    m_serialAnswered = m_serialAsked;
    tick(); // reports the return and polls the page on view
    if (!connectionPopupSays(QStringLiteral("Restored connection to "))) {
        *error = QStringLiteral("no \"Restored connection to\" popup");
        return false;
    }
    // The page's first batch reaches it; a page that polls nothing gets the
    // file manager's serial number poll of the same tick instead.
    const bool polls = kTour[index % pagesInTour()].polls;
    const bool routed = QTest::qWaitFor(
        [this, polls] { return polls ? m_pageReplies > 0 : m_serialAnswered >= m_serialAsked; },
        kWaitMs);
    if (!routed) {
        *error = QStringLiteral("the first batch after the reconnect was not routed to ") +
                 QString::fromLatin1(m_panel.currentPage()->metaObject()->className());
        return false;
    }
    ++m_reconnects;
    settle(kWaitMs);
    return true;
}

bool Soak::checkPopups(QString* error) const
{
    // At most one popup of each kind (class and title) at any time.
    QStringList kinds;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->isVisible() || !qobject_cast<QDialog*>(widget))
            continue;
        const QString kind =
            QString::fromLatin1(widget->metaObject()->className()) + ' ' + widget->windowTitle();
        if (kinds.contains(kind)) {
            *error = QStringLiteral("two popups open at once: ") + kind;
            return false;
        }
        kinds.append(kind);
    }
    return true;
}

bool Soak::checkStorage(QString* error)
{
    // A file with its final name is complete: byte for byte the analyzer's.
    QDir storage(m_panel.storagePath());
    for (const QString& name : storage.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!name.startsWith(QLatin1String("srda_")) || !name.endsWith(QLatin1String(".bin"))) {
            *error = QStringLiteral("a file that is no download: ") + name;
            return false;
        }
        if (TransferTest::readFile(storage.filePath(name)) != m_archive) {
            *error = QStringLiteral("a download that is not the analyzer's file: ") + name;
            return false;
        }
        ++m_transfersChecked;
        storage.remove(name);
    }
    return true;
}

bool Soak::cycle(int index, QString* error)
{
    const int stop = index % pagesInTour();
    goTo(stop);
    if (!reconnect(index, error) || !checkPopups(error) || !checkStorage(error))
        return false;

    // A few ticks under a refusing fault, every few cycles with a download.
    if (!setFault(kRefusingFaults.at(index % kRefusingFaults.size()))) {
        *error = QStringLiteral("the simulator refused a fault");
        return false;
    }
    if (index % kTransferEvery == 0 && !m_files->isTransferActive()) {
        m_files->downloadFile(FileManager::SrdaFile, true);
        ++m_transfersStarted;
    }
    for (int i = 0; i < kRefusingTicks; ++i) {
        tick();
        settle(kReplyTimeoutMs / 2);
        if (!checkPopups(error))
            return false;
    }
    // A download under way is cut by the next cycle's kill.
    (void)QTest::qWaitFor([this] { return !m_files->isTransferActive(); }, kReplyTimeoutMs);
    return checkPopups(error) && checkStorage(error);
}
