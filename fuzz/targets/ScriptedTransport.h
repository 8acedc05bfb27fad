#pragma once

#include "ReplyScript.h"

#include "networking/HttpTransport.h"

#include <cstddef>

namespace vantrell::fuzz {

// Answers each request at once with the script's next reply, so a whole fetch runs to its end
// without the event loop. Requests beyond the script fail as transfers.
class ScriptedTransport final : public HttpTransport {
public:
    explicit ScriptedTransport(const ReplyScript& script) : m_script(script) {}

    QCoro::Task<HttpResponse> perform(HttpRequest request) override;

    // Requests seen so far, answered or not.
    std::size_t requestCount() const { return m_next; }

private:
    const ReplyScript& m_script;
    std::size_t m_next = 0;
};

}  // namespace vantrell::fuzz
