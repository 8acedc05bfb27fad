#pragma once

#include "networking/ExchangeAPIError.h"
#include "networking/ExchangeHTTPClient.h"
#include "networking/HttpRequest.h"
#include "networking/NetworkHttpTransport.h"
#include "networking/PublicMarketCache.h"
#include "support/LoopbackServer.h"
#include "support/ManualClock.h"
#include "support/SpinUntil.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>
#include <QNetworkAccessManager>
#include <QString>

#include <chrono>
#include <optional>
#include <utility>
#include <vector>

namespace vantrell::test {

// The real transport and client against the loopback server. Each test gets its own manager,
// so no connection is reused from another test.
class LoopbackTransportHarness : public ::testing::Test {
protected:
    using Strings = std::vector<QString>;

    // The error a send ended with, or nothing when it succeeded.
    template <typename T>
    static std::optional<ExchangeAPIError> runForError(QCoro::Task<T> task)
    {
        return runTask(std::move(task)).template errorAs<ExchangeAPIError>();
    }

    HttpRequest get(const QString& path, const QString& query = {}) const
    {
        HttpRequest request;
        request.url = server.url(path, query);
        request.timeout = std::chrono::seconds(2);
        return request;
    }

    std::optional<ExchangeAPIError> errorFor(HttpRequest request)
    {
        return runForError(client.send<Strings>(std::move(request)));
    }

    // The outcome of `request`, or nothing when it has not ended within `limit`: then the
    // transport is shut down, which ends the transfer, so no coroutine is left waiting.
    std::optional<TaskResult<HttpResponse>> performWithin(HttpRequest request,
                                                          std::chrono::milliseconds limit)
    {
        std::optional<TaskResult<HttpResponse>> outcome;
        auto await = [&]() -> QCoro::Task<void> {
            outcome = co_await settle(transport.perform(std::move(request)));
        };
        QCoro::Task<void> pending = await();
        if (!spinUntil([&] { return outcome.has_value(); }, limit)) {
            transport.shutDown();
            return std::nullopt;
        }
        return outcome;
    }

    LoopbackServer server;
    QNetworkAccessManager manager;
    NetworkHttpTransport transport{manager};
    PublicMarketCache cache;
    ManualClock clock;
    ExchangeHTTPClient client{transport, cache, clock};
};

}  // namespace vantrell::test
