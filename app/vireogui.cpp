#include "app/vireogui.h"

#include "analyzer/analyzerstate.h"
#include "analyzer/connectioninterface.h"
#include "analyzer/connectionmanager.h"
#include "analyzer/linedecoder.h"
#include "analyzer/linequeue.h"
#include "analyzer/response.h"
#include "analyzer/rpcinterface.h"
#include "app/delay.h"
#include "base/eventjournal.h"
#include "base/globals.h"
#include "base/logwriter.h"
#include "base/statejournal.h"
#include "procedures/calibrationwindow.h"
#include "procedures/certificationwindow.h"
#include "screens/certificatewindow.h"
#include "screens/homewindow.h"
#include "screens/journalmodel.h"
#include "screens/journalwindow.h"
#include "screens/modewindow.h"
#include "screens/rdgraphwindow.h"
#include "screens/scanswindow.h"
#include "screens/shutdownwindow.h"
#include "settings/settingswindow.h"
#include "trend/localhistory.h"
#include "trend/remotehistory.h"
#include "trend/trenddownload.h"
#include "trend/trendwindow.h"
#include "ui_vireogui.h"
#include "widgets/elidedlabel.h"
#include "widgets/keyboardwindow.h"
#include "widgets/messagebox.h"
#include "widgets/sharedicon.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDebug>
#include <QJsonDocument>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kPollIntervalMs = 1000;
constexpr int kFirstClientId = 2;
constexpr int kShutdownRequestId = 1;
constexpr int kShutdownWaitMs = 250;
constexpr int kServerMessageCode = 1;
// A peer that never ends a line must not grow the buffer without limit. Far
// above any real reply (trend history of a week is a few megabytes).
constexpr int kMaxReceiveBuffer = 64 * 1024 * 1024;
} // namespace

VireoGUI::VireoGUI(const QString& connectionString, QWidget* parent)
    : QWidget(parent), ui(new Ui::VireoGUI)
{
    ui->setupUi(this);
    m_pages.setObjectName(QStringLiteral("pages"));
    m_journal = std::make_unique<EventJournal>(EventJournal::defaultPath());
    EventJournal::setCurrent(m_journal.get());
    m_state = new Analyzer::AnalyzerState(this);
    connect(m_state, &Analyzer::AnalyzerState::statusClassChanged, ui->statusBadge,
            &StatusBadge::setStatusClass);
    journalStateChanges(m_state);
    // The pages that change with service mode follow the mode however it was read.
    connect(m_state, &Analyzer::AnalyzerState::modeRead, this, &VireoGUI::handleOpmode);
    connect(ui->statusBadge, &QPushButton::clicked, this, &VireoGUI::showJournal);

    if (!openLog(logRequestPath()))
        qDebug() << "Unable to connect to Vireo Logger!";
    qDebug() << "Startup";

    m_lineQueue = new Analyzer::LineQueue(this);
    connect(m_lineQueue, &Analyzer::LineQueue::lineDecoded, this, &VireoGUI::routeWaitingLines);
    m_manager = new ConnectionManager(connectionString, this);
    connect(m_manager->connection(), &Analyzer::ConnectionInterface::readyToRead, this,
            &VireoGUI::readData);
    connect(m_manager, &ConnectionManager::connectionStatusChanged, this,
            &VireoGUI::connectionStatusChanged);
    if (m_manager->connectToServer())
        qDebug() << "RPC connection ok";
    else
        qDebug() << "ERROR: connection with RPC server fail";
    m_state->setLink(m_manager->connection()->isConnected(), m_manager->connection()->serverName());
    // The run begins once the analyzer's address is known; its serial number
    // follows when it is first read.
    m_journal->beginSession(m_manager->connection()->serverName());
    connect(m_state, &Analyzer::AnalyzerState::serialNumberChanged, this,
            [this](const QString& serial) { m_journal->setSerial(serial); });
    ui->statusBadge->setStatusClass(m_state->statusClass());

    // Every widget is made under the parent it keeps. Moving a built page
    // into the stack, or the filled stack into the frame, makes Qt resolve
    // style sheet, palette and font again over the whole moved tree: done
    // for each page that way, it once cost more than building them all.
    m_pages.setParent(ui->frame);

    auto* mode = new ModeWindow(&m_pages);
    addPage(MODE, mode);
    connect(mode, &ModeWindow::goToWindow, this, &VireoGUI::switchToWindow);
    connect(mode, &ModeWindow::jsonToSend, this, &VireoGUI::sendJson);
    connect(mode, &ModeWindow::jsonToSend, this, &VireoGUI::noteSetting);
    connect(mode, &ModeWindow::expectedChange, this,
            static_cast<void (VireoGUI::*)(WindowType)>(&VireoGUI::requestUpdate));

    auto* rdGraph = new RDGraphWindow(&m_pages);
    addPage(RD_GRAPH, rdGraph);
    connect(rdGraph, &RDGraphWindow::goToWindow, this, &VireoGUI::switchToWindow);

    m_settings = new SettingsWindow(&m_pages);
    addPage(SETTINGS, m_settings);
    JournalModel::setSettingLabels(
        [this](const QString& method) { return m_settings->rowLabel(method); });
    connect(m_settings, &SettingsWindow::goToWindow, this, &VireoGUI::switchToWindow);
    connect(m_settings, &SettingsWindow::jsonToSend, this, &VireoGUI::sendJson);
    connect(m_settings, &SettingsWindow::jsonToSend, this, &VireoGUI::noteSetting);
    connect(m_settings, &SettingsWindow::showKeyboard, this, &VireoGUI::bringUpKeyboard);
    connect(m_settings, &SettingsWindow::newTitleBarName, this, &VireoGUI::setTitleBarName);
    connect(m_settings, &SettingsWindow::newTitleBarVersion, this, &VireoGUI::setTitleBarVersion);
    connect(m_settings, &SettingsWindow::startDownload, this, &VireoGUI::startDownloadFile);
    connect(m_settings, &SettingsWindow::uploadFile, this, &VireoGUI::startUploadFile);

    // Each chart keeps its own history source so the two never share a query;
    // they are children of this widget and so outlive every page (see the header).
    if (isRemote()) {
        auto* trendHistory = new Trend::RemoteHistory(this);
        trendHistory->setObjectName(QStringLiteral("trendHistory"));
        auto* homeHistory = new Trend::RemoteHistory(this);
        homeHistory->setObjectName(QStringLiteral("homeHistory"));
        // The mini plot's window moves with the clock once a minute; a reply
        // to where it stood a minute ago still draws it.
        homeHistory->setSlidingWindow(true);
        homeHistory->setGiveUpAfter(Trend::RemoteHistory::kMiniPlotGiveUpMs);
        for (Trend::RemoteHistory* history : {trendHistory, homeHistory}) {
            m_clients.add(history);
            connect(history, &Trend::RemoteHistory::jsonToSend, this, &VireoGUI::sendJson);
        }
        m_trendHistory = trendHistory;
        m_homeHistory = homeHistory;
    } else {
        m_trendHistory = new Trend::LocalHistory(trendFileName(), this);
        m_homeHistory = new Trend::LocalHistory(trendFileName(), this);
    }

    m_trend = new TrendWindow(m_trendHistory, &m_pages);
    addPage(TREND, m_trend);
    connect(m_trend, &TrendWindow::goToWindow, this, &VireoGUI::switchToWindow);
    connect(m_trend, &TrendWindow::showKeyboard, this, &VireoGUI::bringUpKeyboard);
    // A value axis framed by new data reaches the mini plot at once, not a tick later.
    connect(m_trend, &TrendWindow::valueRangeChanged, this, &VireoGUI::syncMiniPlot);

    m_home = new HomeWindow(m_homeHistory, &m_pages);
    addPage(HOME, m_home);
    connect(m_home, &HomeWindow::goToWindow, this, &VireoGUI::switchToWindow);
    connect(m_home, &HomeWindow::showKeyboard, this, &VireoGUI::bringUpKeyboard);
    connect(m_state, &Analyzer::AnalyzerState::statusClassChanged, m_home,
            &HomeWindow::setStatusClass);
    m_home->setStatusClass(m_state->statusClass());

    m_keyboard = new KeyboardWindow(&m_pages);
    addPage(KEYBOARD, m_keyboard);
    connect(m_keyboard, &KeyboardWindow::accepted, this, &VireoGUI::putDownKeyboard);
    // Connected after putDownKeyboard, so the page hears of the close once a
    // typed value has reached it: an Ethernet entry without one was cancelled.
    connect(m_keyboard, &KeyboardWindow::accepted, m_settings, &SettingsWindow::keypadClosed);

    auto* scans = new ScansWindow(&m_pages);
    addPage(SCANS, scans);
    connect(scans, &ScansWindow::goToWindow, this, &VireoGUI::switchToWindow);
    connect(scans, &ScansWindow::jsonToSend, this, &VireoGUI::sendJson);
    connect(scans, &ScansWindow::jsonToSend, this, &VireoGUI::noteSetting);
    connect(scans, &ScansWindow::showKeyboard, this, &VireoGUI::bringUpKeyboard);

    m_trendDownload = new TrendDownload(&m_pages);
    addPage(TREND_DOWNLOAD, m_trendDownload);
    connect(m_trendDownload, &TrendDownload::goToWindow, this, &VireoGUI::switchToWindow);
    connect(m_trendDownload, &TrendDownload::jsonToSend, this, &VireoGUI::sendJson);
    connect(m_trendDownload, &TrendDownload::downloadTrend, this, &VireoGUI::startDownloadTrend);

    auto* shutdownPage = new ShutdownWindow(&m_pages);
    addPage(SHUTDOWN, shutdownPage);
    connect(shutdownPage, &ShutdownWindow::goToWindow, this, &VireoGUI::switchToWindow);
    connect(shutdownPage, &ShutdownWindow::jsonToSend, this, &VireoGUI::sendJson);
    connect(shutdownPage, &ShutdownWindow::jsonToSend, this, &VireoGUI::noteSetting);
    connect(shutdownPage, &ShutdownWindow::shutdownNow, this, &VireoGUI::shutdown);

    m_fileManager = new FileManager(this);
    m_clients.add(m_fileManager);
    m_trend->setFileManager(m_fileManager);
    // The chart's exports name what they hold as the home page shows it.
    m_trend->setSpeciesSource([this] {
        const auto text = [this](const char* name) {
            const auto* label = m_home->findChild<ElidedLabel*>(QLatin1String(name));
            return label ? label->fullText() : QString();
        };
        return QStringLiteral("%1 in %2").arg(text("speciesLabel"), text("gasLabel"));
    });
    connect(m_fileManager, &FileManager::jsonToSend, this, &VireoGUI::sendJson);
    connect(m_fileManager, &FileManager::jsonBatchToSend, this, &VireoGUI::sendBatchJson);

    m_certification = new CertificationWindow(m_fileManager, &m_pages);
    addPage(CERTIFICATION, m_certification);
    connect(m_certification, &CertificationWindow::goToWindow, this, &VireoGUI::switchToWindow);
    connect(m_certification, &CertificationWindow::jsonToSend, this, &VireoGUI::sendJson);
    connect(m_certification, &CertificationWindow::startDownload, this,
            &VireoGUI::startDownloadFile);

    m_calibration = new CalibrationWindow(&m_pages);
    addPage(CALIBRATION, m_calibration);
    connect(m_calibration, &CalibrationWindow::goToWindow, this, &VireoGUI::switchToWindow);
    connect(m_calibration, &CalibrationWindow::jsonToSend, this, &VireoGUI::sendJson);

    auto* certificate = new CertificateWindow(&m_pages);
    addPage(CERTIFICATE, certificate);
    connect(certificate, &CertificateWindow::goToWindow, this, &VireoGUI::switchToWindow);
    connect(certificate, &CertificateWindow::jsonToSend, this, &VireoGUI::sendJson);
    connect(certificate, &CertificateWindow::jsonToSend, this, &VireoGUI::noteSetting);

    // The journal's page polls nothing, so it is no client: ids and traffic
    // are those of the twelve pages.
    m_journalPage = new JournalWindow(m_journal.get(), m_fileManager, &m_pages);
    addPage(JOURNAL, m_journalPage);
    connect(m_journalPage, &JournalWindow::closed, this, &VireoGUI::putDownJournal);

    m_receiveBuffer = std::make_unique<QByteArray>();
    // Every page and its popups exist now.
    shareButtonIcons(QApplication::allWidgets());

    // The status poll's ids follow the clients' blocks, and transfers take
    // theirs past both, so the blocks stay as they are.
    m_fileManager->reserveTransferIds(
        m_statusPoll.assignRequestIds(m_clients.assignRequestIds(kFirstClientId)));

    ui->gridLayout_2->addWidget(&m_pages, 1, 0, 1, 2);

    m_pollTimer = new QTimer(this);
    m_pollTimer->setObjectName(QStringLiteral("pollTimer"));
    m_pollTimer->setInterval(kPollIntervalMs);
    connect(m_pollTimer, &QTimer::timeout, this,
            static_cast<void (VireoGUI::*)()>(&VireoGUI::requestUpdate));
    m_pollTimer->start();

    switchToWindow(HOME);

    if (m_manager->connection()->isConnected()) {
        for (Analyzer::RPCInterface* client : m_clients.clients())
            sendBatchJson(client->updateRequests());
        // The first windows of the trend screen and the mini plot, asked for
        // while the sources had no id yet, never went out.
        askForHistory();
    }
}

VireoGUI::~VireoGUI()
{
    m_journal->endSession();
    JournalModel::setSettingLabels({});
    delete m_manager;
    delete ui;
}

void VireoGUI::addPage(WindowType type, QWidget* page)
{
    m_pageMap.insert(type, m_pages.addWidget(page));
    if (auto* client = qobject_cast<Analyzer::RPCInterface*>(page))
        m_clients.add(client);
}

void VireoGUI::switchToWindow(WindowType window)
{
    syncMiniPlot();
    // The certification procedure begins again each time its page is shown.
    if (window == CERTIFICATION)
        m_certification->restart();
    const int index = m_pageMap.value(window, -1);
    if (index >= 0)
        m_pages.setCurrentIndex(index);
}

void VireoGUI::syncMiniPlot()
{
    // The home mini plot follows the trend screen's interval and value range.
    if (!m_home)
        return;
    m_home->setMiniPlotScale(m_trend->intervalIndex(), m_trend->valueAxisMinimum(),
                             m_trend->valueAxisMaximum());
}

void VireoGUI::handleOpmode(int mode)
{
    m_settings->configureForServiceMode(mode == Analyzer::ServiceMode);
    m_trendDownload->configureForServiceMode(mode == Analyzer::ServiceMode);
}

void VireoGUI::requestUpdate()
{
    m_manager->checkStatus();
    Analyzer::ConnectionInterface* connection = m_manager->connection();
    if (!connection->isConnected()) {
        // Half a line left by the dropped link must not be glued to the first
        // line of the next connection.
        m_receiveBuffer->clear();
        connection->connectToServer();
        return;
    }
    // The page's own requests, then whatever of the status it does not ask
    // for itself: the badge, the journal and the procedures need the mode
    // and the alarms whatever page is in front (the journal, the keypad).
    QJsonArray batch;
    if (auto* client = qobject_cast<Analyzer::RPCInterface*>(m_pages.currentWidget()))
        batch = client->updateRequests();
    // A certification run belongs to the analyzer, not to its page: with the
    // journal or a popup in front it is still supervised, and its waits run.
    if (m_certification->isRunning() && m_pages.currentWidget() != m_certification) {
        for (const QJsonValue& request : m_certification->updateRequests())
            batch.append(request);
    }
    for (const QJsonValue& request : m_statusPoll.missingFrom(batch))
        batch.append(request);
    if (!batch.isEmpty())
        sendBatchJson(batch);
    if (m_fileManager) {
        const QJsonArray batch = m_fileManager->updateRequests();
        if (!batch.isEmpty())
            sendBatchJson(batch);
    }
    syncMiniPlot();
}

void VireoGUI::requestUpdate(WindowType typeOfWindow)
{
    if (!m_manager->connection()->isConnected())
        return;
    const int index = m_pageMap.value(typeOfWindow, -1);
    if (auto* client = qobject_cast<Analyzer::RPCInterface*>(m_pages.widget(index))) {
        const QJsonArray batch = client->updateRequests();
        if (!batch.isEmpty())
            sendBatchJson(batch);
    }
}

void VireoGUI::readData()
{
    // The bytes already held are the start of an unfinished line.
    const int searched = m_receiveBuffer->size();
    m_receiveBuffer->append(m_manager->connection()->readAll());
    // Taken out of the buffer first: a server message box below runs a nested
    // event loop, and replies arriving meanwhile continue the unfinished line
    // left in the buffer.
    const QList<QByteArray> lines =
        Analyzer::LineDecoder::takeCompleteLines(*m_receiveBuffer, searched);
    if (m_receiveBuffer->size() > kMaxReceiveBuffer) {
        qWarning() << "Dropping" << m_receiveBuffer->size() << "received bytes without a line end";
        m_receiveBuffer->clear();
    }
    m_lineQueue->append(lines);
    routeWaitingLines();
}

void VireoGUI::routeWaitingLines()
{
    // A reply may open a modal box, whose event loop reads new lines and
    // hears of long ones decoded. They wait for the replies before them:
    // the routing under way takes them up once the box is closed.
    if (m_routing)
        return;
    m_routing = true;
    // A long line is decoded on a thread of its own while the screen goes on;
    // the lines after it wait, and lineDecoded() brings us back here.
    while (const std::optional<QVector<Analyzer::Response>> replies = m_lineQueue->takeNext()) {
        for (const Analyzer::Response& reply : *replies)
            processReply(reply);
    }
    m_routing = false;
}

void VireoGUI::processReply(const Analyzer::Response& reply)
{
    // The state hears first, so a page that reads it while handling its own
    // reply finds it up to date.
    const auto method = m_stateMethods.constFind(reply.id());
    if (method != m_stateMethods.cend())
        m_state->take(*method, reply);
    if (reply.isError() && reply.errorCode() == kServerMessageCode) {
        qDebug().noquote() << "Message from RPC Server:" << reply.errorMessage();
        QMessageBox box(QMessageBox::Warning, tr("Message from RPC Server"),
                        capServerText(reply.errorMessage()), QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        // The socket does not announce data again that arrived while the
        // message was open (we are still inside its announcement); read it as
        // soon as this line is done instead of waiting for the next reply.
        QTimer::singleShot(0, this, &VireoGUI::readData);
    }
    if (m_fileManager->isTransferId(reply.id()))
        m_fileManager->handleResponse(reply);
    else if (!m_clients.route(reply))
        return;
    emit replyRouted(reply.id());
}

void VireoGUI::sendDocument(const QByteArray& compactJson)
{
    Analyzer::ConnectionInterface* connection = m_manager->connection();
    if (connection->isConnected())
        connection->write(compactJson);
}

void VireoGUI::sendJson(Analyzer::Request request)
{
    noteSent(request.json());
    sendDocument(request.toCompactJson());
}

void VireoGUI::sendBatchJson(QJsonArray batch)
{
    for (const QJsonValue& request : batch)
        noteSent(request.toObject());
    sendDocument(QJsonDocument(batch).toJson(QJsonDocument::Compact));
}

void VireoGUI::noteSent(const QJsonObject& request)
{
    // Replies carry only the id; the method it was sent with says whether
    // the reply tells the analyzer's state. An id keeps its method for good
    // (requests are built once), so this settles after the first few ticks.
    const int id = request.value(QLatin1String("id")).toInt();
    const QString method = request.value(QLatin1String("method")).toString();
    if (Analyzer::AnalyzerState::isStateMethod(method))
        m_stateMethods.insert(id, method);
    else
        m_stateMethods.remove(id);
}

void VireoGUI::bringUpKeyboard(QString label, Analyzer::Request& request)
{
    m_keyboard->setLabel(label);
    m_keyboard->clearLine();
    m_pageBeforeKeyboard = m_pages.currentWidget();
    m_pages.setCurrentIndex(m_pageMap.value(KEYBOARD));
    m_keyboardRequest = request;
}

void VireoGUI::putDownKeyboard(bool accepted)
{
    if (accepted) {
        QString text = m_keyboard->getLine();
        QJsonArray params = m_keyboardRequest.params();
        bool appended = false;
        if (text.isEmpty()) {
            // Nothing typed (C, then OK) is no entry.
        } else if (m_keyboardRequest.method() == QLatin1String("date_time")) {
            // The keypad has no colon: the time of day is typed with dots.
            text.replace(QLatin1Char('.'), QLatin1Char(':'));
            params.append(text);
            appended = true;
        } else if (text.count(QLatin1Char('.')) == 3) {
            params.append(text); // an IPv4 address
            appended = true;
        } else {
            bool ok = false;
            const double number = text.toDouble(&ok);
            // JSON has no infinity or NaN; such text is no number to send.
            if (ok && std::isfinite(number)) {
                params.append(number);
                appended = true;
            }
        }
        if (appended) {
            m_keyboardRequest.setParams(params);
            // The settings page bounds its fields as its sliders do, and
            // drops an edit begun in service mode once the gate has closed.
            if (m_clients.clientFor(m_keyboardRequest.id()) == m_settings &&
                !m_keyboardRequest.isGuiOnly())
                appended = m_settings->admitKeypadEntry(m_keyboardRequest);
        }
        if (appended) {
            if (m_keyboardRequest.isGuiOnly()) {
                m_clients.route(Analyzer::Response(m_keyboardRequest));
            } else {
                sendJson(m_keyboardRequest);
                noteSetting(m_keyboardRequest);
            }
        }
    }
    if (m_pageBeforeKeyboard)
        m_pages.setCurrentWidget(m_pageBeforeKeyboard);
    m_pageBeforeKeyboard = nullptr;
}

void VireoGUI::setTitleBarName(QString name)
{
    ui->nameLabel->setServerText(name);
}

void VireoGUI::setTitleBarVersion(QString version)
{
    ui->versionLabel->setServerText(version);
}

void VireoGUI::connectionStatusChanged()
{
    // The popup is modal but does not hold up the poll tick: an unattended
    // panel keeps reconnecting, once per tick, while it is open, and an open
    // popup follows the link until someone closes it. It is made once, so a
    // link that comes and goes costs no new window each time.
    if (!m_connectionPopup) {
        m_connectionPopup = std::make_unique<MessageBox>(nullptr, false);
        m_connectionPopup->setWindowModality(Qt::ApplicationModal);
    }
    Analyzer::ConnectionInterface* connection = m_manager->connection();
    m_connectionPopup->setText(
        (connection->isConnected() ? tr("Restored connection to %1") : tr("Lost connection to %1"))
            .arg(connection->serverName()));
    m_connectionPopup->show();
    m_connectionPopup->raise();

    // The procedures and the settings page hear first whether the link is
    // down, so that a run copying a file ends on the lost link rather than on
    // the failed copy; then a transfer under way ends as cancelled.
    const bool lost = !connection->isConnected();
    m_state->setLink(!lost, connection->serverName());
    m_home->connectionChanged(lost);
    for (Trend::HistoryInterface* history : {m_trendHistory, m_homeHistory}) {
        if (auto* remote = dynamic_cast<Trend::RemoteHistory*>(history))
            remote->forgetUnanswered();
    }
    m_certification->connectionChanged(lost);
    m_calibration->connectionChanged(lost);
    m_settings->connectionChanged(lost);
    // Only a transfer over the link ends with it; a program that runs on the
    // storage side (the trend conversion, the cabinet maker) decides its own
    // outcome, and with nothing under way there is nothing to report.
    if (lost && m_fileManager->isTransferActive())
        m_fileManager->endTransfer(FileManager::cancelledText(), true);
    if (!lost)
        askForHistory(); // history asked for while the link was down never went out
}

void VireoGUI::askForHistory()
{
    m_trend->refreshTrendData();
    m_home->moveMiniPlotXAxis();
}

void VireoGUI::noteSetting(const Analyzer::Request& request)
{
    // A write to the analyzer from a page, just sent (or dropped, without a
    // link); the settings page knows what the analyzer last reported under
    // the same id.
    const bool sent = m_manager->connection()->isConnected();
    EventJournal::note(JournalEvent::Setting, request.method(),
                       sent ? QStringLiteral("sent") : QStringLiteral("dropped"),
                       m_clients.clientFor(request.id()) == m_settings
                           ? m_settings->reportedValue(request.id())
                           : QString(),
                       JournalEvent::valueText(request.params()));
}

void VireoGUI::showJournal()
{
    // Back to the page it was opened from, as it was: a procedure page is not
    // shown through switchToWindow again, which would begin it anew.
    if (m_pages.currentWidget() == m_journalPage)
        return;
    m_pageBeforeJournal = m_pages.currentWidget();
    m_pages.setCurrentWidget(m_journalPage);
}

void VireoGUI::putDownJournal()
{
    m_pages.setCurrentWidget(m_pageBeforeJournal ? m_pageBeforeJournal : m_home);
    m_pageBeforeJournal = nullptr;
}

void VireoGUI::startDownloadFile(FileManager::FileType type, bool hidePopups)
{
    m_fileManager->downloadFile(type, hidePopups);
}

void VireoGUI::startUploadFile(FileManager::FileType type)
{
    // The only upload there is: a settings database.
    Q_UNUSED(type)
    m_fileManager->uploadSettingsFile();
}

void VireoGUI::startDownloadTrend(const QDateTime& start, const QString& units)
{
    m_fileManager->downloadTrendFile(start, units, false);
}

void VireoGUI::shutdown()
{
    // A tick during the wait below would reconnect a dropped link and poll again.
    m_pollTimer->stop();

    // The sources stay alive for the pages that hold them, but nothing they
    // ask for is sent or routed any more; they are destroyed after the pages.
    for (Trend::HistoryInterface* history : {m_trendHistory, m_homeHistory}) {
        if (auto* remote = dynamic_cast<Trend::RemoteHistory*>(history)) {
            m_clients.remove(remote);
            disconnect(remote, &Trend::RemoteHistory::jsonToSend, this, &VireoGUI::sendJson);
        }
    }
    qDebug() << "closed trend history databases";

    disconnect(m_manager, &ConnectionManager::connectionStatusChanged, this,
               &VireoGUI::connectionStatusChanged);

    Analyzer::Request request;
    request.setId(kShutdownRequestId);
    request.setMethod(QStringLiteral("opmode"));
    request.setParams({0});
    sendJson(request);

    processEventsFor(kShutdownWaitMs);
    m_manager->disconnectFromServer();
    qDebug() << "Closing RPC connnection";
    // exit, not quit: Qt 6's quit asks the windows first and waits for the
    // main loop, where the panel must end whatever loop runs, as on Qt 5.
    QCoreApplication::exit(0);
}
