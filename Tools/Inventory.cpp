// Inventory.cpp -- the textures of the screens by name.
#include "Inventory.h"

#include <algorithm>

#include "VexaMission.h"

namespace {

// The pane pictures of the game's pane table, in the table's order: four segments for every
// Look of the pane.
void AddPanePictures(std::vector<TTextureNeed>& Needs) {
  const std::size_t First = Needs.size();
  for (const TPaneInfo& Info : PaneInfo) {
    const std::string Name = Info.Texture;
    if (Name.empty()) continue;
    const int Segments = 4 * Info.Looks;
    const auto Known = std::find_if(Needs.begin() + First, Needs.end(),
                                    [&](const TTextureNeed& Need) { return Need.Name == Name; });
    if (Known == Needs.end())
      Needs.push_back({Name, Segments});
    else
      Known->Segments = std::max(Known->Segments, Segments);
  }
}

}  // namespace

std::vector<TTextureNeed> TextureInventory() {
  std::vector<TTextureNeed> Needs = {
      {"Blank"},
      {"DefaultFont", 256, true},
      {"IconsFont", 256, true},
      {"Buttons", 9},
      {"ActionIcons", 137},
      {"Progress", 64},
      {"Selector"},
      {"Damage"},
      {"Arrows", 4},
      {"Talk"},
      {"Faces", 2},
      {"Dot", 2},
      {"Particles", 8},
      {"FormMenu"},
      {"FormPanel"},
      {"FormMission"},
      {"GameLogo"},
      {"Dialog66"},
      {"Dialog68"},
      {"Dialog72"},
      {"Dialog100"},
  };
  for (int Map = 1; Map <= 24; ++Map)
    Needs.push_back({"Map" + std::to_string(Map)});
  for (int View = 1; View <= 13; ++View)
    Needs.push_back({"View" + std::to_string(View)});
  AddPanePictures(Needs);
  return Needs;
}
