// A prepared request together with the handler its replies go to.
#pragma once

#include "analyzer/request.h"

#include <functional>

namespace Analyzer {

class Response;

struct RequestEntry
{
    using Handler = std::function<void(const Response&)>;

    Request request;
    Handler handler;
};

} // namespace Analyzer
