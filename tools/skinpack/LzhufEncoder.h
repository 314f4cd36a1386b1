// LZHUF encoder for the skin packer: LZSS over a 4096-byte ring (longest match
// 60, shortest 3) with literals and lengths in one adaptive Huffman tree and
// match positions in the fixed position code. Output: the unpacked size as
// 32-bit little-endian, then the code bits, most significant first.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace pellix {

struct TLzhufStats {
    int64_t Literals = 0;
    int64_t Matches = 0;
    int64_t Rebuilds = 0;  // halvings of the tree's counts
    int LongestCode = 0;   // bits of the longest symbol code written
};

// Writes symbols in the code; the parser below drives it, and tests use it to
// spell streams the parser would never produce.
class TLzhufCodeWriter {
public:
    static constexpr int ShortestMatch = 3;
    static constexpr int LongestMatch = 60;
    static constexpr int RingSize = 4096;

    TLzhufCodeWriter();
    ~TLzhufCodeWriter();
    TLzhufCodeWriter(const TLzhufCodeWriter&) = delete;
    TLzhufCodeWriter& operator=(const TLzhufCodeWriter&) = delete;

    void PutLiteral(uint8_t byte);
    // Copies length bytes starting back bytes behind the write position (1..4096).
    void PutMatch(int length, int back);
    // The size field, then the bits, the last byte padded with zero bits.
    std::vector<uint8_t> Finish(int32_t unpackedSize);
    const TLzhufStats& Stats() const { return stats_; }

private:
    class TTree;
    void PutBit(int bit);
    void PutBits(uint32_t value, int count);
    void PutSymbol(int symbol);

    std::unique_ptr<TTree> tree_;
    std::vector<uint8_t> bytes_;
    uint32_t pending_ = 0;
    int pendingBits_ = 0;
    TLzhufStats stats_;
};

// Packs data whole, always taking the longest match in reach. Throws
// std::length_error above the 32-bit signed size the format can declare.
std::vector<uint8_t> PackLzhuf(std::span<const uint8_t> data, TLzhufStats* stats = nullptr);

}  // namespace pellix
