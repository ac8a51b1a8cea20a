// AssetsFontIcons.cpp -- the pictures only the icon font has: the bold arrows of the round arrow
// buttons (codes 1 and 2) and the upgrade marks shown on a pane (codes 14..26): Roman numerals
// on terracotta shields for the house upgrades, medallions in the service family colours for the
// service upgrades.
#include <cmath>
#include <vector>

#include "AssetsFonts.h"

namespace Assets::Fonts {

namespace {

using namespace Draw;

constexpr int kArrowWidth = 32;
constexpr int kUpgradeWidth = 30;  // advance 26: five marks in a row stay within 134 px
constexpr double kUpgradeX = kUpgradeWidth / 2.0, kUpgradeY = 16.5;
constexpr int kFirstHouseMark = 14, kLastHouseMark = 18;
constexpr int kFirstServiceMark = 19, kLastServiceMark = 26;

const TColor kNumeral = Rgb(0xFBEFC8);
const TColor kCream = Rgb(0xF7EEDC);

// A bold arrow pointing left, or right when Right.
void Arrow(cairo_t* Cr, bool Right) {
  cairo_save(Cr);
  if (Right) {
    cairo_translate(Cr, kArrowWidth, 0);
    cairo_scale(Cr, -1, 1);
  }
  cairo_move_to(Cr, 2.5, 16.5);
  cairo_line_to(Cr, 15.5, 3.5);
  cairo_line_to(Cr, 15.5, 10.5);
  cairo_line_to(Cr, 29, 10.5);
  cairo_line_to(Cr, 29, 22.5);
  cairo_line_to(Cr, 15.5, 22.5);
  cairo_line_to(Cr, 15.5, 29.5);
  cairo_close_path(Cr);
  cairo_restore(Cr);
  // Lit from the upper left whichever way it points.
  FillLit(Cr, Palette::Whitewash, 1.1, 0.78);
  OutlineIn(Cr, Palette::Ink, 1.6);
}

// ---- house upgrades: Roman numerals on shields ----

void Shield(cairo_t* Cr) {
  cairo_move_to(Cr, kUpgradeX - 10, 5.5);
  cairo_line_to(Cr, kUpgradeX + 10, 5.5);
  cairo_curve_to(Cr, kUpgradeX + 10, 17, kUpgradeX + 8, 24, kUpgradeX, 28.5);
  cairo_curve_to(Cr, kUpgradeX - 8, 24, kUpgradeX - 10, 17, kUpgradeX - 10, 5.5);
  cairo_close_path(Cr);
  FillLit(Cr, Palette::Terracotta, 1.3, 0.7);
  OutlineIn(Cr, Rgb(0x5A2414), 1.3);
  cairo_move_to(Cr, kUpgradeX - 7.8, 7.6);
  cairo_line_to(Cr, kUpgradeX + 7.8, 7.6);
  cairo_curve_to(Cr, kUpgradeX + 7.8, 16.5, kUpgradeX + 6.3, 22, kUpgradeX, 25.8);
  cairo_curve_to(Cr, kUpgradeX - 6.3, 22, kUpgradeX - 7.8, 16.5, kUpgradeX - 7.8, 7.6);
  cairo_close_path(Cr);
  OutlineIn(Cr, Palette::Gold, 1.0);
}

// The letters of a Roman numeral 1..5: 'I' is a bar, 'V' a wedge.
std::vector<char> RomanLetters(int Number) {
  switch (Number) {
    case 1:
      return {'I'};
    case 2:
      return {'I', 'I'};
    case 3:
      return {'I', 'I', 'I'};
    case 4:
      return {'I', 'V'};
    default:
      return {'V'};
  }
}

void NumeralPath(cairo_t* Cr, int Number, double Top, double Bottom) {
  constexpr double BarWidth = 2.2, WedgeWidth = 7.4, Gap = 1.8, Serif = 1.3;
  const std::vector<char> Letters = RomanLetters(Number);
  double Total = -Gap;
  for (const char Letter : Letters)
    Total += (Letter == 'I' ? BarWidth : WedgeWidth) + Gap;
  double X = kUpgradeX - Total / 2;
  for (const char Letter : Letters) {
    if (Letter == 'I') {
      const double Middle = X + BarWidth / 2;
      cairo_move_to(Cr, Middle, Top);
      cairo_line_to(Cr, Middle, Bottom);
      // Carved serifs at both ends.
      cairo_move_to(Cr, Middle - Serif, Top);
      cairo_line_to(Cr, Middle + Serif, Top);
      cairo_move_to(Cr, Middle - Serif, Bottom);
      cairo_line_to(Cr, Middle + Serif, Bottom);
      X += BarWidth + Gap;
    } else {
      cairo_move_to(Cr, X + 0.8, Top);
      cairo_line_to(Cr, X + WedgeWidth / 2, Bottom);
      cairo_line_to(Cr, X + WedgeWidth - 0.8, Top);
      cairo_move_to(Cr, X + 0.8 - Serif, Top);
      cairo_line_to(Cr, X + 0.8 + Serif, Top);
      cairo_move_to(Cr, X + WedgeWidth - 0.8 - Serif, Top);
      cairo_line_to(Cr, X + WedgeWidth - 0.8 + Serif, Top);
      X += WedgeWidth + Gap;
    }
  }
}

void HouseMark(cairo_t* Cr, int Number) {
  Shield(Cr);
  constexpr double Top = 10.5, Bottom = 20.5;
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_MITER);
  NumeralPath(Cr, Number, Top, Bottom);
  SetColor(Cr, Rgb(0x3A1A0E, 0.8));
  cairo_set_line_width(Cr, 3.6);
  cairo_stroke(Cr);
  NumeralPath(Cr, Number, Top, Bottom);
  SetColor(Cr, kNumeral);
  cairo_set_line_width(Cr, 2.0);
  cairo_stroke(Cr);
}

// ---- service upgrades: medallions, a rosette for the second step ----

void FamilySymbol(cairo_t* Cr, int Family, double Scale) {
  switch (Family) {
    case 0:
      Bell(Cr, kUpgradeX, kUpgradeY + 0.3, Scale);
      break;
    case 1:
      Amphora(Cr, kUpgradeX, kUpgradeY, Scale);
      break;
    case 2:
      HerbSprig(Cr, kUpgradeX, kUpgradeY, Scale);
      break;
    default:
      TheatreMasks(Cr, kUpgradeX, kUpgradeY, Scale);
      break;
  }
}

void Rosette(cairo_t* Cr, double Outer, double Inner, int Points) {
  for (int Index = 0; Index < 2 * Points; ++Index) {
    const double Angle = -M_PI / 2 + Index * M_PI / Points;
    const double Radius = Index % 2 ? Inner : Outer;
    cairo_line_to(Cr, kUpgradeX + Radius * std::cos(Angle), kUpgradeY + Radius * std::sin(Angle));
  }
  cairo_close_path(Cr);
}

void ServiceMark(cairo_t* Cr, int Family, bool Grand) {
  const TColor Color = FamilyColor(Family);
  if (Grand) {
    Rosette(Cr, 13.2, 10.4, 10);
    FillLit(Cr, Palette::Gold, 1.35, 0.7);
    OutlineIn(Cr, Rgb(0x6A4410), 1.1);
  }
  cairo_new_sub_path(Cr);
  cairo_arc(Cr, kUpgradeX, kUpgradeY, Grand ? 9.8 : 11, 0, 2 * M_PI);
  FillLit(Cr, Color, 1.35, 0.7);
  OutlineIn(Cr, Shade(Color, 0.35), 1.2);
  cairo_new_sub_path(Cr);
  cairo_arc(Cr, kUpgradeX, kUpgradeY, Grand ? 7 : 7.8, 0, 2 * M_PI);
  FillLit(Cr, kCream, 1.05, 0.85);
  OutlineIn(Cr, Shade(Color, 0.5), 0.9);
  FamilySymbol(Cr, Family, Grand ? 0.48 : 0.54);
}

void DrawIcon(cairo_t* Cr, int Code) {
  if (Code == 1 || Code == 2) {
    Arrow(Cr, Code == 2);
  } else if (Code <= kLastHouseMark) {
    HouseMark(Cr, Code - kFirstHouseMark + 1);
  } else {
    const int Step = Code - kFirstServiceMark;
    ServiceMark(Cr, Step % 4, Step >= 4);
  }
}

}  // namespace

bool HasIconPicture(int Code) {
  return Code == 1 || Code == 2 || (Code >= kFirstHouseMark && Code <= kLastServiceMark);
}

TPicture IconPicture(int Code) {
  if (!HasIconPicture(Code)) return EmptyCell(kEmptyWidth);
  TCanvas Canvas(Code <= 2 ? kArrowWidth : kUpgradeWidth, kCellHeight);
  DrawIcon(Canvas.Cr(), Code);
  TPicture Picture = Canvas.Picture();
  AddHalo(Picture, 0.45);
  return Picture;
}

}  // namespace Assets::Fonts
