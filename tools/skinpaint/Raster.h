// Pictures of the skin painter: 24-bit pixels, layers of anti-aliased shapes
// flattened over a known background, and the Windows bitmap file they are
// stored as. Portable and deterministic: the arithmetic is +, -, *, / and
// sqrt on doubles, so every build paints the same bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace pellix::skinpaint {

struct TRgb {
    uint8_t R = 0, G = 0, B = 0;

    bool operator==(const TRgb&) const = default;
    // The colour value of the skin's settings: red in the low byte.
    constexpr uint32_t Value() const { return R | G << 8 | static_cast<uint32_t>(B) << 16; }
    static constexpr TRgb Of(uint32_t value) {
        return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16)};
    }
};

// Transparent in every skin image, and cut out of the window region.
inline constexpr TRgb KeyColour{255, 0, 255};
inline constexpr TRgb White{255, 255, 255};
inline constexpr TRgb Black{0, 0, 0};

// a at t = 0, b at t = 1.
TRgb Mix(TRgb a, TRgb b, double t);
inline TRgb Lighter(TRgb c, double t) { return Mix(c, White, t); }
inline TRgb Darker(TRgb c, double t) { return Mix(c, Black, t); }

class TRaster {
public:
    TRaster() = default;
    TRaster(int width, int height, TRgb fill = KeyColour);

    int Width() const { return width_; }
    int Height() const { return height_; }
    TRgb Pixel(int x, int y) const { return pixels_[Index(x, y)]; }
    void SetPixel(int x, int y, TRgb c) { pixels_[Index(x, y)] = c; }

    // Parts outside the picture are dropped.
    void FillRect(int x, int y, int width, int height, TRgb c);
    void Copy(const TRaster& source, int sx, int sy, int width, int height, int dx, int dy);
    void Draw(const TRaster& source, int dx, int dy) { Copy(source, 0, 0, source.width_, source.height_, dx, dy); }
    TRaster Part(int x, int y, int width, int height) const;

    // 24-bit, bottom-up, rows padded with zero bytes to four.
    std::vector<uint8_t> BmpFile() const;

private:
    size_t Index(int x, int y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<TRgb> pixels_;
};

// Equal frames side by side, or stacked.
TRaster FramesSideBySide(const std::vector<TRaster>& frames);
TRaster FramesStacked(const std::vector<TRaster>& frames);

// Signed distance from a point to a shape's edge, negative inside. Pixel
// (x, y) is sampled at its centre (x + 0.5, y + 0.5).
using TShape = std::function<double(double x, double y)>;
// Colour at a pixel.
using TPaint = std::function<TRgb(int x, int y)>;

TShape Box(double left, double top, double right, double bottom, double radius = 0);
// Corners in the order top-left, top-right, bottom-right, bottom-left.
TShape Box(double left, double top, double right, double bottom, double topLeft, double topRight, double bottomRight,
           double bottomLeft);
TShape Circle(double cx, double cy, double radius);
// A convex polygon, corners in clockwise order on screen (y down).
TShape Polygon(std::vector<std::pair<double, double>> corners);
// A stroke with round ends.
TShape Line(double ax, double ay, double bx, double by, double width);
TShape Union(TShape a, TShape b);
TShape Without(TShape a, TShape b);
TShape Intersect(TShape a, TShape b);
TShape Moved(TShape shape, double dx, double dy);
// The band of the given width just inside the shape's edge.
TShape Edge(TShape shape, double width);
// The shape moved inwards (negative: outwards).
TShape Inset(TShape shape, double by);

TPaint Solid(TRgb c);
// top at row y0, bottom at row y1 (inclusive), clamped beyond.
TPaint VerticalGradient(int y0, TRgb top, int y1, TRgb bottom);
TPaint HorizontalGradient(int x0, TRgb left, int x1, TRgb right);

// Paint laid on with coverage: shapes are anti-aliased against what lies
// beneath them, and a pixel no shape touched stays open.
class TLayer {
public:
    TLayer(int width, int height);

    void Fill(const TShape& shape, const TPaint& paint, double opacity = 1);
    void Fill(const TShape& shape, TRgb c, double opacity = 1) { Fill(shape, Solid(c), opacity); }

    // Over the background the picture will be shown on; pixels whose
    // coverage is below cut become KeyColour.
    TRaster Keyed(const TPaint& background, double cut = 1.0 / 512) const;
    TRaster Keyed(TRgb background, double cut = 1.0 / 512) const { return Keyed(Solid(background), cut); }
    // Over the background, nothing keyed.
    TRaster Opaque(const TPaint& background) const { return Keyed(background, -1); }
    TRaster Opaque(TRgb background) const { return Opaque(Solid(background)); }

private:
    struct TCell {
        double R = 0, G = 0, B = 0, A = 0;  // premultiplied, 0..1
    };
    int width_;
    int height_;
    std::vector<TCell> cells_;
};

}  // namespace pellix::skinpaint
