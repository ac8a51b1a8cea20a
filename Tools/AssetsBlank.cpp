// AssetsBlank.cpp -- "Blank": the opaque black picture behind every dim layer and fade.
#include "AssetsCore.h"

namespace {

void GenerateBlank(Assets::TOutput& Output) {
  Assets::TPicture Black(4, 4);
  for (std::size_t Pixel = 3; Pixel < Black.Rgba.size(); Pixel += 4)
    Black.Rgba[Pixel] = 255;
  Output.Texture("Blank", Black, Assets::TDdsFormat::Argb8888);
}

const Assets::TGeneratorRegistration Registration("blank", &GenerateBlank);

}  // namespace
