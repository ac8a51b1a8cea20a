// EngineTexts.h -- strings drawn with bitmap fonts: one sprite per character, laid out in lines
// inside a box, aligned, and squeezed to fit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "EngineClasses.h"
#include "EngineUtils.h"

class TRenderer;
class TSprite;
class TTexture;

// One character of a text: its centre relative to the text's position at zoom 1, and its sprite.
struct TGlyph {
  TVector Offset{0.0f, 0.0f};
  TSprite* Sprite = nullptr;
};

// A text on screen, taken from Texts' pool (CreateText) and given back with FreeText. Its glyph
// sprites stand in the renderer's list in character order, so a later character is drawn over
// an earlier one where they overlap. Every setter returns at once when the value does not change;
// only SetText lays the text out again.
class TText : public TContainerItem {
 public:
  // How much consecutive characters overlap, in font pixels.
  static constexpr float kTracking = 4.0f;

  const std::string& Text() const { return Characters; }
  // Shows S: sprites are reused, only the difference in length is taken or given back.
  void SetText(std::string_view S);

  // Centre of the layout box, in virtual screen units.
  TVector Position() const { return TextPosition; }
  void SetPosition(TVector Value);
  // Scales the laid-out text about Position without laying it out again.
  float Zoom() const { return TextZoom; }
  void SetZoom(float Value);
  // 0xRRGGBB; the glyphs keep their opacity.
  TColor Color() const { return TextColor; }
  void SetColor(TColor Value);
  // Opacity 0..1.
  float Alpha() const { return TextAlpha; }
  void SetAlpha(float Value);

  // Where the text sits in its box: Alignment % 3 is left, centre, right; Alignment / 3 is
  // top, middle, bottom.
  int Alignment() const { return TextAlignment; }
  float Scale() const { return FontScale; }
  float Tracking() const { return kTracking; }
  std::int32_t Depth() const { return GlyphDepth; }
  TVector Box() const { return LayoutBox; }
  TTexture* Font() const { return TextFont; }
  const std::vector<TGlyph>& Glyphs() const { return GlyphList; }

  // What a text is made with: see TTexts::CreateText.
  struct TSetup {
    TRenderer* Renderer;
    TTexture* Font;
    std::int32_t Depth;
    int Alignment;
    float Scale;
    TVector Box;
  };
  // Param points to a TSetup.
  void OnInsert(TContainer& Into, void* Param) override;
  // Gives every glyph sprite back and drops the font.
  void OnRemove(TContainer& From) override;

 private:
  TRenderer* Owner = nullptr;
  std::string Characters;
  float FontScale = 1.0f;
  int TextAlignment = 0;
  std::int32_t GlyphDepth = 0;
  TVector TextPosition{0.0f, 0.0f};
  TVector LayoutBox{0.0f, 0.0f};
  float TextZoom = 1.0f;
  TColor TextColor = 0xFFFFFF;
  float TextAlpha = 1.0f;
  TTexture* TextFont = nullptr;
  std::vector<TGlyph> GlyphList;

  void Resize(std::size_t Count);
  void LayOut();
  void EndLine(std::size_t First, std::size_t End, float Width);
  void PlaceSprites();
  TColor SpriteColor() const;
  // Gives every glyph the text's colour and alpha.
  void Recolor();
};

// The text objects of the game: one global instance from start-up to shutdown, after the
// renderer and the particle system.
class TTexts {
 public:
  // A pool of Register.TextPool texts whose glyphs come from Renderer's sprites.
  explicit TTexts(TRenderer& Renderer);
  ~TTexts();
  TTexts(const TTexts&) = delete;
  TTexts& operator=(const TTexts&) = delete;

  // When T is null: T := a text in "DefaultFont" at Depth with the given Alignment, font Scale
  // and layout Box; zoom 1, white, opaque, tracking 4, empty. A set T is left alone.
  void CreateText(TText*& T, std::int32_t Depth, int Alignment, float Scale, TVector Box);
  // The same in "IconsFont", the font of the small pictures.
  void CreateIconText(TText*& T, std::int32_t Depth, int Alignment, float Scale, TVector Box);
  // Gives T back (with its sprites) and sets it to null; a null T is left alone.
  void FreeText(TText*& T);

  // The texts in use, newest first.
  TContainer Items;

 private:
  TRenderer& Renderer;
  void Create(TText*& T, std::string_view FontName, std::int32_t Depth, int Alignment, float Scale,
              TVector Box);
};

// The texts of the running game.
extern std::unique_ptr<TTexts> Texts;
