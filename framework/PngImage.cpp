#include "framework/PngImage.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>

#include <png.h>

namespace pellix {

// libpng reports errors through a callback that must not return: it jumps
// back to the setjmp in Decode, whose C++ objects all exist before the
// setjmp, so the jump skips no destructor; the error is thrown from there.

namespace {

struct Session {
    const std::vector<uint8_t>* bytes = nullptr;
    size_t position = 0;
    char message[256] = {};
};

void OnError(png_structp png, png_const_charp message) {
    auto* s = static_cast<Session*>(png_get_error_ptr(png));
    std::snprintf(s->message, sizeof(s->message), "%s", message != nullptr ? message : "PNG error");
    png_longjmp(png, 1);
}

// Warnings (a bad ancillary chunk) leave the picture readable.
void OnWarning(png_structp, png_const_charp) {}

void ReadBytes(png_structp png, png_bytep out, size_t count) {
    auto* s = static_cast<Session*>(png_get_io_ptr(png));
    if (count > s->bytes->size() - s->position) png_error(png, "Unexpected end of PNG data");
    std::memcpy(out, s->bytes->data() + s->position, count);
    s->position += count;
}

struct Reader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    explicit Reader(Session& session) {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &session, OnError, OnWarning);
        if (png == nullptr) throw EPNGError("Out of memory for PNG decoding");
        info = png_create_info_struct(png);
        if (info == nullptr) {
            png_destroy_read_struct(&png, nullptr, nullptr);
            throw EPNGError("Out of memory for PNG decoding");
        }
        png_set_read_fn(png, &session, ReadBytes);
    }
    ~Reader() { png_destroy_read_struct(&png, &info, nullptr); }
};

void DecodePng(const std::vector<uint8_t>& bytes, TBitmap& bitmap) {
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) throw EPNGError("Invalid PNG file header");
    Session session;
    session.bytes = &bytes;
    Reader reader(session);
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(reader.png))) throw EPNGError(session.message);

    png_read_info(reader.png, reader.info);
    // Every kind becomes 8-bit blue-green-red; alpha and tRNS are dropped.
    png_set_expand(reader.png);
    png_set_strip_16(reader.png);
    png_set_strip_alpha(reader.png);
    png_set_gray_to_rgb(reader.png);
    png_set_bgr(reader.png);
    png_set_interlace_handling(reader.png);
    png_read_update_info(reader.png, reader.info);
    const auto width = static_cast<int>(png_get_image_width(reader.png, reader.info));
    const auto height = static_cast<int>(png_get_image_height(reader.png, reader.info));
    if (png_get_rowbytes(reader.png, reader.info) != static_cast<size_t>(width) * 3)
        throw EPNGError("Unsupported PNG pixel layout");

    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetSize(width, height);
    rows.resize(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) rows[y] = bitmap.ScanLine(y);
    png_read_image(reader.png, rows.data());
    png_read_end(reader.png, nullptr);
}

}  // namespace

std::unique_ptr<TGraphic> TPNGObject::Clone() const {
    auto copy = std::make_unique<TPNGObject>();
    copy->Assign(this);
    return copy;
}

void TPNGObject::Decode(const std::vector<uint8_t>& bytes, TBitmap& bitmap) const { DecodePng(bytes, bitmap); }

}  // namespace pellix
