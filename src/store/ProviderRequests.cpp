#include "store/ProviderRequests.h"

#include "networking/ExchangeAPIError.h"

namespace vantrell {

QCoro::Task<ProviderRefreshResult> ProviderRequests::fetch(
    std::shared_ptr<const ExchangeProvider> provider)
{
    const Exchange exchange = provider->exchange();
    std::exception_ptr error;
    try {
        ExchangeProviderSnapshot snapshot = co_await provider->fetchSnapshot();
        co_return ProviderRefreshResult::success(exchange, std::move(snapshot));
    } catch (...) {
        error = std::current_exception();
    }
    co_return ProviderRefreshResult::failure(exchange, safeMessage(error), retryAfter(error));
}

QCoro::Task<ConnectionTestResult> ProviderRequests::test(
    std::shared_ptr<const ExchangeProvider> provider)
{
    std::exception_ptr error;
    try {
        co_await provider->testConnection();
    } catch (...) {
        error = std::current_exception();
    }
    if (error) {
        co_return ConnectionTestResult::failure(safeMessage(error));
    }
    co_return ConnectionTestResult::success();
}

QString ProviderRequests::safeMessage(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const ExchangeAPIError& apiError) {
        return apiError.errorDescription();
    } catch (...) {
    }
    return QStringLiteral("请求失败，请检查网络和只读权限");
}

std::optional<double> ProviderRequests::retryAfter(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const ExchangeAPIError& apiError) {
        if (apiError.kind() == ExchangeAPIError::Kind::rateLimited) {
            return apiError.retryAfterSeconds();
        }
    } catch (...) {
    }
    return std::nullopt;
}

}  // namespace vantrell
