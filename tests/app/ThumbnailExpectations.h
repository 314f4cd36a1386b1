// What a thumbnail file must hold, computed apart from the program: the plain
// single-threaded resampler with the triangle filter on the picture's 24-bit
// pixels (icons and metafiles painted on white), encoded at the quality.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/thumbnail/Resample.h"
#include "framework/Graphics.h"
#include "framework/JpegCodec.h"
#include "tests/framework/PictureFixtures.h"

namespace pellix::fixtures {

inline Bytes ExpectedThumbnailFile(const TGraphic& source, int width, int height, int quality) {
    TBitmap pixels;
    ToPixels(source, pixels);
    std::vector<uint8_t> out(static_cast<size_t>(width) * height * 3);
    const PixelRows to{out.data(), width, height, static_cast<ptrdiff_t>(width) * 3};
    StretchPixels(FilterKind::fkTriangle, 0, RowsOf(std::as_const(pixels)), to, 1);
    return EncodeJpeg(to, quality);
}

inline Bytes ReadFileBytes(const std::string& path) {
    TMemoryStream stream;
    stream.LoadFromFile(path);
    return {stream.Memory(), stream.Memory() + stream.Size()};
}

// The picture a file holds, by its extension.
inline std::unique_ptr<TPicture> LoadPicture(const std::string& path) {
    auto picture = std::make_unique<TPicture>();
    picture->LoadFromFile(path);
    return picture;
}

// Width and height of JPEG data, whatever the file's extension says.
inline JpegHeader JpegSizeOf(const Bytes& bytes) { return ReadJpegHeader(bytes.data(), bytes.size()); }

// Lines joined with CR LF after each, as both HTML files are stored.
inline std::string Lines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

// One picture's cell: its thumbnail, linked to the picture.
inline std::string SampleCell(const std::string& in, const std::string& out, const std::string& name, int w, int h) {
    return "<TD><A HREF=\"" + in + name + "\"><IMG SRC=\"" + out + name + "\" WIDTH=" + std::to_string(w) +
           " HEIGHT=" + std::to_string(h) + " BORDER=0></A></TD>";
}

// The two files as stored, around the lines of their table's rows.
inline std::string SamplesHtml(const std::vector<std::string>& rows) {
    std::vector<std::string> lines{"<HTML>", "<BODY>", "<TABLE BORDER=1>", "<TR>"};
    lines.insert(lines.end(), rows.begin(), rows.end());
    lines.insert(lines.end(), {"</TR>", "</TABLE>", "</BODY>", "</HTML>"});
    return Lines(lines);
}
inline std::string WebHtml(const std::vector<std::string>& rows) {
    std::vector<std::string> lines{"<!-- Change table border, cellspacing and cellpadding to suit -->",
                                   "<TABLE BORDER=0 CELLSPACING=0 CELLPADDING=0>", "<TR>"};
    lines.insert(lines.end(), rows.begin(), rows.end());
    lines.insert(lines.end(), {"</TR>", "</TABLE>"});
    return Lines(lines);
}

}  // namespace pellix::fixtures
