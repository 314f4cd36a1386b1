#include "framework/Jpeg.h"

#include <deque>
#include <exception>
#include <future>
#include <mutex>

#include "framework/Streams.h"

namespace pellix {

namespace {
void KeepSpare(std::unique_ptr<TBitmap> bitmap);
}

struct TJPEGImage::Shared {
    ~Shared() { KeepSpare(std::move(bitmap)); }
    std::vector<uint8_t> data;  // empty until compressed when made from a bitmap
    int width = 0, height = 0;
    std::unique_ptr<TBitmap> bitmap;  // decoded or assigned pixels
    std::exception_ptr failure;       // a failed decode is not tried again
};

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

int TJPEGImage::Width() const { return shared_ ? shared_->width : 0; }
int TJPEGImage::Height() const { return shared_ ? shared_->height : 0; }

void TJPEGImage::SetCompressionQuality(int quality) { quality_ = quality < 1 ? 1 : (quality > 100 ? 100 : quality); }

namespace {

struct DecodedAhead {
    std::vector<uint8_t> bytes;
    std::unique_ptr<TBitmap> bitmap;
    std::exception_ptr failure;
};

// Decodes under way or done, oldest first.
constexpr size_t kMaxAhead = 2;
std::mutex g_aheadLock;
std::deque<std::future<DecodedAhead>> g_ahead;
// Pixels of a picture let go while decodes ahead run, for the next decode of
// that size: fresh memory costs as much to touch the first time as decoding
// into it. Nothing is kept once the decodes ahead are over.
std::unique_ptr<TBitmap> g_spare;

void KeepSpare(std::unique_ptr<TBitmap> bitmap) {
    if (!bitmap || bitmap->PixelFormat() != TPixelFormat::pf24bit || !bitmap->OwnsPixels()) return;
    std::unique_ptr<TBitmap> dropped;  // freed after the lock is let go
    std::lock_guard<std::mutex> lock(g_aheadLock);
    if (g_ahead.empty()) return;
    dropped = std::move(g_spare);
    g_spare = std::move(bitmap);
}

std::unique_ptr<TBitmap> TakeSpare(int width, int height) {
    std::lock_guard<std::mutex> lock(g_aheadLock);
    if (!g_spare || g_spare->Width() != width || g_spare->Height() != height) return nullptr;
    return std::move(g_spare);
}

// Every pixel is written, so a spare's old pixels never show; a failed
// decode's bitmap is dropped with the error.
std::unique_ptr<TBitmap> DecodeToBitmap(const std::vector<uint8_t>& bytes, int width, int height) {
    std::unique_ptr<TBitmap> bitmap = TakeSpare(width, height);
    if (!bitmap) {
        bitmap = std::make_unique<TBitmap>();
        bitmap->SetPixelFormat(TPixelFormat::pf24bit);
        bitmap->SetSize(width, height);
    }
    DecodeJpeg(bytes.data(), bytes.size(), RowsOf(*bitmap));
    return bitmap;
}

DecodedAhead DecodeFile(const std::string& fileName) {
    DecodedAhead result;
    try {
        result.bytes = ReadWholeFile(fileName);
        JpegHeader header = ReadJpegHeader(result.bytes.data(), result.bytes.size());
        result.bitmap = DecodeToBitmap(result.bytes, header.Width, header.Height);
    } catch (...) {
        // Kept for the picture that takes this result: it raises it on use.
        result.failure = std::current_exception();
    }
    return result;
}

// The decoded pixels of exactly these bytes, if a decode ahead made them.
// Results before the matching one were not wanted and are dropped.
bool TakeDecodedAhead(const std::vector<uint8_t>& bytes, std::unique_ptr<TBitmap>& bitmap,
                      std::exception_ptr& failure) {
    for (;;) {
        std::future<DecodedAhead> pending;
        std::unique_ptr<TBitmap> spare;  // freed after the lock is let go
        {
            std::lock_guard<std::mutex> lock(g_aheadLock);
            if (g_ahead.empty()) return false;
            pending = std::move(g_ahead.front());
            g_ahead.pop_front();
            if (g_ahead.empty()) spare = std::move(g_spare);
        }
        DecodedAhead result = pending.get();
        if (result.bytes != bytes) continue;
        bitmap = std::move(result.bitmap);
        failure = result.failure;
        return bitmap != nullptr || failure != nullptr;
    }
}

}  // namespace

void DecodeAheadJpegFile(const std::string& fileName) {
    std::future<DecodedAhead> started = std::async(std::launch::async, DecodeFile, fileName);
    std::future<DecodedAhead> dropped;
    {
        std::lock_guard<std::mutex> lock(g_aheadLock);
        if (g_ahead.size() >= kMaxAhead) {
            dropped = std::move(g_ahead.front());
            g_ahead.pop_front();
        }
        g_ahead.push_back(std::move(started));
    }
    if (dropped.valid()) dropped.wait();  // its pixels go with it
}

const TBitmap& TJPEGImage::Bitmap() const {
    if (!shared_) throw EInvalidGraphicOperation("JPEG picture is empty");
    Shared& s = *shared_;
    if (s.failure) std::rethrow_exception(s.failure);
    if (!s.bitmap) {
        try {
            s.bitmap = DecodeToBitmap(s.data, s.width, s.height);
        } catch (...) {
            s.failure = std::current_exception();  // kept and raised again below
            throw;
        }
    }
    return *s.bitmap;
}

void TJPEGImage::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TJPEGImage*>(source)) {
        shared_ = other->shared_;
        quality_ = other->quality_;
        Changed();
        return;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        auto s = std::make_shared<Shared>();
        s->bitmap = std::make_unique<TBitmap>();
        s->bitmap->Assign(bitmap);
        if (s->bitmap->PixelFormat() != TPixelFormat::pf24bit) s->bitmap->SetPixelFormat(TPixelFormat::pf24bit);
        s->width = bitmap->Width();
        s->height = bitmap->Height();
        shared_ = std::move(s);
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
    auto copy = std::make_unique<TJPEGImage>();
    copy->Assign(this);
    return copy;
}

std::vector<uint8_t> TJPEGImage::Encode() const {
    const TBitmap& pixels = Bitmap();
    if (pixels.Empty()) throw EInvalidGraphicOperation("JPEG picture is empty");
    return EncodeJpeg(RowsOf(pixels), quality_);  // only reads: the pixels stay shared
}

void TJPEGImage::Compress() {
    std::vector<uint8_t> data = Encode();
    auto s = std::make_shared<Shared>();
    s->data = std::move(data);
    s->width = shared_->width;
    s->height = shared_->height;
    s->bitmap = std::make_unique<TBitmap>();
    s->bitmap->Assign(&Bitmap());  // shown as held, not decoded again
    shared_ = std::move(s);
    Changed();
}

void TJPEGImage::LoadFromStream(TStream& stream) {
    auto s = std::make_shared<Shared>();
    s->data = ReadRest(stream);
    JpegHeader header = ReadJpegHeader(s->data.data(), s->data.size());
    s->width = header.Width;
    s->height = header.Height;
    TakeDecodedAhead(s->data, s->bitmap, s->failure);
    shared_ = std::move(s);
    Changed();
}

void TJPEGImage::SaveToStream(TStream& stream) const {
    if (!shared_) return;
    if (!shared_->data.empty()) {
        stream.WriteBuffer(shared_->data.data(), static_cast<int64_t>(shared_->data.size()));
        return;
    }
    std::vector<uint8_t> data = Encode();
    stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

void TJPEGImage::Draw(TCanvas& canvas, const RECT& rect) const {
    if (shared_) Bitmap().Draw(canvas, rect);
}

}  // namespace pellix
