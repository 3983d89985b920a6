// The controller's own requests for the analyzer's status (the mode and the
// alarm flags), so that the status is read on every page, not only on those
// that ask for it. Each tick they go out with the batch of the page on view,
// but only those the page does not ask for itself; they carry ids of their
// own, past every client's block, and their replies feed only the state.
#pragma once

#include "analyzer/request.h"

#include <QJsonArray>
#include <QVector>

namespace Analyzer {

class StatusPoll
{
public:
    /// Gives the status requests the ids firstId, firstId + 1, ...; returns the next free id.
    int assignRequestIds(int firstId);
    int firstRequestId() const { return m_firstId; }
    int lastRequestId() const { return m_firstId + m_requests.size() - 1; }
    bool owns(int id) const
    {
        return !m_requests.isEmpty() && id >= m_firstId && id <= lastRequestId();
    }

    /// The status requests for the methods that batch does not ask for, in
    /// the order of the status methods; to be sent with it.
    QJsonArray missingFrom(const QJsonArray& batch) const;

private:
    QVector<Request> m_requests;
    int m_firstId = 0;
};

} // namespace Analyzer
