// Whatever the packer makes of any bytes, the decoder must give them back
// exactly, reading at most two bytes past the code.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "skin/WinConvert.h"
#include "tools/skinpack/LzhufEncoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> packed = pellix::PackLzhuf(std::span(data, size));
    pellix::TMemoryStream source;
    source.WriteBuffer(packed.data() + 4, static_cast<int64_t>(packed.size() - 4));
    source.SetPosition(0);
    pellix::TLZH lzh;
    lzh.SourceStream = &source;
    int readsPastEnd = 0;
    std::vector<uint8_t> out;
    lzh.DecodeLzhuf(
        static_cast<int32_t>(size),
        [&](void* buffer, uint16_t count, uint16_t& done) {
            lzh.ReadSourceBytes(buffer, count, done);
            readsPastEnd += done == 0;
        },
        [&](const void* buffer, uint16_t count, uint16_t& done) {
            out.push_back(*static_cast<const uint8_t*>(buffer));
            done = count;
        });
    if (readsPastEnd > 2 || out != std::vector<uint8_t>(data, data + size)) std::abort();
    return 0;
}
