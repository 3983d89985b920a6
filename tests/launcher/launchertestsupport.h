// Shared by the launcher's tests: a fresh HOME with the settings store inside
// it for every test, and small helpers for the launcher's modal popups.
#pragma once

#include "launcher/connectionentry.h"
#include "support/testsupport.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QMetaType>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <functional>
#include <memory>

/// QSettings remembers where the native store lives from its first use in the
/// process, so the location is set again for every test, inside its own HOME.
class LauncherStore
{
public:
    LauncherStore()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_home.path() + QStringLiteral("/.config"));
    }

    QString home() const { return m_home.path(); }

    /// The launcher's store as the launcher opens it.
    static std::unique_ptr<QSettings> open()
    {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QStringLiteral("Orvalis"),
                                           QStringLiteral("Marlo Max Launcher"));
    }

private:
    TestSupport::IsolatedHome m_home;
};

/// Runs action on the next modal popup if it is a T (a message box, a dialog).
template<typename T>
void onNextModalOf(std::function<void(T*)> action)
{
    TestSupport::onNextModal([action](QWidget* modal) {
        if (auto* popup = qobject_cast<T*>(modal))
            action(popup);
    });
}

/// What a message box showed before the test pressed one of its buttons.
struct ShownMessage
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

/// Records the next message box into shown and presses button (or closes it).
inline void answerNextMessage(ShownMessage& shown,
                              QMessageBox::StandardButton button = QMessageBox::NoButton)
{
    onNextModalOf<QMessageBox>([&shown, button](QMessageBox* box) {
        shown = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        if (QAbstractButton* pressed = box->button(button))
            pressed->click();
        else
            box->accept();
    });
}

Q_DECLARE_METATYPE(ConnectionEntry)

namespace QTest {
template<>
inline char* toString(const ConnectionEntry& entry)
{
    return QTest::toString(QStringLiteral("{%1 | %2 | %3}")
                               .arg(entry.nickname, entry.connectionString, entry.storageLocation));
}
} // namespace QTest
