// Small skin archives for the skin data and manager tests: a complete little
// skin told apart by its face colour, one whose border entry is no bitmap,
// and hand-made containers the archive writer refuses to make.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Streams.h"
#include "tools/skinpack/LzhufEncoder.h"
#include "tools/skinpack/SkinArchiveWriter.h"

namespace pellix::test {

using Bytes = std::vector<uint8_t>;

// A 24-bit Windows bitmap file of one colour.
inline Bytes SolidBmpFile(int width, int height, COLORREF colour) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = GetBValue(colour);
            row[3 * x + 1] = GetGValue(colour);
            row[3 * x + 2] = GetRValue(colour);
        }
    }
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    return {stream.Memory(), stream.Memory() + stream.Size()};
}

inline std::string ColourText(COLORREF c) {
    return std::to_string(GetRValue(c)) + " " + std::to_string(GetGValue(c)) + " " + std::to_string(GetBValue(c));
}

// Four borders, one caption button (so four caption-button records with the
// three MDI ones) and the given face colour.
inline Bytes FaceSkin(COLORREF face) {
    const std::string settings =
        "[Personality]\r\nLeft=left.bmp\r\nRight=right.bmp\r\nTop=top.bmp\r\nBottom=bottom.bmp\r\n"
        "[Colours]\r\nButtonFace=" + ColourText(face) + "\r\n"
        "[Button1]\r\nAction=0\r\nButtonImage=close.bmp\r\n";
    return PackSkinArchive({{"left.bmp", SolidBmpFile(4, 20, face)},
                            {"right.bmp", SolidBmpFile(4, 20, face)},
                            {"top.bmp", SolidBmpFile(20, 24, face)},
                            {"bottom.bmp", SolidBmpFile(20, 4, face)},
                            {"close.bmp", SolidBmpFile(48, 16, face)},
                            {"skin.ini", Bytes(settings.begin(), settings.end())}});
}

inline constexpr size_t kFaceSkinCaptionButtons = 4;

// Its push-button image is text, not a bitmap: the parse fails there, after
// the caption-button records were made anew.
inline Bytes BadBitmapSkin() {
    const std::string settings =
        "[Personality]\r\nLeft=left.bmp\r\n[Button1]\r\nButtonImage=close.bmp\r\n[Buttons]\r\nBitmap=bad.bmp\r\n";
    const std::string notBitmap = "this is no bitmap";
    return PackSkinArchive({{"left.bmp", SolidBmpFile(4, 20, RGB(9, 9, 9))},
                            {"close.bmp", SolidBmpFile(48, 16, RGB(9, 9, 9))},
                            {"bad.bmp", Bytes(notBitmap.begin(), notBitmap.end())},
                            {"skin.ini", Bytes(settings.begin(), settings.end())}});
}

// The unpacked container laid out by hand, then packed.
inline Bytes HandMadeArchive(int32_t magic, const std::vector<TSkinArchiveEntry>& entries) {
    Bytes raw;
    auto put = [&raw](int32_t v) {
        for (int i = 0; i < 4; ++i) raw.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
    };
    std::string names;
    for (const auto& e : entries) names += e.Name + "\r\n";
    put(magic);
    put(static_cast<int32_t>(names.size()));
    put(0);
    put(0);
    raw.insert(raw.end(), names.begin(), names.end());
    for (const auto& e : entries) put(static_cast<int32_t>(e.Data.size()));
    for (const auto& e : entries) raw.insert(raw.end(), e.Data.begin(), e.Data.end());
    return PackLzhuf(raw);
}

// An archive of an older layout: its magic is not 20000.
inline Bytes WrongMagicArchive() {
    const std::string settings = "[Personality]\r\n";
    return HandMadeArchive(19999, {{"skin.ini", Bytes(settings.begin(), settings.end())}});
}

// A sound archive without a settings text.
inline Bytes NoSettingsArchive() { return HandMadeArchive(20000, {{"left.bmp", SolidBmpFile(4, 4, RGB(1, 2, 3))}}); }

inline void WriteStream(TMemoryStream& stream, const Bytes& bytes) {
    stream.Clear();
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

inline Bytes BytesOf(const TMemoryStream& stream) { return Bytes(stream.Memory(), stream.Memory() + stream.Size()); }

}  // namespace pellix::test
