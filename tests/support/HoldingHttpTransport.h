#pragma once

#include "networking/HttpTransport.h"

#include <QCoroTask>

#include <chrono>
#include <memory>

namespace vantrell {

// Passes every request on to another transport (the real one, in integration tests) and counts
// the requests started and ended, so a test can wait until nothing is in flight any more, even
// when every caller of the requests is gone.
//
// While holding, each outcome (the response, or the failed transfer) is kept back once it has
// arrived, until releaseAll() or a cancel of the request's token lets it through; a held request
// whose token was cancelled ends as a failed transfer, as a real reply arriving after a cancel
// does. Held requests resume from the event loop, never inside the call that released them.
//
//     HoldingHttpTransport transport(NetworkHttpTransport::shared());
//     transport.setHolding(true);
//     ... start fetches, drop their owners ...
//     ASSERT_TRUE(transport.drain());  // releases everything and waits until all has ended
//
// Must outlive the requests in flight. Main thread only.
class HoldingHttpTransport final : public HttpTransport {
public:
    explicit HoldingHttpTransport(HttpTransport& inner);
    ~HoldingHttpTransport() override;
    HoldingHttpTransport(const HoldingHttpTransport&) = delete;
    HoldingHttpTransport& operator=(const HoldingHttpTransport&) = delete;

    void setHolding(bool holding);

    int started() const;
    int ended() const;
    int inFlight() const { return started() - ended(); }
    // Outcomes that have arrived and wait for a release.
    int heldCount() const;

    void releaseAll();
    // Runs the event loop, releasing whatever is held, until no request is in flight. False when
    // that takes longer than `limit`: some request never ended.
    bool drain(std::chrono::milliseconds limit = std::chrono::seconds(10));

    QCoro::Task<HttpResponse> perform(HttpRequest request) override;

private:
    struct State;
    class EndCount;

    static QCoro::Task<HttpResponse> forward(HttpTransport& inner, std::shared_ptr<State> state,
                                             HttpRequest request);

    HttpTransport& m_inner;
    std::shared_ptr<State> m_state;
};

}  // namespace vantrell
