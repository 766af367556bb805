// libFuzzer entry point for the converter (built by scripts/fuzz).
#include "quorvel_fuzz_one.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    quorvel_fuzz::fuzzOne(data, size);
    return 0;
}
