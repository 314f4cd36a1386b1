#include "app/thumbnail/ThumbnailSize.h"

#include <algorithm>

#include "app/thumbnail/Resample.h"

namespace pellix {

ThumbnailSize ComputeThumbnailSize(int32_t sourceWidth, int32_t sourceHeight, int32_t maxWidth, int32_t maxHeight,
                                   bool proportional) {
    if (sourceWidth < 1 || sourceHeight < 1)
        throw EResampleError("Picture of " + IntToStr(sourceWidth) + " x " + IntToStr(sourceHeight) +
                             " pixels has no thumbnail");
    ThumbnailSize size;
    if (maxHeight >= sourceHeight && maxWidth >= sourceWidth) {
        size.Width = sourceWidth;
        size.Height = sourceHeight;
        return size;
    }
    if (!proportional) {
        size.Width = maxWidth;
        size.Height = maxHeight;
        return size;
    }
    size.Proportioned = true;
    size.AspectRatio = static_cast<double>(sourceWidth) / sourceHeight;
    const int64_t sw = sourceWidth, sh = sourceHeight, mw = maxWidth, mh = maxHeight;
    // The box is at least as wide as the picture's shape: the height limits.
    if (mw * sh >= sw * mh) {
        size.Height = maxHeight;
        size.Width = static_cast<int32_t>(std::max<int64_t>(mh * sw / sh, 1));
    } else {
        size.Width = maxWidth;
        size.Height = static_cast<int32_t>(std::max<int64_t>(mw * sh / sw, 1));
    }
    return size;
}

}  // namespace pellix
