#include "targets/FuzzEntry.h"

VANTRELL_FUZZ_ENTRY(fuzzBitgetSnapshot)
