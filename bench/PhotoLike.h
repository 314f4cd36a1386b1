// A photo-like picture for the benchmarks: smooth shading, edges and grain,
// so the JPEG coder and the resampler see realistic data.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace pellix::bench {

// Top-down 24-bit blue-green-red rows, width * 3 bytes each.
inline std::vector<uint8_t> PhotoLikePixels(int width, int height) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
    std::mt19937 grain(42);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
            double sky = 0.5 + 0.5 * std::sin(6.0 * u + 2.0 * v);
            double hills = v > 0.55 + 0.1 * std::sin(9.0 * u) ? 1.0 : 0.0;  // a hard horizon
            double detail = 0.5 + 0.5 * std::sin(80.0 * u * v + 30.0 * u) * std::cos(50.0 * v);
            auto channel = [&](double base) {
                int value = static_cast<int>(base * 255.0) + noise(grain);
                return static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
            };
            uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = channel(hills ? 0.2 + 0.2 * detail : 0.6 + 0.35 * sky);   // blue
            p[1] = channel(hills ? 0.35 + 0.4 * detail : 0.5 + 0.3 * sky);  // green
            p[2] = channel(hills ? 0.25 + 0.3 * detail : 0.3 + 0.2 * sky);  // red
        }
    }
    return pixels;
}

}  // namespace pellix::bench
