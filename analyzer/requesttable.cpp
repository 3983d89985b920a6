#include "analyzer/requesttable.h"

#include "analyzer/response.h"

namespace Analyzer {

void RequestTable::reset(int firstId)
{
    m_entries.clear();
    m_firstId = firstId;
    m_nextId = firstId;
}

int RequestTable::add(const QString& method, RequestEntry::Handler handler)
{
    const int id = m_nextId++;
    RequestEntry entry;
    entry.request.setId(id);
    entry.request.setMethod(method);
    entry.handler = std::move(handler);
    m_entries.insert(id, std::move(entry));
    return id;
}

int RequestTable::addValue(const QString& method, RequestEntry::Handler handler)
{
    return add(method, [handler = std::move(handler)](const Response& response) {
        if (!response.isError())
            handler(response);
    });
}

int RequestTable::addFlag(const QString& method, bool& flag)
{
    return add(method, [&flag](const Response& response) {
        if (!response.isError())
            flag = response.toBool();
    });
}

int RequestTable::addGuiOnly(const QString& tag, RequestEntry::Handler handler)
{
    const int id = m_nextId++;
    RequestEntry entry;
    entry.request.setGuiOnly(id, tag);
    entry.handler = std::move(handler);
    m_entries.insert(id, std::move(entry));
    return id;
}

void RequestTable::setParams(int id, const QJsonArray& params)
{
    const auto it = m_entries.find(id);
    if (it != m_entries.end())
        it->request.setParams(params);
}

Request RequestTable::request(int id) const
{
    const auto it = m_entries.constFind(id);
    return it == m_entries.cend() ? Request() : it->request;
}

QJsonArray RequestTable::pollRequests() const
{
    QJsonArray batch;
    for (const RequestEntry& entry : m_entries) {
        if (!entry.request.isGuiOnly())
            batch.append(entry.request.json());
    }
    return batch;
}

QJsonArray RequestTable::pollRequests(const QList<int>& ids) const
{
    QJsonArray batch;
    for (int id : ids) {
        const auto it = m_entries.constFind(id);
        if (it != m_entries.cend() && !it->request.isGuiOnly())
            batch.append(it->request.json());
    }
    return batch;
}

void RequestTable::dispatch(const Response& response) const
{
    const auto it = m_entries.constFind(response.id());
    if (it == m_entries.cend() || !it->handler)
        return;
    // The server was never sent a GUI-only id: a reply carrying one is forged
    // or stray, and must not pass for a keypad answer (the lock takes any code).
    if (it->request.isGuiOnly() && !response.isLocalAnswer())
        return;
    it->handler(response);
}

} // namespace Analyzer
