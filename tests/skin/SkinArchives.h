// The painter's test skins as the skin data and manager tests load them:
// variants told apart by their face colour, and one that fails to parse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Streams.h"
#include "tools/skinpaint/TestSkins.h"

namespace pellix::test {

using Bytes = std::vector<uint8_t>;

inline Bytes VariantSkin(int variant) {
    testskin::TTestSkinOptions options;
    options.Variant = variant;
    return testskin::TestSkin(options);
}

inline TColor FaceOf(int variant) { return static_cast<TColor>(testskin::Colours(variant).ButtonFace); }

// The caption-button records of a parsed test skin: one per section, then the
// three MDI-child buttons.
inline size_t CaptionButtonRecords() { return testskin::CaptionButtons().size() + 3; }

// Its push-button image is text, not a bitmap: the parse fails there, after
// the caption-button records were made anew.
inline Bytes BadBitmapSkin() {
    testskin::TTestSkinOptions options;
    options.NotABitmap = testskin::TElement::Buttons;
    return testskin::TestSkin(options);
}

inline Bytes BytesOf(const TMemoryStream& stream) { return Bytes(stream.Memory(), stream.Memory() + stream.Size()); }

}  // namespace pellix::test
