// LIBS: vantorix_levels
#include "HiscoreFile.h"
#include "VbError.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any table the reader accepts is written and read back unchanged, checksum included.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const bool withChecksum : {false, true}) {
        DecodedHiscores d;
        try {
            d = decodeHiscoreFile(bytes, withChecksum);
        } catch (const VbError&) {
            continue;
        }
        const DecodedHiscores back =
            decodeHiscoreFile(encodeHiscoreFile(d.Table, withChecksum), withChecksum);
        if (!back.ChecksumOk || back.Table != d.Table) {
            std::abort();
        }
    }
    return 0;
}
