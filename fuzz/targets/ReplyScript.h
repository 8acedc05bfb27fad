#pragma once

#include "networking/HttpResponse.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace vantrell::fuzz {

// The replies of one fetch written as one fuzz input, answered in the order the requests come.
//
// Replies are separated by the line "---" ("\n---\n"). A reply is its body, answered with HTTP
// 200, unless it starts with a header "@<status>[;<Retry-After>] ":
//     @429;7 {"msg":"slow down"}     status 429 with "Retry-After: 7"
//     @ garbage                      a reply without an HTTP status
//     @! ignored                     a failed transfer
// A status that is not a number counts as none.
struct ReplyScript {
    struct Reply {
        std::optional<HttpResponse> response;  // nothing: the transfer fails
    };

    static constexpr std::string_view separator = "\n---\n";

    static ReplyScript parse(const std::uint8_t* data, std::size_t size);
    static Reply parseReply(QByteArray part);

    std::vector<Reply> replies;
};

}  // namespace vantrell::fuzz
