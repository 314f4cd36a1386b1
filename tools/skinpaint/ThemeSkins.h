// The program's own skins: a theme (palette and geometry) painted into every
// image the skinning engine reads, with the settings text that names them.
// Portable and deterministic.
#pragma once

#include <string>
#include <vector>

#include "tools/skinpaint/Raster.h"
#include "tools/skinpaint/SkinBuilder.h"

namespace pellix::skinpaint {

// Sizes shared by every theme, in pixels.
struct TThemeGeometry {
    int Border = 4;         // left, right and bottom border
    int Caption = 30;       // caption strip (the top border's frame height)
    int CornerRadius = 8;   // rounded top corners of the window
    int TopEnd = 10;        // fixed ends of the caption strip, past the side borders
    int ButtonHeight = 20;  // caption buttons
    int ButtonTop = 5;
    int CloseWidth = 40;
    int BoxWidth = 28;  // maximise, restore and minimise
    int ButtonGap = 2;
    int ButtonsRight = 6;  // from the window's right edge to the close button
    int IconLeft = 8;      // the window icon's place
    int IconTop = 7;
    int TextShift = 22;    // caption text start, past the icon
    int TextBandEnd = 10;  // rounded ends of the caption text band
    int MenuBar = 20;      // menu bar image height (stretched to the system's)
};

struct TSkinTheme {
    std::string Name;                  // archive name without ".skn"
    bool LightCaption;                 // dark caption text and glyphs on a light caption
    TRgb CaptionTop, CaptionBottom;    // active caption gradient
    TRgb InactiveTop, InactiveBottom;  // inactive caption gradient
    TRgb Frame, InactiveFrame;         // the window's outer line
    TRgb CaptionText, InactiveCaptionText;
    TRgb Face;    // dialogs and controls
    TRgb Accent;  // selections, checked boxes, progress, hot outlines
    TRgb Text;    // text on faces and menus
    TRgb Menu;    // popup menus
    TRgb Track;   // scroll-bar tracks
    TRgb Close;   // the close button under the mouse
    TThemeGeometry Geometry;
};

// Blue, Silver, Green and Builtin (the skin data component's own, with a
// face colour of its own).
const std::vector<TSkinTheme>& BuiltinThemes();

TSkinBuilder PaintThemeSkin(const TSkinTheme& theme);
// The settings text's entry name: the theme name in lower case + ".ini".
std::string ThemeSettingsName(const TSkinTheme& theme);
// The ".skn" bytes.
std::vector<uint8_t> ThemeSkinArchive(const TSkinTheme& theme);

}  // namespace pellix::skinpaint
