#include "ScriptedTransport.h"

namespace vantrell::fuzz {

QCoro::Task<HttpResponse> ScriptedTransport::perform(HttpRequest)
{
    const std::size_t index = m_next++;
    if (index >= m_script.replies.size() || !m_script.replies[index].response) {
        throw HttpTransportError();
    }
    co_return *m_script.replies[index].response;
}

}  // namespace vantrell::fuzz
