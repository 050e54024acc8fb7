#pragma once
// The C interface between image plug-ins (".spi" shared objects) and the
// program. Both sides are built from this header: the layouts and entry
// points are fixed here, 32-bit where the interface says long, packed as the
// plug-ins write them. Every block a plug-in hands over comes from the Local*
// functions of libvxlocalmem, which host and plug-ins share, so the host knows
// each block's length.
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void *SpiHandle; // a movable memory block (LocalAlloc)

// Return codes of GetPicture and GetPictureInfo.
enum {
    SPI_OK = 0,
    SPI_NOT_IMPLEMENTED = -1,
    SPI_ABORTED = 1,
    SPI_UNKNOWN_FORMAT = 2,
    SPI_BROKEN_DATA = 3,
    SPI_NO_MEMORY = 4,
    SPI_MEMORY_ERROR = 5,
    SPI_READ_ERROR = 6,
    SPI_INTERNAL_ERROR = 8
};

// Flag bits: the low three choose the input (0 = the first argument is a file name).
enum { SPI_INPUT_FILE = 0, SPI_INPUT_MEMORY = 1 };

#pragma pack(push, 1)
typedef struct SpiPictureInfo {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
    uint16_t x_density;
    uint16_t y_density;
    int16_t colorDepth;
    SpiHandle hInfo; // text information (LocalAlloc), or null
} SpiPictureInfo;
#pragma pack(pop)

// The bitmap information header at the start of GetPicture's information block.
typedef struct SpiBitmapInfoHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight; // negative: rows stored top-down
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
} SpiBitmapInfoHeader;

enum { SPI_BI_RGB = 0, SPI_BI_RLE8 = 1, SPI_BI_RLE4 = 2, SPI_BI_BITFIELDS = 3 };

typedef int32_t (*SpiProgressCallback)(int32_t num, int32_t denom, intptr_t data);

typedef int32_t (*SpiGetPicture)(const char *buf, int32_t len, uint32_t flag, SpiHandle *pHBInfo,
                                 SpiHandle *pHBm, SpiProgressCallback progress, intptr_t data);
typedef int32_t (*SpiGetPictureInfo)(const char *buf, int32_t len, uint32_t flag, SpiPictureInfo *info);

// Exported by every plug-in (GetPictureInfo by those that offer it).
int32_t GetPicture(const char *buf, int32_t len, uint32_t flag, SpiHandle *pHBInfo, SpiHandle *pHBm,
                   SpiProgressCallback progress, intptr_t data);
int32_t GetPictureInfo(const char *buf, int32_t len, uint32_t flag, SpiPictureInfo *info);

// libvxlocalmem: movable blocks with their length kept beside them.
enum { LMEM_FIXED = 0, LMEM_MOVEABLE = 2, LMEM_ZEROINIT = 0x40 };
SpiHandle LocalAlloc(uint32_t flags, size_t bytes);
void *LocalLock(SpiHandle h);
int32_t LocalUnlock(SpiHandle h);
SpiHandle LocalFree(SpiHandle h); // null on success, h when it was not a block
size_t LocalSize(SpiHandle h);
// Blocks allocated and not yet freed in this process (for tests).
int64_t LocalLiveBlocks(void);

#ifdef __cplusplus
}
#endif
