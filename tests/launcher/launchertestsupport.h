// Shared by the launcher's tests: a fresh HOME with the settings store inside
// it for every test, and small helpers for the launcher's modal popups.
#pragma once

#include "launcher/connectionentry.h"
#include "launcher/settings.h"
#include "support/testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QMetaType>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

/// A fresh HOME, with the launcher's store inside it, for every test.
class LauncherStore
{
public:
    QString home() const { return m_home.path(); }

    /// The launcher's store as the launcher opens it.
    static std::unique_ptr<QSettings> open()
    {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                           QStringLiteral("Orvalis"),
                                           QStringLiteral("Marlo Max Launcher"));
    }

    /// Stores entries as the launcher's list, replacing what was there.
    static void seed(const QList<ConnectionEntry>& entries)
    {
        Settings settings;
        for (const ConnectionEntry& entry : entries)
            settings.append(entry);
        QVERIFY(settings.save());
    }

    /// The list as the launcher would load it now.
    static QList<ConnectionEntry> stored()
    {
        Settings settings;
        settings.load();
        return settings.connections();
    }

    /// Moves the store below a regular file, where it can never be written.
    void makeUnwritable()
    {
        const QString blocker = m_home.path() + QStringLiteral("/blocker");
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           blocker + QStringLiteral("/cfg"));
    }

    /// The store's file, as the launcher finds it.
    static QString fileName() { return open()->fileName(); }

    /// Replaces the file at path with these bytes. Taking the path before,
    /// not from a QSettings made after, matters: QSettings reports a file it
    /// cannot parse only to the first object that reads it.
    static void writeRaw(const QString& path, const QByteArray& bytes)
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QByteArray readRaw(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    TestSupport::IsolatedHome m_home;
};

/// Runs action on the next modal popup if it is a T (a message box, a dialog).
template <typename T> void onNextModalOf(std::function<void(T*)> action)
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

/// A stand-in panel that appends one line per start to log: each argument in brackets.
inline void writeStandIn(const QString& folder, const QString& log, bool executable = true)
{
    QFile script(folder + QStringLiteral("/marlomax"));
    QVERIFY(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
    script.write(
        "#!/bin/sh\n{ for a in \"$@\"; do printf '[%s]' \"$a\"; done; printf '\\n'; } >> '" +
        QFile::encodeName(log) + "'\n");
    script.close();
    QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (executable)
        permissions |= QFileDevice::ExeOwner;
    QVERIFY(script.setPermissions(permissions));
}

inline QString readLog(const QString& log)
{
    QFile file(log);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

/// Counts the message boxes shown while it lives, and closes each one.
struct PopupCounter : QObject
{
    PopupCounter() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                ++shown;
                QTimer::singleShot(0, box, &QDialog::accept);
            }
        }
        return false;
    }
    int shown = 0;
};

Q_DECLARE_METATYPE(ConnectionEntry)

namespace QTest {
template <> inline char* toString(const ConnectionEntry& entry)
{
    return QTest::toString(QStringLiteral("{%1 | %2 | %3}")
                               .arg(entry.nickname, entry.connectionString, entry.storageLocation));
}
} // namespace QTest
