#include "GeneratedExchangeReplies.h"

namespace vantrell::bench::generated {

RecordedReplies fiveExchangeReplies()
{
    RecordedReplies all;
    for (RecordedReplies (*exchange)() :
         {binanceReplies, okxReplies, bybitReplies, bitgetReplies, gateReplies}) {
        all.merge(exchange());
    }
    return all;
}

}  // namespace vantrell::bench::generated
