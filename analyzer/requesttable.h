// The request table every multi-request client uses: a contiguous block of ids,
// each bound to a prepared request and its reply handler. Build it inside
// assignRequestIds() by calling add()/addGuiOnly() in a fixed order.
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

    /// Adds a server request for method; returns its id.
    int add(const QString& method, RequestEntry::Handler handler);
    /// Adds a request that the panel answers itself (keypad entries of local values).
    int addGuiOnly(const QString& tag, RequestEntry::Handler handler);

    int firstId() const { return m_firstId; }
    /// The last id given out; firstId() - 1 while the table is empty.
    int lastId() const { return m_nextId - 1; }
    int size() const { return m_entries.size(); }
    bool contains(int id) const { return m_entries.contains(id); }

    /// The stored request for id (a copy to set params on), or a fresh one.
    Request request(int id) const;
    /// The stored request of the entry at offset from the first id.
    Request requestAt(int offset) const { return request(m_firstId + offset); }
    /// Every server request in id order, GUI-only entries left out.
    QJsonArray pollRequests() const;
    /// Only the server requests whose ids are listed, in the given order.
    QJsonArray pollRequests(const QList<int>& ids) const;
    /// Runs the handler bound to the reply's id; unknown ids are ignored.
    void dispatch(const Response& response) const;

private:
    QMap<int, RequestEntry> m_entries;
    int m_firstId = 0;
    int m_nextId = 0;
};

} // namespace Analyzer
