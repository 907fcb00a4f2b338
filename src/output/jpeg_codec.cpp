#include "output/jpeg_codec.h"

// jpeglib.h needs the standard types declared first.
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "output/messages.h"

namespace qorvale::output {

namespace {

// The library reports a fatal error by calling error_exit, which must not return: it jumps back
// to the call below, in a frame that holds no object with a destructor.
struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void JumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

// Compresses into a buffer the library allocates with malloc; returns false on any failure.
bool Compress(int width, int height, const std::uint8_t* rgb, int quality, unsigned char** out,
              unsigned long* out_size) {
    jpeg_compress_struct info;
    ErrorJump error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JumpBack;
    error.manager.output_message = IgnoreMessage;
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, out_size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    for (int component = 0; component < info.num_components; ++component) {
        info.comp_info[component].h_samp_factor = 1;
        info.comp_info[component].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + static_cast<std::size_t>(info.next_scanline) *
                                                      static_cast<std::size_t>(width) * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

Result<std::vector<std::uint8_t>> EncodeJpeg(int width, int height,
                                             std::span<const std::uint8_t> rgb, int quality) {
    if (width <= 0 || height <= 0 ||
        rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
        return Error(std::string(ErrorCreatingJpegFile));
    }
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool done = Compress(width, height, rgb.data(), quality, &buffer, &size);
    std::vector<std::uint8_t> file;
    if (done && buffer != nullptr) file.assign(buffer, buffer + size);
    std::free(buffer);
    if (!done) return Error(std::string(ErrorCreatingJpegFile));
    return file;
}

}  // namespace qorvale::output
