// Any code bits must decode to the size asked for, plus at most the tail of a
// final match, without reading or writing out of bounds. Input: the size as
// 32-bit little-endian, then the code.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "skin/WinConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    int32_t declared;
    std::memcpy(&declared, data, 4);
    // The decoder takes any size; callers bound it by what the code could
    // produce, and this target further, to keep runs short.
    const int64_t codeBound = static_cast<int64_t>(size - 4) * 480;
    declared = static_cast<int32_t>(std::min<int64_t>({declared, codeBound, int64_t{1} << 14}));

    pellix::TMemoryStream source;
    source.WriteBuffer(data + 4, static_cast<int64_t>(size - 4));
    source.SetPosition(0);
    pellix::TLZH lzh;
    lzh.SourceStream = &source;
    int64_t written = 0;
    lzh.DecodeLzhuf(
        declared, [&](void* buffer, uint16_t count, uint16_t& done) { lzh.ReadSourceBytes(buffer, count, done); },
        [&](const void*, uint16_t count, uint16_t& done) {
            written += count;
            done = count;
        });
    const int64_t wanted = std::max(declared, int32_t{0});
    if (written < wanted || written > wanted + 59 || (wanted == 0 && written != 0)) std::abort();
    return 0;
}
