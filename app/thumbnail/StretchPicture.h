// The filtered resampler over the framework's pictures.
#pragma once

#include "app/thumbnail/Resample.h"
#include "framework/Graphics.h"

namespace pellix {

// Turns source (any picture kind) into a 24-bit bitmap and resamples it into
// target, which becomes a 24-bit bitmap of newWidth x newHeight. A radius of 0
// asks for the filter's default. Icons and metafiles are first painted at
// their own size on white. Errors go on to the caller.
void StretchPicture(int32_t newWidth, int32_t newHeight, FilterKind filter, float radius, const TGraphic& source,
                    TBitmap& target);

}  // namespace pellix
