#include "tools/skinpaint/Raster.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace pellix::skinpaint {

namespace {

uint8_t Channel(double value) { return static_cast<uint8_t>(std::clamp(std::floor(value + 0.5), 0.0, 255.0)); }

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

TRgb Mix(TRgb a, TRgb b, double t) {
    return {Channel(a.R + (b.R - a.R) * t), Channel(a.G + (b.G - a.G) * t), Channel(a.B + (b.B - a.B) * t)};
}

TRaster::TRaster(int width, int height, TRgb fill) : width_(width), height_(height) {
    if (width < 0 || height < 0) throw std::invalid_argument("negative picture size");
    pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
}

void TRaster::FillRect(int x, int y, int width, int height, TRgb c) {
    const int x0 = std::max(x, 0), x1 = std::min(x + width, width_);
    const int y0 = std::max(y, 0), y1 = std::min(y + height, height_);
    for (int row = y0; row < y1; ++row)
        for (int col = x0; col < x1; ++col) SetPixel(col, row, c);
}

void TRaster::Copy(const TRaster& source, int sx, int sy, int width, int height, int dx, int dy) {
    for (int row = 0; row < height; ++row) {
        const int from = sy + row, to = dy + row;
        if (from < 0 || from >= source.height_ || to < 0 || to >= height_) continue;
        for (int col = 0; col < width; ++col) {
            const int fx = sx + col, tx = dx + col;
            if (fx < 0 || fx >= source.width_ || tx < 0 || tx >= width_) continue;
            SetPixel(tx, to, source.Pixel(fx, from));
        }
    }
}

TRaster TRaster::Part(int x, int y, int width, int height) const {
    TRaster part(width, height);
    part.Copy(*this, x, y, width, height, 0, 0);
    return part;
}

std::vector<uint8_t> TRaster::BmpFile() const {
    const uint32_t stride = (static_cast<uint32_t>(width_) * 3 + 3) & ~3u;
    const uint32_t imageSize = stride * static_cast<uint32_t>(height_);
    constexpr uint32_t headers = 14 + 40;
    std::vector<uint8_t> out;
    out.reserve(headers + imageSize);
    out.push_back('B');
    out.push_back('M');
    PutLittleEndian(out, headers + imageSize, 4);
    PutLittleEndian(out, 0, 4);  // reserved
    PutLittleEndian(out, headers, 4);
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, static_cast<uint32_t>(width_), 4);
    PutLittleEndian(out, static_cast<uint32_t>(height_), 4);  // positive: bottom-up
    PutLittleEndian(out, 1, 2);                               // planes
    PutLittleEndian(out, 24, 2);
    PutLittleEndian(out, 0, 4);  // BI_RGB
    PutLittleEndian(out, imageSize, 4);
    for (int i = 0; i < 4; ++i) PutLittleEndian(out, 0, 4);  // resolution, palette
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < width_; ++x) {
            const TRgb c = Pixel(x, y);
            out.push_back(c.B);
            out.push_back(c.G);
            out.push_back(c.R);
        }
        for (uint32_t pad = static_cast<uint32_t>(width_) * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

TRaster FramesSideBySide(const std::vector<TRaster>& frames) {
    if (frames.empty()) return {};
    const int w = frames.front().Width(), h = frames.front().Height();
    TRaster strip(w * static_cast<int>(frames.size()), h);
    for (size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].Width() != w || frames[i].Height() != h) throw std::invalid_argument("frames differ in size");
        strip.Draw(frames[i], w * static_cast<int>(i), 0);
    }
    return strip;
}

TRaster FramesStacked(const std::vector<TRaster>& frames) {
    if (frames.empty()) return {};
    const int w = frames.front().Width(), h = frames.front().Height();
    TRaster strip(w, h * static_cast<int>(frames.size()));
    for (size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].Width() != w || frames[i].Height() != h) throw std::invalid_argument("frames differ in size");
        strip.Draw(frames[i], 0, h * static_cast<int>(i));
    }
    return strip;
}

TShape Box(double left, double top, double right, double bottom, double radius) {
    return Box(left, top, right, bottom, radius, radius, radius, radius);
}

TShape Box(double left, double top, double right, double bottom, double topLeft, double topRight, double bottomRight,
           double bottomLeft) {
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double hx = (right - left) / 2, hy = (bottom - top) / 2;
    return [=](double x, double y) {
        const double px = x - cx, py = y - cy;
        const double r = px < 0 ? (py < 0 ? topLeft : bottomLeft) : (py < 0 ? topRight : bottomRight);
        const double qx = std::abs(px) - hx + r, qy = std::abs(py) - hy + r;
        const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - r;
    };
}

TShape Circle(double cx, double cy, double radius) {
    return [=](double x, double y) {
        const double dx = x - cx, dy = y - cy;
        return std::sqrt(dx * dx + dy * dy) - radius;
    };
}

TShape Polygon(std::vector<std::pair<double, double>> corners) {
    // The largest distance outside any edge's line: exact inside, close enough
    // outside for a one-pixel soft edge.
    return [corners = std::move(corners)](double x, double y) {
        double d = -1e9;
        for (size_t i = 0; i < corners.size(); ++i) {
            const auto [ax, ay] = corners[i];
            const auto [bx, by] = corners[(i + 1) % corners.size()];
            const double ex = bx - ax, ey = by - ay;
            const double length = std::sqrt(ex * ex + ey * ey);
            if (length == 0) continue;
            d = std::max(d, ((x - ax) * ey - (y - ay) * ex) / length);
        }
        return d;
    };
}

TShape Line(double ax, double ay, double bx, double by, double width) {
    return [=](double x, double y) {
        const double vx = bx - ax, vy = by - ay, wx = x - ax, wy = y - ay;
        const double length2 = vx * vx + vy * vy;
        const double t = length2 == 0 ? 0 : std::clamp((wx * vx + wy * vy) / length2, 0.0, 1.0);
        const double dx = wx - vx * t, dy = wy - vy * t;
        return std::sqrt(dx * dx + dy * dy) - width / 2;
    };
}

TShape Union(TShape a, TShape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return std::min(a(x, y), b(x, y)); };
}

TShape Without(TShape a, TShape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}

TShape Intersect(TShape a, TShape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return std::max(a(x, y), b(x, y)); };
}

TShape Moved(TShape shape, double dx, double dy) {
    return [shape = std::move(shape), dx, dy](double x, double y) { return shape(x - dx, y - dy); };
}

TShape Edge(TShape shape, double width) {
    return [shape = std::move(shape), width](double x, double y) {
        const double d = shape(x, y);
        return std::max(d, -d - width);
    };
}

TShape Inset(TShape shape, double by) {
    return [shape = std::move(shape), by](double x, double y) { return shape(x, y) + by; };
}

TPaint Solid(TRgb c) {
    return [c](int, int) { return c; };
}

TPaint VerticalGradient(int y0, TRgb top, int y1, TRgb bottom) {
    return [=](int, int y) {
        if (y1 <= y0) return top;
        return Mix(top, bottom, std::clamp(static_cast<double>(y - y0) / (y1 - y0), 0.0, 1.0));
    };
}

TPaint HorizontalGradient(int x0, TRgb left, int x1, TRgb right) {
    return [=](int x, int) {
        if (x1 <= x0) return left;
        return Mix(left, right, std::clamp(static_cast<double>(x - x0) / (x1 - x0), 0.0, 1.0));
    };
}

TLayer::TLayer(int width, int height)
    : width_(width), height_(height), cells_(static_cast<size_t>(width) * static_cast<size_t>(height)) {}

void TLayer::Fill(const TShape& shape, const TPaint& paint, double opacity) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const double coverage = std::clamp(0.5 - shape(x + 0.5, y + 0.5), 0.0, 1.0) * opacity;
            if (coverage <= 0) continue;
            const TRgb c = paint(x, y);
            TCell& cell = cells_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
            const double keep = 1 - coverage;
            cell.R = c.R / 255.0 * coverage + cell.R * keep;
            cell.G = c.G / 255.0 * coverage + cell.G * keep;
            cell.B = c.B / 255.0 * coverage + cell.B * keep;
            cell.A = coverage + cell.A * keep;
        }
    }
}

TRaster TLayer::Keyed(const TPaint& background, double cut) const {
    TRaster picture(width_, height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const TCell& cell = cells_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
            if (cell.A < cut) continue;
            const TRgb under = background(x, y);
            const double keep = 1 - cell.A;
            const TRgb c{Channel(cell.R * 255 + under.R * keep), Channel(cell.G * 255 + under.G * keep),
                         Channel(cell.B * 255 + under.B * keep)};
            // A painted pixel never falls into the key's match range by chance.
            const bool nearKey = c.R == 255 && c.G <= 1 && c.B == 255;
            picture.SetPixel(x, y, nearKey ? TRgb{254, c.G, 255} : c);
        }
    }
    return picture;
}

}  // namespace pellix::skinpaint
