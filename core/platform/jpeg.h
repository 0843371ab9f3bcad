#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// JPEG pictures through libjpeg-turbo, called directly so that a picture that cannot be decoded
// fails with the decoder's own words.
struct RawPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // 4 bytes a pixel, B G R X in memory (a 32-bit 0xFFRRGGBB word)
    int warnings = 0;                 // e.g. a truncated file, which still decodes with grey fill
};

// Raises "Cannot open file \"...\". <reason>" when the file cannot be read, and the decoder's text
// when it is not a JPEG picture it can decode.
// Pictures larger than maxPixels are refused from their header, before any picture memory is taken.
// Given the box the picture is shown in, it is decoded at the smallest of 1/1, 1/2, 1/4 or 1/8 of its
// size that still covers the box (libjpeg's scaling: a smaller picture costs less memory and time),
// and a result of more than kBoxPixelsFactor times the box's pixels is refused: no picture is decoded
// far larger than it is shown.
inline constexpr std::uint64_t kMaxPicturePixels = 64ull * 1024 * 1024;
inline constexpr std::uint64_t kBoxPixelsFactor = 64;
struct PictureBox {
    int width = 0; // 0: no box, the picture's own size
    int height = 0;
};
RawPicture DecodeJpegFile(const std::filesystem::path& path);
RawPicture DecodeJpegBytes(const std::string& bytes, std::uint64_t maxPixels = kMaxPicturePixels,
                           PictureBox box = {});

// Writes the picture (same pixel layout) as a baseline JPEG; raises on failure.
void EncodeJpegFile(const RawPicture& picture, const std::filesystem::path& path, int quality = 90);
