#pragma once

#include "providers/ExchangeProvider.h"

#include <chrono>
#include <exception>
#include <memory>
#include <optional>

namespace vantrell {

// A provider with canned answers. fetchSnapshot() returns the given snapshot, or throws the given
// error; testConnection() succeeds or throws its own error. Either can wait first on a timer, so
// tests choose the order in which several providers finish. Calls are counted.
//
// Configure it before handing it out as a shared_ptr<const ExchangeProvider>.
class FakeExchangeProvider : public ExchangeProvider {
public:
    explicit FakeExchangeProvider(Exchange exchange = Exchange::binance);

    static std::shared_ptr<FakeExchangeProvider> returning(ExchangeProviderSnapshot snapshot);
    template <class Error>
    static std::shared_ptr<FakeExchangeProvider> throwing(Error error)
    {
        auto fake = std::make_shared<FakeExchangeProvider>();
        fake->setFetchError(std::make_exception_ptr(std::move(error)));
        return fake;
    }

    void setSnapshot(ExchangeProviderSnapshot snapshot);
    void setFetchError(std::exception_ptr error);
    void setTestError(std::exception_ptr error);
    // Both calls wait this long before answering; zero answers at once, without suspending.
    void setDelay(std::chrono::milliseconds delay);

    int fetchCount() const { return m_counts->fetches; }
    int testCount() const { return m_counts->tests; }

    Exchange exchange() const override { return m_exchange; }
    QCoro::Task<ExchangeProviderSnapshot> fetchSnapshot() const override;
    QCoro::Task<void> testConnection() const override;

private:
    struct Counts {
        int fetches = 0;
        int tests = 0;
    };

    Exchange m_exchange;
    ExchangeProviderSnapshot m_snapshot;
    std::exception_ptr m_fetchError;
    std::exception_ptr m_testError;
    std::chrono::milliseconds m_delay{0};
    // Shared so the counts can change behind a const provider.
    std::shared_ptr<Counts> m_counts = std::make_shared<Counts>();
};

}  // namespace vantrell
