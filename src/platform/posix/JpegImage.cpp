#include "platform/JpegImage.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>

namespace platform {
namespace {

// libjpeg reports fatal errors by calling error_exit, which by default ends the process: jump back instead.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void OnFatalError(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(manager->jump, 1);
}

void OnMessage(j_common_ptr) {}

constexpr long kMaxPixels = 16L * 1024 * 1024;

}  // namespace

std::optional<RgbImage> DecodeJpeg(std::string_view bytes) {
  if (bytes.size() < 4) return std::nullopt;
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnFatalError;
  errors.base.output_message = OnMessage;
  // Everything that must survive a longjmp lives outside this frame's automatic variables that change.
  auto* image = new RgbImage();
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    delete image;
    return std::nullopt;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK ||
      static_cast<long>(info.image_width) * static_cast<long>(info.image_height) > kMaxPixels) {
    jpeg_destroy_decompress(&info);
    delete image;
    return std::nullopt;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  image->width = static_cast<int>(info.output_width);
  image->height = static_cast<int>(info.output_height);
  image->rgb.resize(static_cast<size_t>(image->width) * static_cast<size_t>(image->height) * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row =
        image->rgb.data() + static_cast<size_t>(info.output_scanline) * static_cast<size_t>(image->width) * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  RgbImage result = std::move(*image);
  delete image;
  return result;
}

}  // namespace platform
