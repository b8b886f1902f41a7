// The libFuzzer entry of one target; DARAZOZ_FUZZ_ENTRY names its function
// in fuzz_entries.h.
#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return DARAZOZ_FUZZ_ENTRY(data, size);
}
