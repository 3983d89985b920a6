#include "analyzer/clientset.h"

#include "analyzer/response.h"
#include "analyzer/rpcinterface.h"

namespace Analyzer {

void ClientSet::add(RPCInterface* client)
{
    if (client && !m_clients.contains(client))
        m_clients.append(client);
}

void ClientSet::remove(RPCInterface* client)
{
    m_clients.removeAll(client);
}

int ClientSet::assignRequestIds(int firstId)
{
    int next = firstId;
    for (RPCInterface* client : qAsConst(m_clients)) {
        client->assignRequestIds(next);
        next = client->lastRequestId() + 1;
    }
    return next;
}

RPCInterface* ClientSet::clientFor(int id) const
{
    if (id <= 0)
        return nullptr;
    for (RPCInterface* client : m_clients) {
        if (client->firstRequestId() <= id && id <= client->lastRequestId())
            return client;
    }
    return nullptr;
}

bool ClientSet::route(const Response& response) const
{
    RPCInterface* client = clientFor(response.id());
    if (!client)
        return false;
    client->handleResponse(response);
    return true;
}

} // namespace Analyzer
