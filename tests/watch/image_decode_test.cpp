#include <gtest/gtest.h>

#include "support/test_files.h"
#include "watch/image_decode.h"

namespace {

const std::uint8_t opaqueGreen[] = {0, 255, 0, 255};

std::optional<DecodedImage> decode(const std::string& bytes) {
    return decodeImage(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

// The PNG with its header claiming another size than its pixels have.
std::string claimingSize(std::string png, std::uint32_t width, std::uint32_t height) {
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = char(width >> (24 - 8 * i));
        png[20 + i] = char(height >> (24 - 8 * i));
    }
    return png;
}

TEST(ImageDecodeTest, SidesUpToTheLimitDecodeToRgba) {
    for (auto [width, height] : {std::pair{maxImageSide, 1}, std::pair{1, maxImageSide}}) {
        std::optional<DecodedImage> image = decode(pngOfColour(width, height, 3, opaqueGreen));
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(std::make_pair(image->width, image->height), std::make_pair(width, height));
        const unsigned char* last = image->pixels.get() + (size_t(width) * height - 1) * 4;
        EXPECT_EQ(std::string(last, last + 4), std::string(opaqueGreen, opaqueGreen + 4));
    }
}

TEST(ImageDecodeTest, ImagesPastTheLimitOrWithoutPixelsAreRefused) {
    const std::string png = pngOfColour(2, 2, 4, opaqueGreen);
    // A PSD header of zero by zero pixels, which stb_image decodes to an empty buffer.
    const std::string psdWithoutPixels("8BPS\0\1\0\0\0\0\0\0\0\3\0\0\0\0\0\0\0\0\0\10\0\3\0\0\0\0\0\0\0\0\0\0\0\0\0\0",
                                       40);
    for (const std::string& refused :
         {pngOfColour(maxImageSide + 1, 1, 3, opaqueGreen), claimingSize(png, 100000, 100000), claimingSize(png, 0, 2),
          psdWithoutPixels, png.substr(0, png.size() / 2), std::string("plain text"), std::string()})
        EXPECT_FALSE(decode(refused).has_value()) << refused.size() << " bytes";
    EXPECT_FALSE(decodeImage(nullptr, 10).has_value());
}

}  // namespace
