#pragma once

#include <QtGlobal>

#include <chrono>
#include <coroutine>
#include <functional>
#include <memory>
#include <utility>

class QNetworkReply;
class QUrl;

namespace vantrell {

class CancellationToken;

// Awaits the end of one reply, which it never aborts: Qt reports a failure that is already on its
// way from the network thread as a second error when the reply was aborted meanwhile (and prints
// a warning). A reply given up on (cancelled, timed out, redirected to another origin) is let go
// instead: the awaiting coroutine resumes, and deleting the reply drops its transfer.
//
//     ReplyWatch watch(*reply, settings);
//     const ReplyWatch::End end = co_await watch.ended();
//
// The reply must outlive the watch. Main thread only.
class ReplyWatch {
public:
    enum class End {
        finished,         // Qt finished the reply, with or without an error
        cancelled,        // a token was cancelled first
        timedOut,         // no bytes moved for the time-out, or the deadline passed
        tooLarge,         // the reply holds more bytes than allowed
        redirectRefused,  // the reply stopped at a redirect it was not allowed to follow
    };

    struct Settings {
        // The longest time without bytes moving; no limit when zero.
        std::chrono::milliseconds timeout{0};
        // Decides each redirect; without it every redirect is refused.
        std::function<bool(const QUrl&)> allowsRedirect;
        // Ends the wait once cancelled, from the event loop, so the canceller is not re-entered.
        std::shared_ptr<CancellationToken> cancellation;
        // Ends the wait at once when cancelled: for quitting, when no event loop runs any more.
        std::shared_ptr<CancellationToken> shutDown;
        // The longest time in all, however steadily bytes move; no limit when zero.
        std::chrono::milliseconds deadline{0};
        // The most bytes the reply may hold unread, which is all it received as long as nothing
        // reads it before the end; no limit when zero.
        qint64 maxBytes = 0;
    };

    ReplyWatch(QNetworkReply& reply, Settings settings);
    ~ReplyWatch();
    ReplyWatch(const ReplyWatch&) = delete;
    ReplyWatch& operator=(const ReplyWatch&) = delete;

private:
    struct State;

public:
    // What `co_await watch.ended()` waits on.
    class Awaiter {
    public:
        explicit Awaiter(std::shared_ptr<State> state) : m_state(std::move(state)) {}
        bool await_ready() const noexcept;
        void await_suspend(std::coroutine_handle<> waiting) const noexcept;
        End await_resume() const noexcept;

    private:
        std::shared_ptr<State> m_state;
    };
    Awaiter ended() const { return Awaiter(m_state); }

private:
    void watchReply(QNetworkReply& reply, const Settings& settings);
    void watchTime(QNetworkReply& reply, const Settings& settings);
    void watchSize(QNetworkReply& reply, qint64 maxBytes);
    void watchTokens(QNetworkReply& reply, const Settings& settings);

    std::shared_ptr<State> m_state;
};

}  // namespace vantrell
