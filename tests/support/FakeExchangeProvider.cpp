#include "FakeExchangeProvider.h"

#include <QCoroTimer>

namespace vantrell {

namespace {

// Copies of the answer travel into the coroutine, so it does not depend on the fake's lifetime.
QCoro::Task<ExchangeProviderSnapshot> answerFetch(std::chrono::milliseconds delay,
                                                  ExchangeProviderSnapshot snapshot,
                                                  std::exception_ptr error)
{
    if (delay.count() > 0) {
        co_await QCoro::sleepFor(delay);
    }
    if (error) {
        std::rethrow_exception(error);
    }
    co_return snapshot;
}

QCoro::Task<void> answerTest(std::chrono::milliseconds delay, std::exception_ptr error)
{
    if (delay.count() > 0) {
        co_await QCoro::sleepFor(delay);
    }
    if (error) {
        std::rethrow_exception(error);
    }
}

}  // namespace

FakeExchangeProvider::FakeExchangeProvider(Exchange exchange) : m_exchange(exchange)
{
    m_snapshot.account.exchange = exchange;
}

std::shared_ptr<FakeExchangeProvider> FakeExchangeProvider::returning(
    ExchangeProviderSnapshot snapshot)
{
    auto fake = std::make_shared<FakeExchangeProvider>(snapshot.account.exchange);
    fake->setSnapshot(std::move(snapshot));
    return fake;
}

void FakeExchangeProvider::setSnapshot(ExchangeProviderSnapshot snapshot)
{
    m_snapshot = std::move(snapshot);
}

void FakeExchangeProvider::setFetchError(std::exception_ptr error)
{
    m_fetchError = std::move(error);
}

void FakeExchangeProvider::setTestError(std::exception_ptr error)
{
    m_testError = std::move(error);
}

void FakeExchangeProvider::setDelay(std::chrono::milliseconds delay)
{
    m_delay = delay;
}

QCoro::Task<ExchangeProviderSnapshot> FakeExchangeProvider::fetchSnapshot() const
{
    ++m_counts->fetches;
    return answerFetch(m_delay, m_snapshot, m_fetchError);
}

QCoro::Task<void> FakeExchangeProvider::testConnection() const
{
    ++m_counts->tests;
    return answerTest(m_delay, m_testError);
}

}  // namespace vantrell
