// libFuzzer target for the program's bitmap converter: the first byte gives
// the information block's length, the rest after it is the bits block.
#include "platform/imaging/plugins/dibconvert.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const size_t infoBytes = std::min<size_t>(size - 1, data[0] + 40u);
    // Copies of exact length, so that any read past either block is caught.
    std::vector<unsigned char> info(data + 1, data + 1 + infoBytes);
    std::vector<unsigned char> bits(data + 1 + infoBytes, data + size);
    (void)vx::ConvertDib(info.data(), info.size(), bits.data(), bits.size(), int64_t(1) << 26);
    return 0;
}
