// EngineTextures.h -- textures loaded by name from DDS, PNG and JPEG pictures and segment files.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "EngineClasses.h"
#include "EngineUtils.h"
#include "PlatformGraphics.h"

// One rectangle of a texture: its natural size in pixels and the matrix that maps a quad's
// texture coordinates (0..1) onto it (u' = u * M11 + M31, v' = v * M22 + M32).
struct TTextureSegment {
  TVector Size{0.0f, 0.0f};
  TMatrix Matrix = Identity();
};

// A picture loaded by name (Name is inherited: no folder, no extension). Never drawn while it has
// no device texture, which is the state a failed load leaves.
class TTexture : public TContainerItem {
 public:
  // The picture came from the current language's folder (it is reloaded on a language change).
  bool IsLocalized = false;
  // Size of the device texture in pixels: the picture's, or padded to powers of two.
  int Width = 4;
  int Height = 4;
  // Size of the picture itself (equal to Width, Height unless padded).
  int ImageWidth = 4;
  int ImageHeight = 4;
  // The rectangles a sprite may show; segment 0 always exists once the texture is loaded.
  std::vector<TTextureSegment> Segments;
  // The pixels on the device; none after a failed load.
  std::unique_ptr<Platform::TDeviceTexture> DeviceTexture;

  // Segments[Index].Size, or (0, 0) for an Index that names no segment.
  TVector SegmentSize(int Index) const;
  // The segment showing the rectangle Left, Top, Width x Height (in pixels of the texture's
  // Width x Height).
  TTextureSegment PixelSegment(float Left, float Top, float Width, float Height) const;
};

// Fills Texture (whose Name is set) from the first picture of that name in the texture, current
// language and branding folders, with its segment file. Never throws: a failure adds
// `Failed to create texture "Name" (reason)` to the error log and leaves the blank texture.
void LoadTexture(TTexture& Texture, Platform::TGraphicsDevice& Device);

// The picture file LoadTexture loads for Name (no folder, no extension): the first of the
// search; empty when there is none.
std::string TextureFile(const std::string& Name);

// Reloads a localized texture from the current language's folder when that folder holds a
// picture of its name (".dds", else ".png", with its segment file as on the first load); a
// texture the folder has no picture of keeps its pixels. Does nothing for other textures. A
// failure adds `Failed to load texture "Name" (reason)` and leaves the blank texture.
void ReloadLocalized(TTexture& Texture, Platform::TGraphicsDevice& Device);

// Loads the picture file Path into Texture (DDS for the extension ".dds" in any letter case,
// else PNG or JPEG), then the segment file SegmentPath when it is not empty and exists. Failures
// are logged as LoadTexture logs them. Returns false when the picture failed (segment-file
// errors are logged but do not count).
bool LoadTextureFile(TTexture& Texture, Platform::TGraphicsDevice& Device, const std::string& Path,
                     const std::string& SegmentPath);

// The name of the segment file (without folder and ".tsg") for a picture: pictures whose name
// starts with "pane" (any letter case) and a fifth character 1, 2 or 4 share "Pane1", "Pane2" or
// "Pane4"; any other name is its own.
std::string SegmentFileName(const std::string& Name);

// Reads a segment file's text into Texture's segments (after its picture is loaded). Returns
// false, keeping the segments read so far, at the first malformed line.
bool ReadSegments(TTexture& Texture, const std::string& Text);

// Drops the device texture and leaves a 4 x 4 texture with one 4 x 4 segment.
void MakeBlankTexture(TTexture& Texture);

// The textures the first screens need, in loading order.
const std::vector<std::string>& StartupTextureNames();

// Loads every startup texture through GetTexture (the renderer's find-or-load), in order.
void LoadStartupTextures(const std::function<void(const std::string& Name)>& GetTexture);
