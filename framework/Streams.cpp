#include "framework/Streams.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>

namespace pellix {

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::array<uint8_t, 64 * 1024> chunk;
    for (int64_t left = count; left > 0;) {
        const int64_t n = std::min<int64_t>(left, chunk.size());
        source.ReadBuffer(chunk.data(), n);
        WriteBuffer(chunk.data(), n);
        left -= n;
    }
    return count;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    if (position_ < 0 || count <= 0) return 0;
    const int64_t n = std::min(count, Size() - position_);
    if (n <= 0) return 0;
    std::memcpy(buffer, bytes_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (position_ < 0 || count <= 0) return 0;
    const int64_t end = position_ + count;
    if (end > Size()) bytes_.resize(static_cast<size_t>(end));
    std::memcpy(bytes_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    switch (origin) {
        case TSeekOrigin::soBeginning: position_ = offset; break;
        case TSeekOrigin::soCurrent: position_ += offset; break;
        case TSeekOrigin::soEnd: position_ = Size() + offset; break;
    }
    return position_;
}

void TMemoryStream::SetSize(int64_t size) {
    bytes_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    position_ = std::min(position_, Size());
}

void TMemoryStream::Clear() {
    bytes_.clear();
    bytes_.shrink_to_fit();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    const int64_t count = source.Size();
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    source.ReadBuffer(bytes.data(), count);
    bytes_ = std::move(bytes);
    position_ = std::min(position_, Size());
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    bytes_ = ReadWholeFile(fileName);
    position_ = std::min(position_, Size());
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out) throw EFCreateError(FormatMessage1("Cannot create file \"%s\"", fileName));
    out.write(reinterpret_cast<const char*>(bytes_.data()), static_cast<std::streamsize>(bytes_.size()));
    out.flush();
    if (!out) throw EWriteError("Stream write error");
}

std::vector<uint8_t> ReadRest(TStream& stream) {
    int64_t count = std::max<int64_t>(stream.Size() - stream.Position(), 0);
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    stream.ReadBuffer(bytes.data(), count);
    return bytes;
}

std::vector<uint8_t> ReadWholeFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EFOpenError(FormatMessage1("Cannot open file \"%s\"", fileName));
    // One read of the whole file: pictures run to megabytes.
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) throw EReadError("Stream read error");
    in.seekg(0, std::ios::beg);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) throw EReadError("Stream read error");
    return bytes;
}

}  // namespace pellix
