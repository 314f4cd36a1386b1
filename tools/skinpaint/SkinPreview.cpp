#include "tools/skinpaint/SkinPreview.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace pellix::skinpaint {

namespace {

struct TMargins {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

TRaster Frame(const TRaster& image, int frames, int frame, bool stacked) {
    if (stacked) {
        const int h = image.Height() / frames;
        return image.Part(0, h * (frame - 1), image.Width(), h);
    }
    const int w = image.Width() / frames;
    return image.Part(w * (frame - 1), 0, w, image.Height());
}

// Nearest-neighbour stretch of a part of source into a part of target.
void Stretch(TRaster& target, int dx, int dy, int dw, int dh, const TRaster& source, int sx, int sy, int sw, int sh) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) {
            const int tx = dx + x, ty = dy + y;
            if (tx < 0 || ty < 0 || tx >= target.Width() || ty >= target.Height()) continue;
            target.SetPixel(tx, ty, source.Pixel(sx + x * sw / dw, sy + y * sh / dh));
        }
}

// The engine's nine-part painting with a stretched centre.
TRaster NinePart(const TRaster& frame, TMargins m, int w, int h) {
    if (m.Left + m.Right > w) m.Left = m.Right = 0;
    if (m.Top + m.Bottom > h) m.Top = m.Bottom = 0;
    TRaster out(w, h);
    const int fw = frame.Width(), fh = frame.Height();
    const int xs[] = {0, m.Left, w - m.Right, w}, sxs[] = {0, m.Left, fw - m.Right, fw};
    const int ys[] = {0, m.Top, h - m.Bottom, h}, sys[] = {0, m.Top, fh - m.Bottom, fh};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            Stretch(out, xs[column], ys[row], xs[column + 1] - xs[column], ys[row + 1] - ys[row], frame, sxs[column],
                    sys[row], sxs[column + 1] - sxs[column], sys[row + 1] - sys[row]);
    return out;
}

// Left end, middle repeated at its own width, right end.
TRaster Band(const TRaster& frame, int left, int right, int w, int h) {
    TRaster out(w, h);
    const int fw = frame.Width(), fh = frame.Height(), step = fw - left - right;
    Stretch(out, 0, 0, left, h, frame, 0, 0, left, fh);
    for (int x = left; x < w - right; x += step) Stretch(out, x, 0, step, h, frame, left, 0, step, fh);
    Stretch(out, w - right, 0, right, h, frame, fw - right, 0, right, fh);
    return out;
}

void DrawKeyed(TRaster& target, const TRaster& source, int x, int y) {
    for (int row = 0; row < source.Height(); ++row)
        for (int column = 0; column < source.Width(); ++column) {
            const TRgb c = source.Pixel(column, row);
            const int tx = x + column, ty = y + row;
            if (c == KeyColour || tx < 0 || ty < 0 || tx >= target.Width() || ty >= target.Height()) continue;
            target.SetPixel(tx, ty, c);
        }
}

TRaster Enlarged(const TRaster& source, int scale, bool checkerKeys) {
    TRaster out(source.Width() * scale, source.Height() * scale);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            TRgb c = source.Pixel(x / scale, y / scale);
            if (checkerKeys && c == KeyColour) c = ((x / 4 + y / 4) % 2) ? TRgb{204, 204, 204} : TRgb{244, 244, 244};
            out.SetPixel(x, y, c);
        }
    return out;
}

class TMockPainter {
public:
    TMockPainter(const TSkinTheme& theme, const TSkinBuilder& skin) : t_(theme), g_(theme.Geometry), skin_(skin) {}

    TRaster Paint() {
        TRaster canvas(620, 340, TRgb{92, 108, 124});
        Window(canvas, 10, 10, 400, 316, true);
        Window(canvas, 420, 10, 190, 120, false);
        PopupMenu(canvas, 430, 150, 170, 118);
        return canvas;
    }

private:
    const TRaster& Image(const std::string& name) const {
        for (const auto& image : skin_.Images())
            if (image.Name == name) return image.Picture;
        throw std::invalid_argument("no image " + name);
    }

    void Window(TRaster& canvas, int x0, int y0, int w, int h, bool active) {
        const int L = g_.Border, R = g_.Border, B = g_.Border, T = g_.Caption, M = g_.MenuBar;
        const int f = active ? 1 : 2;
        TRaster window(w, h, t_.Face);
        window.Draw(NinePart(Frame(Image("left.bmp"), 2, f, false), {0, T, 0, B}, L, h), 0, 0);
        window.Draw(NinePart(Frame(Image("right.bmp"), 2, f, false), {0, T, 0, B}, R, h), w - R, 0);
        window.Draw(NinePart(Frame(Image("bottom.bmp"), 2, f, true), {}, w - L - R, B), L, h - B);
        window.Draw(NinePart(Frame(Image("top.bmp"), 2, f, true), {g_.TopEnd, 0, g_.TopEnd, 0}, w - L - R, T), L, 0);
        DrawKeyed(window, Band(Frame(Image("textback.bmp"), 2, f, true), g_.TextBandEnd, g_.TextBandEnd, 96, T),
                  L + g_.TextShift, 0);
        DrawKeyed(window, Image("icon.bmp"), g_.IconLeft, g_.IconTop);
        const int close = g_.ButtonsRight + g_.CloseWidth, box = close + g_.ButtonGap + g_.BoxWidth;
        const int minimise = box + g_.ButtonGap + g_.BoxWidth;
        DrawKeyed(window, Frame(Image("close.bmp"), 4, active ? 3 : 4, false), w - close, g_.ButtonTop);
        DrawKeyed(window, Frame(Image("maximise.bmp"), 4, active ? 1 : 4, false), w - box, g_.ButtonTop);
        DrawKeyed(window, Frame(Image("minimise.bmp"), 4, active ? 2 : 4, false), w - minimise, g_.ButtonTop);
        window.Draw(Band(Frame(Image("menubar.bmp"), 2, f, true), 2, 2, w - L - R, M), L, T);
        if (active) Controls(window, L, T + M, w - L - R, h - T - M - B);
        DrawKeyed(canvas, window, x0, y0);
    }

    void Controls(TRaster& c, int x0, int y0, int w, int h) {
        const TRaster& buttons = Image("buttons.bmp");
        int x = x0 + 10;
        for (int frame : {1, 4, 2, 3}) {
            DrawKeyed(c, NinePart(Frame(buttons, 5, frame, false), {4, 4, 4, 4}, 72, 24), x, y0 + 10);
            x += 80;
        }
        for (int i = 0; i < 4; ++i) {
            DrawKeyed(c, Frame(Image("checkbox.bmp"), 4, i + 1, false), x0 + 12 + 22 * i, y0 + 46);
            DrawKeyed(c, Frame(Image("radiobutton.bmp"), 4, i + 1, false), x0 + 112 + 22 * i, y0 + 46);
        }
        const TRaster& progress = Image("progress.bmp");
        DrawKeyed(c, NinePart(Frame(progress, 2, 1, false), {4, 4, 4, 4}, 200, 16), x0 + 12, y0 + 70);
        DrawKeyed(c, NinePart(Frame(progress, 2, 2, false), {4, 4, 4, 4}, 124, 16), x0 + 12, y0 + 70);
        ScrollBar(c, x0 + 12, y0 + 96, 200, false);
        ScrollBar(c, x0 + w - 16, y0, h - 22, true);
        Tabs(c, x0 + 12, y0 + 122, 250, 80);
        Combo(c, x0 + 230, y0 + 66, 120, 21);
        const TRaster& updown = Image("updownvert.bmp");
        const TRaster& glyph = Image("updownvertglyph.bmp");
        for (int half = 0; half < 2; ++half) {
            const int frame = half == 0 ? 1 : 5, top = y0 + 96 + 11 * half;
            DrawKeyed(c, Frame(updown, 8, frame, false), x0 + 240, top);
            DrawKeyed(c, Frame(glyph, 8, frame, false), x0 + 244, top + 4 - half);
        }
        StatusBar(c, x0, y0 + h - 22, w - 16, 22);
    }

    void ScrollBar(TRaster& c, int x, int y, int length, bool vertical) {
        const int s = 16, w = vertical ? s : length, h = vertical ? length : s;
        TRaster bar(w, h, t_.Track);
        const TRaster track = Frame(Image(vertical ? "vertscroll.bmp" : "horzscroll.bmp"), 4, 1, false);
        const TMargins tm = vertical ? TMargins{1, 2, 1, 2} : TMargins{2, 1, 2, 1};
        if (vertical)
            bar.Draw(NinePart(track, tm, s, length - 2 * s), 0, s);
        else
            bar.Draw(NinePart(track, tm, length - 2 * s, s), s, 0);
        const TRaster& arrows = Image("scrollbar.bmp");
        DrawKeyed(bar, Frame(arrows, 23, vertical ? 9 : 1, false), 0, 0);
        DrawKeyed(bar, Frame(arrows, 23, vertical ? 13 : 6, false), vertical ? 0 : length - s,
                  vertical ? length - s : 0);
        const TRaster thumb = Frame(Image(vertical ? "vertscrollthumb.bmp" : "horzscrollthumb.bmp"), 3, 1, false);
        if (vertical)
            DrawKeyed(bar, NinePart(thumb, {0, 6, 0, 6}, s, 60), 0, s + 20);
        else
            DrawKeyed(bar, NinePart(thumb, {6, 0, 6, 0}, 60, s), s + 30, 0);
        c.Draw(bar, x, y);
    }

    void Tabs(TRaster& c, int x, int y, int w, int h) {
        const TRaster& tabs = Image("tabs.bmp");
        const TRaster& border = Image("tabsborder.bmp");
        const int strip = 22;
        TRaster page = NinePart(border, {4, 5, 4, 4}, w, h - strip + 1);
        page.FillRect(4, 5, w - 8, h - strip - 8, t_.Face);
        c.Draw(page, x, y + strip - 1);
        int tx = x + 2;
        for (int frame : {1, 2, 1}) {
            const int top = y + (frame == 2 ? 0 : 0);
            DrawKeyed(c, NinePart(Frame(tabs, 5, frame, false), {5, 5, 5, 2}, 64, strip), tx, top);
            tx += 64;
        }
    }

    void Combo(TRaster& c, int x, int y, int w, int h) {
        const TRaster edge = Frame(Image("sunkedge.bmp"), 4, 1, false);
        TRaster combo = NinePart(edge, {1, 1, 1, 1}, w, h);
        const int b = 19;
        combo.Draw(NinePart(Frame(Image("combobutton.bmp"), 4, 1, false), {}, b, h), w - b, 0);
        const TRaster glyph = Frame(Image("extraimages.bmp"), 5, 1, false);
        DrawKeyed(combo, glyph, w - b + (b - glyph.Width()) / 2, (h - glyph.Height()) / 2);
        c.Draw(combo, x, y);
    }

    void StatusBar(TRaster& c, int x, int y, int w, int h) {
        const TRaster& edges = Image("statusbaredges.bmp");
        c.FillRect(x, y, w, h, t_.Face);
        c.Draw(NinePart(Frame(edges, 3, 1, false), {2, 2, 2, 2}, 180, h - 2), x + 2, y + 2);
        c.Draw(NinePart(Frame(edges, 3, 1, false), {2, 2, 2, 2}, w - 186, h - 2), x + 184, y + 2);
        DrawKeyed(c, Frame(Image("extraimages.bmp"), 5, 5, false), x + w - 13, y + h - 13);
    }

    void PopupMenu(TRaster& c, int x, int y, int w, int h) {
        TRaster menu = NinePart(Image("menubackground.bmp"), {3, 3, 3, 3}, w, h);
        const TRaster& item = Image("menuitem.bmp");
        const int rowHeight = 22;
        int top = 3;
        for (int row = 0; row < 5; ++row) {
            if (row == 3) {
                const TRaster separator = Frame(item, 5, 2, false);
                const TRaster bottom = separator.Part(0, separator.Height() - 8, separator.Width(), 8);
                DrawKeyed(menu, NinePart(bottom, {5, 0, 5, 0}, w - 6, 8), 3, top);
                top += 8;
                continue;
            }
            DrawKeyed(menu, NinePart(Frame(item, 5, row == 1 ? 4 : 1, false), {5, 4, 5, 4}, w - 6, rowHeight), 3, top);
            top += rowHeight;
        }
        c.Draw(menu, x, y);
    }

    const TSkinTheme& t_;
    const TThemeGeometry& g_;
    const TSkinBuilder& skin_;
};

}  // namespace

TRaster PreviewSheet(const TSkinTheme& theme, const TSkinBuilder& skin) {
    const TRaster mock = Enlarged(TMockPainter(theme, skin).Paint(), 2, false);
    constexpr int scale = 3, gap = 12, width = 1240;
    // Pieces flow in rows under the mock window.
    std::vector<std::pair<int, int>> places;
    int x = gap, y = mock.Height() + gap, rowHeight = 0;
    for (const auto& image : skin.Images()) {
        const int w = image.Picture.Width() * scale, h = image.Picture.Height() * scale;
        if (x + w > width - gap && x > gap) {
            x = gap;
            y += rowHeight + gap;
            rowHeight = 0;
        }
        places.emplace_back(x, y);
        x += w + gap;
        rowHeight = std::max(rowHeight, h);
    }
    TRaster sheet(std::max(width, mock.Width()), y + rowHeight + gap, TRgb{120, 120, 120});
    sheet.Draw(mock, 0, 0);
    for (size_t i = 0; i < places.size(); ++i)
        sheet.Draw(Enlarged(skin.Images()[i].Picture, scale, true), places[i].first, places[i].second);
    return sheet;
}

}  // namespace pellix::skinpaint
