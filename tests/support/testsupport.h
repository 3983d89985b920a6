// Helpers shared by the test suites: isolated home folders, closing modal
// popups from a test, screenshots, and where the built programs live.
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <ctime>
#include <functional>

class QWidget;
class QDialog;

namespace TestSupport {

/// A fresh, empty HOME for one test (settings store and GUI.log land there);
/// the previous HOME comes back when the object goes away, but the settings
/// store stays pointed at the last isolated folder.
class IsolatedHome
{
public:
    IsolatedHome();
    ~IsolatedHome();
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previousHome;
    QByteArray m_previousConfigHome;
};

/// Makes a folder read-only for this process while the object lives: a
/// read-only bind mount as root (root writes through file modes), its modes
/// otherwise. isReadOnly() is false, with the reason in why(), when that
/// could not be done; a test then skips.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString& path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool isReadOnly() const { return m_readOnly; }
    QString why() const { return m_why; }

private:
    QString m_path;
    bool m_mounted = false;
    bool m_readOnly = false;
    QString m_why;
};

/// A tmpfs of the given size mounted on a folder while the object lives: a
/// storage folder that fills up, or that goes away mid-transfer. Mounting
/// needs root; isMounted() is false otherwise, with the reason in why(), and
/// a test then skips.
class SmallVolume
{
public:
    SmallVolume(const QString& path, qint64 bytes);
    ~SmallVolume();
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;

    bool isMounted() const { return m_mounted; }
    QString why() const { return m_why; }
    /// Takes the volume away at once, even with files open on it (a lazy
    /// unmount, as a pulled USB stick leaves them); the empty folder under
    /// it shows again.
    bool remove();

private:
    QString m_path;
    bool m_mounted = false;
    QString m_why;
};

/// The folder that holds marlomax, the launcher, the simulator and the stand-ins.
QString binDir();

/// Runs action on the next modal widget that appears (polled from a zero-delay
/// timer, giving up after timeoutMs). Use it right before the code that opens the popup.
void onNextModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);
/// Accepts (or rejects) the next modal dialog.
void acceptNextModal(bool accept = true, int timeoutMs = 5000);
/// The message of the panel's modal popup on screen (its "textLabel"), or nothing.
QString modalPopupText();

/// Accepts every modal dialog that appears until stopAcceptingModals() is called.
void keepAcceptingModals();
void stopAcceptingModals();

/// The named child widget; the test fails loudly when the form lacks it.
template <typename T> T* child(QWidget* parent, const QString& name)
{
    T* widget = parent->findChild<T*>(name);
    if (!widget)
        qFatal("no child %s", qPrintable(name));
    return widget;
}

/// A reply object as the server sends it: {"id": id, "result": result}.
QJsonObject replyJson(int id, const QJsonValue& result);
/// An error reply: {"id": id, "error": {"code": code, "message": "..."}}.
QJsonObject errorJson(int id, int code = 2);
/// The methods of a line sent to the analyzer (a batch or one request), in order.
QStringList methodsIn(const QByteArray& line);

/// The whole seconds an age label shows ("12 s ago"), or -1 for any other
/// text. Ages count on the real clock, where a busy machine may skip one shown.
int ageSeconds(const QString& text);

/// Whether today still holds too few of the simulator's samples for the trend
/// page to frame (its first hours): a test then pages back to the day before,
/// which the simulator's backfill covers.
bool todayTooShortForTrend();

/// Saves widget->grab() as NAME.png in the build's screenshot folder; returns the path.
QString saveScreenshot(QWidget* widget, const QString& name);

} // namespace TestSupport

/// The main() of a test that runs in the time zone zone (as TZ names it),
/// whatever zone the machine runs in. Application: QApplication or QCoreApplication.
#define MARLOMAX_TEST_MAIN_IN_ZONE(TestClass, Application, zone)                                   \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        qputenv("TZ", zone);                                                                       \
        tzset();                                                                                   \
        Application app(argc, argv);                                                               \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
