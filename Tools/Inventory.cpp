// Inventory.cpp -- the textures of the screens by name.
#include "Inventory.h"

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
  // Pane pictures: four Looks for every Variant.
  std::vector<std::string> OneVariant = {"BuildingPlot", "HouseOld1", "HouseOld2", "Appeal1",
                                         "Debris1",      "Debris2",   "Stones",    "Fort",
                                         "Granary",      "Workshop"};
  for (int Service = 1; Service <= 8; ++Service)
    OneVariant.push_back("Service" + std::to_string(Service));
  for (int Forest = 1; Forest <= 12; ++Forest)
    OneVariant.push_back("Forest" + std::to_string(Forest));
  for (const std::string& Kind : OneVariant)
    Needs.push_back({"Pane1" + Kind, 4});
  for (int House = 1; House <= 5; ++House)
    Needs.push_back({"Pane2House" + std::to_string(House), 8});
  Needs.push_back({"Pane4Aqueduct", 16});
  return Needs;
}
