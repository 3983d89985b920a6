#include "support/paneldriver.h"

#include "app/mainwindow.h"
#include "app/vireogui.h"
#include "base/globals.h"
#include "support/screencheck.h"
#include "support/simclient.h"
#include "support/testsupport.h"
#include "widgets/chartsfwd.h"

#include <QAbstractButton>
#include <QChartView>
#include <QLineSeries>
#include <QListWidget>
#include <QScatterSeries>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

PanelDriver::PanelDriver(const QStringList& simulatorArgs, int pollMs)
    : m_sim(simulatorArgs), m_pollMs(pollMs)
{
}

PanelDriver::~PanelDriver()
{
    m_window.reset();
    m_sim.stop();
}

bool PanelDriver::start(QString* error)
{
    return startSimulator(error) && startPanel(error);
}

bool PanelDriver::startSimulator(QString* error)
{
    if (!m_sim.start()) {
        *error = m_sim.errorString();
        return false;
    }
    return true;
}

bool PanelDriver::startPanel(QString* error)
{
    connectionString() = m_sim.connectionString();
    setStoragePath(m_storage.path());
    m_window = std::make_unique<MainWindow>();
    m_gui = m_window->findChild<VireoGUI*>();
    if (!m_gui) {
        *error = QStringLiteral("the frame window holds no controller");
        return false;
    }
    auto* poll = m_gui->findChild<QTimer*>(QStringLiteral("pollTimer"));
    if (m_pollMs == kTickByHand)
        poll->stop();
    else if (m_pollMs > 0)
        poll->setInterval(m_pollMs);
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get())) {
        *error = QStringLiteral("the window was never shown");
        return false;
    }
    return true;
}

QWidget* PanelDriver::currentPage() const
{
    return m_gui->findChild<QStackedWidget*>(QStringLiteral("pages"))->currentWidget();
}

void PanelDriver::tick()
{
    QMetaObject::invokeMethod(m_gui, "requestUpdate");
}

QWidget* PanelDriver::shown(const QString& name) const
{
    for (QWidget* widget : currentPage()->findChildren<QWidget*>(name)) {
        if (widget->isVisible())
            return widget;
    }
    qWarning().noquote() << "No" << name << "on view on"
                         << currentPage()->metaObject()->className();
    return nullptr;
}

bool PanelDriver::press(const QString& button)
{
    return click(qobject_cast<QAbstractButton*>(shown(button)), button);
}

bool PanelDriver::pressOnTitleBar(const QString& button)
{
    auto* target = m_gui->findChild<QAbstractButton*>(button);
    if (!target || !target->isVisible() || currentPage()->isAncestorOf(target)) {
        qWarning().noquote() << "No" << button << "on the title bar";
        return false;
    }
    return click(target, button);
}

bool PanelDriver::click(QAbstractButton* target, const QString& name)
{
    if (!target)
        return false;
    if (!target->isEnabled()) {
        qWarning().noquote() << name << "is not enabled";
        return false;
    }
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    return true;
}

bool PanelDriver::pressTab(const QString& tabPage)
{
    for (QTabWidget* tabs : currentPage()->findChildren<QTabWidget*>()) {
        const int index = tabs->indexOf(tabs->findChild<QWidget*>(tabPage));
        if (!tabs->isVisible() || index < 0)
            continue;
        QTabBar* bar = tabs->tabBar();
        if (!bar->isTabEnabled(index)) {
            qWarning().noquote() << "The tab of" << tabPage << "is not enabled";
            return false;
        }
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        return tabs->currentIndex() == index;
    }
    qWarning().noquote() << "No tab" << tabPage << "on view";
    return false;
}

bool PanelDriver::pressListItem(const QString& list, const QString& text)
{
    auto* view = qobject_cast<QListWidget*>(shown(list));
    if (!view)
        return false;
    const QList<QListWidgetItem*> items = view->findItems(text, Qt::MatchExactly);
    if (items.isEmpty()) {
        qWarning().noquote() << "No item" << text << "in" << list;
        return false;
    }
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualItemRect(items.first()).center());
    return true;
}

bool PanelDriver::typeOnKeypad(const QString& keys)
{
    for (const QChar key : keys) {
        const QString name = key == QLatin1Char('.') ? QStringLiteral("pushButton_Dot")
                                                     : QStringLiteral("pushButton_") + key;
        if (!press(name))
            return false;
    }
    return press(QStringLiteral("pushButton_OK"));
}

QJsonObject PanelDriver::call(const QString& method, const QJsonValue& params)
{
    SimClient client;
    return client.connectTo(m_sim.port()) ? client.call(method, params) : QJsonObject();
}

QJsonValue PanelDriver::ask(const QString& method, const QJsonValue& params)
{
    return call(method, params).value(QStringLiteral("result"));
}

QStringList PanelDriver::look(const QString& name) const
{
    QCoreApplication::processEvents(); // layouts settle before the grab
    TestSupport::saveScreenshot(m_window.get(), name);
    return TestSupport::screenFindings(m_window.get());
}

int PanelDriver::drawnPixels(QChartView* view, QAbstractSeries* series)
{
    QList<QColor> colours;
    if (auto* scatter = qobject_cast<QScatterSeries*>(series))
        colours << scatter->brush().color() << scatter->pen().color();
    else if (auto* line = qobject_cast<QLineSeries*>(series))
        colours << line->pen().color();
    const QImage drawn = view->grab().toImage();
    series->setVisible(false);
    const QImage background = view->grab().toImage();
    series->setVisible(true);
    int pixels = 0;
    for (const QColor& colour : colours)
        pixels += TestSupport::pixelsDrawnIn(drawn, background, colour);
    return pixels;
}
