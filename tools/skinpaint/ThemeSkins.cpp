#include "tools/skinpaint/ThemeSkins.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace pellix::skinpaint {

namespace {

constexpr const char* kPersonality = "Personality";

enum TButtonState { Normal = 1, Pressed = 2, Hot = 3, Inactive = 4 };
enum class TGlyph { Close, Maximise, Restore, Minimise };
enum class TArrow { Left, Right, Up, Down };

// A small triangle pointing the arrow's way, centred on (cx, cy), `size` wide.
TShape Arrow(TArrow arrow, double cx, double cy, double size) {
    const double h = size / 2, d = size / 4;
    switch (arrow) {
        case TArrow::Up:
            return Polygon({{cx - h, cy + d}, {cx, cy - d - 0.25}, {cx + h, cy + d}});
        case TArrow::Down:
            return Polygon({{cx - h, cy - d}, {cx + h, cy - d}, {cx, cy + d + 0.25}});
        case TArrow::Left:
            return Polygon({{cx - d - 0.25, cy}, {cx + d, cy - h}, {cx + d, cy + h}});
        case TArrow::Right:
            return Polygon({{cx - d, cy - h}, {cx + d + 0.25, cy}, {cx - d, cy + h}});
    }
    return Polygon({});
}

// The caption glyphs, drawn about (cx, cy) on a whole-pixel grid so that
// their straight edges stay crisp; `scale` 1 is the caption size.
TShape CaptionGlyph(TGlyph glyph, double cx, double cy, double scale) {
    const double s = 5 * scale;
    switch (glyph) {
        case TGlyph::Close: {
            const double a = 4.5 * scale;
            const double width = scale < 1 ? 1.45 : 1.7;
            return Union(Line(cx - a, cy - a, cx + a, cy + a, width), Line(cx + a, cy - a, cx - a, cy + a, width));
        }
        case TGlyph::Maximise: {
            const TShape box = Box(cx - s, cy - s + 1, cx + s, cy + s);
            return Union(Edge(box, 1), Box(cx - s, cy - s + 1, cx + s, cy - s + 3));
        }
        case TGlyph::Restore: {
            const double f = std::floor(s * 0.8);
            const TShape front = Box(cx - s, cy - f + 2, cx + f, cy + s);
            const TShape back = Box(cx - s + 3, cy - s + 1, cx + s, cy + f - 2);
            return Union(Union(Edge(front, 1), Box(cx - s, cy - f + 2, cx + f, cy - f + 4)),
                         Without(Union(Edge(back, 1), Box(cx - s + 3, cy - s + 1, cx + s, cy - s + 2)), front));
        }
        case TGlyph::Minimise:
            return Box(cx - s, cy + s - 2, cx + s, cy + s);
    }
    return Box(0, 0, 0, 0);
}

class TThemePainter {
public:
    explicit TThemePainter(const TSkinTheme& theme)
        : t_(theme), g_(theme.Geometry), activeFrame_(WindowFrame(true)), inactiveFrame_(WindowFrame(false)) {}

    TSkinBuilder Paint() {
        Borders();
        CaptionText();
        MenuBar();
        Colours();
        PushButtons();
        CaptionButtons();
        MdiControls();
        Element("GroupBoxEdge", "groupboxedge.bmp", GroupBoxEdge(), {5, 5, 5, 5}, 1);
        Element("Toolbars", "toolbars.bmp", Toolbars(), {4, 4, 4, 4}, 1);
        Tabs();
        Element("StatusBarEdges", "statusbaredges.bmp", StatusBarEdges(), {2, 2, 2, 2}, 0);
        Element("ComboButton", "combobutton.bmp", ComboButton(), {0, 0, 0, 0}, 1);
        Element("SunkEdge", "sunkedge.bmp", SunkEdge(), {1, 1, 1, 1}, 0);
        Element("ExtraImages", "extraimages.bmp", ExtraImages(), {0, 0, 0, 0}, 1);
        Element("Headerbar", "headerbar.bmp", Headerbar(), {1, 3, 2, 3}, 0);
        Element("MenuItem", "menuitem.bmp", MenuItem(), {5, 4, 5, 4}, 1);
        Element("MenuBackground", "menubackground.bmp", MenuBackground(), {3, 3, 3, 3}, 0);
        Element("Scrollbar", "scrollbar.bmp", ScrollArrows(), {0, 0, 0, 0}, 1);
        Element("HorzScroll", "horzscroll.bmp", ScrollTrack(false), {2, 1, 2, 1}, 0);
        Element("VertScroll", "vertscroll.bmp", ScrollTrack(true), {1, 2, 1, 2}, 0);
        Element("HorzScrollThumb", "horzscrollthumb.bmp", ScrollThumb(false), {6, 0, 6, 0}, 1);
        b_.Set("HorzScrollThumb", "FrameCount", 3);
        Element("VertScrollThumb", "vertscrollthumb.bmp", ScrollThumb(true), {0, 6, 0, 6}, 1);
        b_.Set("VertScrollThumb", "FrameCount", 3);
        Progress();
        UpDown(false);
        UpDown(true);
        return std::move(b_);
    }

private:
    struct TMargins {
        int Left, Top, Right, Bottom;
    };

    // Colours every control shares.
    TRgb Outline() const { return Mix(t_.Face, t_.Text, 0.36); }
    TRgb SoftOutline() const { return Mix(t_.Face, t_.Text, 0.18); }
    TRgb GlyphColour() const { return Mix(t_.Face, t_.Text, 0.72); }
    TRgb DisabledGlyph() const { return Mix(t_.Face, t_.Text, 0.3); }
    TRgb Caption(bool active, int y) const {
        return (active ? activeFrame_ : inactiveFrame_).Pixel(CaptionColumn(), y);
    }
    int CaptionColumn() const { return g_.Border + g_.TopEnd + 2; }
    TPaint CaptionBehind(bool active, int top) const {
        return [this, active, top](int, int y) { return Caption(active, std::clamp(top + y, 0, g_.Caption - 1)); };
    }

    void Element(const std::string& section, const std::string& file, const TRaster& image, TMargins m, int trans) {
        b_.SetImage(section, "Image", file, image);
        b_.Set(section, "Style", 0);
        b_.Set(section, "LeftWidth", m.Left);
        b_.Set(section, "TopHeight", m.Top);
        b_.Set(section, "RightWidth", m.Right);
        b_.Set(section, "BottomHeight", m.Bottom);
        b_.Set(section, "Trans", trans);
        b_.Set(section, "Tile", 0);
        TextColours(section, section == "Tabs" ? Mix(t_.Face, t_.Text, 0.78) : t_.Text);
    }

    void TextColours(const std::string& section, TRgb normal) {
        b_.Set(section, "NormalColour2", normal);
        b_.Set(section, "MouseOverColour2", t_.Text);
        b_.Set(section, "PressedColour2", t_.Text);
    }

    // The whole window outline at a small size: the four borders are cut from
    // it, so their ends meet without a seam.
    TRaster WindowFrame(bool active) const {
        const int L = g_.Border, R = g_.Border, B = g_.Border, T = g_.Caption;
        const int W = L + 2 * g_.TopEnd + 8 + R, H = T + 8 + B;
        const TRgb top = active ? t_.CaptionTop : t_.InactiveTop;
        const TRgb bottom = active ? t_.CaptionBottom : t_.InactiveBottom;
        const TRgb frame = active ? t_.Frame : t_.InactiveFrame;
        const TRgb side = Mix(bottom, top, 0.25);
        const TPaint base = [=](int, int y) { return y < T ? Mix(top, bottom, y / (T - 1.0)) : side; };
        const double r = g_.CornerRadius;
        const TShape outer = Box(0, 0, W, H, r, r, 0, 0);

        TLayer layer(W, H);
        layer.Fill(outer, base);
        // Light from above: a bright inner line along the top, fainter down the sides.
        const TPaint light = [=](int x, int y) {
            const double amount = y < T ? 0.5 - 0.3 * y / T : y >= H - 2 ? 0.06 : 0.16;
            return Mix(base(x, y), White, amount);
        };
        layer.Fill(Edge(Inset(outer, 1), 1), light);
        // The client area and the menu bar sit in a darker line.
        layer.Fill(Edge(Box(L - 1, T - 1, W - R + 1, H - B + 1), 1), Mix(side, frame, 0.55));
        layer.Fill(Edge(outer, 1), frame);
        // Half-covered corner pixels are shown against a neutral desktop; the
        // barely covered ones are cut out of the window.
        return layer.Keyed(Mix(frame, TRgb{128, 128, 128}, 0.5), 0.35);
    }

    void Borders() {
        const int L = g_.Border, R = g_.Border, B = g_.Border, T = g_.Caption;
        const int W = activeFrame_.Width(), H = activeFrame_.Height();
        struct Piece {
            const char* name;
            int x, y, w, h;
            bool stacked;
            int first, last;  // end sizes
        };
        const Piece pieces[] = {{"Left", 0, 0, L, H, false, T, B},
                                {"Right", W - R, 0, R, H, false, T, B},
                                {"Top", L, 0, W - L - R, T, true, g_.TopEnd, g_.TopEnd},
                                {"Bottom", L, H - B, W - L - R, B, true, 0, 0}};
        for (const Piece& p : pieces) {
            const std::vector<TRaster> frames{activeFrame_.Part(p.x, p.y, p.w, p.h),
                                              inactiveFrame_.Part(p.x, p.y, p.w, p.h)};
            const std::string name = p.name;
            std::string file = name + ".bmp";
            std::transform(file.begin(), file.end(), file.begin(), [](char c) { return c | 0x20; });
            b_.SetImage(kPersonality, name, file, p.stacked ? FramesStacked(frames) : FramesSideBySide(frames));
            b_.Set(kPersonality, name + "TopHeight", p.first);
            b_.Set(kPersonality, name + "BotHeight", p.last);
            b_.Set(kPersonality, name + "Frame", 2);
            b_.Set(kPersonality, name + "Stretch", 1);
            b_.Set(kPersonality, name + "Trans", 1);
        }
    }

    // A soft pill behind the caption text, keyed so the caption shows around it.
    TRaster TextBand(bool active) const {
        const int e = g_.TextBandEnd, w = 2 * e + 4, h = g_.Caption;
        const TPaint behind = CaptionBehind(active, 0);
        const TShape pill = Box(1, 5, w - 1, h - 5, (h - 10) / 2.0);
        const double strength = t_.LightCaption ? 0.5 : 0.1;
        TLayer layer(w, h);
        layer.Fill(pill, [=](int x, int y) { return Mix(behind(x, y), White, strength * (1.2 - 0.6 * y / h)); });
        layer.Fill(Edge(pill, 1), t_.LightCaption ? Mix(behind(0, h / 2), Black, 0.07) : Mix(behind(0, 6), White, 0.16),
                   active ? 1 : 0.6);
        return layer.Keyed(behind);
    }

    void CaptionText() {
        b_.SetImage(kPersonality, "TextBack", "textback.bmp", FramesStacked({TextBand(true), TextBand(false)}));
        b_.Set(kPersonality, "TextShift", g_.TextShift);
        b_.Set(kPersonality, "TextShiftVert", 0);
        b_.Set(kPersonality, "TextRightClip", RightButtonsWidth() + 4);
        b_.Set(kPersonality, "TextAlignment", 0);
        b_.Set(kPersonality, "TXTBackleft", g_.TextBandEnd);
        b_.Set(kPersonality, "TXTBackRight", g_.TextBandEnd);
        TitleColour("ActiveText", t_.CaptionText);
        TitleColour("InActiveText", t_.InactiveCaptionText);
        b_.Set("Fonts", "FontHeight", 14);
    }

    void TitleColour(const std::string& key, TRgb c) {
        b_.Set(kPersonality, key + "R", c.R);
        b_.Set(kPersonality, key + "G", c.G);
        b_.Set(kPersonality, key + "B", c.B);
    }

    TRaster MenuBarFrame(bool active) const {
        const int w = 12, h = g_.MenuBar;
        TRaster bar(w, h);
        const TRgb top = active ? Lighter(t_.Face, 0.6) : Lighter(t_.Face, 0.3);
        for (int y = 0; y < h; ++y) bar.FillRect(0, y, w, 1, Mix(top, t_.Face, y / (h - 1.0)));
        // Two soft rows, so that the line survives the bar being stretched to the system's height.
        bar.FillRect(0, h - 2, w, 1, Mix(t_.Face, t_.Text, 0.07));
        bar.FillRect(0, h - 1, w, 1, Mix(t_.Face, t_.Text, 0.17));
        return bar;
    }

    void MenuBar() {
        b_.SetImage(kPersonality, "menuBar", "menubar.bmp", FramesStacked({MenuBarFrame(true), MenuBarFrame(false)}));
        b_.Set(kPersonality, "TileMenu", 0);
        b_.Set(kPersonality, "TileLeftMenu", 2);
        b_.Set(kPersonality, "TileRightMenu", 2);
    }

    void Colours() {
        const std::pair<const char*, TRgb> keys[] = {
            {"WindowText", t_.Text},
            {"TitleTextActive", t_.CaptionText},
            {"TitleTextNoActive", t_.InactiveCaptionText},
            {"ButtonFace", t_.Face},
            {"ButtonText", t_.Text},
            // Only the hot menu-bar item's outline reads it: a tint that shows on the light bar.
            {"ButtonHilight", Mix(t_.Accent, t_.Face, 0.4)},
            {"Buttonlight", Lighter(t_.Face, 0.5)},
            {"ButtonShadow", Outline()},
            {"ButtonDkShadow", Mix(t_.Face, t_.Text, 0.6)},
            {"HilightText", White},
            {"Hilight", t_.Accent},
            {"Menubar", t_.Face},
            {"MenuBarText", t_.Text},
            {"MenuText", t_.Text},
            {"Menu", t_.Menu},
            {"Scrollbar", t_.Track},
        };
        for (const auto& [key, value] : keys) b_.Set("Colours", key, value);
    }

    // Rounded face of a push button, tool button or the like: fill, edge and
    // an inner highlight, keyed around its corners against the face colour.
    TRaster Face(int w, int h, double radius, const TPaint& fill, TRgb edge, double highlight, TRgb background) const {
        const TShape box = Box(0, 0, w, h, radius);
        TLayer layer(w, h);
        layer.Fill(box, fill);
        if (highlight > 0) layer.Fill(Edge(Inset(box, 1), 1), White, highlight);
        layer.Fill(Edge(box, 1), edge);
        return layer.Keyed(background);
    }

    TRaster PushButton(int state) const {
        const int w = 20, h = 22;
        const TRgb f = t_.Face;
        switch (state) {
            case 2:
                return Face(w, h, 3, VerticalGradient(0, Darker(f, 0.13), h - 1, Darker(f, 0.05)),
                            Mix(f, t_.Text, 0.46), 0, f);
            case 3:
                return Face(w, h, 3, Solid(Lighter(f, 0.35)), SoftOutline(), 0, f);
            case 4:
                return Face(w, h, 3, VerticalGradient(0, Lighter(t_.Accent, 0.93), h - 1, Lighter(t_.Accent, 0.76)),
                            t_.Accent, 0.6, f);
            case 5:
                return Face(w, h, 3, VerticalGradient(0, Lighter(f, 0.8), h - 1, Darker(f, 0.03)), t_.Accent, 0.6, f);
            default:
                return Face(w, h, 3, VerticalGradient(0, Lighter(f, 0.8), h - 1, Darker(f, 0.03)), Outline(), 0.6, f);
        }
    }

    TRaster CheckBox(bool checked, bool enabled) const {
        const int s = 13;
        const TShape box = Box(0, 0, s, s, 2.5);
        TLayer layer(s, s);
        if (checked) {
            const TRgb accent = enabled ? t_.Accent : Mix(t_.Face, t_.Text, 0.28);
            layer.Fill(box, VerticalGradient(0, Lighter(accent, 0.18), s - 1, accent));
            layer.Fill(Edge(box, 1), Darker(accent, 0.2));
            const TShape tick = Union(Line(3.2, 6.6, 5.6, 9.0, 1.8), Line(5.6, 9.0, 10.0, 4.2, 1.8));
            layer.Fill(tick, enabled ? White : Lighter(t_.Face, 0.6));
        } else {
            layer.Fill(box, enabled ? VerticalGradient(0, Lighter(t_.Face, 0.92), s - 1, Lighter(t_.Face, 0.45))
                                    : Solid(Lighter(t_.Face, 0.3)));
            layer.Fill(Edge(box, 1), enabled ? Mix(t_.Face, t_.Text, 0.45) : SoftOutline());
        }
        return layer.Keyed(t_.Face);
    }

    TRaster RadioBox(bool checked, bool enabled) const {
        const int s = 13;
        const TShape circle = Circle(6.5, 6.5, 6.5);
        TLayer layer(s, s);
        if (checked) {
            const TRgb accent = enabled ? t_.Accent : Mix(t_.Face, t_.Text, 0.28);
            layer.Fill(circle, VerticalGradient(0, Lighter(accent, 0.18), s - 1, accent));
            layer.Fill(Edge(circle, 1), Darker(accent, 0.2));
            layer.Fill(Circle(6.5, 6.5, 2.6), enabled ? White : Lighter(t_.Face, 0.6));
        } else {
            layer.Fill(circle, enabled ? VerticalGradient(0, Lighter(t_.Face, 0.92), s - 1, Lighter(t_.Face, 0.45))
                                       : Solid(Lighter(t_.Face, 0.3)));
            layer.Fill(Edge(circle, 1), enabled ? Mix(t_.Face, t_.Text, 0.45) : SoftOutline());
        }
        return layer.Keyed(t_.Face);
    }

    void PushButtons() {
        std::vector<TRaster> frames;
        for (int state = 1; state <= 5; ++state) frames.push_back(PushButton(state));
        b_.SetImage("Buttons", "Bitmap", "buttons.bmp", FramesSideBySide(frames));
        b_.Set("Buttons", "LeftWidth", 4);
        b_.Set("Buttons", "RightWidth", 4);
        b_.Set("Buttons", "TopHeight", 4);
        b_.Set("Buttons", "BottomHeight", 4);
        b_.Set("Buttons", "Trans", 1);
        b_.Set("Buttons", "Tile", 0);
        b_.SetImage("Buttons", "CheckButton", "checkbox.bmp",
                    FramesSideBySide(
                        {CheckBox(false, true), CheckBox(true, true), CheckBox(false, false), CheckBox(true, false)}));
        b_.Set("Buttons", "CheckButtonFrame", 4);
        b_.SetImage("Buttons", "RadioButton", "radiobutton.bmp",
                    FramesSideBySide(
                        {RadioBox(false, true), RadioBox(true, true), RadioBox(false, false), RadioBox(true, false)}));
        b_.Set("Buttons", "RadioButtonFrame", 4);
        TextColours("Buttons", t_.Text);
    }

    int RightButtonsWidth() const { return g_.ButtonsRight + g_.CloseWidth + 2 * (g_.ButtonGap + g_.BoxWidth); }

    TRaster CaptionButton(TGlyph glyph, int width, int state) const {
        const int h = g_.ButtonHeight;
        const bool active = state != Inactive;
        const TPaint behind = CaptionBehind(active, g_.ButtonTop);
        const TShape box = Box(0, 0, width, h, 4);
        const TRgb tint = t_.LightCaption ? Black : White;
        TLayer layer(width, h);
        TRgb ink = active ? t_.CaptionText : t_.InactiveCaptionText;
        if (glyph == TGlyph::Close && (state == Hot || state == Pressed)) {
            const TRgb red = state == Hot ? t_.Close : Darker(t_.Close, 0.22);
            layer.Fill(box, VerticalGradient(0, Lighter(red, 0.18), h - 1, red));
            layer.Fill(Edge(Inset(box, 1), 1), White, 0.18);
            layer.Fill(Edge(box, 1), Darker(red, 0.3));
            ink = White;
        } else if (t_.LightCaption) {
            const double fill = state == Hot ? 0.85 : state == Pressed ? 0 : state == Normal ? 0.45 : 0.25;
            if (fill > 0) layer.Fill(box, White, fill);
            if (state == Pressed) layer.Fill(box, Black, 0.1);
            layer.Fill(Edge(box, 1), tint, state == Hot || state == Pressed ? 0.24 : active ? 0.13 : 0.07);
        } else {
            const double fill = state == Hot ? 0.22 : state == Normal ? 0.07 : 0.04;
            if (state == Pressed)
                layer.Fill(box, Black, 0.2);
            else
                layer.Fill(box, White, fill);
            layer.Fill(Edge(box, 1), state == Pressed ? Black : White,
                       state == Hot       ? 0.45
                       : state == Pressed ? 0.28
                       : active           ? 0.2
                                          : 0.1);
        }
        const double cx = width / 2.0, cy = h / 2.0;
        const TShape shape = CaptionGlyph(glyph, cx, cy, 1);
        if (!t_.LightCaption && active) layer.Fill(Moved(shape, 0, 1), Black, 0.25);
        layer.Fill(shape, ink);
        return layer.Keyed(behind);
    }

    TRaster IconPlaceholder() const {
        TLayer layer(16, 16);
        const TShape box = Box(1, 1, 15, 15, 3);
        layer.Fill(box, VerticalGradient(1, Lighter(t_.Accent, 0.3), 14, t_.Accent));
        layer.Fill(Box(3, 3, 13, 6, 1), White, 0.85);
        layer.Fill(Box(3, 8, 13, 13, 1), White, 0.5);
        layer.Fill(Edge(box, 1), Darker(t_.Accent, 0.35));
        return layer.Keyed(CaptionBehind(true, g_.IconTop));
    }

    void CaptionButton(const std::string& section, TGlyph glyph, int action, int width, int xcoord, int visibility,
                       int visibility1, const std::string& file) {
        b_.Set(section, "Action", action);
        b_.Set(section, "Align", 1);
        b_.Set(section, "Xcoord", xcoord);
        b_.Set(section, "Ycoord", g_.ButtonTop);
        b_.Set(section, "Visibility", visibility);
        b_.Set(section, "Visibility1", visibility1);
        b_.Set(section, "frame", 4);
        std::vector<TRaster> frames;
        for (int state = Normal; state <= Inactive; ++state) frames.push_back(CaptionButton(glyph, width, state));
        b_.SetImage(section, "ButtonImage", file, FramesSideBySide(frames));
    }

    void CaptionButtons() {
        const int close = g_.ButtonsRight + g_.CloseWidth;
        const int box = close + g_.ButtonGap + g_.BoxWidth;
        const int minimise = box + g_.ButtonGap + g_.BoxWidth;
        // Close needs the system menu; maximise and restore the maximise box
        // and the window's state; minimise the minimise box.
        CaptionButton("Button.Close", TGlyph::Close, 0, g_.CloseWidth, close, 0, 0, "close.bmp");
        CaptionButton("Button.Maximise", TGlyph::Maximise, 1, g_.BoxWidth, box, 6, 2, "maximise.bmp");
        CaptionButton("Button.Restore", TGlyph::Restore, 1, g_.BoxWidth, box, 6, 1, "restore.bmp");
        CaptionButton("Button.Minimise", TGlyph::Minimise, 2, g_.BoxWidth, minimise, 8, 0, "minimise.bmp");
        // The frame shows the window's own icon here; the image gives the size.
        const std::string icon = "Button.Icon";
        b_.Set(icon, "Action", 3);
        b_.Set(icon, "Align", 0);
        b_.Set(icon, "Xcoord", g_.IconLeft);
        b_.Set(icon, "Ycoord", g_.IconTop);
        b_.Set(icon, "Visibility", 0);
        b_.Set(icon, "Visibility1", 0);
        b_.Set(icon, "frame", 1);
        b_.SetImage(icon, "ButtonImage", "icon.bmp", IconPlaceholder());
    }

    // The child-window buttons shown at the right end of the menu bar.
    void MdiControls() {
        const int w = 16, h = 14;
        const TRgb behind = Mix(Lighter(t_.Face, 0.6), t_.Face, 0.5);
        std::vector<TRaster> frames;
        for (TGlyph glyph : {TGlyph::Minimise, TGlyph::Restore, TGlyph::Close}) {
            for (int state = 1; state <= 4; ++state) {
                TLayer layer(w, h);
                const TShape box = Box(0, 0, w, h, 3);
                if (state == 2 || state == 4) {
                    layer.Fill(box, Lighter(t_.Accent, state == 2 ? 0.55 : 0.82));
                    layer.Fill(Edge(box, 1), Lighter(t_.Accent, state == 2 ? 0.1 : 0.4));
                }
                layer.Fill(CaptionGlyph(glyph, w / 2.0, h / 2.0, 0.75), t_.Text);
                frames.push_back(layer.Keyed(behind));
            }
        }
        b_.SetImage("MDICONTROLS", "Image", "mdicontrols.bmp", FramesSideBySide(frames));
    }

    TRaster GroupBoxEdge() const {
        std::vector<TRaster> frames;
        for (double weight : {0.26, 0.14}) {
            TLayer layer(16, 16);
            layer.Fill(Edge(Box(0, 0, 16, 16, 4), 1), Mix(t_.Face, t_.Text, weight));
            frames.push_back(layer.Keyed(t_.Face));
        }
        return FramesSideBySide(frames);
    }

    // Normal, hot, pressed, disabled and checked tool buttons: flat until touched.
    TRaster Toolbars() const {
        const int s = 22;
        const TRgb a = t_.Accent;
        std::vector<TRaster> frames{TRaster(s, s),
                                    Face(s, s, 3, Solid(Lighter(a, 0.86)), Lighter(a, 0.45), 0.5, t_.Face),
                                    Face(s, s, 3, Solid(Lighter(a, 0.7)), a, 0, t_.Face), TRaster(s, s),
                                    Face(s, s, 3, Solid(Lighter(a, 0.78)), Lighter(a, 0.25), 0.3, t_.Face)};
        return FramesSideBySide(frames);
    }

    // Tab, selected tab, hot tab, disabled tab, and the tab again.
    TRaster TabFrame(int state) const {
        const int w = 30, h = 24;
        const TRgb f = t_.Face;
        const bool selected = state == 2;
        const TShape tab = Box(0, selected ? 0 : 2, w, h + 6, 4, 4, 0, 0);
        TLayer layer(w, h);
        if (selected)
            layer.Fill(tab, VerticalGradient(0, Lighter(f, 0.75), h - 6, f));
        else if (state == 3)
            layer.Fill(tab, VerticalGradient(2, Lighter(t_.Accent, 0.9), h - 1, Lighter(t_.Accent, 0.8)));
        else if (state == 4)
            layer.Fill(tab, Darker(f, 0.02));
        else
            layer.Fill(tab, VerticalGradient(2, Lighter(f, 0.3), h - 1, Darker(f, 0.05)));
        layer.Fill(Edge(Inset(tab, 1), 1), White, selected ? 0.7 : 0.35);
        layer.Fill(Edge(tab, 1), state == 4 ? SoftOutline() : Outline());
        if (selected) layer.Fill(Intersect(tab, Box(0, 0, w, 3)), t_.Accent);
        TRaster frame = layer.Keyed(f);
        // An unselected tab stands on the page's top line.
        if (!selected) frame.FillRect(0, h - 1, w, 1, Outline());
        return frame;
    }

    TRaster TabBorder() const {
        const int s = 16;
        TLayer layer(s, s);
        const TShape box = Box(0, 0, s, s);
        layer.Fill(box, t_.Face);
        layer.Fill(Edge(Inset(box, 1), 1), White, 0.55);
        layer.Fill(Edge(box, 1), Outline());
        return layer.Opaque(t_.Face);
    }

    void Tabs() {
        std::vector<TRaster> frames;
        for (int state : {1, 2, 3, 4, 1}) frames.push_back(TabFrame(state));
        Element("Tabs", "tabs.bmp", FramesSideBySide(frames), {5, 5, 5, 2}, 1);
        b_.SetImage("Tabs", "Border", "tabsborder.bmp", TabBorder());
    }

    // Lowered, raised and plain panels.
    TRaster StatusBarEdges() const {
        const int s = 12;
        const TRgb dark = Mix(t_.Face, t_.Text, 0.22), light = Lighter(t_.Face, 0.75);
        std::vector<TRaster> frames;
        for (int kind = 0; kind < 3; ++kind) {
            TRaster frame(s, s, t_.Face);
            if (kind < 2) {
                const TRgb topLeft = kind == 0 ? dark : light, bottomRight = kind == 0 ? light : dark;
                frame.FillRect(0, 0, s, 1, topLeft);
                frame.FillRect(0, 0, 1, s, topLeft);
                frame.FillRect(0, s - 1, s, 1, bottomRight);
                frame.FillRect(s - 1, 0, 1, s, bottomRight);
            }
            frames.push_back(frame);
        }
        return FramesSideBySide(frames);
    }

    TRgb ComboFill(int state, int y, int h) const {
        const TRgb f = t_.Face;
        switch (state) {
            case 2:
                return Mix(Darker(f, 0.12), Darker(f, 0.05), y / (h - 1.0));
            case 3:
                return Lighter(f, 0.35);
            case 4:
                return Mix(Lighter(t_.Accent, 0.92), Lighter(t_.Accent, 0.78), y / (h - 1.0));
            default:
                return Mix(Lighter(f, 0.8), Darker(f, 0.03), y / (h - 1.0));
        }
    }

    // Normal, pressed, disabled and hot drop-down buttons; the combo's own
    // outer line runs along their top, right and bottom.
    TRaster ComboButton() const {
        const int w = 19, h = 21;
        std::vector<TRaster> frames;
        for (int state = 1; state <= 4; ++state) {
            TRaster frame(w, h);
            for (int y = 0; y < h; ++y) frame.FillRect(0, y, w, 1, ComboFill(state, y, h));
            const TRgb line = state == 3 ? SoftOutline() : Outline();
            frame.FillRect(0, 0, w, 1, line);
            frame.FillRect(0, h - 1, w, 1, line);
            frame.FillRect(w - 1, 0, 1, h, line);
            frame.FillRect(0, 1, 1, h - 2, state == 4 ? Lighter(t_.Accent, 0.4) : SoftOutline());
            frames.push_back(frame);
        }
        return FramesSideBySide(frames);
    }

    TRaster SunkEdge() const {
        const int s = 8;
        std::vector<TRaster> frames;
        for (TRgb ring : {Outline(), t_.Accent, SoftOutline(), Mix(t_.Face, t_.Text, 0.5)}) {
            TRaster frame(s, s, White);
            frame.FillRect(0, 0, s, 1, ring);
            frame.FillRect(0, s - 1, s, 1, ring);
            frame.FillRect(0, 0, 1, s, ring);
            frame.FillRect(s - 1, 0, 1, s, ring);
            frames.push_back(frame);
        }
        return FramesSideBySide(frames);
    }

    // The combo box's arrow in its four states, then the size grip.
    TRaster ExtraImages() const {
        const int s = 12;
        std::vector<TRaster> frames;
        const TRgb inks[] = {GlyphColour(), t_.Text, DisabledGlyph(), Darker(t_.Accent, 0.15)};
        for (int state = 1; state <= 4; ++state) {
            TLayer layer(s, s);
            layer.Fill(Union(Line(3, 4.8, 6, 7.8, 1.6), Line(6, 7.8, 9, 4.8, 1.6)), inks[state - 1]);
            frames.push_back(layer.Keyed(ComboFill(state, 10, 21)));
        }
        TLayer grip(s, s);
        for (int row = 0; row < 3; ++row)
            for (int column = 2 - row; column < 3; ++column)
                grip.Fill(Box(3 + 3 * column, 3 + 3 * row, 5 + 3 * column, 5 + 3 * row, 0.6),
                          Mix(t_.Face, t_.Text, 0.42));
        frames.push_back(grip.Keyed(t_.Face));
        return FramesSideBySide(frames);
    }

    // Header item, hot, pressed, and two more of the first.
    TRaster Headerbar() const {
        const int w = 20, h = 22;
        std::vector<TRaster> frames;
        for (int state : {1, 2, 3, 1, 1}) {
            TRaster frame(w, h);
            const TRgb top = state == 2   ? Lighter(t_.Accent, 0.9)
                             : state == 3 ? Darker(t_.Face, 0.06)
                                          : Lighter(t_.Face, 0.85);
            const TRgb bottom = state == 2   ? Lighter(t_.Accent, 0.8)
                                : state == 3 ? Darker(t_.Face, 0.1)
                                             : Lighter(t_.Face, 0.15);
            for (int y = 0; y < h; ++y) frame.FillRect(0, y, w, 1, Mix(top, bottom, y / (h - 1.0)));
            frame.FillRect(0, h - 1, w, 1, Mix(t_.Face, t_.Text, 0.28));
            frame.FillRect(w - 1, 4, 1, h - 8, Mix(t_.Face, t_.Text, 0.24));
            frame.FillRect(w - 2, 4, 1, h - 8, Lighter(t_.Face, 0.8));
            frames.push_back(frame);
        }
        return FramesSideBySide(frames);
    }

    // Normal (open), separator, disabled (open), selected and a lighter selection.
    TRaster MenuItem() const {
        const int w = 24, h = 20;
        const TRgb m = t_.Menu;
        TRaster separator(w, h);
        separator.FillRect(4, h - 5, w - 8, 1, Mix(m, t_.Text, 0.18));
        separator.FillRect(4, h - 4, w - 8, 1, White);
        auto selection = [&](double lighten) {
            const TRgb a = Lighter(t_.Accent, lighten);
            const TShape box = Box(2, 1, w - 2, h - 1, 3);
            TLayer layer(w, h);
            layer.Fill(box, VerticalGradient(1, Lighter(a, 0.14), h - 2, Darker(a, 0.04)));
            layer.Fill(Edge(Inset(box, 1), 1), White, 0.22);
            layer.Fill(Edge(box, 1), Darker(a, 0.18));
            return layer.Keyed(m);
        };
        return FramesSideBySide({TRaster(w, h), separator, TRaster(w, h), selection(0), selection(0.3)});
    }

    TRaster MenuBackground() const {
        const int s = 12;
        TRaster frame(s, s, t_.Menu);
        const TRgb edge = Mix(t_.Menu, t_.Text, 0.32);
        frame.FillRect(1, 1, s - 2, 1, White);
        frame.FillRect(1, 1, 1, s - 2, White);
        frame.FillRect(0, 0, s, 1, edge);
        frame.FillRect(0, s - 1, s, 1, edge);
        frame.FillRect(0, 0, 1, s, edge);
        frame.FillRect(s - 1, 0, 1, s, edge);
        return frame;
    }

    // Left, right, up and down arrows, each normal, pressed, hot and
    // disabled; the rest of the 23 frames is left open.
    TRaster ScrollArrows() const {
        const int s = 16;
        const TRgb track = t_.Track;
        std::vector<TRaster> frames;
        for (TArrow arrow : {TArrow::Left, TArrow::Right, TArrow::Up, TArrow::Down}) {
            for (int state = 1; state <= 4; ++state) {
                TLayer layer(s, s);
                const TShape box = Box(1, 1, s - 1, s - 1, 3);
                if (state == 2) layer.Fill(box, Mix(track, t_.Text, 0.3));
                if (state == 3) layer.Fill(box, Mix(track, t_.Text, 0.1));
                const TRgb ink = state == 2   ? White
                                 : state == 3 ? Mix(track, t_.Text, 0.75)
                                 : state == 4 ? Mix(track, t_.Text, 0.22)
                                              : Mix(track, t_.Text, 0.55);
                layer.Fill(Arrow(arrow, 8, 8, 7), ink);
                frames.push_back(layer.Keyed(track));
            }
        }
        while (frames.size() < 23) frames.emplace_back(s, s);
        return FramesSideBySide(frames);
    }

    TRaster ScrollTrack(bool vertical) const {
        const int s = 16;
        std::vector<TRaster> frames;
        for (int i = 0; i < 4; ++i) {
            TRaster frame(s, s, t_.Track);
            const TRgb line = Mix(t_.Track, t_.Text, 0.08);
            if (vertical)
                frame.FillRect(0, 0, 1, s, line);
            else
                frame.FillRect(0, 0, s, 1, line);
            frames.push_back(frame);
        }
        return FramesSideBySide(frames);
    }

    // Normal, pressed and hot thumbs: a rounded bar inside the track.
    TRaster ScrollThumb(bool vertical) const {
        const int along = 24, across = 16;
        std::vector<TRaster> frames;
        for (double weight : {0.3, 0.52, 0.42}) {
            const int w = vertical ? across : along, h = vertical ? along : across;
            const TShape bar = vertical ? Box(3, 1, 13, along - 1, 5) : Box(1, 3, along - 1, 13, 5);
            TLayer layer(w, h);
            layer.Fill(bar, Mix(t_.Track, t_.Text, weight));
            frames.push_back(layer.Keyed(t_.Track));
        }
        return FramesSideBySide(frames);
    }

    void Progress() {
        const int w = 24, h = 16;
        const TPaint trough = VerticalGradient(0, Mix(t_.Face, t_.Text, 0.1), h - 1, Lighter(t_.Face, 0.6));
        TLayer back(w, h);
        const TShape outer = Box(0, 0, w, h, 4);
        back.Fill(outer, trough);
        back.Fill(Edge(outer, 1), Mix(t_.Face, t_.Text, 0.3));
        TLayer bar(w, h);
        const TShape inner = Box(1, 1, w - 1, h - 1, 3);
        const TRgb a = t_.Accent;
        bar.Fill(inner, [=](int, int y) {
            return y < h / 2 ? Mix(Lighter(a, 0.42), Lighter(a, 0.18), y / (h / 2.0))
                             : Mix(a, Darker(a, 0.1), (y - h / 2) / (h / 2.0));
        });
        bar.Fill(Edge(inner, 1), Darker(a, 0.18));
        b_.SetImage("Progress", "Bitmap", "progress.bmp", FramesSideBySide({back.Keyed(t_.Face), bar.Keyed(trough)}));
        TLayer chunk(8, 12);
        chunk.Fill(Box(0, 0, 7, 12, 1.5), VerticalGradient(0, Lighter(a, 0.3), 11, a));
        b_.SetImage("Progress", "Chunk", "chunk.bmp", chunk.Keyed(Lighter(t_.Face, 0.3)));
        b_.Set("Progress", "Style", 0);
        b_.Set("Progress", "LeftWidth", 4);
        b_.Set("Progress", "RightWidth", 4);
        b_.Set("Progress", "TopHeight", 4);
        b_.Set("Progress", "BottomHeight", 4);
        b_.Set("Progress", "Trans", 1);
        b_.Set("Progress", "Tile", 0);
    }

    // One half of an up-down control: rounded on its outer side only.
    TRaster UpDownHalf(bool vertical, bool first, int state) const {
        const int w = vertical ? 15 : 11, h = vertical ? 11 : 15;
        TShape box = vertical ? (first ? Box(0, 0, w, h + 4, 3, 3, 0, 0) : Box(0, -4, w, h, 0, 0, 3, 3))
                              : (first ? Box(0, 0, w + 4, h, 3, 0, 0, 3) : Box(-4, 0, w, h, 0, 3, 3, 0));
        TLayer layer(w, h);
        layer.Fill(box,
                   [=, this](int, int y) { return ComboFill(state == 4 ? 4 : state, y + (first ? 0 : h), 2 * h); });
        layer.Fill(Edge(box, 1), state == 3 ? SoftOutline() : Outline());
        TRaster half = layer.Keyed(t_.Face);
        // The two halves meet at a soft line.
        if (first && vertical) half.FillRect(1, h - 1, w - 2, 1, SoftOutline());
        if (first && !vertical) half.FillRect(w - 1, 1, 1, h - 2, SoftOutline());
        return half;
    }

    TRaster UpDownGlyph(bool vertical, bool first, int state) const {
        const int w = vertical ? 7 : 4, h = vertical ? 4 : 7;
        const TArrow arrow = vertical ? (first ? TArrow::Up : TArrow::Down) : (first ? TArrow::Left : TArrow::Right);
        const TRgb inks[] = {GlyphColour(), t_.Text, DisabledGlyph(), Darker(t_.Accent, 0.15)};
        TLayer layer(w, h);
        layer.Fill(Arrow(arrow, w / 2.0, h / 2.0, 7), inks[state - 1]);
        return layer.Keyed(ComboFill(state, 10, 21));
    }

    void UpDown(bool vertical) {
        std::vector<TRaster> faces, glyphs;
        for (bool first : {true, false}) {
            for (int state = 1; state <= 4; ++state) {
                faces.push_back(UpDownHalf(vertical, first, state));
                glyphs.push_back(UpDownGlyph(vertical, first, state));
            }
        }
        const std::string section = vertical ? "UpDown.Vert" : "UpDown.Horz";
        const std::string stem = vertical ? "updownvert" : "updownhorz";
        b_.SetImage(section, "Image", stem + ".bmp", FramesSideBySide(faces));
        b_.Set(section, "LeftWidth", 0);
        b_.Set(section, "TopHeight", 0);
        b_.Set(section, "RightWidth", 0);
        b_.Set(section, "BottomHeight", 0);
        b_.Set(section, "Trans", 1);
        b_.Set(section, "Tile", 0);
        TextColours(section, t_.Text);
        b_.SetImage(section, "GlyphImage", stem + "glyph.bmp", FramesSideBySide(glyphs));
    }

    const TSkinTheme& t_;
    const TThemeGeometry& g_;
    const TRaster activeFrame_;
    const TRaster inactiveFrame_;
    TSkinBuilder b_;
};

TSkinTheme Theme(std::string name, bool light, TRgb captionTop, TRgb captionBottom, TRgb inactiveTop,
                 TRgb inactiveBottom, TRgb frame, TRgb inactiveFrame, TRgb captionText, TRgb inactiveText, TRgb face,
                 TRgb accent, TRgb text, TRgb menu, TRgb track, TRgb close) {
    return {std::move(name),
            light,
            captionTop,
            captionBottom,
            inactiveTop,
            inactiveBottom,
            frame,
            inactiveFrame,
            captionText,
            inactiveText,
            face,
            accent,
            text,
            menu,
            track,
            close,
            {}};
}

}  // namespace

const std::vector<TSkinTheme>& BuiltinThemes() {
    static const std::vector<TSkinTheme> themes{
        Theme("Blue", false, {92, 156, 232}, {44, 104, 196}, {214, 223, 235}, {186, 199, 218}, {28, 74, 146},
              {138, 155, 179}, White, {88, 105, 130}, {238, 242, 247}, {46, 116, 208}, {27, 36, 48}, {251, 252, 254},
              {226, 232, 240}, {216, 58, 53}),
        Theme("Silver", true, {250, 251, 252}, {200, 205, 213}, {244, 245, 246}, {222, 224, 228}, {118, 125, 136},
              {170, 175, 182}, {30, 35, 40}, {138, 144, 152}, {240, 240, 240}, {74, 125, 181}, {30, 30, 30},
              {252, 252, 252}, {230, 231, 233}, {217, 68, 63}),
        Theme("Green", false, {100, 186, 112}, {44, 130, 62}, {214, 228, 216}, {186, 206, 190}, {30, 92, 44},
              {142, 166, 148}, White, {86, 114, 94}, {238, 244, 239}, {46, 142, 70}, {28, 42, 31}, {251, 253, 251},
              {225, 234, 227}, {212, 61, 54}),
        Theme("Builtin", false, {82, 142, 156}, {42, 94, 108}, {212, 222, 224}, {184, 200, 204}, {30, 70, 80},
              {138, 160, 166}, White, {86, 110, 116}, {235, 239, 240}, {44, 126, 143}, {24, 38, 42}, {250, 252, 252},
              {224, 232, 234}, {209, 63, 58}),
    };
    return themes;
}

TSkinBuilder PaintThemeSkin(const TSkinTheme& theme) { return TThemePainter(theme).Paint(); }

std::string ThemeSettingsName(const TSkinTheme& theme) {
    std::string name = theme.Name + ".ini";
    std::transform(name.begin(), name.end(), name.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c | 0x20 : c; });
    return name;
}

std::vector<uint8_t> ThemeSkinArchive(const TSkinTheme& theme) {
    return PaintThemeSkin(theme).Pack(ThemeSettingsName(theme));
}

}  // namespace pellix::skinpaint
