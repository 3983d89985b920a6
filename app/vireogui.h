// The controller: owns the analyzer connection and every page, polls the
// visible page once a second, sends what the pages emit, routes each reply to
// its client by id, runs keypad entry, reports lost and restored connections
// and shuts the analyzer down in order. Pages never talk to each other or to
// the connection; everything goes through here.
#pragma once

#include "analyzer/clientset.h"
#include "analyzer/request.h"
#include "analyzer/statuspoll.h"
#include "files/filemanager.h"
#include "widgets/windowtype.h"

#include <QDateTime>
#include <QHash>
#include <QJsonArray>
#include <QMap>
#include <QStackedWidget>
#include <QWidget>
#include <memory>

class CalibrationWindow;
class CertificationWindow;
class ConnectionManager;
class EventJournal;
class HomeWindow;
class JournalWindow;
class KeyboardWindow;
class MessageBox;
class QTimer;
class SettingsWindow;
class TrendDownload;
class TrendWindow;

namespace Analyzer {
class AnalyzerState;
class LineQueue;
class RPCInterface;
class Response;
} // namespace Analyzer

namespace Trend {
class HistoryInterface;
}

namespace Ui {
class VireoGUI;
}

class VireoGUI : public QWidget
{
    Q_OBJECT

public:
    /// Connects once to the analyzer named by connectionString (host:port, or
    /// a local socket name) and builds every page; a failed connect is retried
    /// by the poll tick.
    VireoGUI(const QString& connectionString, QWidget* parent);
    ~VireoGUI() override;

    /// What the panel knows of the analyzer's state, whatever page is shown.
    Analyzer::AnalyzerState* analyzerState() const { return m_state; }

signals:
    /// A reply reached the client that owns its id (sent after its handler ran).
    void replyRouted(int id);

public slots:
    void switchToWindow(WindowType window);
    void shutdown();

private slots:
    void handleOpmode(int mode);
    void requestUpdate();
    void requestUpdate(WindowType typeOfWindow);
    void readData();
    void routeWaitingLines();
    void sendJson(Analyzer::Request request);
    void sendBatchJson(QJsonArray batch);
    void bringUpKeyboard(QString label, Analyzer::Request& request);
    void putDownKeyboard(bool accepted);
    void setTitleBarName(QString name);
    void setTitleBarVersion(QString version);
    void connectionStatusChanged();
    void startDownloadFile(FileManager::FileType type, bool hidePopups);
    void startUploadFile(FileManager::FileType type);
    void startDownloadTrend(const QDateTime& start, const QString& units);
    void showJournal();
    void putDownJournal();
    void noteSetting(const Analyzer::Request& request);

private:
    void addPage(WindowType type, QWidget* page);
    void processReply(const Analyzer::Response& reply);
    void syncMiniPlot();
    void askForHistory();
    void sendDocument(const QByteArray& compactJson);
    /// Remembers which ids carry a method the analyzer's state is fed by.
    void noteSent(const QJsonObject& request);

    /// Opened first and closed last: every page may note events in it.
    std::unique_ptr<EventJournal> m_journal;
    Analyzer::Request m_keyboardRequest;
    Ui::VireoGUI* ui;
    QStackedWidget m_pages;
    Analyzer::ClientSet m_clients;
    QMap<WindowType, int> m_pageMap;
    QWidget* m_pageBeforeKeyboard = nullptr;
    HomeWindow* m_home = nullptr;
    SettingsWindow* m_settings = nullptr;
    TrendWindow* m_trend = nullptr;
    TrendDownload* m_trendDownload = nullptr;
    KeyboardWindow* m_keyboard = nullptr;
    std::unique_ptr<QByteArray> m_receiveBuffer;
    /// Complete lines on their way to replies, in the order they came.
    Analyzer::LineQueue* m_lineQueue = nullptr;
    /// Replies are being routed: a nested event loop (a message box opened
    /// by a reply) routes nothing, so every reply keeps its place.
    bool m_routing = false;
    QTimer* m_pollTimer = nullptr;
    ConnectionManager* m_manager = nullptr;
    /// Polled on every tick next to the visible page.
    FileManager* m_fileManager = nullptr;
    CertificationWindow* m_certification = nullptr;
    CalibrationWindow* m_calibration = nullptr;
    // Children of this widget, so destroyed after m_pages (a member) has
    // deleted the pages that hold them: every page may keep a plain pointer.
    Trend::HistoryInterface* m_trendHistory = nullptr;
    Trend::HistoryInterface* m_homeHistory = nullptr;
    /// The lost/restored popup, made once and shown again on each change.
    std::unique_ptr<MessageBox> m_connectionPopup;
    /// The analyzer's link, mode, alarms and freshness, fed by every reply to
    /// a status method whichever page asked; the badge and the journal follow it.
    Analyzer::AnalyzerState* m_state = nullptr;
    /// The mode and the alarm flags, asked on every tick the page on view does not ask them.
    Analyzer::StatusPoll m_statusPoll;
    /// The method of every id sent that feeds the state.
    QHash<int, QString> m_stateMethods;
    JournalWindow* m_journalPage = nullptr;
    /// The page to return to when the journal closes (null otherwise).
    QWidget* m_pageBeforeJournal = nullptr;
};
