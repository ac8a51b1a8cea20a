// MemoryTexture.h -- device textures' shared part: own-format pixels, converted to RGBA on unlock.
#pragma once

#include <cstdint>
#include <new>
#include <vector>

#include "PlatformGraphics.h"

namespace Platform {

class TMemoryTexture : public TDeviceTexture {
 public:
  // Zeroed memory for Width x Height pixels of Format. Throws EGraphicsError("Failed to create
  // texture") for a size of 0 or less, above MaxSize, or when the memory cannot be had.
  TMemoryTexture(int Width, int Height, TTextureFormat Format, int MaxSize)
      : TDeviceTexture(Width, Height, Format) {
    if (Width <= 0 || Height <= 0 || Width > MaxSize || Height > MaxSize)
      throw EGraphicsError("Failed to create texture");
    const bool Blocks = IsBlockFormat(Format);
    const int Columns = Blocks ? (Width + 3) / 4 : Width;
    const int Rows = Blocks ? (Height + 3) / 4 : Height;
    RowBytes = Columns * ElementBytes(Format);
    try {
      Memory.assign(static_cast<std::size_t>(RowBytes) * static_cast<std::size_t>(Rows), 0);
    } catch (const std::bad_alloc&) {
      throw EGraphicsError("Failed to create texture");
    }
  }

  // A texture is locked by one writer at a time; a second Lock before Unlock fails.
  std::uint8_t* Lock(int& Pitch) override {
    if (Locked) throw EGraphicsError("Failed to lock texture surface");
    Locked = true;
    Pitch = RowBytes;
    return Memory.data();
  }

  // Converts the whole texture to RGBA and hands it to Upload; nothing when not locked.
  void Unlock() override {
    if (!Locked) return;
    Locked = false;
    std::vector<std::uint8_t> Rgba(static_cast<std::size_t>(Width()) * Height() * 4);
    ConvertToRgba(Format(), Memory.data(), RowBytes, Width(), Height(), Rgba.data());
    Upload(Rgba);
  }

  bool IsLocked() const { return Locked; }
  // Bytes from one row of elements to the next.
  int Pitch() const { return RowBytes; }
  // The texture's memory in its own format.
  const std::vector<std::uint8_t>& Pixels() const { return Memory; }

 protected:
  // Receives the texture converted to RGBA rows from the top (Width * 4 bytes each).
  virtual void Upload(std::vector<std::uint8_t>& Rgba) = 0;

 private:
  std::vector<std::uint8_t> Memory;
  int RowBytes = 0;
  bool Locked = false;
};

}  // namespace Platform
