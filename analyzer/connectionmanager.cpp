#include "analyzer/connectionmanager.h"

#include "analyzer/localconnection.h"
#include "analyzer/remoteconnection.h"

ConnectionManager::ConnectionManager(const QString& connectionString, QObject* parent)
    : QObject(parent)
{
    if (connectionString.contains(QLatin1Char(':')))
        m_connection = new Analyzer::RemoteConnection(connectionString, parent);
    else
        m_connection = new Analyzer::LocalConnection(connectionString, parent);
}

ConnectionManager::~ConnectionManager()
{
    m_lastConnected = false;
    m_connection->disconnectFromServer();
    delete m_connection;
}

bool ConnectionManager::connectToServer()
{
    m_lastConnected = m_connection->connectToServer();
    return m_lastConnected;
}

void ConnectionManager::disconnectFromServer()
{
    m_lastConnected = false;
    m_connection->disconnectFromServer();
}

void ConnectionManager::checkStatus()
{
    const bool connected = m_connection->isConnected();
    if (connected == m_lastConnected)
        return;
    m_lastConnected = connected;
    emit connectionStatusChanged();
}
