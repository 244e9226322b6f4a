// A text element's redraw without GL: formatTime of a format from arbitrary
// bytes, then rasterizeText of the result with a real font, at a pixel size,
// a pen origin and a local time also taken from the input.
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "platform/file_io.h"
#include "watch/text_raster.h"
#include "watch/time_format.h"

namespace {

// The face of the font the shipped watches use, opened once.
FT_Face shippedFont() {
    static std::vector<char> bytes =
        platform::readFileBytes("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf").value_or(std::vector<char>{});
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0 ||
        FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(bytes.data()),
                           static_cast<FT_Long>(bytes.size()), 0, &face) != 0)
        std::abort();
    return face;
}

// Any time that the C library's localtime could give.
std::tm localTimeFrom(FuzzedDataProvider& input) {
    std::tm time{};
    time.tm_sec = input.ConsumeIntegralInRange(0, 60);
    time.tm_min = input.ConsumeIntegralInRange(0, 59);
    time.tm_hour = input.ConsumeIntegralInRange(0, 23);
    time.tm_mday = input.ConsumeIntegralInRange(1, 31);
    time.tm_mon = input.ConsumeIntegralInRange(0, 11);
    time.tm_year = input.ConsumeIntegralInRange(-1900, 8099);
    time.tm_wday = input.ConsumeIntegralInRange(0, 6);
    time.tm_yday = input.ConsumeIntegralInRange(0, 365);
    time.tm_isdst = input.ConsumeIntegralInRange(-1, 1);
    return time;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FT_Face face = shippedFont();
    FuzzedDataProvider input(data, size);
    // The loader asks FreeType for whatever the config's size gives.
    const FT_UInt pixelSize = input.ConsumeIntegral<std::uint32_t>();
    const PenOrigin origin{input.ConsumeIntegral<std::int32_t>(), input.ConsumeIntegral<std::int32_t>()};
    const std::tm time = localTimeFrom(input);
    const std::string format = input.ConsumeRemainingBytesAsString();

    FT_Set_Pixel_Sizes(face, pixelSize, pixelSize);
    const TextImage image = rasterizeText(face, formatTime(format, time), origin);
    if (image.size() != std::size_t(textImageSide) * textImageSide * 4) std::abort();
    return 0;
}
