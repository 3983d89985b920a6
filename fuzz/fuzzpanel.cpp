#include "fuzzpanel.h"

#include "analyzer/analyzerfacts.h"
#include "analyzer/linedecoder.h"
#include "analyzer/rpcinterface.h"
#include "app/mainwindow.h"
#include "app/vireogui.h"
#include "base/globals.h"
#include "files/filemanager.h"
#include "trend/remotehistory.h"
#include "widgets/windowtype.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLocalSocket>
#include <QStackedWidget>
#include <QWidget>
#include <algorithm>

namespace {
constexpr int kPages = JOURNAL + 1;
// A line the panel has not handled in this time has hung it.
constexpr qint64 kStuckAfterMs = 10000;
constexpr int kConnectWaitMs = 5000;
} // namespace

FuzzPanel::FuzzPanel()
{
    setIsRemote(true); // as the launcher starts it: the trend histories are clients
    setStoragePath(m_storage.path());
    const QString name = QStringLiteral("marlomax-fuzz-%1").arg(QCoreApplication::applicationPid());
    QLocalServer::removeServer(name);
    if (!m_server.listen(name))
        qFatal("fuzz panel: cannot listen on %s", qPrintable(name));
    // A name without a colon: the controller takes it for a local socket.
    connectionString() = m_server.fullServerName();
    m_window = std::make_unique<MainWindow>();
    m_gui = m_window->findChild<VireoGUI*>();
    m_files = m_gui->findChild<FileManager*>();
    // The input decides when lines come; the poll tick would only add requests.
    m_gui->findChild<QTimer*>(QStringLiteral("pollTimer"))->stop();
    QObject::connect(m_gui, &VireoGUI::replyRouted, [this](int id) {
        if (m_pageClient && id >= m_pageClient->firstRequestId() &&
            id <= m_pageClient->lastRequestId())
            ++m_repliesToPage;
    });
    m_popupCloser.setInterval(0);
    QObject::connect(&m_popupCloser, &QTimer::timeout, [this] { closeModalPopups(); });
    m_popupCloser.start();
    if (!m_server.waitForNewConnection(kConnectWaitMs))
        qFatal("fuzz panel: the panel did not connect");
    m_peer = m_server.nextPendingConnection();
    m_window->show();
    QCoreApplication::processEvents();
}

FuzzPanel::~FuzzPanel()
{
    m_popupCloser.stop();
    m_window.reset();
}

void FuzzPanel::closeModalPopups()
{
    // Server messages, transfer results and the file chooser run modal
    // loops of their own; the operator closes each one as it comes.
    if (QWidget* popup = QApplication::activeModalWidget())
        popup->close();
}

bool FuzzPanel::connectPeer()
{
    // The panel dropped the link (its shutdown does): one tick reports it and
    // reconnects, the next reports the return.
    for (int tick = 0; tick < 3 && m_server.hasPendingConnections() == false; ++tick) {
        QMetaObject::invokeMethod(m_gui, "requestUpdate");
        QCoreApplication::processEvents();
    }
    if (!m_server.waitForNewConnection(kConnectWaitMs))
        return false;
    m_peer = m_server.nextPendingConnection();
    QMetaObject::invokeMethod(m_gui, "requestUpdate");
    return true;
}

void FuzzPanel::showPage(int page, bool serviceMode)
{
    if (int(serviceMode) != m_serviceMode) {
        m_serviceMode = int(serviceMode);
        QMetaObject::invokeMethod(
            m_gui, "handleOpmode",
            Q_ARG(int, serviceMode ? Analyzer::ServiceMode : Analyzer::MeasureMode));
    }
    // Every time, so that the certification procedure starts over per input.
    m_gui->switchToWindow(WindowType(page % kPages));
    // Each history source takes a reply only to the request it has out: one
    // each, asked anew, so that the input's history replies reach the charts.
    for (auto* history : m_gui->findChildren<Trend::RemoteHistory*>()) {
        history->forgetUnanswered();
        history->refresh();
    }
    m_pageClient = dynamic_cast<Analyzer::RPCInterface*>(
        m_gui->findChild<QStackedWidget*>(QStringLiteral("pages"))->currentWidget());
    m_repliesToPage = 0;
}

bool FuzzPanel::sendLine(const QByteArray& line)
{
    if (!m_peer || m_peer->state() != QLocalSocket::ConnectedState) {
        if (!connectPeer())
            return false;
    }
    // After the line, a serial number reply with a text no analyzer sends:
    // once the panel shows it, the line before it has been handled.
    const QString sentinel = QStringLiteral("fuzz-sentinel-%1").arg(++m_sentinel);
    const QByteArray sentinelLine = R"({"id":)" + QByteArray::number(m_files->lastRequestId()) +
                                    R"(,"result":")" + sentinel.toLatin1() + "\"}\n";
    QElapsedTimer clock;
    clock.start();
    m_peer->write(line + '\n' + sentinelLine);
    m_peer->flush();
    while (m_files->serialNumber() != sentinel) {
        if (clock.elapsed() > kStuckAfterMs) {
            qWarning().noquote() << "fuzz panel: no answer to" << line.left(200);
            return false;
        }
        QCoreApplication::processEvents();
        if (!m_peer || m_peer->state() != QLocalSocket::ConnectedState)
            break;         // the line ended the link; the next one reconnects
        m_peer->readAll(); // what the panel asks for goes nowhere
    }
    const qint64 ns = clock.nsecsElapsed();
    ++m_lines;
    m_inputSlowestNs = std::max(m_inputSlowestNs, ns);
    if (ns > m_slowestNs) {
        m_slowestNs = ns;
        m_slowestLine = line.left(300).toPercentEncoding(" {}[]\":,.-_");
    }
    if (ns > qint64(slowLineMs() * 1e6)) {
        ++m_slowLines;
        keepSlowLine(line, ns);
    }
    return true;
}

void FuzzPanel::keepSlowLine(const QByteArray& line, qint64 ns)
{
    if (m_slowLineFolder.isEmpty())
        return;
    QFile file(
        QStringLiteral("%1/slow-%2ms-%3").arg(m_slowLineFolder).arg(ns / 1000000).arg(m_lines));
    if (file.open(QIODevice::WriteOnly))
        file.write(m_header + line);
}

bool FuzzPanel::run(const QByteArray& input)
{
    if (input.size() < kHeaderBytes)
        return true;
    const auto header = reinterpret_cast<const unsigned char*>(input.constData());
    const QByteArray payload = input.mid(kHeaderBytes);
    m_header = input.left(kHeaderBytes);
    m_inputSlowestNs = 0;

    // The decoder must find the same lines however the bytes are cut.
    QByteArray whole = payload + '\n';
    const QList<QByteArray> lines = Analyzer::LineDecoder::takeCompleteLines(whole);
    const int split = int(qint64(payload.size()) * header[2] / 256);
    QByteArray pieces = payload.left(split);
    QList<QByteArray> pieceLines = Analyzer::LineDecoder::takeCompleteLines(pieces);
    pieces += payload.mid(split) + '\n';
    pieceLines += Analyzer::LineDecoder::takeCompleteLines(pieces);
    if (lines != pieceLines || !whole.isEmpty() || !pieces.isEmpty())
        qFatal("fuzz panel: the line decoder cut %d bytes split at %d differently", payload.size(),
               split);

    showPage(header[0], header[1] & 1);
    for (const QByteArray& line : lines) {
        if (!line.isEmpty() && !sendLine(line))
            return false;
    }
    return true;
}
