// Timed tool for the Windows build (run under Wine): the real batch "Create"
// of the main window, shown on screen, over a folder of photo-like 4000 x 3000
// JPEGs into 200 x 200 thumbnails, against libjpeg-turbo's plain decode of the
// same files in the same run; and the process's peak memory after the batch.
//   pellix_gallery_timing make FOLDER COUNT   writes FOLDER\pics<COUNT>\*.jpg (quality 90)
//   pellix_gallery_timing run FOLDER COUNT    measures, in a fresh process
// Run "run" with 5 and with 50 pictures to see whether the peak grows.
#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/ThumbnailsMain.h"
#include "bench/PhotoLike.h"
#include "framework/Jpeg.h"
#include "framework/Registry.h"
#include "framework/StdCtrls.h"

namespace pellix {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 4000, kHeight = 3000;
const char kUserKey[] = "Software\\Quendle Software\\Mirovo\\Options\\User";

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

std::string PicturesOf(const std::string& folder, int count) { return folder + "\\pics" + std::to_string(count) + "\\"; }

int Make(const std::string& folder, int count) {
    const std::string pics = PicturesOf(folder, count);
    fs::create_directories(pics);
    const std::vector<uint8_t> pixels = bench::PhotoLikePixels(kWidth, kHeight);
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(kWidth, kHeight);
    const size_t row = static_cast<size_t>(kWidth) * 3;
    for (int i = 0; i < count; ++i) {
        // Each picture its own: the scene shifted sideways by a different amount.
        const size_t shift = static_cast<size_t>(i) * 61 % kWidth * 3;
        for (int y = 0; y < kHeight; ++y) {
            const uint8_t* src = &pixels[static_cast<size_t>(y) * row];
            uint8_t* dst = bitmap.ScanLine(y);
            std::memcpy(dst, src + shift, row - shift);
            std::memcpy(dst + row - shift, src, shift);
        }
        TJPEGImage jpeg;
        jpeg.Assign(&bitmap);
        jpeg.SetCompressionQuality(90);
        char name[32];
        std::snprintf(name, sizeof(name), "photo%03d.jpg", i);
        jpeg.SaveToFile(pics + name);
    }
    std::printf("%d pictures in %s\n", count, pics.c_str());
    return 0;
}

void StoreSetting(const char* name, const std::string& value) {
    TRegistry registry;
    if (registry.OpenKey(kUserKey, true)) registry.WriteString(name, value);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// libjpeg-turbo alone on the bytes already in memory, and with the reading.
void DecodeOnly(const std::vector<std::string>& files, double& decode, double& readAndDecode) {
    decode = readAndDecode = 0;
    std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 3);
    for (const std::string& file : files) {
        auto start = Clock::now();
        TMemoryStream stream;
        stream.LoadFromFile(file);
        auto decodeStart = Clock::now();
        const JpegHeader header = ReadJpegHeader(stream.Memory(), static_cast<size_t>(stream.Size()));
        pixels.resize(static_cast<size_t>(header.Width) * header.Height * 3);
        DecodeJpeg(stream.Memory(), static_cast<size_t>(stream.Size()),
                   {pixels.data(), header.Width, header.Height, static_cast<ptrdiff_t>(header.Width) * 3});
        decode += Seconds(decodeStart);
        readAndDecode += Seconds(start);
    }
}

int Run(const std::string& folder, int count) {
    const std::string pics = PicturesOf(folder, count);
    const std::string out = folder + "\\out" + std::to_string(count) + "\\";
    fs::remove_all(out);
    fs::create_directories(out);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quendle Software\\Mirovo");
    StoreSetting("InputDir", pics);
    StoreSetting("OutputDir", out);
    StoreSetting("Width", "200");
    StoreSetting("Height", "200");
    StoreSetting("Quality", "90");
    SetCurrentDirectoryA(folder.c_str());

    std::unique_ptr<TThumbnailsForm, ComponentFree> form(new TThumbnailsForm(nullptr));
    form->LoadAndCreate();
    form->Show();
    PumpMessages();
    const int listed = form->ListBox1->Items().Count();
    std::vector<std::string> files;
    for (int i = 0; i < listed; ++i) files.push_back(pics + form->ListBox1->Items().Get(i));

    PROCESS_MEMORY_COUNTERS before{};
    before.cb = sizeof(before);
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof(before));
    const auto start = Clock::now();
    form->ButtonThumbnailsClick(nullptr);
    const double batch = Seconds(start);
    PROCESS_MEMORY_COUNTERS after{};
    after.cb = sizeof(after);
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof(after));
    PumpMessages();
    const int made = form->ListBox2->Items().Count();
    const bool html = fs::exists(out + "samples.html") && fs::exists(out + "generated.html");
    form.reset();

    double decode = 0, readAndDecode = 0;
    DecodeOnly(files, decode, readAndDecode);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quendle Software\\Mirovo");

    std::printf("pictures %d (%dx%d, quality 90), thumbnails made %d, HTML files %s\n", listed, kWidth, kHeight, made,
                html ? "written" : "MISSING");
    std::printf("batch (preview, thumbnails, files, HTML): %.2f s = %.1f ms per picture\n", batch,
                1000 * batch / listed);
    std::printf("libjpeg-turbo decode alone: %.2f s = %.1f ms per picture (with reading the file: %.2f s)\n", decode,
                1000 * decode / listed, readAndDecode);
    std::printf("batch / decode = %.2f (target at most 1.5)\n", batch / decode);
    std::printf("peak working set %.1f MB, peak commit %.1f MB (before the batch: %.1f MB, %.1f MB)\n",
                after.PeakWorkingSetSize / 1048576.0, after.PeakPagefileUsage / 1048576.0,
                before.PeakWorkingSetSize / 1048576.0, before.PeakPagefileUsage / 1048576.0);
    return made == listed && html ? 0 : 1;
}

}  // namespace
}  // namespace pellix

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "make") return pellix::Make(argv[2], std::atoi(argv[3]));
    if (argc == 4 && std::string(argv[1]) == "run") return pellix::Run(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr, "usage: pellix_gallery_timing make|run FOLDER COUNT\n");
    return 2;
}
