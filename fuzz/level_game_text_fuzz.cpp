// LIBS: vantorix_levels
#include "LevelFuzzChecks.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzcheck::gameReader({reinterpret_cast<const char*>(data), size}, ReaderKind::GameText);
    return 0;
}
