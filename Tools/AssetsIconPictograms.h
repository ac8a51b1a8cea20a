// AssetsIconPictograms.h -- the pictograms of the action icons. Each draws in a 100 x 100 design
// space centred on (50, 50), filling about 70 % of it, outlined in ink.
#pragma once

#include <cairo.h>

namespace Assets::IconPictograms {

// Buildings, the same silhouettes for building, upgrading and their licences.
void House(cairo_t* Cr, int Level);  // 1..5
void Service(cairo_t* Cr,
             int Service);  // 1..8: religion, commerce, healthcare, culture, then grander
void Fountain(cairo_t* Cr);

// Badges laid over a building in the lower right corner.
void PlusBadge(cairo_t* Cr);
void UpgradeBadge(cairo_t* Cr);

// The licence sheet behind a blueprint, and its wax seal in front.
void LicenceSheet(cairo_t* Cr);
void LicenceSeal(cairo_t* Cr);
void UpgradeLicence(cairo_t* Cr, int Rank);  // 1..4 chevrons under a rising arrow
void CheaperTraining(cairo_t* Cr);
void NoDamage(cairo_t* Cr);

// Commands and orders.
void Play(cairo_t* Cr);
void Pause(cairo_t* Cr);
void Restart(cairo_t* Cr);
void Help(cairo_t* Cr);
void Gear(cairo_t* Cr);
void ExitDoor(cairo_t* Cr);
void Scroll(cairo_t* Cr);
void Coins(cairo_t* Cr);
void Logs(cairo_t* Cr);
void StoneBlocks(cairo_t* Cr);
void Worker(cairo_t* Cr);
void TrainWorker(cairo_t* Cr);
void AssignWorker(cairo_t* Cr);
void Demolish(cairo_t* Cr);
void ClearDebris(cairo_t* Cr);
void Repair(cairo_t* Cr);
void Tick(cairo_t* Cr);
void Lock(cairo_t* Cr);
void ClearForest(cairo_t* Cr);
void ClearStones(cairo_t* Cr);

}  // namespace Assets::IconPictograms
