#include "tools/skinpack/LzhufEncoder.h"

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>

namespace pellix {

namespace {

constexpr int kSymbols = 256 + TLzhufCodeWriter::LongestMatch - (TLzhufCodeWriter::ShortestMatch - 1);
constexpr int kNodes = 2 * kSymbols - 1;
constexpr int kRoot = kNodes - 1;
constexpr uint16_t kHalveAt = 0x8000;
// The decoder's ring starts blank below this position; above it the content is
// not agreed on, so matches never reach there.
constexpr int kBlankPrefix = TLzhufCodeWriter::RingSize - TLzhufCodeWriter::LongestMatch;

// Position code bands: nearer upper six bits get shorter codes. A code is the
// top `length` bits of the first byte value of its upper value.
struct PositionBand {
    int length, firstUpper, lastUpper, firstByte, bytesPerUpper;
};
constexpr PositionBand kPositionBands[] = {
    {3, 0, 0, 0, 32},      {4, 1, 3, 32, 16},    {5, 4, 11, 80, 8},
    {6, 12, 23, 144, 4},   {7, 24, 47, 192, 2},  {8, 48, 63, 240, 1},
};

const PositionBand& BandOf(int upper) {
    for (const PositionBand& band : kPositionBands)
        if (upper <= band.lastUpper) return band;
    throw std::out_of_range("LZHUF position out of range");
}

}  // namespace

// The adaptive tree, kept exactly as the decoder keeps it: nodes sorted by
// count, siblings side by side, a rebuild with halved counts when the root
// reaches 0x8000.
class TLzhufCodeWriter::TTree {
public:
    TTree() {
        for (int s = 0; s < kSymbols; ++s) {
            count_[s] = 1;
            down_[s] = static_cast<int16_t>(kNodes + s);
            up_[kNodes + s] = static_cast<int16_t>(s);
        }
        PairUp();
        count_[kNodes] = 0xFFFF;
        up_[kRoot] = 0;
    }

    // Root-first path bits of a symbol's leaf; returns how many.
    int Path(int symbol, std::array<uint8_t, kNodes>& bits) const {
        int n = 0;
        for (int node = up_[kNodes + symbol]; node != kRoot; node = up_[node]) bits[n++] = static_cast<uint8_t>(node - down_[up_[node]]);
        std::reverse(bits.begin(), bits.begin() + n);
        return n;
    }

    // Counts the symbol; true when the counts had to be halved first.
    bool Count(int symbol) {
        const bool halved = count_[kRoot] == kHalveAt;
        if (halved) Halve();
        // The leaf may sit at position 0, which also marks the root's parent.
        int node = up_[kNodes + symbol];
        do node = up_[Increment(node)];
        while (node != 0);
        return halved;
    }

private:
    // Inner nodes over consecutive pairs, in order, up to the root.
    void PairUp() {
        for (int left = 0, node = kSymbols; node < kNodes; left += 2, ++node) {
            count_[node] = static_cast<uint16_t>(count_[left] + count_[left + 1]);
            down_[node] = static_cast<int16_t>(left);
            up_[left] = up_[left + 1] = static_cast<int16_t>(node);
        }
    }

    // Bumps a node's count and keeps the order by moving it past every
    // following node now counted lower; returns where it ends up.
    int Increment(int node) {
        const uint16_t bumped = ++count_[node];
        int last = node;
        while (count_[last + 1] < bumped) ++last;
        if (last == node) return node;
        count_[node] = count_[last];
        count_[last] = bumped;
        std::swap(down_[node], down_[last]);
        Adopt(node);
        Adopt(last);
        return last;
    }

    void Adopt(int node) {
        const int child = down_[node];
        up_[child] = static_cast<int16_t>(node);
        if (child < kNodes) up_[child + 1] = static_cast<int16_t>(node);
    }

    void Halve() {
        int to = 0;
        for (int from = 0; from < kNodes; ++from)
            if (down_[from] >= kNodes) {
                count_[to] = static_cast<uint16_t>((count_[from] + 1) / 2);
                down_[to] = down_[from];
                ++to;
            }
        for (int left = 0, filled = kSymbols; filled < kNodes; left += 2, ++filled) {
            const uint16_t sum = static_cast<uint16_t>(count_[left] + count_[left + 1]);
            int at = filled;
            while (at > 0 && count_[at - 1] > sum) {
                count_[at] = count_[at - 1];
                down_[at] = down_[at - 1];
                --at;
            }
            count_[at] = sum;
            down_[at] = static_cast<int16_t>(left);
        }
        for (int node = 0; node < kNodes; ++node) Adopt(node);
    }

    std::array<uint16_t, kNodes + 1> count_{};         // + sentinel that stops every run
    std::array<int16_t, kNodes + kSymbols> up_{};       // + leaf of each symbol
    std::array<int16_t, kNodes> down_{};                // left child; >= kNodes: a leaf
};

TLzhufCodeWriter::TLzhufCodeWriter() : tree_(std::make_unique<TTree>()) {}
TLzhufCodeWriter::~TLzhufCodeWriter() = default;

void TLzhufCodeWriter::PutBit(int bit) {
    pending_ = pending_ << 1 | static_cast<uint32_t>(bit & 1);
    if (++pendingBits_ == 8) {
        bytes_.push_back(static_cast<uint8_t>(pending_));
        pending_ = 0;
        pendingBits_ = 0;
    }
}

void TLzhufCodeWriter::PutBits(uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) PutBit(static_cast<int>(value >> i));
}

void TLzhufCodeWriter::PutSymbol(int symbol) {
    std::array<uint8_t, kNodes> bits;
    const int n = tree_->Path(symbol, bits);
    for (int i = 0; i < n; ++i) PutBit(bits[i]);
    stats_.LongestCode = std::max(stats_.LongestCode, n);
    if (tree_->Count(symbol)) ++stats_.Rebuilds;
}

void TLzhufCodeWriter::PutLiteral(uint8_t byte) {
    PutSymbol(byte);
    ++stats_.Literals;
}

void TLzhufCodeWriter::PutMatch(int length, int back) {
    if (length < ShortestMatch || length > LongestMatch) throw std::out_of_range("LZHUF match length out of range");
    if (back < 1 || back > RingSize) throw std::out_of_range("LZHUF match distance out of range");
    PutSymbol(256 + length - ShortestMatch);
    const int position = back - 1;
    const PositionBand& band = BandOf(position >> 6);
    const int firstByte = band.firstByte + ((position >> 6) - band.firstUpper) * band.bytesPerUpper;
    PutBits(static_cast<uint32_t>(firstByte) >> (8 - band.length), band.length);
    PutBits(static_cast<uint32_t>(position & 0x3F), 6);
    ++stats_.Matches;
}

std::vector<uint8_t> TLzhufCodeWriter::Finish(int32_t unpackedSize) {
    while (pendingBits_ != 0) PutBit(0);
    const auto size = static_cast<uint32_t>(unpackedSize);
    std::vector<uint8_t> out{static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                             static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24)};
    out.insert(out.end(), bytes_.begin(), bytes_.end());
    return out;
}

namespace {

// Longest-match search over the text as the decoder sees it: the blank part of
// its ring, then the data. Hash chains of three-byte prefixes, searched through
// the whole window.
class TMatchFinder {
public:
    static constexpr int Window = kBlankPrefix;

    explicit TMatchFinder(const std::vector<uint8_t>& text) : text_(text) {
        head_.fill(-1);
        prev_.fill(-1);
    }

    void Insert(int64_t at) {
        if (at + 2 >= static_cast<int64_t>(text_.size())) return;
        const int h = Hash(at);
        prev_[static_cast<size_t>(at) & (prev_.size() - 1)] = head_[static_cast<size_t>(h)];
        head_[static_cast<size_t>(h)] = at;
    }

    // Longest match for the text at `at`, at most `limit` bytes; sets back.
    int Longest(int64_t at, int limit, int& back) const {
        int best = 0;
        if (limit < TLzhufCodeWriter::ShortestMatch) return 0;
        for (int64_t from = head_[static_cast<size_t>(Hash(at))]; from >= 0 && at - from <= Window;
             from = prev_[static_cast<size_t>(from) & (prev_.size() - 1)]) {
            if (text_[static_cast<size_t>(from + best)] != text_[static_cast<size_t>(at + best)]) continue;
            int length = 0;
            while (length < limit && text_[static_cast<size_t>(from + length)] == text_[static_cast<size_t>(at + length)]) ++length;
            if (length > best) {
                best = length;
                back = static_cast<int>(at - from);
                if (best == limit) break;
            }
        }
        return best;
    }

private:
    int Hash(int64_t at) const {
        const auto* p = text_.data() + at;
        return ((p[0] << 10) ^ (p[1] << 5) ^ p[2]) & 0x7FFF;
    }

    const std::vector<uint8_t>& text_;
    std::array<int64_t, 1 << 15> head_;
    std::array<int64_t, TLzhufCodeWriter::RingSize> prev_;
};

}  // namespace

std::vector<uint8_t> PackLzhuf(std::span<const uint8_t> data, TLzhufStats* stats) {
    if (data.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw std::length_error("LZHUF input larger than its 32-bit size field");
    std::vector<uint8_t> text(kBlankPrefix, ' ');
    text.insert(text.end(), data.begin(), data.end());
    auto finder = std::make_unique<TMatchFinder>(text);
    for (int64_t at = 0; at < kBlankPrefix; ++at) finder->Insert(at);

    TLzhufCodeWriter writer;
    const auto end = static_cast<int64_t>(text.size());
    for (int64_t at = kBlankPrefix; at < end;) {
        const int limit = static_cast<int>(std::min<int64_t>(TLzhufCodeWriter::LongestMatch, end - at));
        int back = 0;
        const int length = finder->Longest(at, limit, back);
        const int step = length >= TLzhufCodeWriter::ShortestMatch ? length : 1;
        if (step > 1)
            writer.PutMatch(length, back);
        else
            writer.PutLiteral(text[static_cast<size_t>(at)]);
        for (int i = 0; i < step; ++i) finder->Insert(at + i);
        at += step;
    }
    if (stats) *stats = writer.Stats();
    return writer.Finish(static_cast<int32_t>(data.size()));
}

}  // namespace pellix
