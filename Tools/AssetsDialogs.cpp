// AssetsDialogs.cpp -- the dialog panels "Dialog66", "Dialog68", "Dialog72" and "Dialog100":
// deep Aegean blue rounded panels with a gold border, a faint wave pattern, and bands for the
// title at the top and the buttons at the bottom where the dialogs put them.
#include <algorithm>
#include <cmath>

#include "AssetsCore.h"
#include "AssetsFormsShared.h"

namespace {

using namespace Assets;
using namespace Assets::Forms;

// Pixels per layout unit: the game also runs at 1920 x 1200, where a dialog is 1.5 times its
// layout size.
constexpr double kPixelsPerUnit = 1.5;
constexpr double kMargin = 6;   // transparent room around the panel for its soft shadow
constexpr double kRadius = 26;  // corner radius of the panel

// Where a dialog puts things, in layout units relative to its panel.
struct TDialogLayout {
  double Width, Height;
  double TitleBottom;  // 0: no title band
  double FooterTop;    // 0: no button band
  int ListRows;        // faint stripes under a list of text links (0: none)
  double ListTop, ListRowHeight;
};

void PanelPath(cairo_t* Cr, const TDialogLayout& Layout, double Inset) {
  RoundedRectangle(Cr, kMargin + Inset, kMargin + Inset, Layout.Width - 2 * (kMargin + Inset),
                   Layout.Height - 2 * (kMargin + Inset), kRadius - Inset);
}

void DrawShadow(cairo_t* Cr, const TDialogLayout& Layout) {
  for (int Ring = 0; Ring < 6; ++Ring) {
    const double Grow = 5 - Ring;
    RoundedRectangle(Cr, kMargin + 3 - Grow, kMargin + 4 - Grow,
                     Layout.Width - 2 * kMargin + 2 * Grow, Layout.Height - 2 * kMargin + 2 * Grow,
                     kRadius + Grow);
    cairo_set_source_rgba(Cr, 0, 0, 0, 0.07);
    cairo_fill(Cr);
  }
}

void FillBody(cairo_t* Cr, const TDialogLayout& Layout) {
  PanelPath(Cr, Layout, 0);
  SetVerticalGradient(Cr, kMargin, Mix(Colors::Aegean, Colors::AegeanLight, 0.35),
                      Layout.Height - kMargin, Colors::AegeanDeep);
  cairo_fill(Cr);
  // Light from the upper left: a soft glow there, the far corner sinks into shade.
  const double Reach = std::hypot(Layout.Width, Layout.Height);
  cairo_pattern_t* Glow =
      cairo_pattern_create_radial(Layout.Width * 0.2, Layout.Height * 0.1, 0, Layout.Width * 0.2,
                                  Layout.Height * 0.1, Reach * 0.9);
  cairo_pattern_add_color_stop_rgba(Glow, 0, 0.55, 0.75, 0.95, 0.12);
  cairo_pattern_add_color_stop_rgba(Glow, 0.6, 0.3, 0.5, 0.7, 0.0);
  cairo_pattern_add_color_stop_rgba(Glow, 1, 0, 0, 0.05, 0.25);
  PanelPath(Cr, Layout, 0);
  cairo_set_source(Cr, Glow);
  cairo_fill(Cr);
  cairo_pattern_destroy(Glow);
}

// Rows of overlapping arcs, like small waves, barely lighter than the panel.
void DrawWavePattern(cairo_t* Cr, const TDialogLayout& Layout) {
  cairo_save(Cr);
  PanelPath(Cr, Layout, 10);
  cairo_clip(Cr);
  const double Step = 28, Rise = 12;
  cairo_set_line_width(Cr, 1.4);
  cairo_set_source_rgba(Cr, 0.75, 0.88, 1.0, 0.045);
  for (int Row = 0; Row * Rise < Layout.Height + Rise; ++Row) {
    const double Y = Row * Rise;
    const double Shift = (Row % 2) * Step / 2;
    for (double X = -Step + Shift; X < Layout.Width + Step; X += Step) {
      cairo_new_sub_path(Cr);
      cairo_arc(Cr, X, Y, Step / 2, M_PI, 2 * M_PI);
    }
    cairo_stroke(Cr);
  }
  cairo_restore(Cr);
}

void DrawTitleBand(cairo_t* Cr, const TDialogLayout& Layout) {
  if (Layout.TitleBottom <= 0) return;
  cairo_save(Cr);
  PanelPath(Cr, Layout, 0);
  cairo_clip(Cr);
  cairo_rectangle(Cr, 0, 0, Layout.Width, Layout.TitleBottom);
  SetVerticalGradient(Cr, kMargin, Rgb(0x081A2E, 0.55), Layout.TitleBottom, Rgb(0x081A2E, 0.3));
  cairo_fill(Cr);
  cairo_restore(Cr);
  // A gold rule under the title with a small lozenge at its middle.
  const double Left = kMargin + 26, Right = Layout.Width - kMargin - 26;
  const double Middle = Layout.Width / 2, Y = Layout.TitleBottom;
  cairo_move_to(Cr, Left, Y);
  cairo_line_to(Cr, Middle - 14, Y);
  cairo_move_to(Cr, Middle + 14, Y);
  cairo_line_to(Cr, Right, Y);
  StrokeGoldTrim(Cr, 2.2);
  cairo_new_path(Cr);
  cairo_move_to(Cr, Middle, Y - 8);
  cairo_line_to(Cr, Middle + 10, Y);
  cairo_line_to(Cr, Middle, Y + 8);
  cairo_line_to(Cr, Middle - 10, Y);
  cairo_close_path(Cr);
  cairo_set_source_rgb(Cr, Palette::Gold.R, Palette::Gold.G, Palette::Gold.B);
  cairo_fill_preserve(Cr);
  StrokeGoldTrim(Cr, 1.2);
  cairo_new_path(Cr);
}

void DrawFooterBand(cairo_t* Cr, const TDialogLayout& Layout) {
  if (Layout.FooterTop <= 0) return;
  cairo_save(Cr);
  PanelPath(Cr, Layout, 0);
  cairo_clip(Cr);
  cairo_rectangle(Cr, 0, Layout.FooterTop, Layout.Width, Layout.Height);
  cairo_set_source_rgba(Cr, 0.02, 0.07, 0.14, 0.35);
  cairo_fill(Cr);
  cairo_restore(Cr);
  cairo_move_to(Cr, kMargin + 40, Layout.FooterTop);
  cairo_line_to(Cr, Layout.Width - kMargin - 40, Layout.FooterTop);
  cairo_set_line_width(Cr, 1.5);
  SetColor(Cr, Palette::Ochre, 0.55);
  cairo_stroke(Cr);
}

// Faint stripes and a centre divider under a two-column list of links.
void DrawListRows(cairo_t* Cr, const TDialogLayout& Layout) {
  if (Layout.ListRows <= 0) return;
  for (int Row = 0; Row < Layout.ListRows; Row += 2) {
    const double Y = Layout.ListTop + Row * Layout.ListRowHeight;
    RoundedRectangle(Cr, 26, Y, Layout.Width / 2 - 36, Layout.ListRowHeight, 5);
    RoundedRectangle(Cr, Layout.Width / 2 + 10, Y, Layout.Width / 2 - 36, Layout.ListRowHeight, 5);
  }
  cairo_set_source_rgba(Cr, 0.7, 0.85, 1.0, 0.05);
  cairo_fill(Cr);
  const double Bottom = Layout.ListTop + Layout.ListRows * Layout.ListRowHeight;
  cairo_move_to(Cr, Layout.Width / 2, Layout.ListTop + 4);
  cairo_line_to(Cr, Layout.Width / 2, Bottom - 4);
  cairo_set_line_width(Cr, 1.5);
  SetColor(Cr, Palette::Ochre, 0.4);
  cairo_stroke(Cr);
}

void DrawBorder(cairo_t* Cr, const TDialogLayout& Layout) {
  PanelPath(Cr, Layout, 2.5);
  StrokeGoldTrim(Cr, 4.5);
  cairo_new_path(Cr);
  PanelPath(Cr, Layout, 10);
  cairo_set_line_width(Cr, 1.2);
  SetColor(Cr, Palette::Ochre, 0.5);
  cairo_stroke(Cr);
  // Small gold studs in the four corners of the inner line.
  const double Inset = kMargin + 18;
  for (int Corner = 0; Corner < 4; ++Corner) {
    const double X = Corner % 2 == 0 ? Inset : Layout.Width - Inset;
    const double Y = Corner / 2 == 0 ? Inset : Layout.Height - Inset;
    cairo_arc(Cr, X, Y, 3.2, 0, 2 * M_PI);
    cairo_set_source_rgb(Cr, Palette::Gold.R, Palette::Gold.G, Palette::Gold.B);
    cairo_fill_preserve(Cr);
    cairo_set_source_rgba(Cr, 0.1, 0.06, 0.02, 0.8);
    cairo_set_line_width(Cr, 1);
    cairo_stroke(Cr);
  }
}

TPicture DrawDialog(const TDialogLayout& Layout, std::uint32_t Seed) {
  const int Width = BlockAligned(Layout.Width * kPixelsPerUnit);
  const int Height = BlockAligned(Layout.Height * kPixelsPerUnit);
  TCanvas Canvas(Width, Height);
  cairo_t* Cr = Canvas.Cr();
  cairo_scale(Cr, Width / Layout.Width, Height / Layout.Height);
  DrawShadow(Cr, Layout);
  FillBody(Cr, Layout);
  DrawWavePattern(Cr, Layout);
  DrawTitleBand(Cr, Layout);
  DrawFooterBand(Cr, Layout);
  DrawListRows(Cr, Layout);
  DrawBorder(Cr, Layout);
  TPicture Picture = Canvas.Picture();
  AddGrain(Picture, 0.035, 3.0, Seed);
  return Picture;
}

void GenerateSmallDialogs(TOutput& Output) {
  // Question, message and text entry: text fills the upper part, buttons from 215 down.
  Output.Texture("Dialog66", DrawDialog({660, 300, 0, 205, 0, 0, 0}, 66), TDdsFormat::Dxt5);
  // Licences: title at 22..52 (text centred at 37), icons and texts, the close button from 428
  // down.
  Output.Texture("Dialog72", DrawDialog({720, 512, 56, 424, 0, 0, 0}, 72), TDdsFormat::Dxt5);
}

void GenerateLargeDialogs(TOutput& Output) {
  // Options, about and help: title centred at 40..45, first texts from 65, buttons from 535 down.
  Output.Texture("Dialog68", DrawDialog({680, 620, 67, 522, 0, 0, 0}, 68), TDdsFormat::Dxt5);
  // Goal choice: title at 20..50, two columns of 18 links from 70, the button from 535 down.
  Output.Texture("Dialog100", DrawDialog({1000, 620, 60, 525, 18, 70, 25}, 100), TDdsFormat::Dxt5);
}

const Assets::TGeneratorRegistration SmallRegistration("dialogs", &GenerateSmallDialogs);
const Assets::TGeneratorRegistration LargeRegistration("dialogs-large", &GenerateLargeDialogs);

}  // namespace
