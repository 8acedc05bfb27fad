#include "services/UpdaterError.h"

namespace vantrell {

const QString UpdaterError::domain = QStringLiteral("VantrellUpdaterErrorDomain");

namespace {

QString descriptionOf(UpdaterError::Code code)
{
    switch (code) {
        case UpdaterError::notConfigured:
            return QStringLiteral("未配置更新地址");
        case UpdaterError::feedUnreachable:
            return QStringLiteral("无法连接更新服务器");
        case UpdaterError::invalidFeed:
            return QStringLiteral("更新信息无效");
        case UpdaterError::invalidCurrentVersion:
            return QStringLiteral("无法识别当前版本号");
        case UpdaterError::noUpdateFound:
            return QStringLiteral("已是最新版本");
    }
    return QStringLiteral("更新信息无效");
}

}  // namespace

UpdaterError UpdaterError::make(Code code)
{
    return UpdaterError{domain, code, descriptionOf(code)};
}

}  // namespace vantrell
