// Reads and accepts the panel's message popups (dialogs with a "textLabel")
// as soon as they show, from a timer; other modal dialogs, such as the
// progress popup, are left alone.
#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

namespace TestSupport {

class MessageAnswerer : public QObject
{
public:
    MessageAnswerer();
    void start() { m_timer.start(); }
    void stop() { m_timer.stop(); }

    /// The texts of the popups answered so far, in order.
    QStringList messages;

private:
    QTimer m_timer;
};

} // namespace TestSupport
