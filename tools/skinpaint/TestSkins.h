// Test skins: complete skins whose images are made of solid pieces, so that a
// test works out the pixel it expects instead of copying it.
//
// Every element image holds Layout(e).Frames equal frames (side by side, or
// stacked when Layout(e).Stacked). A frame is cut into up to nine pieces by
// Layout(e).Margins (the same widths the settings text gives the element), and
// every piece of every frame is one colour:
//
//     PieceColour(element, frame, piece, variant)
//
// distinct for every element, frame (1-based), piece and variant. Piece
// colours have every channel = 4 (mod 8), the skin's colours (Colours()) every
// channel = 0 (mod 8), so no piece ever equals a skin colour, and none is near
// KeyColour. The only other pixels are the keyed corners: in the corners that
// Layout(e).KeyedCorners names, a KeySize x KeySize square of every frame is
// KeyColour (the left border's top-left and the right border's top-right, so
// the window region loses its two top corners; both top corners of the caption
// buttons and tabs; all four of push buttons, check and radio boxes, and of
// menu items, where the popup menu's background shows through).
// FramePixel() gives any pixel of a frame, keys included.
//
// Example: the left border of an active skinned window painted with the
// default test skin shows, at window pixel (2, 30),
//     PieceColour(TElement::LeftBorder, 1, PieceAt(Layout(TElement::LeftBorder).Margins, LeftWidth, h, 2, 30))
// and window pixel (0, 0) lies outside the window region (keyed corner).
//
// Skins: TestSkin(options) returns the ".skn" bytes; TTestSkinOptions makes
// the variants (other colours, no frame keys, Trans off for all or some, a
// border frame count of 0, sections left out, an image value spelt ".BMP", an
// entry that is no bitmap, other caption text and caption-button keys).
// WrongMagicSkin() and SkinWithoutSettings() are containers the writer would
// refuse. FillStream() puts bytes into a memory stream.
//
//     TTestSkinOptions options;
//     options.Trans = false;                        // full rectangle region
//     options.CaptionButtonKeys[0].Xcoord = 30;     // close button 30 from the right
//     testskin::FillStream(stream, testskin::TestSkin(options));
//
// Portable; the tests of both builds link it with the skin packer
// (Windows tests: tools/skinpaint/Raster, SkinBuilder and TestSkins are in
// the test program; native tests: skinpaint_lib).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "framework/Streams.h"

namespace pellix::testskin {

// One element per image the settings text names; comments give section and key.
enum class TElement {
    LeftBorder,       // [Personality] Left
    RightBorder,      // [Personality] Right
    TopBorder,        // [Personality] Top (the caption strip)
    BottomBorder,     // [Personality] Bottom
    TextBack,         // [Personality] TextBack: band behind the caption text
    MenuBar,          // [Personality] menuBar
    CloseButton,      // [Button.Close] ButtonImage
    MaximiseButton,   // [Button.Maximise] ButtonImage
    RestoreButton,    // [Button.Restore] ButtonImage
    MinimiseButton,   // [Button.Minimise] ButtonImage
    IconButton,       // [Button.Icon] ButtonImage (size only: the frame draws the window icon)
    MdiControls,      // [MDICONTROLS] Image: twelve frames, four per MDI-child button
    Buttons,          // [Buttons] Bitmap
    CheckButton,      // [Buttons] CheckButton
    RadioButton,      // [Buttons] RadioButton
    Tabs,             // [Tabs] Image
    TabsBorder,       // [Tabs] Border
    Progress,         // [Progress] Bitmap
    ProgressChunk,    // [Progress] Chunk
    UpDownHorz,       // [UpDown.Horz] Image
    UpDownHorzGlyph,  // [UpDown.Horz] GlyphImage
    UpDownVert,       // [UpDown.Vert] Image
    UpDownVertGlyph,  // [UpDown.Vert] GlyphImage
    ComboButton,      // [ComboButton] Image
    SunkEdge,         // [SunkEdge] Image
    ExtraImages,      // [ExtraImages] Image
    GroupBoxEdge,     // [GroupBoxEdge] Image
    Toolbars,         // [Toolbars] Image
    StatusBarEdges,   // [StatusBarEdges] Image
    Headerbar,        // [Headerbar] Image
    MenuItem,         // [MenuItem] Image
    MenuBackground,   // [MenuBackground] Image
    Scrollbar,        // [Scrollbar] Image
    HorzScroll,       // [HorzScroll] Image
    VertScroll,       // [VertScroll] Image
    HorzScrollThumb,  // [HorzScrollThumb] Image
    VertScrollThumb,  // [VertScrollThumb] Image
};
inline constexpr int ElementCount = static_cast<int>(TElement::VertScrollThumb) + 1;

// Colour values as the skin records hold them: red in the low byte.
inline constexpr uint32_t KeyColour = 0xFF00FF;
inline constexpr int KeySize = 2;

// Widths of the fixed parts of a frame, as the element's margin keys give them.
struct TMargins {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

enum TCorner : unsigned { TopLeftCorner = 1, TopRightCorner = 2, BottomLeftCorner = 4, BottomRightCorner = 8 };
inline constexpr unsigned AllCorners = 15;

struct TLayout {
    const char* EntryName;  // the archive entry, lower case
    int FrameWidth, FrameHeight;
    int Frames;        // frames in the image
    bool Stacked;      // frames stacked rather than side by side
    TMargins Margins;  // the pieces of a frame
    unsigned KeyedCorners;
};

// The frame sizes of the window frame: L, T, R and B of a skinned window.
inline constexpr int LeftWidth = 5;
inline constexpr int CaptionHeight = 24;
inline constexpr int RightWidth = 6;
inline constexpr int BottomHeight = 7;

// Layout of the default skin. The four borders hold BorderFrameCount frames
// (2 when it is 0) in TestSkin(options): see BorderFrames().
const TLayout& Layout(TElement element);
// File name of an element's entry as TestSkin writes it.
inline std::string EntryName(TElement element) { return Layout(element).EntryName; }

enum class TPiece { TopLeft, Top, TopRight, Left, Centre, Right, BottomLeft, Bottom, BottomRight };

// The piece that pixel (x, y) of a width x height nine-part painting with these
// margins shows: the frame itself, or any painting at least as large as the
// margins (a smaller one drops margins in pairs and stretches whole frames,
// which no single piece describes).
TPiece PieceAt(const TMargins& margins, int width, int height, int x, int y);

// Colour of a piece of frame `frame` (1-based) of an element; variant 0, 1 or 2.
uint32_t PieceColour(TElement element, int frame, TPiece piece, int variant = 0);
// Pixel (x, y) of a frame, in frame coordinates: its piece's colour, or
// KeyColour inside a keyed corner.
uint32_t FramePixel(TElement element, int frame, int x, int y, int variant = 0);

// The skin's colours: the sixteen [Colours] keys, the title's text colours
// (ActiveTextR/G/B, InActiveTextR/G/B), and the second text colours that every
// element section gives (NormalColour2, MouseOverColour2, PressedColour2).
struct TTestColours {
    uint32_t WindowText, TitleTextActive, TitleTextNoActive, ButtonFace, ButtonText, ButtonHilight, Buttonlight,
        ButtonShadow, ButtonDkShadow, HilightText, Hilight, Menubar, MenuBarText, MenuText, Menu, Scrollbar;
    uint32_t ActiveText, InactiveText;
    uint32_t NormalColour2, MouseOverColour2, PressedColour2;
};
TTestColours Colours(int variant = 0);

// [Personality] caption text keys and [Fonts] FontHeight.
struct TTitleKeys {
    int TextShift = 28;
    int TextShiftVert = 2;
    int TextRightClip = 72;
    int TextAlignment = 0;
    int TXTBackleft = 5;   // = Layout(TextBack).Margins.Left
    int TXTBackRight = 6;  // = Layout(TextBack).Margins.Right
    int FontHeight = 15;
};
inline constexpr TTitleKeys Title{};

// The five caption-button sections, in file order.
struct TCaptionButtonKeys {
    TElement Element;
    const char* Section;
    int Action, Align, Xcoord, Ycoord, Visibility, Visibility1;
    int Frame;  // the "frame" key (Layout(Element).Frames)
};
const std::array<TCaptionButtonKeys, 5>& CaptionButtons();

// Other keys every element section carries: "Tile" 0 (the centre stretches),
// "Style" 0, the margin keys of Layout(e).Margins, "Trans" (see options), the
// thumbs' "FrameCount" 3; the borders "Stretch" 1 and their end sizes from
// Layout(e).Margins ("LeftTopHeight" = Margins.Top, "TopTopHeight" =
// Margins.Left ...); "TileMenu" 0 with "TileLeftMenu"/"TileRightMenu" from
// Layout(MenuBar).Margins.

struct TTestSkinOptions {
    int Variant = 0;                // 0, 1 or 2: every piece and skin colour differs between variants
    bool FrameKeys = true;          // the caption buttons' "frame" keys and the check and radio frame counts;
                                    // without them the reader derives the counts from the image sizes
    int BorderFrameCount = 2;       // each border's "Frame" key and the frames its image holds (2 when 0)
    bool Trans = true;              // every "Trans" key 1; false writes 0 (the borders' default is 1)
    bool ColourKeys = true;         // the [Colours] section and the title's text colour keys
    std::set<TElement> Omit;        // elements whose image key is left out, with their whole section when
                                    // they own it (a caption button, Tabs, Progress, UpDown..., any [X] Image)
    std::set<TElement> OtherTrans;  // elements whose "Trans" key is the opposite of Trans
    std::optional<TElement> UpperCaseExtension;  // its key names its entry "....BMP" (entry stored so too)
    std::optional<TElement> NotABitmap;          // its entry holds text that is no bitmap file
    // The caption text keys written (the text band's pieces keep Layout(TextBack)).
    TTitleKeys TitleKeys = Title;
    // The caption buttons' keys written, in this order; the images stay.
    std::array<TCaptionButtonKeys, 5> CaptionButtonKeys = CaptionButtons();
};

// Only the four border keys of [Personality]: every other section absent.
TTestSkinOptions BordersOnly();
// Frames of each border image under these options.
int BorderFrames(const TTestSkinOptions& options);

// The settings text, and the packed skin archive.
std::string TestSkinSettings(const TTestSkinOptions& options = {});
std::vector<uint8_t> TestSkin(const TTestSkinOptions& options = {});
// The settings text's entry name in every test skin.
inline constexpr const char* SettingsEntryName = "skin.ini";

// A complete test skin whose container magic is 10000 (an older layout).
std::vector<uint8_t> WrongMagicSkin();
// A container with the test skin's images and no settings text.
std::vector<uint8_t> SkinWithoutSettings();

// Replaces the stream's content with bytes, position 0.
void FillStream(TMemoryStream& stream, const std::vector<uint8_t>& bytes);

}  // namespace pellix::testskin
