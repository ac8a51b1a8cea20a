// PlatformGraphics.h -- the graphics device: textures kept in their picture's own pixel format,
// and a frame of textured, tinted quads drawn back to front.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace Platform {

// Pixel formats a texture keeps in memory (those the game's picture files hold).
enum class TTextureFormat : std::uint8_t {
  DXT1,      // 8 bytes per 4 x 4 block
  DXT3,      // 16 bytes per block, explicit alpha
  DXT5,      // 16 bytes per block, interpolated alpha
  R5G6B5,    // 2 bytes per pixel
  A1R5G5B5,  // 2 bytes per pixel
  A4R4G4B4,  // 2 bytes per pixel
  A8R8G8B8,  // 4 bytes per pixel, little-endian B, G, R, A
};

// True for the block formats.
bool IsBlockFormat(TTextureFormat Format);
// Bytes of one element: a 4 x 4 block for block formats, else one pixel.
int ElementBytes(TTextureFormat Format);
// Converts Width x Height pixels of Source (rows Pitch bytes apart, in Format) to RGBA bytes
// (R, G, B, A per pixel, rows Width * 4 bytes apart) into Target.
void ConvertToRgba(TTextureFormat Format, const std::uint8_t* Source, int Pitch, int Width,
                   int Height, std::uint8_t* Target);

// A 4 x 4 matrix of floats in rows (M11 .. M44), row-vector convention: a point is multiplied
// from the left, translation in M41, M42.
struct TDeviceMatrix {
  float M[16];
};

// Raised by device operations that fail; the message is the one the game logs.
class EGraphicsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raised when opening the device shows that this computer's graphics cannot run the game at all
// (no OpenGL library, no 3.3 core context, missing functions, a shader the driver refuses); the
// player is told so when start-up ends.
class EUnsupportedGraphics : public EGraphicsError {
 public:
  using EGraphicsError::EGraphicsError;
};

// A texture of the device, in its own pixel format. Lock gives its memory to fill; Unlock hands
// the contents to the device (converted to RGBA where the device needs it).
class TDeviceTexture {
 public:
  virtual ~TDeviceTexture() = default;
  int Width() const { return SizeX; }
  int Height() const { return SizeY; }
  TTextureFormat Format() const { return PixelFormat; }
  // The whole texture's memory: rows of elements, Pitch bytes apart. Throws EGraphicsError
  // ("Failed to lock texture surface") when it cannot be locked.
  virtual std::uint8_t* Lock(int& Pitch) = 0;
  virtual void Unlock() = 0;

 protected:
  TDeviceTexture(int Width, int Height, TTextureFormat Format)
      : SizeX(Width), SizeY(Height), PixelFormat(Format) {}

 private:
  int SizeX, SizeY;
  TTextureFormat PixelFormat;
};

// One quad as the renderer hands it over: the unit quad of the given orientation (0 none,
// 1 flipped in x, 2 flipped in y, 3 both) placed by World, its texture coordinates mapped by
// TextureMatrix ((u, v) becomes (u M11 + v M21 + M31, u M12 + v M22 + M32)), its colour
// multiplied by Color (0xAARRGGBB).
struct TQuad {
  const TDeviceTexture* Texture = nullptr;
  TDeviceMatrix World;
  TDeviceMatrix TextureMatrix;
  std::uint32_t Color = 0xFFFFFFFF;
  int Orientation = 0;
};

// A corner of a unit quad: position (the quad's own y axis points up) and texture coordinates
// (row 0 of the texture at the top).
struct TQuadVertex {
  float X, Y, U, V;
};

// The four unit quads, one per orientation, each as a triangle strip of four corners.
inline constexpr TQuadVertex kUnitQuads[4][4] = {
    {{-0.5f, 0.5f, 0, 0}, {0.5f, 0.5f, 1, 0}, {-0.5f, -0.5f, 0, 1}, {0.5f, -0.5f, 1, 1}},
    {{-0.5f, 0.5f, 1, 0}, {0.5f, 0.5f, 0, 0}, {-0.5f, -0.5f, 1, 1}, {0.5f, -0.5f, 0, 1}},
    {{-0.5f, 0.5f, 0, 1}, {0.5f, 0.5f, 1, 1}, {-0.5f, -0.5f, 0, 0}, {0.5f, -0.5f, 1, 0}},
    {{-0.5f, 0.5f, 1, 1}, {0.5f, 0.5f, 0, 1}, {-0.5f, -0.5f, 1, 0}, {0.5f, -0.5f, 0, 0}},
};

// What a device that draws on a thread of its own measured there.
struct TDeviceTimings {
  // The last frame the render thread finished: seconds from taking it over until it had
  // presented it and given the context back. 0 before the first frame, and on devices without
  // such a thread.
  double RenderThreadSeconds = 0.0;
};

// The drawing side of the platform. The renderer draws a frame as: BeginFrame, DrawQuad for every
// visible sprite back to front, EndFrame. Blending is source alpha over, texture colour times quad
// colour, bilinear filtering with clamped edges, fragments with alpha at most 1/255 discarded.
// A device may draw a frame after EndFrame returned (on a thread of its own); every other call
// sees the frames handed over before it as drawn.
class TGraphicsDevice {
 public:
  virtual ~TGraphicsDevice() = default;
  // Whether textures may have any size (else their sides are powers of two).
  virtual bool AnySizeTextures() const = 0;
  // Throws EGraphicsError("Failed to create texture") on failure.
  virtual std::unique_ptr<TDeviceTexture> CreateTexture(int Width, int Height,
                                                        TTextureFormat Format) = 0;
  // The back buffer's pixel size and the virtual screen it shows (origin at the centre, y down).
  virtual void SetView(int PixelWidth, int PixelHeight, float ViewWidth, float ViewHeight) = 0;
  // False while the device is lost (nothing can be drawn); tries to restore it.
  virtual bool CheckDevice() = 0;
  virtual void BeginFrame() = 0;  // clears to black
  virtual void DrawQuad(const TQuad& Quad) = 0;
  // Presents the frame; false when the device was lost doing so, or drawing an earlier frame
  // (CheckDevice restores it).
  virtual bool EndFrame() = 0;
  // The last frame drawn, as RGBA rows from the top (Width * 4 bytes each).
  virtual std::vector<std::uint8_t> ReadFrame(int& Width, int& Height) = 0;
  // Returns when every frame handed over is completely drawn, by the graphics card too. A device
  // that draws before EndFrame returns has nothing to wait for.
  virtual void Finish() {}
  // What the device measured on its render thread; zeros where it has none.
  virtual TDeviceTimings Timings() const { return {}; }
};

// The bytes of a PNG file holding RGBA rows (from the top); empty with Failure set when the
// picture cannot be encoded.
std::string EncodePng(const std::vector<std::uint8_t>& Rgba, int Width, int Height,
                      std::string& Failure);
// Writes RGBA rows (from the top) as a PNG file; returns an empty string or the failure.
std::string WritePng(const std::string& Path, const std::vector<std::uint8_t>& Rgba, int Width,
                     int Height);

}  // namespace Platform
