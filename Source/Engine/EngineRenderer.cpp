// EngineRenderer.cpp -- sprites, the per-frame walk over them, textures by name and the display
// mode.
#include "EngineRenderer.h"

#include <bit>
#include <cstring>

#include "EngineRegister.h"
#include "Platform.h"

std::unique_ptr<TRenderer> Renderer;

namespace {

// Degrees to the radians of a turn that is clockwise on screen (counter-clockwise in the world,
// whose y axis points up).
constexpr float kClockwiseRadiansPerDegree = -0.0174532924f;

static_assert(sizeof(TMatrix) == sizeof(Platform::TDeviceMatrix));

Platform::TDeviceMatrix DeviceMatrix(const TMatrix& M) {
  return std::bit_cast<Platform::TDeviceMatrix>(M);
}

// Exact comparison of stored floats (NaN equals itself, so it does not invalidate every frame).
bool SameFloat(float A, float B) {
  return std::bit_cast<std::uint32_t>(A) == std::bit_cast<std::uint32_t>(B);
}

}  // namespace

// ---- Sprites ----

void TSprite::SetVisible(bool Value) {
  if (Value == IsVisible) return;
  IsVisible = Value;
}

void TSprite::SetFlipX(bool Value) {
  if (Value == IsFlippedX) return;
  IsFlippedX = Value;
  UpdateFlip();
}

void TSprite::SetFlipY(bool Value) {
  if (Value == IsFlippedY) return;
  IsFlippedY = Value;
  UpdateFlip();
}

void TSprite::UpdateFlip() {
  QuadOrientation = IsFlippedX ? (IsFlippedY ? 3 : 1) : (IsFlippedY ? 2 : 0);
}

void TSprite::SetPosition(TVector Value) {
  if (Valid && VectorEquals(Value, SpritePosition)) return;
  SpritePosition = Value;
  Valid = false;
}

void TSprite::SetSize(TVector Value) {
  if (Valid && VectorEquals(Value, SpriteSize)) return;
  SpriteSize = Value;
  Valid = false;
}

void TSprite::SetScale(float Value) {
  if (Valid && SameFloat(Value, SpriteScale)) return;
  SpriteScale = Value;
  Valid = false;
}

void TSprite::SetAngle(float Value) {
  if (Valid && SameFloat(Value, SpriteAngle)) return;
  SpriteAngle = Value;
  Valid = false;
}

void TSprite::SetColor(TColor Value) {
  if (Value == SpriteColor) return;
  SpriteColor = Value;
}

void TSprite::SetTexture(TTexture* Value) {
  if (Value == SpriteTexture) return;
  SpriteTexture = Value;
}

void TSprite::SetTexture(std::string_view Name) {
  if (Name.empty()) {
    SpriteTexture = nullptr;
  } else if (!SpriteTexture || SpriteTexture->Name != Name) {
    SpriteTexture = &Renderer->GetTexture(Name);
  }
}

void TSprite::SetSegment(int Value) {
  if (Value == SpriteSegment) return;
  SpriteSegment = Value;
}

const TMatrix& TSprite::World() {
  if (!Valid) {
    TMatrix Turned = Scaling({SpriteSize.X * SpriteScale, SpriteSize.Y * SpriteScale});
    // Most sprites stand upright; turning by 0 would give the same matrix.
    if (SpriteAngle != 0.0f)
      Turned = Multiply(Turned, RotationZ(SpriteAngle * kClockwiseRadiansPerDegree));
    Placement = Multiply(Turned, Translation(SpritePosition));
    Valid = true;
  }
  return Placement;
}

void TSprite::OnInsert(TContainer&, void* Param) {
  IsVisible = true;
  IsFlippedX = IsFlippedY = false;
  QuadOrientation = 0;
  SpriteDepth = Param ? *static_cast<const std::int32_t*>(Param) : 0;
  // Not asked of a sprite taken from the pool, but a user who forgets to place it should not
  // see the previous user's place and size.
  SpritePosition = {0.0f, 0.0f};
  SpriteSize = {0.0f, 0.0f};
  SpriteScale = 1.0f;
  SpriteAngle = 0.0f;
  SpriteColor = 0xFFFFFFFF;
  Valid = false;
}

void TSprite::OnRemove(TContainer&) {
  SpriteTexture = nullptr;
  SpriteSegment = 0;
}

bool TSprite::IsBefore(const TContainerItem& Other) const {
  return SpriteDepth < static_cast<const TSprite&>(Other).SpriteDepth;
}

// ---- The renderer ----

TRenderer::TRenderer(Platform::TPlatform& GamePlatform)
    : Platform(GamePlatform), Sprites(MakeItem<TSprite>, Register.SpritePool) {
  try {
    Device = Platform.OpenGraphicsDevice();
  } catch (const Platform::EUnsupportedGraphics&) {
    Register.UnsupportedVideo = true;
    throw;
  }
  // The window was opened at its windowed size; full screen is the renderer's to take.
  if (Register.FullScreen) Platform.SetFullScreen(true);
  ApplyScreen();
}

TRenderer::~TRenderer() = default;

TSprite* TRenderer::AddSprite(std::int32_t Depth) {
  return Sprites.AddAs<TSprite>("", &Depth, TInsertMode::Sorted);
}

TTexture& TRenderer::GetTexture(std::string_view Name) {
  if (TTexture* Found = Textures.FindAs<TTexture>(Name)) return *Found;
  auto Texture = std::make_unique<TTexture>();
  Texture->Name.assign(Name);
  LoadTexture(*Texture, *Device);
  return *Textures.Insert(std::move(Texture), nullptr, TInsertMode::Front);
}

void TRenderer::ReloadLocalizedTextures() {
  for (TContainerItem* Item = Textures.First(); Item; Item = Item->Next())
    ReloadLocalized(static_cast<TTexture&>(*Item), *Device);
}

void TRenderer::Render() {
  if (DeviceLost) return;
  TRenderStats Stats;
  Device->BeginFrame();
  CurrentOrientation = -1;  // each frame states its quad afresh
  // The list is walked directly: drawing removes nothing, and a walk must not allocate.
  for (TContainerItem* Item = Sprites.First(); Item; Item = Item->Next()) {
    auto& Sprite = static_cast<TSprite&>(*Item);
    ++Stats.Sprites;
    const TTexture* Texture = Sprite.Texture();
    if (!Sprite.Visible() || !Texture || !Texture->DeviceTexture || Texture->Segments.empty() ||
        (Sprite.Color() >> 24) < 2)
      continue;

    if (!Sprite.MatrixValid()) ++Stats.MatricesBuilt;
    Current.World = DeviceMatrix(Sprite.World());
    if (Sprite.Orientation() != CurrentOrientation) {
      CurrentOrientation = Sprite.Orientation();
      Current.Orientation = CurrentOrientation;
      ++Stats.QuadChanges;
    }
    if (!ColorSet || Sprite.Color() != CurrentColor) {
      CurrentColor = Sprite.Color();
      ColorSet = true;
      Current.Color = CurrentColor;
      ++Stats.ColorChanges;
    }
    // A segment past the last shows the last.
    const int Segment = Clamp(Sprite.Segment(), 0, static_cast<int>(Texture->Segments.size()) - 1);
    if (Texture != CurrentTexture) {
      CurrentTexture = Texture;
      Current.Texture = Texture->DeviceTexture.get();
      CurrentSegment = Segment;
      Current.TextureMatrix = DeviceMatrix(Texture->Segments[Segment].Matrix);
      ++Stats.TextureChanges;
    } else if (Segment != CurrentSegment) {
      CurrentSegment = Segment;
      Current.TextureMatrix = DeviceMatrix(Texture->Segments[Segment].Matrix);
      ++Stats.SegmentChanges;
    }
    Device->DrawQuad(Current);
    ++Stats.Drawn;
  }
  // Textures may be reloaded or freed before the next frame.
  CurrentTexture = nullptr;
  Current.Texture = nullptr;
  DeviceLost = !Device->EndFrame();
  LastStats = Stats;
}

void TRenderer::CheckDevice() {
  DeviceLost = !Device->CheckDevice();
  if (!DeviceLost) ColorSet = false;  // the restored device sets every state afresh
}

void TRenderer::SetFullScreen(bool On) {
  if (On == Register.FullScreen) return;
  Register.FullScreen = On;
  Platform.SetFullScreen(On);
  try {
    ApplyScreen();
  } catch (const Platform::EGraphicsError&) {
    DeviceLost = true;  // CheckDevice tries again
  }
}

void TRenderer::ApplyScreen() {
  ApplyDisplayMode();
  Device->SetView(Register.Width, Register.Height, Register.ViewWidth, Register.ViewHeight);
}

std::string TRenderer::SaveScreenshot(const std::string& Path) {
  int Width = 0, Height = 0;
  const std::vector<std::uint8_t> Frame = Device->ReadFrame(Width, Height);
  if (Frame.empty()) return "No frame to save";
  return Platform::WritePng(Path, Frame, Width, Height);
}
