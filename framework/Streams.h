// Byte streams of the framework: only the memory stream is needed so far.
// Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/SysUtils.h"

namespace pellix {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    std::string ClassName() const override { return "TStream"; }

    // Transfer up to count bytes and report how many moved; never throw for a short count.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual int64_t Position() const = 0;
    virtual int64_t Size() const = 0;

    void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }

    // All or nothing: EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);

    // Copies count bytes from source's position; a count of 0 copies the whole
    // source from its start, as the framework always did.
    int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
public:
    std::string ClassName() const override { return "TMemoryStream"; }

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Position() const override { return position_; }
    int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }

    uint8_t* Memory() { return bytes_.data(); }
    const uint8_t* Memory() const { return bytes_.data(); }

    // Growth fills with zeros; a position past the new end moves back to it.
    void SetSize(int64_t size);
    void Clear();

    // Takes the whole of source from its start; the own position is kept.
    void LoadFromStream(TStream& source);
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

private:
    std::vector<uint8_t> bytes_;
    int64_t position_ = 0;
};

// The bytes from the stream's position to its end.
std::vector<uint8_t> ReadRest(TStream& stream);
// The whole file in one read, with the errors of TMemoryStream::LoadFromFile.
std::vector<uint8_t> ReadWholeFile(const std::string& fileName);

}  // namespace pellix
