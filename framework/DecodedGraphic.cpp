#include "framework/DecodedGraphic.h"

#include <typeinfo>

#include "framework/Streams.h"

namespace pellix {

int TDecodedGraphic::Width() const { return data_ ? data_->bitmap.Width() : 0; }
int TDecodedGraphic::Height() const { return data_ ? data_->bitmap.Height() : 0; }

const TBitmap& TDecodedGraphic::Bitmap() const {
    if (!data_) throw EInvalidGraphicOperation(ClassName() + " picture is empty");
    return data_->bitmap;
}

void TDecodedGraphic::Assign(const TPersistent* source) {
    if (source != nullptr && typeid(*source) == typeid(*this)) {
        data_ = static_cast<const TDecodedGraphic*>(source)->data_;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TDecodedGraphic::LoadFromStream(TStream& stream) {
    auto data = std::make_shared<Data>();
    data->bytes = ReadRest(stream);
    Decode(data->bytes, data->bitmap);
    data_ = std::move(data);
    Changed();
}

void TDecodedGraphic::SaveToStream(TStream& stream) const {
    if (data_) stream.WriteBuffer(data_->bytes.data(), static_cast<int64_t>(data_->bytes.size()));
}

void TDecodedGraphic::Draw(TCanvas& canvas, const RECT& rect) const {
    if (data_) data_->bitmap.Draw(canvas, rect);
}

}  // namespace pellix
