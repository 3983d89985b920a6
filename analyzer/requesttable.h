// The request table every multi-request client uses: a contiguous block of ids,
// each bound to a prepared request and its reply handler. Build it inside
// assignRequestIds() by calling the add functions in the order of the screen's
// table, and keep the ids they return for the requests the screen writes.
//
// addValue() and addFlag() carry the rule every screen follows: a reply that
// carries an error leaves what is shown as it was. add() hands every reply,
// errors included, to its handler.
#pragma once

#include "analyzer/requestentry.h"

#include <QJsonArray>
#include <QMap>

namespace Analyzer {

class RequestTable
{
public:
    /// Drops every entry; the next add() takes firstId.
    void reset(int firstId);

    /// Adds a server request for method whose handler sees every reply; returns its id.
    int add(const QString& method, RequestEntry::Handler handler);
    /// Adds a server request whose handler sees only replies without an error.
    int addValue(const QString& method, RequestEntry::Handler handler);
    /// Adds a server request whose replies set flag; error replies leave it.
    int addFlag(const QString& method, bool& flag);
    /// Adds a request that the panel answers itself (keypad entries of local values).
    int addGuiOnly(const QString& tag, RequestEntry::Handler handler);

    // The same, bound to a member function of the client.
    template <class Client>
    int add(const QString& method, Client* client, void (Client::*handler)(const Response&))
    {
        return add(method, bind(client, handler));
    }
    template <class Client>
    int addValue(const QString& method, Client* client, void (Client::*handler)(const Response&))
    {
        return addValue(method, bind(client, handler));
    }
    template <class Client>
    int addGuiOnly(const QString& tag, Client* client, void (Client::*handler)(const Response&))
    {
        return addGuiOnly(tag, bind(client, handler));
    }

    /// Gives the stored request fixed params, sent with every poll of it.
    void setParams(int id, const QJsonArray& params);

    int firstId() const { return m_firstId; }
    /// The last id given out; firstId() - 1 while the table is empty.
    int lastId() const { return m_nextId - 1; }
    int size() const { return m_entries.size(); }
    bool contains(int id) const { return m_entries.contains(id); }

    /// The stored request for id (a copy to set params on), or a fresh one.
    Request request(int id) const;
    /// Every server request in id order, GUI-only entries left out.
    QJsonArray pollRequests() const;
    /// Only the server requests whose ids are listed, in the given order.
    QJsonArray pollRequests(const QList<int>& ids) const;
    /// Runs the handler bound to the reply's id; unknown ids are ignored, and so
    /// are replies to GUI-only entries that are not the panel's local answer.
    void dispatch(const Response& response) const;

private:
    template <class Client>
    static RequestEntry::Handler bind(Client* client, void (Client::*handler)(const Response&))
    {
        return [client, handler](const Response& response) { (client->*handler)(response); };
    }

    QMap<int, RequestEntry> m_entries;
    int m_firstId = 0;
    int m_nextId = 0;
};

} // namespace Analyzer
