// The one stream connection to the analyzer's measurement server, as the
// controller sees it: connect, write one encoded message, read what arrived.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace Analyzer {

class ConnectionInterface : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~ConnectionInterface() override = default;

    /// Tries to connect now and waits briefly; returns whether connected.
    virtual bool connectToServer() = 0;
    virtual void disconnectFromServer() = 0;
    /// Sends one encoded message; the connection appends the line feed.
    virtual void write(QByteArray data) = 0;
    /// Everything received and not yet read; empty when not connected.
    virtual QByteArray readAll() = 0;
    virtual bool isConnected() = 0;
    /// The connection string this object was made with.
    virtual const QString& serverName() = 0;

signals:
    void readyToRead();
    void connectionStatusChanged();
};

} // namespace Analyzer
