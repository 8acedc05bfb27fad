#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace vantrell {

// A one-shot signal to abandon work in flight. A fan-out that stops at its first failure
// cancels the token shared by its other requests; the transport gives up those transfers, which
// then end with a network error. Used on one thread only.
class CancellationToken {
public:
    static std::shared_ptr<CancellationToken> create()
    {
        return std::make_shared<CancellationToken>();
    }

    bool isCancelled() const { return m_cancelled; }

    // Runs every registered callback once; later calls do nothing.
    void cancel();

    // Registers a callback run on cancel() (at once when already cancelled). The returned
    // number removes it again with removeCallback().
    int onCancel(std::function<void()> callback);
    void removeCallback(int id);

private:
    bool m_cancelled = false;
    int m_nextId = 0;
    std::vector<std::pair<int, std::function<void()>>> m_callbacks;
};

}  // namespace vantrell
