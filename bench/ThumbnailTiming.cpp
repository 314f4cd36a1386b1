// Timed tool for the Windows build (run under Wine): libjpeg-turbo's decode
// of a 4000 x 3000 photo-like JPEG against TThumbnail's work on the decoded
// picture, and the process's peak memory while doing it once.
//   pellix_thumb_timing make FILE   writes the JPEG (quality 90)
//   pellix_thumb_timing run FILE    measures, in a fresh process
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/thumbnail/ClassThumbnail.h"
#include "bench/PhotoLike.h"
#include "framework/Jpeg.h"

namespace pellix {
namespace {

constexpr int kWidth = 4000, kHeight = 3000, kRounds = 9;

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

PROCESS_MEMORY_COUNTERS Memory() {
    PROCESS_MEMORY_COUNTERS m{};
    m.cb = sizeof(m);
    GetProcessMemoryInfo(GetCurrentProcess(), &m, sizeof(m));
    return m;
}

int Make(const std::string& file) {
    std::vector<uint8_t> pixels = bench::PhotoLikePixels(kWidth, kHeight);
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        std::memcpy(bitmap.ScanLine(y), &pixels[static_cast<size_t>(y) * kWidth * 3], kWidth * 3);
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    jpeg.SetCompressionQuality(90);
    jpeg.SaveToFile(file);
    return 0;
}

// The thumbnail the plain single-threaded algorithm gives.
bool SameAsPlain(const TJPEGImage& jpeg, const TBitmap& result) {
    const TBitmap& source = jpeg.Bitmap();
    std::vector<uint8_t> plain(static_cast<size_t>(result.Width()) * result.Height() * 3);
    StretchPixels(FilterKind::fkTriangle, 0, RowsOf(source), {plain.data(), result.Width(), result.Height(), result.Width() * 3}, 1);
    for (int y = 0; y < result.Height(); ++y)
        if (std::memcmp(result.ScanLine(y), &plain[static_cast<size_t>(y) * result.Width() * 3], result.Width() * 3))
            return false;
    return true;
}

int Run(const std::string& file) {
    const PROCESS_MEMORY_COUNTERS start = Memory();
    std::vector<double> decode, thumb;

    auto t = Clock::now();
    TPicture picture;
    picture.LoadFromFile(file);
    const auto& jpeg = dynamic_cast<const TJPEGImage&>(*picture.Graphic());
    jpeg.Bitmap();
    decode.push_back(Milliseconds(t));

    TThumbnail thumbnail;
    thumbnail.SetMaxWidth(200);
    thumbnail.SetMaxHeight(200);
    t = Clock::now();
    thumbnail.AssignPicture(&picture);
    bool ok = thumbnail.MakeThumbnail();
    thumb.push_back(Milliseconds(t));
    const PROCESS_MEMORY_COUNTERS once = Memory();

    for (int i = 1; i < kRounds; ++i) {
        TPicture fresh;
        t = Clock::now();
        fresh.LoadFromFile(file);
        dynamic_cast<const TJPEGImage&>(*fresh.Graphic()).Bitmap();
        decode.push_back(Milliseconds(t));
        t = Clock::now();
        thumbnail.AssignPicture(&picture);
        ok = thumbnail.MakeThumbnail() && ok;
        thumb.push_back(Milliseconds(t));
    }

    const double pixelMb = kWidth * kHeight * 3 / 1048576.0;
    const double peakMb = (once.PeakWorkingSetSize - start.WorkingSetSize) / 1048576.0;
    const double commitMb = (once.PeakPagefileUsage - start.PagefileUsage) / 1048576.0;
    std::printf("thumbnail %dx%d, built %s, same as the plain algorithm: %s\n", thumbnail.GetBitmap()->Width(),
                thumbnail.GetBitmap()->Height(), ok ? "yes" : "NO",
                SameAsPlain(jpeg, *thumbnail.GetBitmap()) ? "yes" : "NO");
    std::printf("decode (load + libjpeg-turbo) median of %d: %.1f ms\n", kRounds, Median(decode));
    std::printf("thumbnail (AssignPicture + MakeThumbnail) median of %d: %.1f ms = %.2f of the decode\n", kRounds,
                Median(thumb), Median(thumb) / Median(decode));
    std::printf("peak for one decode and thumbnail: working set +%.1f MB, commit +%.1f MB; 24-bit pixels %.1f MB "
                "(limit %.1f MB)\n",
                peakMb, commitMb, pixelMb, 3 * pixelMb);
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace pellix

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "make") return pellix::Make(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "run") return pellix::Run(argv[2]);
    std::fprintf(stderr, "usage: pellix_thumb_timing make|run FILE\n");
    return 2;
}
