// Helpers shared by the test suites: isolated home folders, closing modal
// popups from a test, screenshots, and where the built programs live.
#pragma once

#include <QString>
#include <QTemporaryDir>
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

/// Saves widget->grab() as NAME.png in the build's screenshot folder; returns the path.
QString saveScreenshot(QWidget* widget, const QString& name);

} // namespace TestSupport
