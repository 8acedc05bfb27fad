#include "models/AccountType.h"

#include <array>

namespace vantrell {

QString toStored(AccountType type)
{
    switch (type) {
        case AccountType::spot:
            return QStringLiteral("现货");
        case AccountType::funding:
            return QStringLiteral("资金账户");
        case AccountType::futures:
            return QStringLiteral("合约");
        case AccountType::trading:
            return QStringLiteral("交易账户");
    }
    Q_UNREACHABLE();
    return {};
}

template <>
std::optional<AccountType> fromStored<AccountType>(QStringView text)
{
    static constexpr std::array allTypes{AccountType::spot, AccountType::funding,
                                         AccountType::futures, AccountType::trading};
    return findStored<AccountType>(allTypes, text);
}

}  // namespace vantrell
