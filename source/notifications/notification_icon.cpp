#include "notifications/notification_icon.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <jpeglib.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

bool isPng(const std::uint8_t* data, std::size_t size) {
    static const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return size >= sizeof signature && std::memcmp(data, signature, sizeof signature) == 0;
}

bool isJpeg(const std::uint8_t* data, std::size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

// Any local program may send icons, so each decoder works within bounds
// that hold whatever the bytes say: no more than 512 x 512 pixels, a PNG
// inflates no more than its rows need, a JPEG reads at most maxJpegScans scans
// into at most maxJpegMemory.
constexpr int maxJpegScans = 100;  // libjpeg's progressive script has 10; encoders that tune theirs, a few more
constexpr long maxJpegMemory = 16 * 1024 * 1024;
// libpng would allow 8 MB; an icon has no chunk anywhere near this.
constexpr png_alloc_size_t maxPngChunk = 256 * 1024;

// The decoders' callbacks fill this in. They jump back to the setjmp in
// readPng or readJpeg, whose frames hold nothing with a destructor.
struct Decoding {
    NotificationIcon icon;
    std::string why;
    bool complete = false;  // every row read
    int lastPass = 0;
};

std::string tooLarge(unsigned long width, unsigned long height) {
    return "larger than 512 x 512 (" + std::to_string(width) + " x " + std::to_string(height) + ")";
}

void pngFailed(png_structp png, png_const_charp message) {
    static_cast<Decoding*>(png_get_error_ptr(png))->why = message;
    png_longjmp(png, 1);
}

void pngWarned(png_structp, png_const_charp) {}

void pngHeaderRead(png_structp png, png_infop info) {
    Decoding& read = *static_cast<Decoding*>(png_get_progressive_ptr(png));
    // Any kind of PNG comes out as 8-bit RGBA.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    read.icon.width = static_cast<int>(png_get_image_width(png, info));
    read.icon.height = static_cast<int>(png_get_image_height(png, info));
    read.icon.rgba.resize(std::size_t(read.icon.width) * read.icon.height * 4);
    read.lastPass = png_get_interlace_type(png, info) == PNG_INTERLACE_ADAM7 ? 6 : 0;
}

// With interlace handling libpng calls this for every row in every pass, a
// null row when the pass left it as it was.
void pngRowRead(png_structp png, png_bytep row, png_uint_32 number, int pass) {
    Decoding& read = *static_cast<Decoding*>(png_get_progressive_ptr(png));
    // Passes of an interlaced image add their pixels to the rows so far.
    if (row) png_progressive_combine_row(png, read.icon.rgba.data() + std::size_t(number) * read.icon.width * 4, row);
    if (int(number) == read.icon.height - 1 && pass == read.lastPass) read.complete = true;
}

// libpng's reader that is fed the bytes (rather than the one that pulls them)
// stops inflating once the last row is complete; the other inflates all the
// rest of the image data, gigabytes in a 2 MiB file, to check that it ends.
// Every chunk but the image's own is skipped undecoded: texts and colour
// profiles would be inflated too.
void readPng(const std::uint8_t* data, std::size_t size, Decoding& read) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &read, pngFailed, pngWarned);
    png_infop info = png_create_info_struct(png);  // none without png
    if (!info) {
        read.why = "out of memory";
    } else if (setjmp(png_jmpbuf(png)) == 0) {
        png_set_user_limits(png, maxIconSide, maxIconSide);
        png_set_chunk_malloc_max(png, maxPngChunk);
        png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
        png_set_progressive_read_fn(png, &read, pngHeaderRead, pngRowRead, nullptr);
        png_process_data(png, info, const_cast<png_bytep>(data), size);
        if (!read.complete) read.why = "truncated";
    } else if (png_get_image_width(png, info) > maxIconSide || png_get_image_height(png, info) > maxIconSide) {
        // libpng has stored the header's size before refusing it.
        read.why = tooLarge(png_get_image_width(png, info), png_get_image_height(png, info));
    }
    png_destroy_read_struct(&png, &info, nullptr);
}

// libjpeg hands its callbacks the error manager, so the rest rides along.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf failed;
    Decoding* read;
};

// Set 'why' first: nothing with a destructor may be alive in a frame that
// longjmp leaves.
[[noreturn]] void jpegStop(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->failed, 1);
}

Decoding& jpegRead(j_common_ptr info) { return *reinterpret_cast<JpegErrors*>(info->err)->read; }

void jpegFailed(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    info->err->format_message(info, message);
    jpegRead(info).why = message;
    jpegStop(info);
}

void jpegWarned(j_common_ptr, int) {}

// A progressive JPEG may hold any number of scans, each one a pass over the
// whole image however few bytes it has.
void jpegProgressed(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= maxJpegScans) return;
    jpegRead(info).why = "more than " + std::to_string(maxJpegScans) + " scans";
    jpegStop(info);
}

void readJpeg(const std::uint8_t* data, std::size_t size, Decoding& read) {
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    jpeg_progress_mgr progress{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegFailed;
    errors.manager.emit_message = jpegWarned;
    errors.read = &read;
    progress.progress_monitor = jpegProgressed;
    if (setjmp(errors.failed) == 0) {
        jpeg_create_decompress(&info);
        info.mem->max_memory_to_use = maxJpegMemory;
        info.progress = &progress;
        // At the end of the bytes the source reports an end of image, so a
        // truncated JPEG ends too.
        jpeg_mem_src(&info, data, size);
        jpeg_read_header(&info, TRUE);
        if (info.image_width > maxIconSide || info.image_height > maxIconSide) {
            read.why = tooLarge(info.image_width, info.image_height);
        } else {
            info.out_color_space = JCS_EXT_RGBA;
            jpeg_start_decompress(&info);
            read.icon.width = static_cast<int>(info.output_width);
            read.icon.height = static_cast<int>(info.output_height);
            read.icon.rgba.resize(std::size_t(read.icon.width) * read.icon.height * 4);
            while (info.output_scanline < info.output_height) {
                JSAMPROW row = read.icon.rgba.data() + std::size_t(info.output_scanline) * read.icon.width * 4;
                jpeg_read_scanlines(&info, &row, 1);
            }
            // Whatever follows the last row is left unread.
            read.complete = true;
        }
    }
    jpeg_destroy_decompress(&info);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text, std::size_t maxBytes) {
    std::vector<std::uint8_t> bytes;
    std::uint32_t group = 0;
    int bits = 0;
    std::size_t padding = 0;
    for (char c : text) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t') continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const int value = base64Value(c);
        // Nothing may follow the padding.
        if (value < 0 || padding > 0) return std::nullopt;
        group = (group << 6 | value) & 0xFFFFFF;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            if (bytes.size() == maxBytes) return std::nullopt;
            bytes.push_back(static_cast<std::uint8_t>(group >> bits));
        }
    }
    if (padding > 2 || bits >= 6) return std::nullopt;
    return bytes;
}

std::optional<NotificationIcon> decodeIconImage(const std::uint8_t* data, std::size_t size, std::string& why) {
    if (!isPng(data, size) && !isJpeg(data, size)) {
        why = "not a PNG or JPEG";
        return std::nullopt;
    }
    if (size > maxIconFileBytes) {
        why = "too large";
        return std::nullopt;
    }
    Decoding read;
    if (isPng(data, size))
        readPng(data, size, read);
    else
        readJpeg(data, size, read);
    if (!read.complete) {
        why = read.why;
        return std::nullopt;
    }
    return std::move(read.icon);
}

std::optional<std::vector<std::uint8_t>> readIconFile(const std::string& path, std::string& why) {
    // Opening a FIFO for reading would wait for a writer: not without O_NONBLOCK.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    struct stat status {};
    std::optional<std::vector<std::uint8_t>> bytes;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        why = "not a regular file";
    } else if (status.st_size > static_cast<off_t>(maxIconFileBytes)) {
        why = "larger than 2 MiB";
    } else {
        // One byte more than allowed tells a file that grew meanwhile.
        std::vector<std::uint8_t> buffer(maxIconFileBytes + 1);
        std::size_t filled = 0;
        ssize_t got = 0;
        while (filled < buffer.size() && (got = read(fd, buffer.data() + filled, buffer.size() - filled)) > 0)
            filled += static_cast<std::size_t>(got);
        if (got < 0)
            why = std::strerror(errno);
        else if (filled > maxIconFileBytes)
            why = "larger than 2 MiB";
        else
            bytes.emplace(buffer.begin(), buffer.begin() + filled);
    }
    close(fd);
    return bytes;
}

std::optional<NotificationIcon> iconFromRawPixels(const RawIconPixels& pixels, std::string& why) {
    const int channels = pixels.hasAlpha ? 4 : 3;
    if (pixels.bitsPerSample != 8 || pixels.channels != channels) {
        why = "not 8-bit RGB or RGBA";
        return std::nullopt;
    }
    if (pixels.width < 1 || pixels.height < 1 || pixels.width > maxIconSide || pixels.height > maxIconSide) {
        why = "not 1 to 512 pixels a side";
        return std::nullopt;
    }
    const std::size_t row = std::size_t(pixels.width) * channels;
    if (pixels.rowstride < 0 || std::size_t(pixels.rowstride) < row ||
        std::size_t(pixels.rowstride) > row + 64 ||
        pixels.size < std::size_t(pixels.rowstride) * (pixels.height - 1) + row) {
        why = "rows do not fit the data";
        return std::nullopt;
    }
    NotificationIcon icon{pixels.width, pixels.height, {}};
    icon.rgba.reserve(std::size_t(pixels.width) * pixels.height * 4);
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint8_t* source = pixels.data + std::size_t(y) * pixels.rowstride;
        for (int x = 0; x < pixels.width; ++x, source += channels) {
            icon.rgba.insert(icon.rgba.end(), source, source + 3);
            icon.rgba.push_back(channels == 4 ? source[3] : 0xFF);
        }
    }
    return icon;
}
