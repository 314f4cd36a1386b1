// The parsed skin: element records with their images, the caption buttons,
// the skin's colours and face brush, as the skin data component holds them
// and every painter reads them; and the parse of a skin's settings text.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Streams.h"
#include "skin/SkinRead.h"

namespace pellix {

// One element: FrameCount equal frames side by side in Image, with margins
// for nine-part drawing.
class TDataSkinObject : public TObject {
public:
    explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
    std::string ClassName() const override { return "TDataSkinObject"; }

    int32_t LeftWidth = 0;
    int32_t TopHeight = 0;
    int32_t RightWidth = 0;
    int32_t BottomHeight = 0;
    TBitmap Image;
    int32_t Trans = 0;
    int32_t Tile = 0;
    std::string Name;
    int32_t FrameCount = 0;
    int32_t Style = 0;
    // Text colours; -1 for none.
    int32_t NormalColour = 0;
    int32_t MouseOverColour = 0;
    int32_t PressedColour = 0;
    TColor NormalColour2 = 0;
    TColor MouseOverColour2 = 0;
    TColor PressedColour2 = 0;
};

class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    std::string ClassName() const override { return "TDataSkinBorder"; }

    TBitmap SecondImage;
};

class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    std::string ClassName() const override { return "TDataSkinButton"; }

    TBitmap CheckButtonImage;
    TBitmap RadioButtonImage;
    int32_t RadioButtonFrame = 0;
    int32_t CheckButtonFrame = 0;
};

// One caption button; Align 100 marks the three MDI-child buttons.
class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    std::string ClassName() const override { return "TDataSkinSysButton"; }

    int32_t Action = 0;
    int32_t Align = 0;
    int32_t Xcoord = 0;
    int32_t Ycoord = 0;
    int32_t CombineOp = 0;
    int32_t Visibility = 0;
    int32_t Visibility1 = 0;
};

// The caption text: LeftWidth, TopHeight and RightWidth carry its shift,
// vertical shift and right clip; Image is the text background.
class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    std::string ClassName() const override { return "TDataSkinTitle"; }

    static constexpr TColor NotSet = clNone;

    int32_t TextAlignment = 0;  // 0 left, 1 centre, 2 right
    int32_t Textbackground = 0;
    int32_t FontHeight = 0;
    int32_t TXTBackleft = 0;
    int32_t TXTBackRight = 0;
    TColor ActiveTextColour = 0;
    TColor InactiveTextColour = 0;
};

struct TGdiObjectFree {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using TBrushHandle = std::unique_ptr<std::remove_pointer_t<HBRUSH>, TGdiObjectFree>;

// The skin members of the skin data component, which owns them. Optional
// elements are null while the skin has no section for them.
struct TSkinMembers {
    TSkinMembers() = default;
    TSkinMembers(const TSkinMembers&) = delete;
    TSkinMembers& operator=(const TSkinMembers&) = delete;

    TBitmap IconImage;  // never filled
    TDataSkinTitle Title{"Title"};
    std::vector<std::unique_ptr<TDataSkinSysButton>> CaptionButtons;
    TDataSkinButton Buttons{"Buttons"};
    std::unique_ptr<TDataSkinBorder> Tabs;
    std::unique_ptr<TDataSkinBorder> Progress;
    std::unique_ptr<TDataSkinBorder> UpDownHorz;
    std::unique_ptr<TDataSkinBorder> UpDownVert;
    std::unique_ptr<TDataSkinObject> ComboButton;
    std::unique_ptr<TDataSkinObject> SunkEdge;
    std::unique_ptr<TDataSkinObject> ExtraImages;
    std::unique_ptr<TDataSkinObject> GroupBoxEdge;
    std::unique_ptr<TDataSkinObject> Toolbars;
    std::unique_ptr<TDataSkinObject> StatusBarEdges;
    std::unique_ptr<TDataSkinObject> Headerbar;
    std::unique_ptr<TDataSkinObject> MenuBar;
    std::unique_ptr<TDataSkinObject> MenuItem;
    std::unique_ptr<TDataSkinObject> MenuBackground;
    std::unique_ptr<TDataSkinObject> Scrollbar;
    std::unique_ptr<TDataSkinObject> HorzScroll;
    std::unique_ptr<TDataSkinObject> VertScroll;
    std::unique_ptr<TDataSkinObject> HorzScrollThumb;
    std::unique_ptr<TDataSkinObject> VertScrollThumb;
    TDataSkinBorder LeftBorder{"Left"};
    TDataSkinBorder RightBorder{"Right"};
    TDataSkinBorder TopBorder{"Top"};
    TDataSkinBorder BottomBorder{"Bottom"};

    TColor WindowTextColour = 0;
    TColor TitleTextActiveColour = 0;
    TColor TitleTextNoActiveColour = 0;
    TColor ButtonFaceColour = 0;
    TColor ButtonTextColour = 0;
    TColor ButtonHilightColour = 0;
    TColor ButtonlightColour = 0;
    TColor ButtonShadowColour = 0;
    TColor ButtonDkShadowColour = 0;
    TColor HilightTextColour = 0;
    TColor HilightColour = 0;
    TColor MenubarColour = 0;
    TColor MenuBarTextColour = 0;
    TColor MenuTextColour = 0;
    TColor MenuColour = 0;
    TColor ScrollbarColour = 0;

    // Solid, of ButtonFaceColour resolved when the skin was read.
    TBrushHandle FaceBrush;
};

// Fills skin from a settings text, taking the images it names from the open
// archive through entryStream. A named entry that is not a valid bitmap file
// raises EInvalidGraphic; the members read before it then hold the new skin
// and the rest the old one.
void ReadSkinIni(TSkinMembers& skin, std::string_view settingsText, const TSkinReader& reader,
                 TMemoryStream& entryStream);

}  // namespace pellix
