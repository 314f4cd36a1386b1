#include "skin/WinConvert.h"

#include <algorithm>
#include <array>
#include <new>

namespace pellix {

namespace {

constexpr int kRingSize = 4096;
constexpr int kLongestMatch = 60;
constexpr int kThreshold = 2;
constexpr int kSymbolCount = 256 + kLongestMatch - kThreshold;  // 314
constexpr int kTreeSize = kSymbolCount * 2 - 1;                 // 627
constexpr int kRoot = kTreeSize - 1;
constexpr uint16_t kCountLimit = 0x8000;

struct TPositionTables {
    std::array<uint8_t, 256> Code{};  // upper six bits of a match position
    std::array<uint8_t, 256> Length{};
};

// The fixed position code: a shorter code for the nearer positions. Each band
// lists its code length and how many first-byte values share one upper value.
constexpr TPositionTables MakePositionTables() {
    struct Band { int length, uppers, perUpper; };
    constexpr Band bands[] = {{3, 1, 32}, {4, 3, 16}, {5, 8, 8}, {6, 12, 4}, {7, 24, 2}, {8, 16, 1}};
    TPositionTables t;
    int byte = 0, upper = 0;
    for (const Band& band : bands)
        for (int u = 0; u < band.uppers; ++u, ++upper)
            for (int k = 0; k < band.perUpper; ++k, ++byte) {
                t.Code[byte] = static_cast<uint8_t>(upper);
                t.Length[byte] = static_cast<uint8_t>(band.length);
            }
    return t;
}

constexpr TPositionTables kPosition = MakePositionTables();
static_assert(kPosition.Code[31] == 0 && kPosition.Length[31] == 3 && kPosition.Code[32] == 1 &&
              kPosition.Code[255] == 63 && kPosition.Length[255] == 8);

}  // namespace

struct TLZH::TTables {
    // The tail past the ring is never addressed by the decoder; the size is
    // the one the format was defined with. Value-initialised: the positions the
    // blank pre-fill leaves out start as zero.
    std::array<uint8_t, kRingSize + kLongestMatch - 1> Ring{};
    std::array<uint16_t, kTreeSize + 1> Freq{};             // + sentinel
    std::array<int16_t, kTreeSize + kSymbolCount> Parent{};  // + leaf of each symbol
    std::array<int16_t, kTreeSize> Child{};
};

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::AllocTables() {
    try {
        Tables = std::make_unique<TTables>();
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    BitBuffer = 0;
    BitCount = 0;
}

void TLZH::FreeTables() noexcept { Tables.reset(); }

void TLZH::FillBitBuffer() {
    while (BitCount <= 8) {
        uint8_t byte = 0;
        uint16_t done = 0;
        (*Reader)(&byte, 1, done);
        if (done != 1) byte = 0;
        BitBuffer = static_cast<uint16_t>(BitBuffer | (byte << (8 - BitCount)));
        BitCount = static_cast<uint8_t>(BitCount + 8);
    }
}

int TLZH::ReadBit() {
    FillBitBuffer();
    const int bit = BitBuffer >> 15;
    BitBuffer = static_cast<uint16_t>(BitBuffer << 1);
    --BitCount;
    return bit;
}

int TLZH::ReadByte() {
    FillBitBuffer();
    const int byte = BitBuffer >> 8;
    BitBuffer = static_cast<uint16_t>(BitBuffer << 8);
    BitCount = static_cast<uint8_t>(BitCount - 8);
    return byte;
}

void TLZH::InitModel() {
    auto& t = *Tables;
    for (int i = 0; i < kSymbolCount; ++i) {
        t.Freq[i] = 1;
        t.Child[i] = static_cast<int16_t>(i + kTreeSize);
        t.Parent[i + kTreeSize] = static_cast<int16_t>(i);
    }
    for (int k = 0, j = kSymbolCount; j < kTreeSize; k += 2, ++j) {
        t.Freq[j] = static_cast<uint16_t>(t.Freq[k] + t.Freq[k + 1]);
        t.Child[j] = static_cast<int16_t>(k);
        t.Parent[k] = t.Parent[k + 1] = static_cast<int16_t>(j);
    }
    t.Freq[kTreeSize] = 0xFFFF;
    t.Parent[kRoot] = 0;
}

void TLZH::RebuildModel() {
    auto& t = *Tables;
    int leaves = 0;
    for (int i = 0; i < kTreeSize; ++i)
        if (t.Child[i] >= kTreeSize) {
            t.Freq[leaves] = static_cast<uint16_t>((t.Freq[i] + 1) / 2);
            t.Child[leaves] = t.Child[i];
            ++leaves;
        }
    for (int k = 0, j = kSymbolCount; j < kTreeSize; k += 2, ++j) {
        const uint16_t f = static_cast<uint16_t>(t.Freq[k] + t.Freq[k + 1]);
        int p = j;
        while (p > 0 && t.Freq[p - 1] > f) --p;  // equal counts keep the older node first
        std::copy_backward(t.Freq.begin() + p, t.Freq.begin() + j, t.Freq.begin() + j + 1);
        std::copy_backward(t.Child.begin() + p, t.Child.begin() + j, t.Child.begin() + j + 1);
        t.Freq[p] = f;
        t.Child[p] = static_cast<int16_t>(k);
    }
    for (int i = 0; i < kTreeSize; ++i) {
        const int c = t.Child[i];
        t.Parent[c] = static_cast<int16_t>(i);
        if (c < kTreeSize) t.Parent[c + 1] = static_cast<int16_t>(i);
    }
}

void TLZH::UpdateModel(int symbol) {
    auto& t = *Tables;
    if (t.Freq[kRoot] == kCountLimit) RebuildModel();
    int c = t.Parent[symbol + kTreeSize];
    do {
        const uint16_t k = ++t.Freq[c];
        if (t.Freq[c + 1] < k) {
            int l = c + 1;
            while (t.Freq[l + 1] < k) ++l;  // the sentinel stops the run
            t.Freq[c] = t.Freq[l];
            t.Freq[l] = k;
            const int moved = t.Child[c];
            const int other = t.Child[l];
            t.Parent[moved] = static_cast<int16_t>(l);
            if (moved < kTreeSize) t.Parent[moved + 1] = static_cast<int16_t>(l);
            t.Parent[other] = static_cast<int16_t>(c);
            if (other < kTreeSize) t.Parent[other + 1] = static_cast<int16_t>(c);
            t.Child[l] = static_cast<int16_t>(moved);
            t.Child[c] = static_cast<int16_t>(other);
            c = l;
        }
        c = t.Parent[c];
    } while (c != 0);
}

int TLZH::DecodeSymbol() {
    auto& t = *Tables;
    int c = t.Child[kRoot];
    while (c < kTreeSize) c = t.Child[c + ReadBit()];
    const int symbol = c - kTreeSize;
    UpdateModel(symbol);
    return symbol;
}

int TLZH::DecodeDistance() {
    int i = ReadByte();
    const int upper = kPosition.Code[i] << 6;
    for (int n = kPosition.Length[i] - 2; n > 0; --n) i = (i << 1) + ReadBit();
    return upper | (i & 0x3F);
}

void TLZH::DecodeLzhuf(int32_t outputSize, const TLzhReadProc& read, const TLzhWriteProc& write) {
    AllocTables();
    struct TTablesGuard {
        TLZH& lzh;
        ~TTablesGuard() {
            lzh.FreeTables();
            lzh.Reader = nullptr;
        }
    } guard{*this};
    Reader = &read;
    InitModel();
    auto& ring = Tables->Ring;
    std::fill(ring.begin(), ring.begin() + (kRingSize - kLongestMatch), ' ');
    int r = kRingSize - kLongestMatch;
    auto put = [&](uint8_t b) {
        uint16_t done = 0;
        write(&b, 1, done);
        ring[r] = b;
        r = (r + 1) % kRingSize;
    };
    for (int64_t n = 0; n < outputSize;) {
        const int c = DecodeSymbol();
        if (c < 256) {
            put(static_cast<uint8_t>(c));
            ++n;
            continue;
        }
        const int s = (r - DecodeDistance() - 1 + kRingSize) % kRingSize;
        const int length = c - 255 + kThreshold;
        for (int k = 0; k < length; ++k) put(ring[(s + k) % kRingSize]);
        n += length;
    }
}

void TLZH::ReadSourceBytes(void* buffer, uint16_t count, uint16_t& done) {
    if (!SourceStream) throw EStreamError("LZH : no source stream");
    const int64_t left = std::max<int64_t>(SourceStream->Size() - SourceStream->Position(), 0);
    const auto n = static_cast<uint16_t>(std::min<int64_t>(count, left));
    SourceStream->ReadBuffer(buffer, n);
    done = n;
}

void TLZH::WriteDestBytes(const void* buffer, uint16_t count, uint16_t& done) {
    if (!DestStream) throw EStreamError("LZH : no destination stream");
    DestStream->WriteBuffer(buffer, count);
    done = count;
}

}  // namespace pellix
