#pragma once

#include "models/Exchange.h"
#include "models/JsonCoding.h"
#include "models/StoredEnumCoding.h"

#include <map>
#include <utility>

namespace vantrell {

// A map keyed by exchange is written the way the files have always held it: one JSON array
// that alternates the exchange's stored name and its value ("Binance", v1, "OKX", v2, ...).
// Reading takes the array two items at a time; an odd length or a name that is not one of the
// five exchanges fails the whole record. A repeated name keeps its last value.
template <typename T>
struct JsonCoder<std::map<Exchange, T>> {
    static std::map<Exchange, T> decode(const JsonView& value)
    {
        if (!value.isArray()) {
            json::fail("expected an array of exchange and value pairs");
        }
        const auto items = value.items();
        if (items.size() % 2 != 0) {
            json::fail("exchange map with an odd number of items");
        }
        std::map<Exchange, T> result;
        for (auto item = items.begin(); item != items.end(); ++item) {
            const Exchange exchange = JsonCoder<Exchange>::decode(*item);
            result.insert_or_assign(exchange, JsonCoder<T>::decode(*++item));
        }
        return result;
    }

    // Pairs in the exchanges' declaration order, so the same map always gives the same text.
    static JsonValue encode(const std::map<Exchange, T>& values)
    {
        JsonValue::Array items;
        items.reserve(values.size() * 2);
        for (const auto& [exchange, item] : values) {
            items.push_back(JsonCoder<Exchange>::encode(exchange));
            items.push_back(JsonCoder<T>::encode(item));
        }
        return JsonValue::array(std::move(items));
    }
};

}  // namespace vantrell
