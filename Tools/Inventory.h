// Inventory.h -- every texture and path the game looks up by name, with what its drawing needs
// of it: the list the data checks (calvora-data check, the data-set tests) go through.
#pragma once

#include <string>
#include <vector>

// A texture the game looks up by name, and how many segments its drawing needs (1: any).
struct TTextureNeed {
  std::string Name;
  int Segments = 1;
  bool Font = false;  // glyph metrics come from its segments: segment 0 must be listed
};

// Every texture the screens look up by name, except the optional splash pictures.
std::vector<TTextureNeed> TextureInventory();

// The optional splash pictures, shown only from the branding folder.
inline const char* const kSplashNames[] = {"Splash1", "Splash2", "Splash3", "Splash4"};

// The particle paths the effects walk.
inline const char* const kPathNames[] = {"Final", "Logo"};
