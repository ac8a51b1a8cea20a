// EngineImages.h -- decodes PNG and JPEG pictures into 32-bit ARGB pixels for the textures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A decoded picture: Width x Height pixels, rows from the top, each pixel the little-endian
// 32-bit ARGB value (bytes B, G, R, A).
struct TImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;
};

// Decodes a PNG or JPEG picture (told apart by their signatures). A picture whose width or
// height lies outside MinSide..MaxSide is refused before its pixels are decoded, with
// "Unsupported width or height of image file". Other failures throw std::runtime_error with the
// decoder's message; a damaged or truncated picture is always a failure.
TImage DecodeImage(const std::string& Data, int MinSide, int MaxSide);
