// EngineImages.cpp -- PNG (libpng) and JPEG (libjpeg) pictures decoded into 32-bit ARGB pixels.
#include "EngineImages.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <csetjmp>
#include <jpeglib.h>
// clang-format on
#include <png.h>

#include <cstring>
#include <stdexcept>

namespace {

const char* const SizeMessage = "Unsupported width or height of image file";

bool SideAllowed(long long Side, int MinSide, int MaxSide) {
  return Side >= MinSide && Side <= MaxSide;
}

bool IsPng(const std::string& Data) {
  static const unsigned char Signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  return Data.size() >= 8 && std::memcmp(Data.data(), Signature, 8) == 0;
}

bool IsJpeg(const std::string& Data) {
  return Data.size() >= 3 && static_cast<unsigned char>(Data[0]) == 0xFF &&
         static_cast<unsigned char>(Data[1]) == 0xD8 && static_cast<unsigned char>(Data[2]) == 0xFF;
}

// ---- PNG ----

// Frees libpng's reader on every way out.
struct TPngReader {
  png_image Image{};
  TPngReader() { Image.version = PNG_IMAGE_VERSION; }
  ~TPngReader() { png_image_free(&Image); }
  TPngReader(const TPngReader&) = delete;
  TPngReader& operator=(const TPngReader&) = delete;
};

TImage DecodePng(const std::string& Data, int MinSide, int MaxSide) {
  TPngReader Reader;
  png_image& Image = Reader.Image;
  if (!png_image_begin_read_from_memory(&Image, Data.data(), Data.size()))
    throw std::runtime_error(Image.message);
  if (!SideAllowed(Image.width, MinSide, MaxSide) || !SideAllowed(Image.height, MinSide, MaxSide))
    throw std::runtime_error(SizeMessage);
  Image.format = PNG_FORMAT_BGRA;
  TImage Result;
  Result.Width = static_cast<int>(Image.width);
  Result.Height = static_cast<int>(Image.height);
  Result.Pixels.resize(PNG_IMAGE_SIZE(Image));
  if (!png_image_finish_read(&Image, nullptr, Result.Pixels.data(), 0, nullptr))
    throw std::runtime_error(Image.message);
  return Result;
}

// ---- JPEG ----

// libjpeg reports errors by calling error_exit, which must not return: it jumps back to the
// setjmp in RunJpegDecoder with the message saved. Warnings (damaged or truncated data, which
// libjpeg would otherwise paper over) are treated as errors too.
struct TJpegErrors {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegErrorExit(j_common_ptr Info) {
  TJpegErrors* Errors = reinterpret_cast<TJpegErrors*>(Info->err);
  Info->err->format_message(Info, Errors->Message);
  std::longjmp(Errors->Jump, 1);
}

void JpegMessage(j_common_ptr Info, int Level) {
  if (Level < 0) JpegErrorExit(Info);  // a warning: corrupt or missing data
}

// The decoder's state, owned by DecodeJpeg so that it is destroyed on every way out; the
// function that jumps back holds no objects that need destroying.
struct TJpegState {
  jpeg_decompress_struct Info{};
  TJpegErrors Errors{};
  bool Created = false;
  bool SizeRefused = false;
  ~TJpegState() {
    if (Created) jpeg_destroy_decompress(&Info);
  }
};

// Decodes into Target; false with State.Errors.Message or State.SizeRefused set on failure.
bool RunJpegDecoder(TJpegState& State, const std::string& Data, int MinSide, int MaxSide,
                    TImage& Target) {
  jpeg_decompress_struct& Info = State.Info;
  Info.err = jpeg_std_error(&State.Errors.Manager);
  State.Errors.Manager.error_exit = JpegErrorExit;
  State.Errors.Manager.emit_message = JpegMessage;
  if (setjmp(State.Errors.Jump)) return false;
  jpeg_create_decompress(&Info);
  State.Created = true;
  jpeg_mem_src(&Info, reinterpret_cast<const unsigned char*>(Data.data()),
               static_cast<unsigned long>(Data.size()));
  jpeg_read_header(&Info, TRUE);
  if (!SideAllowed(Info.image_width, MinSide, MaxSide) ||
      !SideAllowed(Info.image_height, MinSide, MaxSide)) {
    State.SizeRefused = true;
    return false;
  }
  const bool Gray = Info.jpeg_color_space == JCS_GRAYSCALE;
  Info.out_color_space = Gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&Info);
  const JDIMENSION Width = Info.output_width;
  const int Channels = Info.output_components;
  // The row buffer belongs to libjpeg's memory pool, freed with the decoder.
  JSAMPARRAY Row = Info.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&Info), JPOOL_IMAGE,
                                          Width * static_cast<JDIMENSION>(Channels), 1);
  Target.Width = static_cast<int>(Width);
  Target.Height = static_cast<int>(Info.output_height);
  Target.Pixels.assign(static_cast<std::size_t>(Width) * Info.output_height * 4, 0);
  while (Info.output_scanline < Info.output_height) {
    const JDIMENSION Y = Info.output_scanline;
    if (jpeg_read_scanlines(&Info, Row, 1) != 1) break;
    std::uint8_t* Out = Target.Pixels.data() + static_cast<std::size_t>(Y) * Width * 4;
    for (JDIMENSION X = 0; X < Width; ++X) {
      const JSAMPLE* In = Row[0] + X * static_cast<JDIMENSION>(Channels);
      Out[X * 4 + 0] = Gray ? In[0] : In[2];
      Out[X * 4 + 1] = Gray ? In[0] : In[1];
      Out[X * 4 + 2] = In[0];
      Out[X * 4 + 3] = 255;
    }
  }
  jpeg_finish_decompress(&Info);
  return true;
}

TImage DecodeJpeg(const std::string& Data, int MinSide, int MaxSide) {
  TJpegState State;
  TImage Result;
  if (!RunJpegDecoder(State, Data, MinSide, MaxSide, Result)) {
    if (State.SizeRefused) throw std::runtime_error(SizeMessage);
    throw std::runtime_error(State.Errors.Message);
  }
  return Result;
}

}  // namespace

TImage DecodeImage(const std::string& Data, int MinSide, int MaxSide) {
  if (IsPng(Data)) return DecodePng(Data, MinSide, MaxSide);
  if (IsJpeg(Data)) return DecodeJpeg(Data, MinSide, MaxSide);
  throw std::runtime_error("Unknown image file format");
}
