// Drives the whole panel the way an operator does, for the suites that look at
// the screen: the frame window in process against the analyzer simulator, its
// poll tick in the test's hands, pages reached only by pressing what is on
// view (buttons, tabs, list items, keypad keys). A new page or another
// language runs through the same driver and the same screen checks.
#pragma once

#include "support/simulatorprocess.h"
#include "widgets/chartsfwd.h"

#include <QImage>
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
    /// simulatorArgs go to vireo-sim after its port and state folder.
    explicit PanelDriver(const QStringList& simulatorArgs);
    ~PanelDriver();

    /// Starts the simulator, then the frame window with its poll timer
    /// stopped, and shows it; false with a reason on failure.
    bool start(QString* error);

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

    /// One reply value from the simulator, over a connection of the test's own.
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
    QTemporaryDir m_storage;
    std::unique_ptr<MainWindow> m_window;
    VireoGUI* m_gui = nullptr;
};
