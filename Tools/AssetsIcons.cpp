// AssetsIcons.cpp -- "ActionIcons": the pictograms shown on the round action, order and licence
// buttons. The first 72 cells hold the icons in colour, the next 72 the greyed copy of each for a
// button that cannot be used now.
#include "AssetsCore.h"
#include "AssetsIconKit.h"
#include "AssetsIconPictograms.h"

#include <array>
#include <functional>

namespace {

using namespace Assets;
using namespace Assets::IconKit;
namespace Pictograms = Assets::IconPictograms;

using TIconDrawing = std::function<void(cairo_t*)>;

constexpr int kIconCount = 72;
constexpr int kIconCell = 80;  // 40 units at twice the unit size
constexpr double kDesignScale = kIconCell / 100.0;

// Draws Content shrunk around the icon's upper left part so a badge fits in the lower right.
void Shrunk(cairo_t* Cr, double Scale, double CentreX, double CentreY,
            const TIconDrawing& Content) {
  cairo_save(Cr);
  cairo_translate(Cr, CentreX, CentreY);
  cairo_scale(Cr, Scale, Scale);
  cairo_translate(Cr, -50, -50);
  Content(Cr);
  cairo_restore(Cr);
}

TIconDrawing Construct(TIconDrawing Building) {
  return [Building](cairo_t* Cr) {
    Shrunk(Cr, 0.96, 46, 47, Building);
    Pictograms::PlusBadge(Cr);
  };
}

TIconDrawing Upgrade(TIconDrawing Building) {
  return [Building](cairo_t* Cr) {
    Shrunk(Cr, 0.96, 45, 49, Building);
    Pictograms::UpgradeBadge(Cr);
  };
}

TIconDrawing Licence(TIconDrawing Building) {
  return [Building](cairo_t* Cr) {
    Pictograms::LicenceSheet(Cr);
    Shrunk(Cr, 0.72, 49, 47, Building);
    Pictograms::LicenceSeal(Cr);
  };
}

TIconDrawing HouseOf(int Level) {
  return [Level](cairo_t* Cr) { Pictograms::House(Cr, Level); };
}

TIconDrawing ServiceOf(int Number) {
  return [Number](cairo_t* Cr) { Pictograms::Service(Cr, Number); };
}

// What each icon cell shows; an empty drawing leaves the cell clear.
std::array<TIconDrawing, kIconCount> IconDrawings() {
  std::array<TIconDrawing, kIconCount> Icons;
  Icons[1] = Pictograms::Play;
  Icons[2] = Pictograms::Pause;
  Icons[3] = Pictograms::Restart;
  Icons[4] = Pictograms::Help;
  Icons[5] = Pictograms::Gear;
  Icons[6] = Pictograms::ExitDoor;
  Icons[7] = Pictograms::Scroll;
  Icons[8] = Pictograms::Coins;
  Icons[9] = Pictograms::Logs;
  Icons[10] = Pictograms::StoneBlocks;
  Icons[11] = Pictograms::TrainWorker;
  for (int Level = 1; Level <= 5; ++Level) {
    Icons[std::size_t(11 + Level)] = Construct(HouseOf(Level));
    Icons[std::size_t(28 + Level)] = Upgrade(HouseOf(Level));
  }
  for (int Number = 1; Number <= 8; ++Number) {
    Icons[std::size_t(16 + Number)] = Construct(ServiceOf(Number));
    Icons[std::size_t(33 + Number)] = Upgrade(ServiceOf(Number));
  }
  Icons[25] = Construct(Pictograms::Fountain);
  Icons[26] = Pictograms::AssignWorker;
  Icons[27] = Pictograms::Demolish;
  Icons[28] = Pictograms::ClearDebris;
  Icons[42] = Pictograms::Repair;
  Icons[43] = Pictograms::Tick;
  Icons[44] = Pictograms::Lock;
  // Licences: the blueprints of houses 2 to 5 and of the eight services, the four upgrade ranks,
  // cheaper training and protection against damage.
  for (int Level = 2; Level <= 5; ++Level)
    Icons[std::size_t(43 + Level)] = Licence(HouseOf(Level));
  for (int Number = 1; Number <= 8; ++Number)
    Icons[std::size_t(48 + Number)] = Licence(ServiceOf(Number));
  for (int Rank = 1; Rank <= 4; ++Rank)
    Icons[std::size_t(56 + Rank)] = [Rank](cairo_t* Cr) { Pictograms::UpgradeLicence(Cr, Rank); };
  Icons[61] = Pictograms::CheaperTraining;
  Icons[62] = Pictograms::NoDamage;
  Icons[63] = Pictograms::ClearForest;
  Icons[64] = Pictograms::ClearStones;
  return Icons;
}

TPicture DrawIcon(const TIconDrawing& Drawing) {
  TCanvas Canvas(kIconCell, kIconCell);
  if (!Drawing) return Canvas.Picture();
  cairo_scale(Canvas.Cr(), kDesignScale, kDesignScale);
  Drawing(Canvas.Cr());
  return WithDropShadow(Canvas.Picture(), 2, 3, 0.45);
}

void GenerateActionIcons(TOutput& Output) {
  const std::vector<TRect> Cells = GridCells(2 * kIconCount, 12, kIconCell, kIconCell);
  TPicture Atlas(CellsWidth(Cells), CellsHeight(Cells));
  const std::array<TIconDrawing, kIconCount> Icons = IconDrawings();
  for (std::size_t Index = 0; Index < Icons.size(); ++Index) {
    const TPicture Icon = DrawIcon(Icons[Index]);
    PasteCell(Atlas, Cells[Index], Icon);
    PasteCell(Atlas, Cells[Index + kIconCount], Greyed(Icon));
  }
  Output.Texture("ActionIcons", Atlas, TDdsFormat::Dxt5, Cells);
}

const TGeneratorRegistration Registration("actionicons", &GenerateActionIcons);

}  // namespace
