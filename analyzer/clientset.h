// The controller's set of RPC clients: gives each a contiguous block of ids
// and routes every reply to the one client whose block holds its id.
#pragma once

#include <QList>

namespace Analyzer {

class RPCInterface;
class Response;

class ClientSet
{
public:
    /// Adds a client once; the order of addition is the order of id blocks.
    void add(RPCInterface* client);
    void remove(RPCInterface* client);
    bool contains(RPCInterface* client) const { return m_clients.contains(client); }
    const QList<RPCInterface*>& clients() const { return m_clients; }

    /// Gives out blocks starting at firstId (2: id 1 is the shutdown request's);
    /// returns the next free id.
    int assignRequestIds(int firstId = 2);
    /// The client whose id block holds id, or null (ids of 0 and below belong to nobody).
    RPCInterface* clientFor(int id) const;
    /// Hands the reply to its client; returns false when nobody owns the id.
    bool route(const Response& response) const;

private:
    QList<RPCInterface*> m_clients;
};

} // namespace Analyzer
