// LZHUF decoder: the packing of every skin archive. Portable.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/Streams.h"
#include "framework/SysUtils.h"

namespace pellix {

PELLIX_EXCEPTION(ElzhException, Exception);

// (buffer, requested count, out done count): the decoder asks for one byte at a time.
using TLzhReadProc = std::function<void(void* buffer, uint16_t count, uint16_t& done)>;
using TLzhWriteProc = std::function<void(const void* buffer, uint16_t count, uint16_t& done)>;

class TLZH : public TObject {
public:
    TLZH();
    ~TLZH() override;
    std::string ClassName() const override { return "TLZH"; }

    TStream* SourceStream = nullptr;  // not owned
    TStream* DestStream = nullptr;    // not owned

    // Decodes until at least outputSize bytes went out; a match that crosses the
    // size is still copied whole. Missing input reads as zero bits, so corrupt or
    // truncated input is not detected: callers bound outputSize themselves.
    void DecodeLzhuf(int32_t outputSize, const TLzhReadProc& read, const TLzhWriteProc& write);

    // The procedures over SourceStream and DestStream.
    void ReadSourceBytes(void* buffer, uint16_t count, uint16_t& done);
    void WriteDestBytes(const void* buffer, uint16_t count, uint16_t& done);

private:
    struct TTables;

    void AllocTables();
    void FreeTables() noexcept;
    int ReadBit();
    int ReadByte();
    void FillBitBuffer();
    void InitModel();
    void RebuildModel();
    void UpdateModel(int symbol);
    int DecodeSymbol();
    int DecodeDistance();

    uint16_t BitBuffer = 0;
    uint8_t BitCount = 0;
    std::unique_ptr<TTables> Tables;  // only while a decode runs
    const TLzhReadProc* Reader = nullptr;
};

}  // namespace pellix
