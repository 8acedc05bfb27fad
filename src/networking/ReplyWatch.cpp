#include "networking/ReplyWatch.h"

#include "concurrency/CancellationToken.h"

#include <QDeadlineTimer>
#include <QMetaObject>
#include <QNetworkReply>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace vantrell {

struct ReplyWatch::State {
    std::optional<End> end;
    std::coroutine_handle<> waiting;
    QPointer<QTimer> timer;  // a child of the reply
    std::chrono::milliseconds silence{std::chrono::milliseconds::max()};
    QDeadlineTimer deadline{QDeadlineTimer::Forever};
    std::vector<QMetaObject::Connection> connections;
    std::vector<std::pair<std::shared_ptr<CancellationToken>, int>> callbacks;

    // Cuts every hook into the reply and the tokens, so nothing reaches the watch afterwards.
    void release()
    {
        for (const QMetaObject::Connection& connection : std::exchange(connections, {})) {
            QObject::disconnect(connection);
        }
        for (const auto& [token, id] : std::exchange(callbacks, {})) {
            token->removeCallback(id);
        }
        if (timer) {
            timer->stop();
        }
    }

    // One timer keeps both limits: it runs for the silence allowed, or for what is left of the
    // deadline when that is sooner. Either way the reply has timed out when it fires.
    void restartTimer() const
    {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline.remainingTimeAsDuration());
        timer->start(std::min(silence, left));
    }

    // The first end wins. The awaiting coroutine resumes here and may destroy the watch, so the
    // caller holds the state.
    static void finish(const std::shared_ptr<State>& state, End why)
    {
        if (state->end) {
            return;
        }
        state->end = why;
        state->release();
        if (std::coroutine_handle<> waiting = std::exchange(state->waiting, {})) {
            waiting.resume();
        }
    }

    // From the event loop, for ends that arrive inside someone else's call.
    static void finishLater(QNetworkReply& reply, const std::shared_ptr<State>& state, End why)
    {
        QMetaObject::invokeMethod(
            &reply, [state, why] { finish(state, why); }, Qt::QueuedConnection);
    }
};

ReplyWatch::ReplyWatch(QNetworkReply& reply, Settings settings) : m_state(std::make_shared<State>())
{
    if (reply.isFinished()) {
        m_state->end = End::finished;
        return;
    }
    watchReply(reply, settings);
    watchTokens(reply, settings);
}

ReplyWatch::~ReplyWatch()
{
    m_state->release();
}

void ReplyWatch::watchReply(QNetworkReply& reply, const Settings& settings)
{
    const std::shared_ptr<State>& state = m_state;
    state->connections.push_back(
        QObject::connect(&reply, &QNetworkReply::finished, &reply,
                         [state] { State::finish(state, End::finished); }));
    state->connections.push_back(
        QObject::connect(&reply, &QNetworkReply::redirected, &reply,
                         [state, reply = &reply, allows = settings.allowsRedirect](const QUrl& to) {
                             if (allows && allows(to)) {
                                 Q_EMIT reply->redirectAllowed();
                             } else {
                                 // Qt is inside its redirect handling here.
                                 State::finishLater(*reply, state, End::redirectRefused);
                             }
                         }));
    watchTime(reply, settings);
    watchSize(reply, settings.maxBytes);
}

void ReplyWatch::watchTime(QNetworkReply& reply, const Settings& settings)
{
    const std::shared_ptr<State>& state = m_state;
    if (settings.timeout.count() > 0) {
        state->silence = settings.timeout;
    }
    if (settings.deadline.count() > 0) {
        state->deadline.setRemainingTime(settings.deadline);
    }
    if (settings.timeout.count() <= 0 && settings.deadline.count() <= 0) {
        return;
    }
    state->timer = new QTimer(&reply);
    state->timer->setSingleShot(true);
    state->connections.push_back(QObject::connect(
        state->timer, &QTimer::timeout, &reply, [state] { State::finish(state, End::timedOut); }));
    // Like Qt's own transfer time-out, the silence counts again whenever bytes move; the
    // deadline does not.
    const auto restart = [state] { state->restartTimer(); };
    state->connections.push_back(
        QObject::connect(&reply, &QNetworkReply::downloadProgress, state->timer, restart));
    state->connections.push_back(
        QObject::connect(&reply, &QNetworkReply::uploadProgress, state->timer, restart));
    state->restartTimer();
}

// Checked as each piece comes in, so an endless body is given up once it passes the limit.
void ReplyWatch::watchSize(QNetworkReply& reply, qint64 maxBytes)
{
    if (maxBytes <= 0) {
        return;
    }
    const std::shared_ptr<State>& state = m_state;
    state->connections.push_back(
        QObject::connect(&reply, &QIODevice::readyRead, &reply, [state, &reply, maxBytes] {
            if (reply.bytesAvailable() > maxBytes) {
                State::finish(state, End::tooLarge);
            }
        }));
}

void ReplyWatch::watchTokens(QNetworkReply& reply, const Settings& settings)
{
    const std::shared_ptr<State>& state = m_state;
    if (const std::shared_ptr<CancellationToken>& token = settings.cancellation) {
        const int id = token->onCancel(
            [state, reply = &reply] { State::finishLater(*reply, state, End::cancelled); });
        state->callbacks.emplace_back(token, id);
    }
    if (const std::shared_ptr<CancellationToken>& token = settings.shutDown) {
        const int id = token->onCancel([state] { State::finish(state, End::cancelled); });
        state->callbacks.emplace_back(token, id);
    }
}

bool ReplyWatch::Awaiter::await_ready() const noexcept
{
    return m_state->end.has_value();
}

void ReplyWatch::Awaiter::await_suspend(std::coroutine_handle<> waiting) const noexcept
{
    m_state->waiting = waiting;
}

ReplyWatch::End ReplyWatch::Awaiter::await_resume() const noexcept
{
    return m_state->end.value_or(End::finished);
}

}  // namespace vantrell
