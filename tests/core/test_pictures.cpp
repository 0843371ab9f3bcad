#include "core/platform/jpeg.h"
#include "core/platform/vtError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {
// A real little JPEG whose frame header then claims another size.
std::string claiming(int width, int height) {
    RawPicture tiny;
    tiny.width = 8;
    tiny.height = 8;
    tiny.pixels.assign(std::size_t{8} * 8 * 4, 0x80);
    // A name of its own: the tests run as processes side by side.
    std::random_device rd;
    const auto path = std::filesystem::temp_directory_path() /
                      ("vt-claiming-" + std::to_string(rd()) + std::to_string(rd()) + ".jpg");
    EncodeJpegFile(tiny, path);
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    const auto sof = bytes.find("\xFF\xC0");
    bytes[sof + 5] = static_cast<char>(height >> 8);
    bytes[sof + 6] = static_cast<char>(height & 0xFF);
    bytes[sof + 7] = static_cast<char>(width >> 8);
    bytes[sof + 8] = static_cast<char>(width & 0xFF);
    return bytes;
}

std::string refusal(const std::string& bytes, PictureBox box = {}) {
    try {
        DecodeJpegBytes(bytes, kMaxPicturePixels, box);
    } catch (const VtError& e) {
        return e.what();
    }
    return "(decoded)";
}
} // namespace

// A picture whose header asks for more than any screen needs is refused before anything is allocated:
// a few hundred bytes must not cost gigabytes.
TEST(Pictures, OversizedPicturesAreRefusedWithTheDecodersKindOfMessage) {
    EXPECT_EQ(refusal(claiming(65500, 65500)),
              "Image too large: 65500 x 65500 pixels (at most 64 megapixels)");
    EXPECT_EQ(refusal(claiming(20000, 20000)),
              "Image too large: 20000 x 20000 pixels (at most 64 megapixels)");
    // Another kind of picture under a JPEG name: the decoder's own words.
    EXPECT_EQ(refusal("\x89PNG\r\n\x1a\n0000000000000000"), "Not a JPEG file: starts with 0x89 0x50");
    // Up to the limit, the header is believed: this one then runs out of data, with a warning.
    const RawPicture wide = DecodeJpegBytes(claiming(4000, 16));
    EXPECT_EQ(wide.width, 4000);
    EXPECT_GT(wide.warnings, 0);
}

// A picture is decoded at about the size of its box (the largest of libjpeg's scalings that still
// covers it), and one whose decoded size would be far beyond the box is refused: a 625-byte file
// claiming 8192 x 8192 pixels cost seconds and half a gigabyte before a lesson.
TEST(Pictures, DecodedAtTheSizeOfTheirBox) {
    struct Row {
        int width, height;
        PictureBox box;
        int decodedWidth, decodedHeight; // 0: refused
    };
    for (const Row& r : std::initializer_list<Row>{{8192, 8192, {598, 330}, 1024, 1024},
                                                   {8192, 8192, {165, 137}, 1024, 1024},
                                                   {8192, 8192, {100, 100}, 0, 0},
                                                   {8192, 8192, {1100, 1100}, 2048, 2048},
                                                   {640, 480, {640, 480}, 640, 480},
                                                   {640, 480, {320, 100}, 320, 240},
                                                   {640, 480, {0, 0}, 640, 480}}) {
        const std::string bytes = claiming(r.width, r.height);
        if (r.decodedWidth == 0) {
            EXPECT_EQ(refusal(bytes, r.box).rfind("Image too large: 8192 x 8192 pixels (at most", 0), 0u);
            continue;
        }
        const RawPicture p = DecodeJpegBytes(bytes, kMaxPicturePixels, r.box);
        EXPECT_EQ(p.width, r.decodedWidth) << r.box.width;
        EXPECT_EQ(p.height, r.decodedHeight) << r.box.width;
    }
}
