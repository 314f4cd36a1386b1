// A preview of a painted theme: a window, a popup menu and a few controls
// put together from the skin's pieces the way the engine lays them out, and
// below it every image of the skin enlarged (keyed pixels as a checkerboard).
// For looking at; nothing reads it back.
#pragma once

#include "tools/skinpaint/Raster.h"
#include "tools/skinpaint/SkinBuilder.h"
#include "tools/skinpaint/ThemeSkins.h"

namespace pellix::skinpaint {

TRaster PreviewSheet(const TSkinTheme& theme, const TSkinBuilder& skin);

}  // namespace pellix::skinpaint
