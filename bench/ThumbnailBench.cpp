// Native benchmark: libjpeg-turbo's decode of a 4000 x 3000 photo-like JPEG
// (quality 90) against the thumbnail work on the decoded picture (size rule
// for a 200 x 200 box, triangle-filter resampling).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "app/thumbnail/Resample.h"
#include "app/thumbnail/ThumbnailSize.h"
#include "bench/PhotoLike.h"
#include "framework/JpegCodec.h"

namespace pellix {
namespace {

constexpr int kWidth = 4000, kHeight = 3000;

const std::vector<uint8_t>& PhotoJpeg() {
    static const std::vector<uint8_t> jpeg = [] {
        std::vector<uint8_t> pixels = bench::PhotoLikePixels(kWidth, kHeight);
        return EncodeJpeg({pixels.data(), kWidth, kHeight, kWidth * 3}, 90);
    }();
    return jpeg;
}

struct Decoded {
    std::vector<uint8_t> pixels;
    PixelRows rows;
};

const Decoded& DecodedPhoto() {
    static const Decoded decoded = [] {
        Decoded d;
        d.pixels.resize(static_cast<size_t>(kWidth) * kHeight * 3);
        DecodeJpeg(PhotoJpeg().data(), PhotoJpeg().size(), {d.pixels.data(), kWidth, kHeight, kWidth * 3});
        d.rows = {d.pixels.data(), kWidth, kHeight, kWidth * 3};
        return d;
    }();
    return decoded;
}

std::vector<uint8_t> Thumbnail(const PixelRows& source, unsigned threads) {
    ThumbnailSize size = ComputeThumbnailSize(source.Width, source.Height, 200, 200, true);
    std::vector<uint8_t> out(static_cast<size_t>(size.Width) * size.Height * 3);
    StretchPixels(FilterKind::fkTriangle, 0, source, {out.data(), size.Width, size.Height, size.Width * 3}, threads);
    return out;
}

void BM_DecodeJpeg(benchmark::State& state) {
    const auto& jpeg = PhotoJpeg();
    std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 3);
    for (auto _ : state) {
        DecodeJpeg(jpeg.data(), jpeg.size(), {pixels.data(), kWidth, kHeight, kWidth * 3});
        benchmark::DoNotOptimize(pixels.data());
    }
    state.counters["jpeg_MB"] = static_cast<double>(jpeg.size()) / 1e6;
}

void BM_Thumbnail(benchmark::State& state) {
    const Decoded& d = DecodedPhoto();
    auto threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(Thumbnail(d.rows, threads).data());
}

BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond)->MinTime(2.0);
// 0: threads chosen by size (the program's setting); 1: the plain single pass.
BENCHMARK(BM_Thumbnail)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace pellix

int main(int argc, char** argv) {
    using namespace pellix;
    // The parallel passes must not change a pixel.
    if (Thumbnail(DecodedPhoto().rows, 0) != Thumbnail(DecodedPhoto().rows, 1)) {
        std::fprintf(stderr, "parallel thumbnail differs from the single-threaded one\n");
        return EXIT_FAILURE;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
