#include "framework/JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <jerror.h>
#include <jpeglib.h>

namespace pellix {

// libjpeg reports errors through a callback that must not return. It jumps
// back to the setjmp of the calling function here; every C++ object of that
// function is made before the setjmp, so the jump skips no destructor, and
// the error is thrown as an exception from there.

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr cinfo) {
    auto* e = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, e->message);
    std::longjmp(e->jump, 1);
}

// Warnings (damaged data) are not shown: a program without a console has
// nowhere to print them.
void OnMessage(j_common_ptr, int) {}

void InstallErrors(ErrorManager& errors) {
    jpeg_std_error(&errors.pub);
    errors.pub.error_exit = OnError;
    errors.pub.emit_message = OnMessage;
    errors.message[0] = '\0';
}

struct Decompressor {
    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};

    Decompressor() {
        cinfo.err = &errors.pub;
        InstallErrors(errors);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    ~Decompressor() { jpeg_destroy_decompress(&cinfo); }  // safe before create: no memory yet
};

// Growing output buffer for the encoder, in C memory: it is written from
// inside libjpeg, where a C++ exception could not pass.
struct Destination {
    jpeg_destination_mgr pub{};
    unsigned char* bytes = nullptr;
    size_t size = 0;
    size_t capacity = 0;

    Destination() = default;
    Destination(const Destination&) = delete;
    Destination& operator=(const Destination&) = delete;
    ~Destination() { std::free(bytes); }
};

constexpr size_t kChunk = 64 * 1024;

bool Grow(Destination& d) {
    size_t wanted = d.capacity == 0 ? kChunk : d.capacity * 2;
    auto* more = static_cast<unsigned char*>(std::realloc(d.bytes, wanted));
    if (more == nullptr) return false;
    d.bytes = more;
    d.capacity = wanted;
    d.pub.next_output_byte = d.bytes + d.size;
    d.pub.free_in_buffer = d.capacity - d.size;
    return true;
}

void InitDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    if (!Grow(*d)) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
}

boolean EmptyOutput(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    d->size = d->capacity;  // libjpeg hands back a full buffer
    if (!Grow(*d)) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    d->size = d->capacity - d->pub.free_in_buffer;
}

struct Compressor {
    jpeg_compress_struct cinfo{};
    ErrorManager errors{};
    Destination destination;
    int quality = 0;  // in memory, not a register: it lives across the setjmp

    Compressor() {
        cinfo.err = &errors.pub;
        InstallErrors(errors);
        destination.pub.init_destination = InitDestination;
        destination.pub.empty_output_buffer = EmptyOutput;
        destination.pub.term_destination = TermDestination;
    }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
    ~Compressor() { jpeg_destroy_compress(&cinfo); }
};

void RequireSize(size_t size) {
    if (size == 0) throw EJPEGError("JPEG data is empty");
    if (size > std::numeric_limits<unsigned long>::max()) throw EJPEGError("JPEG data is too large");
}

// Adobe writes CMYK inverted; others store the ink itself.
void CmykToBgr(const uint8_t* cmyk, uint8_t* bgr, int32_t width, bool inverted) {
    for (int32_t x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[0] = static_cast<uint8_t>(y * k / 255);
        bgr[1] = static_cast<uint8_t>(m * k / 255);
        bgr[2] = static_cast<uint8_t>(c * k / 255);
    }
}

}  // namespace

JpegHeader ReadJpegHeader(const uint8_t* data, size_t size) {
    RequireSize(size);
    Decompressor d;
    if (setjmp(d.errors.jump)) throw EJPEGError(d.errors.message);
    jpeg_create_decompress(&d.cinfo);
    jpeg_mem_src(&d.cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.cinfo, TRUE);
    return {static_cast<int32_t>(d.cinfo.image_width), static_cast<int32_t>(d.cinfo.image_height)};
}

void DecodeJpeg(const uint8_t* data, size_t size, const PixelRows& target) {
    RequireSize(size);
    Decompressor d;
    if (setjmp(d.errors.jump)) throw EJPEGError(d.errors.message);
    jpeg_create_decompress(&d.cinfo);
    jpeg_mem_src(&d.cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.cinfo, TRUE);
    if (static_cast<int64_t>(d.cinfo.image_width) != target.Width ||
        static_cast<int64_t>(d.cinfo.image_height) != target.Height)
        throw EJPEGError("JPEG picture does not fit its target");
    const bool cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
    d.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&d.cinfo);
    JSAMPARRAY cmykRow =
        cmyk ? (*d.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d.cinfo), JPOOL_IMAGE,
                                            d.cinfo.output_width * 4, 1)
             : nullptr;
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        uint8_t* out = target.Row(static_cast<int32_t>(d.cinfo.output_scanline));
        JSAMPROW row = cmyk ? cmykRow[0] : out;
        jpeg_read_scanlines(&d.cinfo, &row, 1);
        if (cmyk) CmykToBgr(row, out, target.Width, d.cinfo.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&d.cinfo);
}

std::vector<uint8_t> EncodeJpeg(const PixelRows& source, int quality) {
    if (source.Width < 1 || source.Height < 1 || source.Width > JPEG_MAX_DIMENSION ||
        source.Height > JPEG_MAX_DIMENSION)
        throw EJPEGError("Cannot write a JPEG picture of " + IntToStr(source.Width) + " x " +
                         IntToStr(source.Height) + " pixels");
    Compressor c;
    c.quality = quality < 1 ? 1 : (quality > 100 ? 100 : quality);
    if (setjmp(c.errors.jump)) throw EJPEGError(c.errors.message);
    jpeg_create_compress(&c.cinfo);
    c.cinfo.dest = &c.destination.pub;
    c.cinfo.image_width = static_cast<JDIMENSION>(source.Width);
    c.cinfo.image_height = static_cast<JDIMENSION>(source.Height);
    c.cinfo.input_components = 3;
    c.cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c.cinfo);
    c.cinfo.dct_method = JDCT_FLOAT;
    jpeg_set_quality(&c.cinfo, c.quality, TRUE);
    jpeg_start_compress(&c.cinfo, TRUE);
    JSAMPARRAY rgb = (*c.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&c.cinfo), JPOOL_IMAGE,
                                                  static_cast<JDIMENSION>(source.Width) * 3, 1);
    while (c.cinfo.next_scanline < c.cinfo.image_height) {
        const uint8_t* bgr = source.Row(static_cast<int32_t>(c.cinfo.next_scanline));
        uint8_t* out = rgb[0];
        for (int32_t x = 0; x < source.Width; ++x, bgr += 3, out += 3) {
            out[0] = bgr[2];
            out[1] = bgr[1];
            out[2] = bgr[0];
        }
        jpeg_write_scanlines(&c.cinfo, rgb, 1);
    }
    jpeg_finish_compress(&c.cinfo);
    return {c.destination.bytes, c.destination.bytes + c.destination.size};
}

}  // namespace pellix
