#pragma once

#include "models/Exchange.h"
#include "models/ExchangeProviderSnapshot.h"

#include <QCoroTask>

namespace vantrell {

// The one way the portfolio store reads an exchange: a connector for one account, or the
// multi-account provider over several of them.
//
// Providers are immutable and may serve several fetches at once. They are held by
// std::shared_ptr<const ExchangeProvider>; a caller keeps its pointer until the returned task
// has finished, and an implementation hands shared copies (not `this`) to any child coroutine
// that could outlive the call.
class ExchangeProvider {
public:
    virtual ~ExchangeProvider() = default;

    // The exchange served.
    virtual Exchange exchange() const = 0;
    // The account's current balances and positions. Throws ExchangeAPIError (or, for replies
    // that cannot be read, another exception).
    virtual QCoro::Task<ExchangeProviderSnapshot> fetchSnapshot() const = 0;
    // Returns normally when the exchange accepts the account's credentials.
    virtual QCoro::Task<void> testConnection() const = 0;

protected:
    ExchangeProvider() = default;
    ExchangeProvider(const ExchangeProvider&) = default;
    ExchangeProvider& operator=(const ExchangeProvider&) = default;
};

}  // namespace vantrell
