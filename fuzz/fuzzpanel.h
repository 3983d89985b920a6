// The whole panel as a fuzz target: the frame window with every page built
// and shown offscreen, connected over a local socket to a stand-in analyzer
// inside the same process, which writes whatever bytes it is given. The
// bytes take the road a reply takes: the controller's line decoding, its
// routing by the real request ids, each page's handler, the painting.
//
// An input is three header bytes and the bytes the analyzer sends:
//   byte 0: the page on view (its value modulo the 13 page identifiers);
//   byte 1: bit 0 set puts the pages in service mode, clear in measure mode;
//   byte 2: where the line decoder's cross-check splits the bytes (byte/256
//           of their length);
//   then:   the analyzer's bytes, sent one line at a time; each line is timed
//           from its write until the panel has handled it and drawn
//           what changed.
// Modal popups that a line opens are closed at once, as an operator would.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

namespace Analyzer {
class RPCInterface;
}
class FileManager;
class MainWindow;
class QLocalSocket;
class VireoGUI;

class FuzzPanel
{
public:
    static constexpr int kHeaderBytes = 3;

    /// Builds the panel; a QApplication must exist. Fails loudly (qFatal)
    /// when the local link cannot be made.
    FuzzPanel();
    ~FuzzPanel();
    FuzzPanel(const FuzzPanel&) = delete;
    FuzzPanel& operator=(const FuzzPanel&) = delete;

    /// Runs one input; false when the panel stopped handling lines (it is
    /// then reported with qFatal by the fuzz target, so it counts as a find).
    bool run(const QByteArray& input);

    /// Lines sent so far, and the longest time one of them took (ms).
    qint64 lines() const { return m_lines; }
    double slowestLineMs() const { return m_slowestNs / 1e6; }
    /// The longest time one line of the last input took (ms).
    double inputSlowestLineMs() const { return m_inputSlowestNs / 1e6; }
    /// Lines that took longer than slowLineMs().
    qint64 slowLines() const { return m_slowLines; }
    static constexpr double slowLineMs() { return 50.0; }
    /// The slowest line so far, for the report.
    QByteArray slowestLine() const { return m_slowestLine; }
    /// Each line slower than slowLineMs() is kept there as an input of its
    /// own (the header of the input it came in, then the line), to be timed
    /// again outside the fuzzer (fuzz-replay). Empty: not kept.
    void setSlowLineFolder(const QString& folder) { m_slowLineFolder = folder; }
    /// Replies of the last input routed to the page it put on view.
    int repliesToPage() const { return m_repliesToPage; }

private:
    bool connectPeer();
    bool sendLine(const QByteArray& line);
    void keepSlowLine(const QByteArray& line, qint64 ns);
    void showPage(int page, bool serviceMode);
    void closeModalPopups();

    QTemporaryDir m_storage;
    QLocalServer m_server;
    QPointer<QLocalSocket> m_peer;
    std::unique_ptr<MainWindow> m_window;
    VireoGUI* m_gui = nullptr;
    FileManager* m_files = nullptr;
    QTimer m_popupCloser;
    int m_serviceMode = -1;
    quint64 m_sentinel = 0;
    qint64 m_lines = 0;
    qint64 m_slowestNs = 0;
    qint64 m_slowLines = 0;
    qint64 m_inputSlowestNs = 0;
    QByteArray m_slowestLine;
    QString m_slowLineFolder;
    QByteArray m_header;
    /// The page the input put on view, when it is a client.
    Analyzer::RPCInterface* m_pageClient = nullptr;
    int m_repliesToPage = 0;
};
