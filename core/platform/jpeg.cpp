#include "core/platform/jpeg.h"

#include "core/platform/atomicFile.h"
#include "core/platform/pathText.h"
#include "core/platform/vtError.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <new>

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings are counted, not printed.
void emitMessage(j_common_ptr info, int level) {
    if (level < 0)
        ++info->err->num_warnings;
}

// setjmp lives only in these two functions, whose own locals are plain data; everything with a
// destructor belongs to the callers and is reached through references.
bool decodeInto(const std::string& bytes, std::uint64_t maxPixels, PictureBox box, RawPicture& picture,
                ErrorManager& err) {
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = errorExit;
    err.base.emit_message = emitMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    // The header's size is only a claim: a few hundred bytes can ask for gigabytes.
    const std::uint64_t pixels = static_cast<std::uint64_t>(info.image_width) * info.image_height;
    if (pixels > maxPixels) {
        std::snprintf(err.message, sizeof err.message,
                      "Image too large: %u x %u pixels (at most %llu megapixels)",
                      static_cast<unsigned>(info.image_width), static_cast<unsigned>(info.image_height),
                      static_cast<unsigned long long>(maxPixels / (1024ull * 1024ull)));
        jpeg_destroy_decompress(&info);
        return false;
    }
    if (box.width > 0 && box.height > 0) {
        // The smallest scale whose picture still covers the box.
        const auto covers = [&](unsigned denom) {
            return (info.image_width + denom - 1) / denom >= static_cast<unsigned>(box.width) &&
                   (info.image_height + denom - 1) / denom >= static_cast<unsigned>(box.height);
        };
        info.scale_num = 1;
        info.scale_denom = 1;
        for (unsigned denom : {8u, 4u, 2u})
            if (covers(denom)) {
                info.scale_denom = denom;
                break;
            }
        jpeg_calc_output_dimensions(&info);
        const std::uint64_t shown = static_cast<std::uint64_t>(info.output_width) * info.output_height;
        const std::uint64_t cap =
            kBoxPixelsFactor * static_cast<std::uint64_t>(box.width) * static_cast<std::uint64_t>(box.height);
        if (shown > cap) {
            std::snprintf(err.message, sizeof err.message,
                          "Image too large: %u x %u pixels (at most %llu pixels for a box of %d x %d)",
                          static_cast<unsigned>(info.image_width), static_cast<unsigned>(info.image_height),
                          static_cast<unsigned long long>(cap), box.width, box.height);
            jpeg_destroy_decompress(&info);
            return false;
        }
    }
    // The decoder's own work memory is held to what such a picture needs, and fails cleanly past it.
    info.mem->max_memory_to_use = static_cast<long>(std::min<std::uint64_t>(maxPixels * 16, 1ull << 30));
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    try {
        picture.pixels.resize(static_cast<std::size_t>(picture.width) *
                              static_cast<std::size_t>(picture.height) * 4);
    } catch (const std::bad_alloc&) {
        std::snprintf(err.message, sizeof err.message, "Insufficient memory for a picture of %d x %d pixels",
                      picture.width, picture.height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.pixels.data() + static_cast<std::size_t>(info.output_scanline) *
                                                   static_cast<std::size_t>(picture.width) * 4;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    picture.warnings = static_cast<int>(err.base.num_warnings);
    jpeg_destroy_decompress(&info);
    return true;
}

struct EncodedBuffer {
    unsigned char* data = nullptr;
    unsigned long size = 0;
};

bool encodeInto(const RawPicture& picture, int quality, EncodedBuffer& out, ErrorManager& err) {
    jpeg_compress_struct info{};
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = errorExit;
    err.base.emit_message = emitMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &out.data, &out.size);
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row =
            const_cast<JSAMPROW>(picture.pixels.data() + static_cast<std::size_t>(info.next_scanline) *
                                                             static_cast<std::size_t>(picture.width) * 4);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

RawPicture DecodeJpegBytes(const std::string& bytes, std::uint64_t maxPixels, PictureBox box) {
    RawPicture picture;
    ErrorManager err{};
    if (!decodeInto(bytes, maxPixels, box, picture, err))
        throw VtError(err.message);
    for (std::size_t i = 3; i < picture.pixels.size(); i += 4)
        picture.pixels[i] = 0xFF;
    return picture;
}

RawPicture DecodeJpegFile(const std::filesystem::path& path) {
    int error = 0;
    const auto bytes = ReadWholeFile(path, &error, kPictureFileCap);
    if (!bytes)
        throw VtError("Cannot open file \"" + PathToUtf8(path) + "\". " + SystemErrorText(error));
    return DecodeJpegBytes(*bytes);
}

void EncodeJpegFile(const RawPicture& picture, const std::filesystem::path& path, int quality) {
    EncodedBuffer buffer;
    ErrorManager err{};
    const bool ok = encodeInto(picture, quality, buffer, err);
    const std::string bytes = ok ? std::string(reinterpret_cast<const char*>(buffer.data), buffer.size) : "";
    std::free(buffer.data);
    if (!ok)
        throw VtError(err.message);
    if (!WriteFileAtomically(path, bytes)) {
        // Said to a teacher by vt-figura: in Portuguese, with a link planted in the data folder named.
        const int error = errno;
        const std::string problem = DataPathProblem(path);
        throw VtError(problem.empty() ? "não foi possível gravar o arquivo \"" + PathToUtf8(path) +
                                            "\": " + SystemErrorTextPt(error)
                                      : problem);
    }
}
