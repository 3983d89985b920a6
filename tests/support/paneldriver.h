// The one way a test starts the whole panel: the frame window in process
// against the analyzer simulator on a free loopback port, with a storage
// folder of its own. By default its poll tick is in the test's hands (tick());
// a test of timing keeps the panel's own timer running, at its own period or
// a shorter one. The driver presses what is on view the way an operator does
// (buttons, tabs, list items, keypad keys), asks the simulator over a
// connection of its own, and looks at the screen.
#pragma once

#include "support/simulatorprocess.h"
#include "widgets/chartsfwd.h"

#include <QImage>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class MainWindow;
class QAbstractButton;
class QWidget;
class VireoGUI;

class PanelDriver
{
public:
    /// The poll timer stopped: the test ticks (the default).
    static constexpr int kTickByHand = 0;
    /// The poll timer running at the panel's own period.
    static constexpr int kPanelsOwnPace = -1;

    /// simulatorArgs go to vireo-sim after its port and state folder; pollMs
    /// is kTickByHand, kPanelsOwnPace or a period of the test's choice.
    explicit PanelDriver(const QStringList& simulatorArgs, int pollMs = kTickByHand);
    ~PanelDriver();

    /// startSimulator(), then startPanel(); false with a reason on failure.
    bool start(QString* error);
    /// Starts the simulator alone, for a test that sets it up before the panel connects.
    bool startSimulator(QString* error);
    /// Makes the frame window against the simulator, its poll timer as asked, and shows it.
    bool startPanel(QString* error);

    MainWindow* window() const { return m_window.get(); }
    VireoGUI* gui() const { return m_gui; }
    TestSupport::SimulatorProcess& simulator() { return m_sim; }
    QString storagePath() const { return m_storage.path(); }
    /// The page the controller shows.
    QWidget* currentPage() const;

    /// One poll tick of the controller.
    void tick();
    /// Presses the named button on the page on view; false (with a warning
    /// saying why) when it is not there, not shown or not enabled.
    bool press(const QString& button);
    /// Presses the named button on the title bar (the status badge).
    bool pressOnTitleBar(const QString& button);
    /// Presses the tab of the named page on the tab widget on view.
    bool pressTab(const QString& tabPage);
    /// Presses the item with this text in the named list on view.
    bool pressListItem(const QString& list, const QString& text);
    /// Types digits (and ".") on the keypad on view and presses OK.
    bool typeOnKeypad(const QString& keys);

    /// The simulator's whole reply, over a connection of the test's own (empty
    /// when it cannot be reached).
    QJsonObject call(const QString& method, const QJsonValue& params = QJsonValue::Undefined);
    /// The reply's result alone.
    QJsonValue ask(const QString& method, const QJsonValue& params = QJsonValue::Undefined);

    /// Saves the window as NAME.png with the other screenshots and returns
    /// what the screen checks find on it (nothing when it is sound).
    QStringList look(const QString& name) const;

    /// Pixels the series draws in the view: the view grabbed as shown, against
    /// the same view without the series, in the series' pen or brush colour.
    static int drawnPixels(QChartView* view, QAbstractSeries* series);

private:
    QWidget* shown(const QString& name) const;
    static bool click(QAbstractButton* target, const QString& name);

    TestSupport::SimulatorProcess m_sim;
    int m_pollMs;
    QTemporaryDir m_storage;
    std::unique_ptr<MainWindow> m_window;
    VireoGUI* m_gui = nullptr;
};
