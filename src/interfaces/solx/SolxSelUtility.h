#pragma once
// Obstruction selection: which drawing objects cast shadows, and the records made from them.
//
// Obstructions (docs/drawing-conventions.md): closed lightweight polylines and circles on the
// building layer ("SUN-BUILDING") whose thickness is the height above their elevation; slabs
// and balconies of the product line on any layer; 3D faces and polyface meshes on any layer
// (roofs, models). Polylines and circles become SolxBuilding prisms, faces and meshes become
// SolxShadowSource face lists; degenerate ones (no area, no height, tilted) are left out.

#include "brel/VxAdsEntSet.h"
#include "solx/SolxBuilding.h"
#include "solx/SolxShadowSource.h"

struct resbuf;

class SolxSelUtility {
public:
    explicit SolxSelUtility(unsigned option = 0) : m_option(option) {}

    unsigned m_option;      // passed by the commands (8 for the window analysis); not read here
    VxAdsEntSet m_set1{2};  // the user's selection
    VxAdsEntSet m_set2{2};  // spare working set

    // Lets the user select obstructions with `prompt` and fills both lists from them. RTNORM
    // when at least one obstruction was made; RTNONE when the selection held none; the
    // selection's own status (RTCAN ...) otherwise. The lists are appended to.
    int SelShadowModel(SolxBuildingList& buildings, SolxShadowSourceList& sources,
                       const wchar_t* prompt);
    // The same from a given set, without asking.
    int CreateShadowModel(const VxAdsEntSet& set, SolxBuildingList& buildings,
                          SolxShadowSourceList& sources) const;
};

// The selection filter of obstructions (free with acutRelRb).
resbuf* GetShadowObjectMask();
