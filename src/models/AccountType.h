#pragma once

#include "models/StoredEnum.h"

namespace vantrell {

enum class AccountType { spot, funding, futures, trading };

// "现货", "资金账户", "合约", "交易账户".
QString toStored(AccountType type);
template <>
std::optional<AccountType> fromStored<AccountType>(QStringView text);

}  // namespace vantrell
