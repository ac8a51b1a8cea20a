// EngineRenderer.h -- depth-sorted sprites drawn once a frame, their textures, the display mode.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "EngineClasses.h"
#include "EngineTextures.h"
#include "EngineUtils.h"
#include "PlatformGraphics.h"

namespace Platform {
class TPlatform;
}

// A textured, tinted, scaled and rotated rectangle in the virtual screen (origin at the centre,
// x right, y down, angles in degrees clockwise). Taken from the renderer's pool with
// Renderer->AddSprite(Depth) and given back with Remove(). Every setter returns at once when the
// value does not change, so per-frame code may call them freely.
class TSprite : public TContainerItem {
 public:
  // Drawn at all (a sprite is also skipped without a texture or with an alpha of 0 or 1).
  bool Visible() const { return IsVisible; }
  void SetVisible(bool Value);
  // Mirrored left-right / top-bottom; both together turn the picture by half a turn.
  bool FlipX() const { return IsFlippedX; }
  void SetFlipX(bool Value);
  bool FlipY() const { return IsFlippedY; }
  void SetFlipY(bool Value);
  // The unit quad the flips select: 1 FlipX only, 2 FlipY only, 3 both, else 0.
  int Orientation() const { return QuadOrientation; }
  // Drawing order, fixed when the sprite is taken: lower depths are drawn first (further back).
  std::int32_t Depth() const { return SpriteDepth; }
  // Centre of the sprite.
  TVector Position() const { return SpritePosition; }
  void SetPosition(TVector Value);
  // Width and height before scaling.
  TVector Size() const { return SpriteSize; }
  void SetSize(TVector Value);
  float Scale() const { return SpriteScale; }
  void SetScale(float Value);
  // Degrees, clockwise on screen.
  float Angle() const { return SpriteAngle; }
  void SetAngle(float Value);
  // 0xAARRGGBB, multiplied into the texture's colour and alpha.
  TColor Color() const { return SpriteColor; }
  void SetColor(TColor Value);
  // The texture shown, or nullptr.
  TTexture* Texture() const { return SpriteTexture; }
  void SetTexture(TTexture* Value);
  // By name: "" shows none, the current texture's name changes nothing, any other name is found
  // or loaded through Renderer->GetTexture.
  void SetTexture(std::string_view Name);
  // The texture segment shown; one past the last shows the last.
  int Segment() const { return SpriteSegment; }
  void SetSegment(int Value);
  // The placement below is up to date.
  bool MatrixValid() const { return Valid; }
  // The placement: scaled by Size x Scale, turned by Angle, moved to Position (y turned upward);
  // rebuilt first when a change made it invalid.
  const TMatrix& World();

  // Taken from the pool: visible, unflipped, at the depth Param points to, scale 1, angle 0,
  // white, at (0, 0) with size (0, 0), no texture.
  void OnInsert(TContainer& Into, void* Param) override;
  // Given back: the texture and segment are dropped.
  void OnRemove(TContainer& From) override;
  // Lower depth first; a new sprite goes in front of older ones of its depth.
  bool IsBefore(const TContainerItem& Other) const override;

 private:
  void UpdateFlip();

  bool IsVisible = true;
  bool IsFlippedX = false;
  bool IsFlippedY = false;
  int QuadOrientation = 0;
  std::int32_t SpriteDepth = 0;
  TVector SpritePosition{0.0f, 0.0f};
  TVector SpriteSize{0.0f, 0.0f};
  float SpriteScale = 1.0f;
  float SpriteAngle = 0.0f;
  TColor SpriteColor = 0xFFFFFFFF;
  TTexture* SpriteTexture = nullptr;
  int SpriteSegment = 0;
  bool Valid = false;
  TMatrix Placement = Identity();
};

// What the last Render did, for tests and tuning.
struct TRenderStats {
  int Sprites = 0;         // in the list
  int Drawn = 0;           // handed to the device
  int MatricesBuilt = 0;   // world matrices rebuilt after a change
  int QuadChanges = 0;     // the orientation differed from the sprite drawn before
  int ColorChanges = 0;    // the colour differed from the one current before
  int TextureChanges = 0;  // the texture differed from the sprite drawn before
  int SegmentChanges = 0;  // the same texture, another segment
};

// The renderer: one global instance from start-up to shutdown.
class TRenderer {
  // First, so that the device is freed last, after everything made on it.
  Platform::TPlatform& Platform;
  std::unique_ptr<Platform::TGraphicsDevice> Device;

 public:
  // Opens the graphics device on the game window, takes full screen when Register.FullScreen
  // says so and sets up the screen metrics. Throws the device's failure; one that says the
  // graphics cannot run the game first sets Register.UnsupportedVideo.
  explicit TRenderer(Platform::TPlatform& Platform);
  // Frees the sprites, then the textures, then the device.
  ~TRenderer();
  TRenderer(const TRenderer&) = delete;
  TRenderer& operator=(const TRenderer&) = delete;

  // The device is lost: frames are skipped until CheckDevice restores it.
  bool Lost() const { return DeviceLost; }
  // Whether textures may have any size (else the loader pads them to powers of two).
  bool AnySizeTextures() const { return Device->AnySizeTextures(); }
  // The graphics device, for the texture loader.
  Platform::TGraphicsDevice& GraphicsDevice() { return *Device; }

  // The textures, newest first; they stay until shutdown.
  TContainer Textures;
  // Every sprite, in ascending depth (pool of Register.SpritePool).
  TContainer Sprites;

  // A sprite from the pool at Depth, in front of the sprites of that depth already there.
  TSprite* AddSprite(std::int32_t Depth);
  // The texture of that name, loaded on first use (a failed load gives a blank texture that is
  // never drawn and is not tried again); never null.
  TTexture& GetTexture(std::string_view Name);
  // Reloads every localized texture from the current language's folder.
  void ReloadLocalizedTextures();

  // Draws and presents one frame: black, then every visible sprite back to front. Nothing while
  // the device is lost.
  void Render();
  // Asks the device whether it works again; clears Lost when it does.
  void CheckDevice();
  // Switches between full screen (the desktop's size) and the window; the screen metrics in
  // Register follow. A back buffer that cannot be made leaves the device lost.
  void SetFullScreen(bool On);
  // Writes the last frame drawn as a PNG file; returns "" or what went wrong.
  std::string SaveScreenshot(const std::string& Path);

  // What the last Render did.
  const TRenderStats& Stats() const { return LastStats; }

 private:
  bool DeviceLost = false;
  TRenderStats LastStats;
  // The draw state, carried from sprite to sprite.
  Platform::TQuad Current;
  int CurrentOrientation = -1;
  TColor CurrentColor = 0;
  bool ColorSet = false;
  const TTexture* CurrentTexture = nullptr;
  int CurrentSegment = 0;

  // Recomputes the screen metrics for Register.FullScreen and hands them to the device.
  void ApplyScreen();
};

// The renderer of the running game.
extern std::unique_ptr<TRenderer> Renderer;
