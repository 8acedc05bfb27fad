#include "ReplyScript.h"

#include <charconv>
#include <string_view>
#include <utility>

namespace vantrell::fuzz {

namespace {

std::optional<int> statusOf(const QByteArray& text)
{
    int status = 0;
    const char* end = text.constData() + text.size();
    const auto [stop, error] = std::from_chars(text.constData(), end, status);
    if (text.isEmpty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return status;
}

}  // namespace

ReplyScript ReplyScript::parse(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    ReplyScript script;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = input.find(separator, start);
        const std::string_view part = input.substr(start, end - start);
        script.replies.push_back(
            parseReply(QByteArray(part.data(), static_cast<qsizetype>(part.size()))));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + separator.size();
    }
    return script;
}

ReplyScript::Reply ReplyScript::parseReply(QByteArray part)
{
    HttpResponse response;
    response.headers.append(
        {QByteArrayLiteral("Content-Type"), QByteArrayLiteral("application/json")});
    if (!part.startsWith('@')) {
        response.statusCode = 200;
        response.body = std::move(part);
        return {std::move(response)};
    }
    qsizetype space = part.indexOf(' ');
    if (space < 0) {
        space = part.size();
    }
    const QByteArray header = part.mid(1, space - 1);
    if (header == "!") {
        return {std::nullopt};
    }
    const qsizetype semicolon = header.indexOf(';');
    response.statusCode = statusOf(semicolon < 0 ? header : header.left(semicolon));
    if (semicolon >= 0) {
        response.headers.append({QByteArrayLiteral("Retry-After"), header.mid(semicolon + 1)});
    }
    response.body = part.mid(space + 1);
    return {std::move(response)};
}

}  // namespace vantrell::fuzz
