#pragma once

#include "models/Exchange.h"

#include <QString>
#include <QStringView>

namespace vantrell {

// The pure rules and texts of the credential sheet.
namespace CredentialSheetRules {

inline constexpr QStringView subtitle = u"请使用只读 API，不要开启交易或提币权限";
inline constexpr QStringView aliasPlaceholder = u"账户别名";
inline constexpr QStringView apiKeyTitle = u"API Key";
inline constexpr QStringView secretKeyTitle = u"Secret Key";
inline constexpr QStringView passphraseTitle = u"Passphrase";
// Where the keys stay, said truthfully for any desktop.
inline constexpr QStringView storageNotice = u"API 密钥仅保存在这台电脑上";
inline constexpr QStringView duplicateKeyMessage = u"这个 API Key 已用于另一个账户，不能重复统计。";
// Shown when the defaults store refused a write after a successful test.
inline constexpr QStringView saveFailedMessage = u"保存失败：无法写入本机设置文件。";
inline constexpr QStringView removeFailedMessage = u"移除失败：无法写入本机设置文件。";
inline constexpr QStringView removeButton = u"移除配置";
inline constexpr QStringView cancelButton = u"取消";
inline constexpr QStringView saveButton = u"验证并保存";
inline constexpr QStringView testingText = u"正在验证";
inline constexpr QStringView mainAccountAlias = u"默认账户";
inline constexpr QStringView emptyAlias = u"账户";
inline constexpr int aliasLength = 32;  // user-perceived characters

// "添加 " + the exchange's name, also when an existing configuration is edited.
QString title(Exchange exchange);
// "验证失败：" + the connection test's message.
QString failureMessage(const QString& testMessage);

// White space and line breaks removed at both ends, as for the API key and the secret key.
QString trimmed(const QString& text);

// The API key and the secret key are non-empty once trimmed; OKX and Bitget also need a
// passphrase, taken as typed (blanks count as entered).
bool credentialsComplete(Exchange exchange, const QString& apiKey, const QString& secretKey,
                         const QString& passphrase);

// The alias saved for an additional account: trimmed, "账户" when nothing is left, otherwise
// at most its first 32 characters as the user sees them (a character made of several code
// points, such as an emoji, is never cut).
QString normalizedAlias(const QString& alias);

}  // namespace CredentialSheetRules

}  // namespace vantrell
