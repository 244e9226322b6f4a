// Icons from senders decoded: every kind of PNG and JPEG comes out as RGBA,
// and a hostile one costs little time and memory.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <ctime>

#include "notifications/notification_icon.h"
#include "support/test_files.h"

namespace {

const std::string seeds = HORLOX_NOTIFICATION_TESTS "/../../fuzz/corpus/icon_decode/";

std::optional<NotificationIcon> decode(const std::string& bytes, std::string& why) {
    return decodeIconImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), why);
}

// A progressive grey JPEG 512 high of DC scans without data: each is still
// a pass over the whole image.
std::string jpegOfEmptyScans(int scans, int width = 512) {
    std::string jpeg("\xFF\xD8\xFF\xDB\x00\x43\x00", 7);
    jpeg += std::string(64, '\1') + std::string("\xFF\xC2\x00\x0B\x08\x02\x00", 7) + char(width >> 8) + char(width);
    jpeg += std::string("\x01\x01\x11\x00\xFF\xC4\x00\x14\x00\x01", 10) + std::string(16, '\0');
    for (int i = 0; i < scans; ++i) jpeg += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x00\x00", 10);
    return jpeg + "\xFF\xD9";
}

// A grey PNG of zeros as libpng writes it, with the text compressed.
std::string pngOfZeros(png_uint_32 width, png_uint_32 height, std::string text = {}) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::string written;
    png_set_write_fn(png, &written, [](png_structp p, png_bytep data, std::size_t size) {
        static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<char*>(data), size);
    }, nullptr);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_text comment{PNG_TEXT_COMPRESSION_zTXt, const_cast<char*>("Comment"), text.data(), text.size(), 0, nullptr, nullptr};
    if (!text.empty()) png_set_text(png, info, &comment, 1);
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_set_compression_strategy(png, Z_RLE);  // as small, and quicker to make
    png_write_info(png, info);
    const std::vector<png_byte> row(width);
    for (png_uint_32 y = 0; y < height; ++y) png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return written;
}

// Both kinds of PNG bomb: a 1 x 1 one whose image data inflates to 256 MiB
// (that of an image 64 KiB wide), and one of a thousand texts of 200 KiB.
// PNGs open with the signature and IHDR (33 bytes) and end with IEND (12).
std::pair<std::string, std::string> pngBombs() {
    const std::string wide = pngOfZeros(1 << 16, 256 * 16), texted = pngOfZeros(1, 1, std::string(200 * 1024, 'a'));
    const std::size_t data = texted.find("IDAT") - 4;
    std::string texts;
    for (int i = 0; i < 1000; ++i) texts += texted.substr(33, data - 33);
    return {texted.substr(0, 33) + wide.substr(33, wide.size() - 45) + texted.substr(data),
            texted.substr(0, 33) + texts + texted.substr(data)};
}

// The decoding's CPU time and growth of the peak resident memory, in a child
// process so that the peak is its own.
std::pair<double, double> secondsAndMebibytesToDecode(const std::string& bytes) {
    int ends[2];
    EXPECT_EQ(pipe(ends), 0);
    if (fork() == 0) {
        rusage before{}, after{};
        timespec start{}, end{};
        std::string why;
        getrusage(RUSAGE_SELF, &before);
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
        decode(bytes, why);
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
        getrusage(RUSAGE_SELF, &after);
        const std::pair<double, double> cost{double(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) / 1e9,
                                             (after.ru_maxrss - before.ru_maxrss) / 1024.0};
        _exit(write(ends[1], &cost, sizeof cost) == sizeof cost ? 0 : 1);
    }
    close(ends[1]);
    std::pair<double, double> cost{1e9, 1e9};
    EXPECT_EQ(read(ends[0], &cost, sizeof cost), ssize_t(sizeof cost));
    close(ends[0]);
    wait(nullptr);
    return cost;
}

// The seeds are 16 x 16, one colour in the upper half and another below.
TEST(NotificationIconTest, EveryKindOfPngAndJpegComesOutAsRgbaRowsFromTheTop) {
    const struct {
        const char* file;
        Rgba top, bottom;
        int tolerance;
    } seeded[] = {
        {"rgba.png", {255, 0, 0, 128}, {0, 0, 255, 255}, 0},
        {"palette.png", {255, 0, 0, 255}, {0, 0, 255, 0}, 0},  // 2 bits, transparency from tRNS
        {"grey.png", {255, 255, 255, 255}, {85, 85, 85, 0}, 0},  // 4 bits, transparency from tRNS
        {"deep16.png", {255, 128, 0, 255}, {0, 64, 255, 255}, 0},
        {"interlaced.png", {100, 100, 100, 200}, {30, 30, 30, 255}, 0},  // grey and alpha
        {"baseline.jpg", {255, 0, 0, 255}, {0, 0, 255, 255}, 4},
        {"progressive.jpg", {255, 0, 0, 255}, {0, 0, 255, 255}, 4},
        {"grey.jpg", {200, 200, 200, 255}, {50, 50, 50, 255}, 4},
    };
    for (const auto& seed : seeded) {
        std::string why;
        const auto icon = decode(readWholeFile(seeds + seed.file), why);
        ASSERT_TRUE(icon) << seed.file << ": " << why;
        ASSERT_TRUE(icon->width == 16 && icon->height == 16) << seed.file;
        const Image image{icon->width, icon->height, icon->rgba};
        int wrong = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) wrong += !nearlyEqual(image.at(x, y), y < 8 ? seed.top : seed.bottom, seed.tolerance);
        EXPECT_EQ(wrong, 0) << seed.file;
    }
}

TEST(NotificationIconTest, RefusedIconsSayWhy) {
    const std::uint8_t red[] = {255, 0, 0, 255};
    const std::string interlaced = readWholeFile(seeds + "interlaced.png");
    const std::pair<std::string, std::string> refused[] = {
        {pngOfColour(513, 2, 4, red), "larger than 512 x 512 (513 x 2)"},
        {jpegOfEmptyScans(1, 768), "larger than 512 x 512 (768 x 512)"},
        {pngOfZeros(1, 2).substr(0, 33) + pngOfZeros(1, 1).substr(33), "truncated"},  // one row of two
        {interlaced.substr(0, interlaced.size() - 30), "truncated"},                  // the last pass cut short
        {jpegOfEmptyScans(101), "more than 100 scans"},
    };
    for (const auto& [bytes, expected] : refused) {
        std::string why;
        EXPECT_FALSE(decode(bytes, why));
        EXPECT_EQ(why, expected);
    }
}

// stb_image spent 9 s on the JPEG, and inflated the whole image data of the
// PNG, which one message can carry, into 260 MiB.
TEST(NotificationIconTest, HostileIconsCostLittleTimeAndMemory) {
    const std::string progressive = readWholeFile(seeds + "progressive.jpg");
    const auto [inflatingImage, inflatingTexts] = pngBombs();
    const std::pair<const char*, std::string> hostile[] = {
        {"progressive JPEG of 200000 empty scans", jpegOfEmptyScans(200000)},
        {"1 x 1 PNG whose image data inflates to 256 MiB", inflatingImage},
        {"PNG of 1000 compressed texts of 200 KiB", inflatingTexts},
        {"progressive JPEG cut short", progressive.substr(0, progressive.size() / 2)},
    };
    for (const auto& [name, bytes] : hostile) {
        const auto [seconds, mebibytes] = secondsAndMebibytesToDecode(bytes);
        std::printf("%s (%zu bytes): %.4f s of CPU, peak memory +%.1f MiB\n", name, bytes.size(), seconds, mebibytes);
        EXPECT_LT(seconds, 0.1) << name;
        EXPECT_LT(mebibytes, 64) << name;
    }
}

}  // namespace
