// The client role: every object that talks to the analyzer gets a block of
// request ids from the controller, is polled for the requests it wants sent and
// receives the replies that carry its ids. Replies are matched by id alone.
#pragma once

#include <QJsonArray>
#include <QtPlugin>

namespace Analyzer {

class Response;

class RPCInterface
{
public:
    virtual ~RPCInterface() = default;

    /// (Re)builds the client's requests with ids firstId, firstId + 1, ...
    virtual void assignRequestIds(int firstId) = 0;
    virtual int firstRequestId() = 0;
    virtual int lastRequestId() = 0;
    /// The request objects to send on this poll; may be empty.
    virtual QJsonArray updateRequests() = 0;
    /// One reply whose id lies in [firstRequestId(), lastRequestId()].
    virtual void handleResponse(const Analyzer::Response& response) = 0;
};

} // namespace Analyzer

Q_DECLARE_INTERFACE(Analyzer::RPCInterface, "Analyzer::RPCInterface")
