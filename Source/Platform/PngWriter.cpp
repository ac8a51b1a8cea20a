// PngWriter.cpp -- writes RGBA pictures (frames, decoded textures) as PNG files with libpng.
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Platform.h"
#include "PlatformGraphics.h"

namespace Platform {

std::string EncodePng(const std::vector<std::uint8_t>& Rgba, int Width, int Height,
                      std::string& Failure) {
  Failure.clear();
  if (Width <= 0 || Height <= 0) {
    Failure = "Invalid picture size";
    return {};
  }
  const std::size_t RowBytes = static_cast<std::size_t>(Width) * 4;
  if (Rgba.size() < RowBytes * static_cast<std::size_t>(Height)) {
    Failure = "Picture data shorter than its size";
    return {};
  }

  png_image Image{};
  Image.version = PNG_IMAGE_VERSION;
  Image.width = static_cast<png_uint_32>(Width);
  Image.height = static_cast<png_uint_32>(Height);
  Image.format = PNG_FORMAT_RGBA;
  const auto Stride = static_cast<png_int_32>(RowBytes);

  // The first call measures, the second writes into a buffer of that size.
  png_alloc_size_t Size = 0;
  std::string Encoded;
  if (png_image_write_to_memory(&Image, nullptr, &Size, 0, Rgba.data(), Stride, nullptr)) {
    Encoded.resize(Size);
    if (png_image_write_to_memory(&Image, Encoded.data(), &Size, 0, Rgba.data(), Stride, nullptr)) {
      Encoded.resize(Size);
      return Encoded;
    }
  }
  Failure = Image.message;
  png_image_free(&Image);
  return {};
}

std::string WritePng(const std::string& Path, const std::vector<std::uint8_t>& Rgba, int Width,
                     int Height) {
  std::string Failure;
  const std::string Encoded = EncodePng(Rgba, Width, Height, Failure);
  if (!Failure.empty()) return Failure;
  return WriteFileAtomic(Path, Encoded);
}

}  // namespace Platform
