// Status bars and boxes: every panel in the frame of its bevel with its text
// where its alignment puts it, the last one reaching the right edge, the
// plain frames without the skin's image, the skin's grip; a container's face
// colour swapped while skinned and given back.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "tests/skin/ControlSampler.h"

namespace pellix::test {
namespace {

struct PanelSpec {
    std::string text;
    TAlignment alignment;
    TStatusPanelBevel bevel;
    int width;
};

class StatusBarSkinTest : public ControlSkinFixture {
protected:
    TStatusBar* MakeBar(const std::vector<PanelSpec>& panels, bool sizeGrip = false) {
        bar = new TStatusBar(form.get());  // owned by the form
        bar->SetSizeGrip(sizeGrip);
        for (const PanelSpec& p : panels) {
            TStatusPanel* panel = bar->Panels()->Add();
            panel->SetText(p.text);
            panel->SetAlignment(p.alignment);
            panel->SetBevel(p.bevel);
            panel->SetWidth(p.width);
        }
        bar->SetParent(form.get());
        bar->HandleNeeded();
        NewSkin<TSkinStatusBar>()->AttachControl(bar, skin.get(), false, &host->ControlCanvas);
        Repaint(bar->Handle());
        return bar;
    }
    RECT PanelRect(int index) const {
        RECT r{};
        SendMessageA(bar->Handle(), SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return r;
    }
    static UINT Format(TAlignment alignment) {
        if (alignment == TAlignment::taCenter) return DT_CENTER;
        return alignment == TAlignment::taRightJustify ? DT_RIGHT : DT_LEFT;
    }

    TStatusBar* bar = nullptr;
};

COLORREF Edge(int frame, TPiece piece) { return Piece(TElement::StatusBarEdges, frame, piece); }
COLORREF PanelText() { return Rgb(SkinColours().NormalColour2); }

TEST_F(StatusBarSkinTest, WithoutPanelsOrAsASimpleBarTheSimpleTextFillsOneLoweredPanel) {
    for (bool simplePanel : {false, true}) {
        SCOPED_TRACE(simplePanel ? "simple panel" : "no panels");
        std::vector<PanelSpec> panels;
        if (simplePanel) panels = {{"Hidden", TAlignment::taLeftJustify, TStatusPanelBevel::pbRaised, 100}};
        MakeBar(panels);
        bar->SetSimpleText("Simple");
        bar->SetSimplePanel(simplePanel);
        Repaint(bar->Handle());
        const TWindowPicture picture(bar->Handle());
        const int w = picture.Width(), h = picture.Height();
        EXPECT_EQ(Hex(picture.At(0, 0)), Hex(Edge(1, TPiece::TopLeft)));
        EXPECT_EQ(Hex(picture.At(w - 1, h - 1)), Hex(Edge(1, TPiece::BottomRight)));
        EXPECT_EQ(Hex(picture.At(w / 2, 0)), Hex(Edge(1, TPiece::Top)));
        const RECT text = CentredTextRect(bar->Handle(), RECT{0, 0, w, h}, "Simple", DT_LEFT);
        EXPECT_GT(picture.Count(PanelText(), text), 5);
        EXPECT_EQ(picture.Count(PanelText()), picture.Count(PanelText(), text));
        host->DropControlSkins();
        TComponent::Free(bar);
    }
}

TEST_F(StatusBarSkinTest, EachPanelShowsItsBevelAndItsTextWhereItsAlignmentSays) {
    const std::vector<PanelSpec> panels = {
        {"Left", TAlignment::taLeftJustify, TStatusPanelBevel::pbLowered, 120},
        {"Centre", TAlignment::taCenter, TStatusPanelBevel::pbRaised, 120},
        {"", TAlignment::taLeftJustify, TStatusPanelBevel::pbLowered, 60},
        {"Right", TAlignment::taRightJustify, TStatusPanelBevel::pbNone, 50},
    };
    MakeBar(panels);
    // The system is given a last part that stops short of the edge.
    const int parts[] = {120, 240, 300, 350};
    SendMessageA(bar->Handle(), SB_SETPARTS, 4, reinterpret_cast<LPARAM>(parts));
    Repaint(bar->Handle());
    const TWindowPicture picture(bar->Handle());
    const int w = picture.Width();
    int textPixels = 0;
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        RECT r = PanelRect(i);
        if (i == 3) {
            ASSERT_LT(r.right, w - 10);
            r.right = w;  // drawn to the right edge
        }
        const TStatusPanelBevel bevel = panels[i].bevel;
        const int frame = bevel == TStatusPanelBevel::pbLowered ? 1 : bevel == TStatusPanelBevel::pbRaised ? 2 : 3;
        EXPECT_EQ(Hex(picture.At(r.left, r.top)), Hex(Edge(frame, TPiece::TopLeft)));
        EXPECT_EQ(Hex(picture.At(r.right - 1, r.bottom - 1)), Hex(Edge(frame, TPiece::BottomRight)));
        EXPECT_EQ(Hex(picture.At(r.right - 1, (r.top + r.bottom) / 2)), Hex(Edge(frame, TPiece::Right)));
        if (panels[i].text.empty()) {
            EXPECT_EQ(picture.Count(PanelText(), r), 0) << "an empty text shows nothing";
            continue;
        }
        const RECT text = CentredTextRect(bar->Handle(), r, panels[i].text, Format(panels[i].alignment));
        EXPECT_GT(picture.Count(PanelText(), text), 5);
        textPixels += picture.Count(PanelText(), text);
    }
    EXPECT_EQ(picture.Count(PanelText()), textPixels) << "no text outside the extents";
}

TEST_F(StatusBarSkinTest, WithoutAnEdgesImageThePanelsGetPlainFrames) {
    testskin::TTestSkinOptions options;
    options.Omit = {TElement::StatusBarEdges};
    skin = LoadTestSkin(options);
    const std::vector<PanelSpec> panels = {
        {"Lowered", TAlignment::taLeftJustify, TStatusPanelBevel::pbLowered, 120},
        {"Raised", TAlignment::taRightJustify, TStatusPanelBevel::pbRaised, 120},
        {"None", TAlignment::taCenter, TStatusPanelBevel::pbNone, 120},
    };
    MakeBar(panels);
    const TWindowPicture picture(bar->Handle());
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF face = Rgb(SkinColours().ButtonFace);
    const COLORREF text = ColorToRGB(bar->Font()->Color());
    struct Expected {
        COLORREF topLeft, bottomRight;
        bool framed;
    };
    const Expected expected[] = {{shadow, light, true}, {light, shadow, true}, {face, face, false}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        RECT r = PanelRect(i);
        if (i == 2) r.right = picture.Width();
        EXPECT_EQ(Hex(picture.At(r.left, r.top)), Hex(expected[i].topLeft));
        EXPECT_EQ(Hex(picture.At(r.right - 1, r.bottom - 1)), Hex(expected[i].bottomRight));
        EXPECT_EQ(Hex(picture.At(r.left + 1, r.top + 1)), Hex(face));
        // A framed panel lays its text out one pixel in.
        RECT inner = r;
        if (expected[i].framed) InflateRect(&inner, -1, -1);
        const RECT place = CentredTextRect(bar->Handle(), inner, panels[i].text, Format(panels[i].alignment));
        EXPECT_GT(picture.Count(text, place), 5);
        EXPECT_EQ(picture.Count(text, r), picture.Count(text, place));
    }
}

TEST_F(StatusBarSkinTest, ABarMadeWithAGripShowsTheSkinsGripInItsCorner) {
    for (bool grip : {true, false}) {
        SCOPED_TRACE(grip ? "with a grip" : "without");
        MakeBar({{"Text", TAlignment::taLeftJustify, TStatusPanelBevel::pbLowered, 100}}, grip);
        const TWindowPicture picture(bar->Handle());
        const int w = picture.Width(), h = picture.Height();
        const auto& extra = testskin::Layout(TElement::ExtraImages);
        const COLORREF colour = Piece(TElement::ExtraImages, 5, TPiece::Centre);
        if (grip) {
            EXPECT_EQ(picture.Count(colour), extra.FrameWidth * extra.FrameHeight);
            EXPECT_EQ(picture.Count(colour, RECT{w - 1 - extra.FrameWidth, h - 1 - extra.FrameHeight, w - 1, h - 1}),
                      extra.FrameWidth * extra.FrameHeight)
                << "one pixel in from the right and bottom edges";
        } else {
            EXPECT_EQ(picture.Count(colour), 0);
        }
        host->DropControlSkins();
        TComponent::Free(bar);
    }
}

TEST_F(ControlSkinFixture, ABoxTakesTheFaceColourWhileSkinnedAndGivesItBack) {
    auto* panel = Make<TPanel>(20, 20, 120, 60);
    panel->SetColor(clRed);
    const std::type_info& ownProc = panel->WindowProc.target_type();
    auto* box = NewSkin<TSkinBox>();
    box->AttachControl(panel, skin.get(), true, &host->ControlCanvas);
    EXPECT_EQ(host->ControlSkins, std::vector<TSkinControl*>{box});
    Repaint(panel->Handle());
    EXPECT_EQ(panel->Color(), static_cast<TColor>(SkinColours().ButtonFace));
    EXPECT_EQ(Hex(TWindowPicture(panel->Handle()).At(30, 30)), Hex(Rgb(SkinColours().ButtonFace)));
    EXPECT_EQ(panel->WindowProc.target_type(), ownProc) << "its messages are left alone";

    box->DetachControl();
    Repaint(panel->Handle());
    EXPECT_EQ(panel->Color(), clRed);
    EXPECT_EQ(Hex(TWindowPicture(panel->Handle()).At(30, 30)), Hex(RGB(255, 0, 0)));

    // A box whose control is freed while skinned forgets it.
    auto* group = Make<TGroupBox>(160, 20, 120, 60);
    auto* groupBox = NewSkin<TSkinBox>();
    groupBox->AttachControl(group, skin.get(), true, &host->ControlCanvas);
    TComponent::Free(group);
    EXPECT_EQ(groupBox->Control, nullptr);
    host->DropControlSkins();
}

}  // namespace
}  // namespace pellix::test
