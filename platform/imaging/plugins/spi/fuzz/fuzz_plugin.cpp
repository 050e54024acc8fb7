// libFuzzer target for one plug-in (linked with its source): the input is
// the picture file's bytes, handed over as a memory block. The blocks that
// come back are checked and drawn by the program's converter.
#include "platform/imaging/plugins/dibconvert.h"
#include "platform/imaging/plugins/spiabi.h"

#include <cstdlib>

#pragma weak GetPictureInfo

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 0x7FFFFFFF)
        return 0;
    SpiHandle info = nullptr, bits = nullptr;
    const int code = GetPicture(reinterpret_cast<const char *>(data), int32_t(size), SPI_INPUT_MEMORY, &info, &bits,
                                nullptr, 0);
    // Success hands over both blocks; failure neither.
    if ((code == SPI_OK) != (info && bits) || (code != SPI_OK && (info || bits)))
        std::abort();
    if (info && bits)
        (void)vx::ConvertDib(static_cast<unsigned char *>(LocalLock(info)), LocalSize(info),
                             static_cast<unsigned char *>(LocalLock(bits)), LocalSize(bits), int64_t(1) << 30);
    LocalFree(info);
    LocalFree(bits);
    if (&GetPictureInfo) {
        SpiPictureInfo record{};
        GetPictureInfo(reinterpret_cast<const char *>(data), int32_t(size), SPI_INPUT_MEMORY, &record);
        LocalFree(record.hInfo);
    }
    if (LocalLiveBlocks() != 0)
        std::abort();
    return 0;
}
