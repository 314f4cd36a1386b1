#include "tools/skinpaint/TestSkins.h"

#include <stdexcept>

#include "tools/skinpack/LzhufEncoder.h"
#include "tools/skinpaint/SkinBuilder.h"

namespace pellix::testskin {

namespace {

using skinpaint::TRaster;
using skinpaint::TRgb;
using skinpaint::TSkinBuilder;

constexpr const char* kPersonality = "Personality";

struct TPlace {
    const char* Section;
    const char* Key;
    bool OwnsSection;  // the section exists for this element alone
};

struct TElementInfo {
    TLayout Layout;
    TPlace Place;
};

// In TElement order.
constexpr TElementInfo kElements[] = {
    {{"left.bmp", LeftWidth, 40, 2, false, {0, 12, 0, 9}, TopLeftCorner}, {kPersonality, "Left", false}},
    {{"right.bmp", RightWidth, 40, 2, false, {0, 12, 0, 9}, TopRightCorner}, {kPersonality, "Right", false}},
    {{"top.bmp", 60, CaptionHeight, 2, true, {14, 0, 16, 0}, 0}, {kPersonality, "Top", false}},
    {{"bottom.bmp", 60, BottomHeight, 2, true, {10, 0, 11, 0}, 0}, {kPersonality, "Bottom", false}},
    {{"textback.bmp", 30, CaptionHeight, 2, true, {Title.TXTBackleft, 0, Title.TXTBackRight, 0}, 0},
     {kPersonality, "TextBack", false}},
    {{"menubar.bmp", 40, 18, 2, true, {6, 0, 7, 0}, 0}, {kPersonality, "menuBar", false}},
    {{"close.bmp", 18, 14, 4, false, {}, TopLeftCorner | TopRightCorner}, {"Button.Close", "ButtonImage", true}},
    {{"maximise.bmp", 16, 14, 4, false, {}, TopLeftCorner | TopRightCorner}, {"Button.Maximise", "ButtonImage", true}},
    {{"restore.bmp", 16, 14, 4, false, {}, TopLeftCorner | TopRightCorner}, {"Button.Restore", "ButtonImage", true}},
    {{"minimise.bmp", 15, 14, 4, false, {}, TopLeftCorner | TopRightCorner}, {"Button.Minimise", "ButtonImage", true}},
    {{"icon.bmp", 16, 16, 1, false, {}, 0}, {"Button.Icon", "ButtonImage", true}},
    {{"mdicontrols.bmp", 16, 12, 12, false, {}, 0}, {"MDICONTROLS", "Image", true}},
    {{"buttons.bmp", 20, 18, 5, false, {4, 3, 5, 6}, AllCorners}, {"Buttons", "Bitmap", false}},
    {{"check.bmp", 13, 13, 4, false, {}, AllCorners}, {"Buttons", "CheckButton", false}},
    {{"radio.bmp", 12, 12, 4, false, {}, AllCorners}, {"Buttons", "RadioButton", false}},
    {{"tabs.bmp", 30, 20, 5, false, {5, 4, 6, 3}, TopLeftCorner | TopRightCorner}, {"Tabs", "Image", true}},
    {{"tabsborder.bmp", 20, 20, 1, false, {4, 5, 4, 4}, 0}, {"Tabs", "Border", false}},
    {{"progress.bmp", 24, 12, 2, false, {3, 2, 4, 2}, 0}, {"Progress", "Bitmap", true}},
    {{"chunk.bmp", 6, 8, 1, false, {}, 0}, {"Progress", "Chunk", false}},
    {{"updownhorz.bmp", 12, 14, 8, false, {}, 0}, {"UpDown.Horz", "Image", true}},
    {{"updownhorzglyph.bmp", 6, 8, 8, false, {}, 0}, {"UpDown.Horz", "GlyphImage", false}},
    {{"updownvert.bmp", 14, 10, 8, false, {}, 0}, {"UpDown.Vert", "Image", true}},
    {{"updownvertglyph.bmp", 8, 5, 8, false, {}, 0}, {"UpDown.Vert", "GlyphImage", false}},
    {{"combobutton.bmp", 16, 20, 4, false, {}, 0}, {"ComboButton", "Image", true}},
    {{"sunkedge.bmp", 20, 20, 4, false, {2, 2, 2, 2}, 0}, {"SunkEdge", "Image", true}},
    {{"extraimages.bmp", 10, 10, 5, false, {}, 0}, {"ExtraImages", "Image", true}},
    {{"groupboxedge.bmp", 24, 24, 2, false, {5, 6, 5, 5}, 0}, {"GroupBoxEdge", "Image", true}},
    {{"toolbars.bmp", 24, 22, 5, false, {3, 3, 3, 3}, 0}, {"Toolbars", "Image", true}},
    {{"statusbaredges.bmp", 20, 18, 3, false, {2, 2, 3, 3}, 0}, {"StatusBarEdges", "Image", true}},
    {{"headerbar.bmp", 30, 18, 5, false, {3, 2, 4, 3}, 0}, {"Headerbar", "Image", true}},
    {{"menuitem.bmp", 30, 20, 5, false, {4, 3, 5, 2}, AllCorners}, {"MenuItem", "Image", true}},
    {{"menubackground.bmp", 30, 30, 1, false, {3, 3, 3, 3}, 0}, {"MenuBackground", "Image", true}},
    {{"scrollbar.bmp", 16, 16, 23, false, {}, 0}, {"Scrollbar", "Image", true}},
    {{"horzscroll.bmp", 30, 16, 4, false, {4, 2, 5, 3}, 0}, {"HorzScroll", "Image", true}},
    {{"vertscroll.bmp", 16, 30, 4, false, {2, 4, 3, 5}, 0}, {"VertScroll", "Image", true}},
    {{"horzscrollthumb.bmp", 20, 16, 3, false, {4, 3, 5, 2}, 0}, {"HorzScrollThumb", "Image", true}},
    {{"vertscrollthumb.bmp", 16, 20, 3, false, {3, 4, 2, 5}, 0}, {"VertScrollThumb", "Image", true}},
};
static_assert(std::size(kElements) == ElementCount);

const TElementInfo& Info(TElement element) { return kElements[static_cast<int>(element)]; }

constexpr TElement kBorders[] = {TElement::LeftBorder, TElement::RightBorder, TElement::TopBorder,
                                 TElement::BottomBorder};

bool IsBorder(TElement element) {
    return element == TElement::LeftBorder || element == TElement::RightBorder || element == TElement::TopBorder ||
           element == TElement::BottomBorder;
}

int FramesOf(TElement element, const TTestSkinOptions& options) {
    return IsBorder(element) ? BorderFrames(options) : Info(element).Layout.Frames;
}

TRaster PaintFrame(TElement element, int frame, int variant) {
    const TLayout& layout = Info(element).Layout;
    TRaster picture(layout.FrameWidth, layout.FrameHeight);
    for (int y = 0; y < layout.FrameHeight; ++y)
        for (int x = 0; x < layout.FrameWidth; ++x)
            picture.SetPixel(x, y, TRgb::Of(FramePixel(element, frame, x, y, variant)));
    return picture;
}

TRaster PaintImage(TElement element, const TTestSkinOptions& options) {
    std::vector<TRaster> frames;
    for (int frame = 1; frame <= FramesOf(element, options); ++frame)
        frames.push_back(PaintFrame(element, frame, options.Variant));
    return Info(element).Layout.Stacked ? skinpaint::FramesStacked(frames) : skinpaint::FramesSideBySide(frames);
}

// Writes the settings of one skin: which elements, which keys.
class TTestSkinWriter {
public:
    explicit TTestSkinWriter(const TTestSkinOptions& options) : options_(options) {}

    TSkinBuilder Build() {
        for (TElement border : kBorders) WriteBorder(border);
        WriteTitle();
        WriteMenuBar();
        WriteColours();
        WriteButtons();
        for (const TCaptionButtonKeys& button : options_.CaptionButtonKeys) WriteCaptionButton(button);
        WriteOwnSection(TElement::MdiControls);
        for (int e = static_cast<int>(TElement::Tabs); e < ElementCount; ++e) {
            const auto element = static_cast<TElement>(e);
            if (Info(element).Place.OwnsSection) WriteOwnSection(element);
        }
        return std::move(builder_);
    }

private:
    bool Has(TElement element) const { return !options_.Omit.contains(element); }
    int Trans(TElement element) const { return options_.Trans != options_.OtherTrans.contains(element) ? 1 : 0; }

    void WriteImage(TElement element) {
        const TPlace& place = Info(element).Place;
        std::string name = Info(element).Layout.EntryName;
        if (options_.UpperCaseExtension == element) name.replace(name.size() - 4, 4, ".BMP");
        if (options_.NotABitmap == element) {
            builder_.Set(place.Section, place.Key, name);
            const std::string text = "This entry is no bitmap file.";
            builder_.AddEntry(name, std::vector<uint8_t>(text.begin(), text.end()));
            return;
        }
        builder_.SetImage(place.Section, place.Key, name, PaintImage(element, options_));
    }

    void WriteMargins(const std::string& section, const TMargins& m) {
        builder_.Set(section, "LeftWidth", m.Left);
        builder_.Set(section, "TopHeight", m.Top);
        builder_.Set(section, "RightWidth", m.Right);
        builder_.Set(section, "BottomHeight", m.Bottom);
    }

    void WriteTextColours(const std::string& section) {
        const TTestColours c = Colours(options_.Variant);
        builder_.Set(section, "NormalColour2", TRgb::Of(c.NormalColour2));
        builder_.Set(section, "MouseOverColour2", TRgb::Of(c.MouseOverColour2));
        builder_.Set(section, "PressedColour2", TRgb::Of(c.PressedColour2));
    }

    void WriteBorder(TElement border) {
        const TLayout& layout = Info(border).Layout;
        const std::string name = Info(border).Place.Key;
        if (Has(border)) WriteImage(border);
        const bool vertical = border == TElement::LeftBorder || border == TElement::RightBorder;
        builder_.Set(kPersonality, name + "TopHeight", vertical ? layout.Margins.Top : layout.Margins.Left);
        builder_.Set(kPersonality, name + "BotHeight", vertical ? layout.Margins.Bottom : layout.Margins.Right);
        builder_.Set(kPersonality, name + "Frame", options_.BorderFrameCount);
        builder_.Set(kPersonality, name + "Stretch", 1);
        builder_.Set(kPersonality, name + "Trans", Trans(border));
    }

    void WriteTitle() {
        if (!Has(TElement::TextBack)) return;
        WriteImage(TElement::TextBack);
        builder_.Set(kPersonality, "TextShift", options_.TitleKeys.TextShift);
        builder_.Set(kPersonality, "TextShiftVert", options_.TitleKeys.TextShiftVert);
        builder_.Set(kPersonality, "TextRightClip", options_.TitleKeys.TextRightClip);
        builder_.Set(kPersonality, "TextAlignment", options_.TitleKeys.TextAlignment);
        builder_.Set(kPersonality, "TXTBackleft", options_.TitleKeys.TXTBackleft);
        builder_.Set(kPersonality, "TXTBackRight", options_.TitleKeys.TXTBackRight);
        if (options_.ColourKeys) {
            const TTestColours c = Colours(options_.Variant);
            WriteTitleColour("ActiveText", TRgb::Of(c.ActiveText));
            WriteTitleColour("InActiveText", TRgb::Of(c.InactiveText));
        }
        builder_.Set("Fonts", "FontHeight", options_.TitleKeys.FontHeight);
    }

    void WriteTitleColour(const std::string& key, TRgb c) {
        builder_.Set(kPersonality, key + "R", c.R);
        builder_.Set(kPersonality, key + "G", c.G);
        builder_.Set(kPersonality, key + "B", c.B);
    }

    void WriteMenuBar() {
        if (!Has(TElement::MenuBar)) return;
        WriteImage(TElement::MenuBar);
        const TMargins& m = Info(TElement::MenuBar).Layout.Margins;
        builder_.Set(kPersonality, "TileMenu", 0);
        builder_.Set(kPersonality, "TileLeftMenu", m.Left);
        builder_.Set(kPersonality, "TileRightMenu", m.Right);
    }

    void WriteColours() {
        if (!options_.ColourKeys) return;
        const TTestColours c = Colours(options_.Variant);
        const std::pair<const char*, uint32_t> keys[] = {
            {"WindowText", c.WindowText},
            {"TitleTextActive", c.TitleTextActive},
            {"TitleTextNoActive", c.TitleTextNoActive},
            {"ButtonFace", c.ButtonFace},
            {"ButtonText", c.ButtonText},
            {"ButtonHilight", c.ButtonHilight},
            {"Buttonlight", c.Buttonlight},
            {"ButtonShadow", c.ButtonShadow},
            {"ButtonDkShadow", c.ButtonDkShadow},
            {"HilightText", c.HilightText},
            {"Hilight", c.Hilight},
            {"Menubar", c.Menubar},
            {"MenuBarText", c.MenuBarText},
            {"MenuText", c.MenuText},
            {"Menu", c.Menu},
            {"Scrollbar", c.Scrollbar},
        };
        for (const auto& [key, value] : keys) builder_.Set("Colours", key, TRgb::Of(value));
    }

    void WriteButtons() {
        const bool push = Has(TElement::Buttons), check = Has(TElement::CheckButton),
                   radio = Has(TElement::RadioButton);
        if (!push && !check && !radio) return;
        if (push) WriteImage(TElement::Buttons);
        WriteMargins("Buttons", Info(TElement::Buttons).Layout.Margins);
        builder_.Set("Buttons", "Trans", Trans(TElement::Buttons));
        builder_.Set("Buttons", "Tile", 0);
        WriteTextColours("Buttons");
        if (check) WriteImage(TElement::CheckButton);
        if (radio) WriteImage(TElement::RadioButton);
        if (!options_.FrameKeys) return;
        if (check) builder_.Set("Buttons", "CheckButtonFrame", Info(TElement::CheckButton).Layout.Frames);
        if (radio) builder_.Set("Buttons", "RadioButtonFrame", Info(TElement::RadioButton).Layout.Frames);
    }

    void WriteCaptionButton(const TCaptionButtonKeys& keys) {
        if (!Has(keys.Element)) return;
        const std::string section = keys.Section;
        builder_.Set(section, "Action", keys.Action);
        builder_.Set(section, "Align", keys.Align);
        builder_.Set(section, "Xcoord", keys.Xcoord);
        builder_.Set(section, "Ycoord", keys.Ycoord);
        builder_.Set(section, "Visibility", keys.Visibility);
        builder_.Set(section, "Visibility1", keys.Visibility1);
        if (options_.FrameKeys) builder_.Set(section, "frame", keys.Frame);
        WriteImage(keys.Element);
    }

    // An element with a section of its own, and the second images kept in it.
    void WriteOwnSection(TElement element) {
        if (!Has(element)) return;
        const std::string section = Info(element).Place.Section;
        WriteImage(element);
        if (element == TElement::MdiControls) return;
        if (element != TElement::Progress) builder_.Set(section, "Style", 0);
        WriteMargins(section, Info(element).Layout.Margins);
        builder_.Set(section, "Trans", Trans(element));
        builder_.Set(section, "Tile", 0);
        if (element != TElement::Progress) WriteTextColours(section);
        if (element == TElement::HorzScrollThumb || element == TElement::VertScrollThumb)
            builder_.Set(section, "FrameCount", Info(element).Layout.Frames);
        // The element just after an owner is its second image, when it has one.
        const auto next = static_cast<TElement>(static_cast<int>(element) + 1);
        if (static_cast<int>(next) < ElementCount && !Info(next).Place.OwnsSection &&
            std::string(Info(next).Place.Section) == section && Has(next))
            WriteImage(next);
    }

    const TTestSkinOptions& options_;
    TSkinBuilder builder_;
};

void PutInt32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

}  // namespace

const TLayout& Layout(TElement element) { return Info(element).Layout; }

TPiece PieceAt(const TMargins& margins, int width, int height, int x, int y) {
    TMargins m = margins;
    if (m.Left + m.Right > width) m.Left = m.Right = 0;
    if (m.Top + m.Bottom > height) m.Top = m.Bottom = 0;
    const int column = x < m.Left ? 0 : x >= width - m.Right ? 2 : 1;
    const int row = y < m.Top ? 0 : y >= height - m.Bottom ? 2 : 1;
    return static_cast<TPiece>(row * 3 + column);
}

uint32_t PieceColour(TElement element, int frame, TPiece piece, int variant) {
    if (frame < 1 || frame > 24 || variant < 0 || variant > 2) throw std::out_of_range("no such test piece");
    const uint32_t index = ((static_cast<uint32_t>(variant) * ElementCount + static_cast<uint32_t>(element)) * 24 +
                            static_cast<uint32_t>(frame - 1)) *
                               9 +
                           static_cast<uint32_t>(piece);
    // An odd factor spreads neighbouring pieces apart and keeps every index its own colour.
    const uint32_t spread = (index * 0x2F35u) & 0x7FFFu;
    const uint32_t red = 4 + 8 * (spread & 31), green = 4 + 8 * ((spread >> 5) & 31), blue = 4 + 8 * (spread >> 10);
    return red | green << 8 | blue << 16;
}

uint32_t FramePixel(TElement element, int frame, int x, int y, int variant) {
    const TLayout& layout = Layout(element);
    const bool left = x < KeySize, right = x >= layout.FrameWidth - KeySize;
    const bool top = y < KeySize, bottom = y >= layout.FrameHeight - KeySize;
    const unsigned keyed = layout.KeyedCorners;
    if ((top && left && (keyed & TopLeftCorner)) || (top && right && (keyed & TopRightCorner)) ||
        (bottom && left && (keyed & BottomLeftCorner)) || (bottom && right && (keyed & BottomRightCorner)))
        return KeyColour;
    return PieceColour(element, frame, PieceAt(layout.Margins, layout.FrameWidth, layout.FrameHeight, x, y), variant);
}

TTestColours Colours(int variant) {
    if (variant < 0 || variant > 2) throw std::out_of_range("no such test skin variant");
    uint32_t values[21];
    for (uint32_t k = 0; k < 21; ++k) {
        const uint32_t spread = ((static_cast<uint32_t>(variant) * 21 + k) * 0x4E5u + 0x123u) & 0x7FFFu;
        values[k] = 8 * (spread & 31) | (8 * ((spread >> 5) & 31)) << 8 | (8 * (spread >> 10)) << 16;
    }
    return {values[0],  values[1],  values[2],  values[3],  values[4],  values[5],  values[6],
            values[7],  values[8],  values[9],  values[10], values[11], values[12], values[13],
            values[14], values[15], values[16], values[17], values[18], values[19], values[20]};
}

const std::array<TCaptionButtonKeys, 5>& CaptionButtons() {
    static const std::array<TCaptionButtonKeys, 5> buttons{{
        {TElement::CloseButton, "Button.Close", 0, 1, 22, 4, 0, 0, 4},
        {TElement::MaximiseButton, "Button.Maximise", 1, 1, 40, 5, 6, 2, 4},
        {TElement::RestoreButton, "Button.Restore", 1, 1, 40, 5, 6, 1, 4},
        {TElement::MinimiseButton, "Button.Minimise", 2, 1, 57, 5, 8, 0, 4},
        {TElement::IconButton, "Button.Icon", 3, 0, 6, 4, 0, 0, 1},
    }};
    return buttons;
}

TTestSkinOptions BordersOnly() {
    TTestSkinOptions options;
    options.ColourKeys = false;
    for (int e = 0; e < ElementCount; ++e)
        if (!IsBorder(static_cast<TElement>(e))) options.Omit.insert(static_cast<TElement>(e));
    return options;
}

int BorderFrames(const TTestSkinOptions& options) {
    return options.BorderFrameCount > 0 ? options.BorderFrameCount : 2;
}

std::string TestSkinSettings(const TTestSkinOptions& options) {
    return TTestSkinWriter(options).Build().SettingsText();
}

std::vector<uint8_t> TestSkin(const TTestSkinOptions& options) {
    return TTestSkinWriter(options).Build().Pack(SettingsEntryName);
}

std::vector<uint8_t> WrongMagicSkin() {
    std::vector<uint8_t> container = BuildSkinArchive(TTestSkinWriter({}).Build().Entries(SettingsEntryName));
    std::vector<uint8_t> magic;
    PutInt32(magic, 10000);
    std::copy(magic.begin(), magic.end(), container.begin());
    return PackLzhuf(container);
}

std::vector<uint8_t> SkinWithoutSettings() {
    const TSkinBuilder skin = TTestSkinWriter({}).Build();
    std::string names;
    for (const auto& image : skin.Images()) names += image.Name + "\r\n";
    std::vector<uint8_t> container;
    PutInt32(container, 20000);
    PutInt32(container, static_cast<uint32_t>(names.size()));
    PutInt32(container, 0);
    PutInt32(container, 0);
    container.insert(container.end(), names.begin(), names.end());
    std::vector<std::vector<uint8_t>> files;
    for (const auto& image : skin.Images()) files.push_back(image.Picture.BmpFile());
    for (const auto& file : files) PutInt32(container, static_cast<uint32_t>(file.size()));
    for (const auto& file : files) container.insert(container.end(), file.begin(), file.end());
    return PackLzhuf(container);
}

void FillStream(TMemoryStream& stream, const std::vector<uint8_t>& bytes) {
    stream.Clear();
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
}

}  // namespace pellix::testskin
