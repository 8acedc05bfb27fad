#pragma once

// RapidJSON's reader over some bytes with a handler that keeps nothing: the cost of scanning
// the text alone, the floor under any decoding of the same bytes.

#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <cstddef>

namespace vantrell::bench {

// Whether `size` bytes at `data` are one JSON text, read with the reader's `flags`.
template <unsigned flags>
bool bareJsonPass(const char* data, std::size_t size)
{
    rapidjson::MemoryStream stream(data, size);
    rapidjson::Reader reader;
    rapidjson::BaseReaderHandler<> handler;
    return !reader.Parse<flags>(stream, handler).IsError();
}

}  // namespace vantrell::bench
