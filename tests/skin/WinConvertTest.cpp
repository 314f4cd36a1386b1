#include "skin/WinConvert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "tools/skinpack/LzhufEncoder.h"

namespace pellix {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes StreamBytes(const TMemoryStream& s) { return Bytes(s.Memory(), s.Memory() + s.Size()); }

int32_t SizeField(const Bytes& packed) {
    return static_cast<int32_t>(uint32_t{packed[0]} | uint32_t{packed[1]} << 8 | uint32_t{packed[2]} << 16 |
                                uint32_t{packed[3]} << 24);
}

struct DecodeRun {
    Bytes output;
    int reads = 0;
    int readsPastEnd = 0;  // calls that found no byte left
};

// Decodes a packed stream as the skin reader does: the size field first, then
// the code through TLZH's own procedures.
DecodeRun Decode(const Bytes& packed, int32_t size) {
    TMemoryStream source, dest;
    source.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    source.SetPosition(4);
    TLZH lzh;
    lzh.SourceStream = &source;
    lzh.DestStream = &dest;
    DecodeRun run;
    auto read = [&](void* buffer, uint16_t count, uint16_t& done) {
        ++run.reads;
        lzh.ReadSourceBytes(buffer, count, done);
        if (done == 0) ++run.readsPastEnd;
    };
    lzh.DecodeLzhuf(size, read, std::bind_front(&TLZH::WriteDestBytes, &lzh));
    run.output = StreamBytes(dest);
    return run;
}

DecodeRun Decode(const Bytes& packed) { return Decode(packed, SizeField(packed)); }

// Streams written symbol by symbol, with the bits worked out by hand from the
// initial tree and the position code, so neither side checks only itself.
struct KnownStream {
    const char* name;
    std::function<void(TLzhufCodeWriter&)> spell;
    int32_t size;
    Bytes code;
    Bytes output;
};

class KnownStreamTest : public testing::TestWithParam<KnownStream> {};

TEST_P(KnownStreamTest, WriterAndDecoderAgreeWithTheHandWorkedBits) {
    const KnownStream& k = GetParam();
    TLzhufCodeWriter writer;
    k.spell(writer);
    Bytes expected{static_cast<uint8_t>(k.size), 0, 0, 0};
    expected.insert(expected.end(), k.code.begin(), k.code.end());
    EXPECT_EQ(writer.Finish(k.size), expected);
    EXPECT_EQ(Decode(expected).output, k.output);
}

Bytes ZerosThenBlanks() {
    Bytes b(24, 0);
    b.insert(b.end(), 36, ' ');
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Lzhuf, KnownStreamTest,
    testing::Values(
        // 'A' is leaf 65: nine bits 111001101 from the root.
        KnownStream{"FirstLiteral", [](TLzhufCodeWriter& w) { w.PutLiteral('A'); }, 1, {0xE6, 0x80}, BytesOf("A")},
        // Length 60 is symbol 313 (11000101); 4060 back is position 4059: upper 63
        // (11111111) and low 27 (011011). It starts at ring position 4072, past the
        // blanks, where the ring starts as zeros.
        KnownStream{"FirstMatchReadsTheRingTail", [](TLzhufCodeWriter& w) { w.PutMatch(60, 4060); }, 60,
                    {0xC5, 0xFF, 0x6C}, ZerosThenBlanks()}),
    [](const testing::TestParamInfo<KnownStream>& info) { return std::string(info.param.name); });

TEST(LzhufPackerTest, PacksASingleByteAsTheHandWorkedStream) {
    EXPECT_EQ(PackLzhuf(BytesOf("A")), (Bytes{1, 0, 0, 0, 0xE6, 0x80}));
}

// Round trips through the packer.

Bytes Repeat(uint8_t b, size_t n) { return Bytes(n, b); }

Bytes Text(size_t n) {
    static const std::string words = "skin frame button caption title bar border menu glyph ";
    Bytes out;
    std::mt19937 rng(7);
    while (out.size() < n) {
        const size_t at = rng() % (words.size() - 7);
        out.insert(out.end(), words.begin() + static_cast<long>(at), words.begin() + static_cast<long>(at + 7));
    }
    out.resize(n);
    return out;
}

Bytes RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes out(n);
    for (uint8_t& b : out) b = static_cast<uint8_t>(rng());
    return out;
}

// Like a bitmap: rows of gradients with flat runs and repeated tiles.
Bytes BitmapLike(size_t n) {
    Bytes out;
    std::mt19937 rng(11);
    for (int row = 0; out.size() < n; ++row) {
        for (int x = 0; x < 320; ++x) {
            const int tone = (x / 16 + row / 8) % 3 == 0 ? 0xC0 : (x * 255 / 320);
            out.push_back(static_cast<uint8_t>(tone));
            out.push_back(static_cast<uint8_t>(row + (rng() % 4 == 0 ? 1 : 0)));
            out.push_back(static_cast<uint8_t>(tone ^ row));
        }
    }
    out.resize(n);
    return out;
}

// Random filler with copies taken from every band of the position code.
Bytes CopiesAtEveryDistance() {
    Bytes out = RandomBytes(4100, 3);
    std::mt19937 rng(5);
    for (int back : {1, 2, 3, 63, 64, 65, 127, 128, 511, 512, 1023, 1024, 2047, 2048, 3071, 3072, 4000, 4035, 4036}) {
        const size_t from = out.size() - static_cast<size_t>(back);
        for (size_t k = 0; k < 40; ++k) out.push_back(out[from + k]);
        for (int k = 0; k < 8; ++k) out.push_back(static_cast<uint8_t>(rng()));
    }
    return out;
}

struct RoundTrip {
    const char* name;
    std::function<Bytes()> make;
};

class LzhufRoundTripTest : public testing::TestWithParam<RoundTrip> {};

TEST_P(LzhufRoundTripTest, DecodesExactlyAndReadsAtMostTwoBytesPastTheEnd) {
    const Bytes data = GetParam().make();
    const Bytes packed = PackLzhuf(data);
    ASSERT_EQ(SizeField(packed), static_cast<int32_t>(data.size()));
    const DecodeRun run = Decode(packed);
    EXPECT_EQ(run.output, data);
    EXPECT_LE(run.readsPastEnd, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Lzhuf, LzhufRoundTripTest,
    testing::Values(RoundTrip{"Empty", [] { return Bytes{}; }},
                    RoundTrip{"OneByte", [] { return Bytes{0x7F}; }},
                    // Symbol 0 starts as the leaf at position 0, where the tree's walk up ends.
                    RoundTrip{"LeafAtPositionZero", [] { return Bytes{0, 0x11, 0, 0x22, 0, 0, 0x33}; }},
                    RoundTrip{"Run59", [] { return Repeat('x', 59); }},
                    RoundTrip{"Run60", [] { return Repeat('x', 60); }},
                    RoundTrip{"Run61", [] { return Repeat('x', 61); }},
                    RoundTrip{"Run62", [] { return Repeat('x', 62); }},
                    RoundTrip{"Text59", [] { return Text(59); }},
                    RoundTrip{"Text60", [] { return Text(60); }},
                    RoundTrip{"Text61", [] { return Text(61); }},
                    RoundTrip{"TextRingSize", [] { return Text(4096); }},
                    RoundTrip{"TextRingSizePlusOne", [] { return Text(4097); }},
                    RoundTrip{"Zeros", [] { return Repeat(0, 10000); }},
                    RoundTrip{"CopiesAtEveryDistance", CopiesAtEveryDistance},
                    RoundTrip{"RandomBytes", [] { return RandomBytes(70000, 1); }},
                    RoundTrip{"LargeBitmapLike", [] { return BitmapLike(200000); }}),
    [](const testing::TestParamInfo<RoundTrip>& info) { return std::string(info.param.name); });

TEST(LzhufPackerTest, CopiesFromEveryDistanceBandAreCodedAsMatches) {
    TLzhufStats stats;
    const Bytes data = CopiesAtEveryDistance();
    PackLzhuf(data, &stats);
    EXPECT_GE(stats.Matches, 19);
}

// Skewed literals: a few byte values take nearly all counts, so the root
// reaches its limit again and again.
TEST(LzhufRoundTripSkewedTest, SurvivesRepeatedTreeRebuilds) {
    std::mt19937 rng(9);
    std::geometric_distribution<int> pick(0.2);
    Bytes data(150000);
    for (uint8_t& b : data) b = static_cast<uint8_t>(pick(rng) * 37);
    TLzhufStats stats;
    const Bytes packed = PackLzhuf(data, &stats);
    ASSERT_GE(stats.Rebuilds, 2);
    EXPECT_EQ(Decode(packed).output, data);
}

// Counts growing like Fibonacci numbers (times the 314 leaves' own weight)
// stack each symbol above all lighter ones, so a rare symbol's code grows past
// 16 bits; a second round crosses the count limit with that shape.
TEST(LzhufRoundTripSkewedTest, CodesLongerThan16BitsDecode) {
    Bytes symbols;
    const int weights[] = {314, 314, 628, 942, 1570, 2512, 4082, 6594, 10676};
    for (int round = 0; round < 2; ++round) {
        Bytes part;
        for (int k = 0; k < 9; ++k) part.insert(part.end(), static_cast<size_t>(weights[k] - 1), static_cast<uint8_t>('a' + k));
        std::shuffle(part.begin(), part.end(), std::mt19937(static_cast<uint32_t>(round)));
        part.push_back(200);
        symbols.insert(symbols.end(), part.begin(), part.end());
    }
    TLzhufCodeWriter writer;
    for (uint8_t s : symbols) writer.PutLiteral(s);
    ASSERT_GT(writer.Stats().LongestCode, 16);
    ASSERT_GE(writer.Stats().Rebuilds, 1);
    EXPECT_EQ(Decode(writer.Finish(static_cast<int32_t>(symbols.size()))).output, symbols);
}

// The decoder's own rules.

TEST(LzhDecoderTest, NoPositiveSizeReadsAndWritesNothing) {
    for (int32_t size : {0, -1, INT32_MIN}) {
        TLZH lzh;
        int reads = 0, writes = 0;
        lzh.DecodeLzhuf(
            size, [&](void*, uint16_t, uint16_t& done) { ++reads, done = 0; },
            [&](const void*, uint16_t, uint16_t&) { ++writes; });
        EXPECT_EQ(reads, 0) << size;
        EXPECT_EQ(writes, 0) << size;
    }
}

// "xy" then a match of 10 from two back: the source runs into the bytes it makes.
Bytes OverlappingMatchStream(int32_t size) {
    TLzhufCodeWriter w;
    w.PutLiteral('x');
    w.PutLiteral('y');
    w.PutMatch(10, 2);
    return w.Finish(size);
}

TEST(LzhDecoderTest, MatchOverlappingItsOwnOutputRepeatsIt) {
    EXPECT_EQ(Decode(OverlappingMatchStream(12)).output, BytesOf("xyxyxyxyxyxy"));
}

TEST(LzhDecoderTest, SizeEndingInsideAMatchStillCopiesTheWholeMatch) {
    EXPECT_EQ(Decode(OverlappingMatchStream(5)).output, BytesOf("xyxyxyxyxyxy"));
    TLzhufCodeWriter w;
    w.PutLiteral('q');
    w.PutMatch(60, 1);
    EXPECT_EQ(Decode(w.Finish(2)).output.size(), 61u);  // 59 more than asked
}

TEST(LzhDecoderTest, StreamMayStartWithAMatchOfBlanks) {
    TLzhufStats stats;
    const Bytes blanks = Repeat(' ', 100);
    const Bytes packed = PackLzhuf(blanks, &stats);
    EXPECT_EQ(stats.Literals, 0);
    EXPECT_EQ(Decode(packed).output, blanks);
}

TEST(LzhDecoderTest, TruncatedCodeReadsAsZerosUntilTheSizeIsReached) {
    const Bytes data = Text(20000);
    Bytes packed = PackLzhuf(data);
    packed.resize(4 + (packed.size() - 4) / 2);
    const DecodeRun run = Decode(packed);
    ASSERT_GE(run.output.size(), data.size());
    EXPECT_LT(run.output.size(), data.size() + 60);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 1000, run.output.begin()));
    EXPECT_GT(run.readsPastEnd, 2);
}

TEST(LzhDecoderTest, AReadThatDeliversNoByteSuppliesZero) {
    Bytes packed = PackLzhuf(Text(3000));
    const int32_t size = SizeField(packed);
    const Bytes code(packed.begin() + 4, packed.begin() + 4 + (static_cast<long>(packed.size()) - 4) / 3);
    auto decodeWithFill = [&](uint8_t fill) {
        TLZH lzh;
        size_t at = 0;
        Bytes out;
        lzh.DecodeLzhuf(
            size,
            [&](void* buffer, uint16_t, uint16_t& done) {
                *static_cast<uint8_t*>(buffer) = at < code.size() ? code[at] : fill;
                done = at < code.size() ? 1 : 0;
                ++at;
            },
            [&](const void* buffer, uint16_t count, uint16_t& done) {
                out.push_back(*static_cast<const uint8_t*>(buffer));
                done = count;
            });
        return out;
    };
    EXPECT_EQ(decodeWithFill(0xFF), decodeWithFill(0x00));
}

// Takes `room` bytes, then refuses.
class TFullStream : public TMemoryStream {
public:
    explicit TFullStream(int64_t room) : room_(room) {}
    int64_t Write(const void* buffer, int64_t count) override {
        return Position() + count > room_ ? 0 : TMemoryStream::Write(buffer, count);
    }

private:
    int64_t room_;
};

TEST(LzhDecoderTest, WriteErrorReachesTheCallerAndTheNextDecodeStartsAfresh) {
    const Bytes data = Text(5000);
    const Bytes packed = PackLzhuf(data);
    TMemoryStream source;
    source.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    TFullStream full(1000);
    TLZH lzh;
    lzh.SourceStream = &source;
    lzh.DestStream = &full;
    source.SetPosition(4);
    EXPECT_THROW(lzh.DecodeLzhuf(SizeField(packed), std::bind_front(&TLZH::ReadSourceBytes, &lzh),
                                 std::bind_front(&TLZH::WriteDestBytes, &lzh)),
                 EWriteError);
    EXPECT_EQ(full.Size(), 1000);

    TMemoryStream dest;
    lzh.DestStream = &dest;
    source.SetPosition(4);
    lzh.DecodeLzhuf(SizeField(packed), std::bind_front(&TLZH::ReadSourceBytes, &lzh),
                    std::bind_front(&TLZH::WriteDestBytes, &lzh));
    EXPECT_EQ(StreamBytes(dest), data);
}

TEST(LzhDecoderTest, ReadSourceBytesStopsAtTheEndOfTheStream) {
    TMemoryStream source;
    source.WriteBuffer("abc", 3);
    source.SetPosition(1);
    TLZH lzh;
    lzh.SourceStream = &source;
    char buffer[4] = {};
    uint16_t done = 99;
    lzh.ReadSourceBytes(buffer, 4, done);
    EXPECT_EQ(done, 2);
    EXPECT_EQ(std::string(buffer, 2), "bc");
    lzh.ReadSourceBytes(buffer, 1, done);
    EXPECT_EQ(done, 0);
}

}  // namespace
}  // namespace pellix
