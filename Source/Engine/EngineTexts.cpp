// EngineTexts.cpp -- bitmap-font texts: glyph sprites, line layout, alignment and squeezing.
#include "EngineTexts.h"

#include "EngineRegister.h"
#include "EngineRenderer.h"
#include "EngineTextures.h"

std::unique_ptr<TTexts> Texts;

namespace {

constexpr unsigned char kOverlay = 8;  // backspace: the next character is drawn over this one
constexpr unsigned char kLineBreak = 13;

// Characters that take part in the layout but draw nothing.
bool IsBlank(unsigned char Code) {
  return Code == 0 || Code == kOverlay || Code == kLineBreak || Code == ' ';
}

// Where a line or a block of lines Extent long starts in a box Box long centred on 0, for
// Align 0 (start), 1 (middle) or 2 (end).
float AlignShift(int Align, float Extent, float Box) {
  return static_cast<float>(Align) * (Box - Extent) / 2 - Box / 2;
}

}  // namespace

// ---- TText ----

void TText::OnInsert(TContainer&, void* Param) {
  const auto& Setup = *static_cast<const TSetup*>(Param);
  Owner = Setup.Renderer;
  TextFont = Setup.Font;
  GlyphDepth = Setup.Depth;
  TextAlignment = Clamp(Setup.Alignment, 0, 8);
  FontScale = Setup.Scale;
  LayoutBox = Setup.Box;
  TextPosition = {0.0f, 0.0f};
  TextZoom = 1.0f;
  TextColor = 0xFFFFFF;
  TextAlpha = 1.0f;
}

void TText::OnRemove(TContainer&) {
  SetText("");
  TextFont = nullptr;
  Owner = nullptr;
}

void TText::SetText(std::string_view S) {
  if (S == Characters) return;
  Characters.assign(S);
  Resize(Characters.size());
  if (Characters.empty()) return;
  for (std::size_t I = 0; I < GlyphList.size(); ++I) {
    const auto Code = static_cast<unsigned char>(Characters[I]);
    GlyphList[I].Sprite->SetSegment(Code);
    GlyphList[I].Sprite->SetVisible(!IsBlank(Code));
  }
  LayOut();
  PlaceSprites();
}

// Gives back the sprites of characters past Count, or takes new ones for the first characters,
// so that the sprites already there keep showing the last characters in order.
void TText::Resize(std::size_t Count) {
  const std::size_t Old = GlyphList.size();
  if (Count < Old) {
    for (std::size_t I = Count; I < Old; ++I)
      GlyphList[I].Sprite->Remove();
    GlyphList.resize(Count);
    return;
  }
  if (Count == Old) return;
  const std::size_t Added = Count - Old;
  GlyphList.resize(Count);
  for (std::size_t I = Old; I-- > 0;)
    GlyphList[I + Added].Sprite = GlyphList[I].Sprite;
  // Each new sprite goes in front of those of its depth: made last to first, the list keeps the
  // character order.
  for (std::size_t I = Added; I-- > 0;) {
    TSprite* Sprite = Owner->AddSprite(GlyphDepth);
    Sprite->SetScale(TextZoom);
    Sprite->SetColor(SpriteColor());
    Sprite->SetTexture(TextFont);
    GlyphList[I].Sprite = Sprite;
  }
}

// Lines run from one carriage return to the next; each is aligned in the box or, when too wide,
// narrowed to fill it exactly; too many lines are flattened to the box's height.
void TText::LayOut() {
  const float Height = FontScale * TextFont->SegmentSize(0).Y;
  const float Overlap = kTracking * FontScale;
  float Pen = 0.0f;
  float LineCentre = Height / 2;
  std::size_t LineStart = 0;
  int Lines = 0;
  for (std::size_t I = 0; I < GlyphList.size(); ++I) {
    const auto Code = static_cast<unsigned char>(Characters[I]);
    const TVector Size = VectorScale(TextFont->SegmentSize(Code), FontScale);
    GlyphList[I].Sprite->SetSize(Size);
    if (Code != kOverlay) {
      GlyphList[I].Offset = {Pen + Size.X / 2, LineCentre};
      if (Size.X > 0) Pen += Size.X - Overlap;
    } else {
      // Draws nothing; kept at the pen so that its offset does not depend on earlier texts.
      GlyphList[I].Offset = {Pen, LineCentre};
      if (Size.X > 0) Pen -= Size.X - Overlap;
    }
    if (Code == kLineBreak || I + 1 == GlyphList.size()) {
      EndLine(LineStart, I + 1, Pen + Overlap);
      ++Lines;
      LineStart = I + 1;
      Pen = 0.0f;
      LineCentre += Height;
    }
  }

  const float Total = static_cast<float>(Lines) * Height;
  const float BoxHeight = LayoutBox.Y;
  if (Total > BoxHeight) {
    const float Squeeze = BoxHeight / Total;
    for (TGlyph& Glyph : GlyphList) {
      Glyph.Offset.Y = Glyph.Offset.Y * Squeeze - BoxHeight / 2;
      const TVector Size = Glyph.Sprite->Size();
      Glyph.Sprite->SetSize({Size.X, Size.Y * Squeeze});
    }
    return;
  }
  const float Shift = AlignShift(TextAlignment / 3, Total, BoxHeight);
  for (TGlyph& Glyph : GlyphList)
    Glyph.Offset.Y += Shift;
}

// Places the characters First..End-1 of one line, Width wide.
void TText::EndLine(std::size_t First, std::size_t End, float Width) {
  const float BoxWidth = LayoutBox.X;
  if (Width > BoxWidth) {
    const float Squeeze = BoxWidth / Width;
    for (std::size_t I = First; I < End; ++I) {
      GlyphList[I].Offset.X = GlyphList[I].Offset.X * Squeeze - BoxWidth / 2;
      const TVector Size = GlyphList[I].Sprite->Size();
      GlyphList[I].Sprite->SetSize({Size.X * Squeeze, Size.Y});
    }
    return;
  }
  const float Shift = AlignShift(TextAlignment % 3, Width, BoxWidth);
  for (std::size_t I = First; I < End; ++I)
    GlyphList[I].Offset.X += Shift;
}

void TText::PlaceSprites() {
  for (const TGlyph& Glyph : GlyphList)
    Glyph.Sprite->SetPosition(VectorAdd(TextPosition, VectorScale(Glyph.Offset, TextZoom)));
}

TColor TText::SpriteColor() const {
  return AlphaByte(TextAlpha) << 24 | TextColor;
}

void TText::SetPosition(TVector Value) {
  if (VectorEquals(Value, TextPosition)) return;
  TextPosition = Value;
  // Placed afresh from the offsets, so a text moved every frame does not drift.
  PlaceSprites();
}

void TText::SetZoom(float Value) {
  if (Value == TextZoom) return;
  TextZoom = Value;
  for (const TGlyph& Glyph : GlyphList)
    Glyph.Sprite->SetScale(Value);
  PlaceSprites();
}

void TText::SetColor(TColor Value) {
  Value &= 0xFFFFFF;
  if (Value == TextColor) return;
  TextColor = Value;
  Recolor();
}

void TText::SetAlpha(float Value) {
  if (Value == TextAlpha) return;
  TextAlpha = Value;
  Recolor();
}

void TText::Recolor() {
  for (const TGlyph& Glyph : GlyphList)
    Glyph.Sprite->SetColor(SpriteColor());
}

// ---- TTexts ----

TTexts::TTexts(TRenderer& GameRenderer)
    : Items(MakeItem<TText>, Register.TextPool), Renderer(GameRenderer) {}

// The texts give their sprites back while the renderer still exists.
TTexts::~TTexts() {
  Items.Clear();
}

void TTexts::CreateText(TText*& T, std::int32_t Depth, int Alignment, float Scale, TVector Box) {
  Create(T, "DefaultFont", Depth, Alignment, Scale, Box);
}

void TTexts::CreateIconText(TText*& T, std::int32_t Depth, int Alignment, float Scale,
                            TVector Box) {
  Create(T, "IconsFont", Depth, Alignment, Scale, Box);
}

void TTexts::Create(TText*& T, std::string_view FontName, std::int32_t Depth, int Alignment,
                    float Scale, TVector Box) {
  if (T) return;
  TText::TSetup Setup{&Renderer, &Renderer.GetTexture(FontName), Depth, Alignment, Scale, Box};
  T = Items.AddAs<TText>("", &Setup, TInsertMode::Front);
}

void TTexts::FreeText(TText*& T) {
  if (!T) return;
  T->Remove();
  T = nullptr;
}
