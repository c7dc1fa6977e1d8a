// The drawing view model and the system variables, which live in the working drawing.
#include <cmath>

#include "acad/AcDbDatabase.h"
#include "acad/aced.h"

namespace {
solx::editor::ViewModel g_view;

double PixelSize() {
    return g_view.heightPixels > 0 ? g_view.height / g_view.heightPixels : 1.0;
}
}  // namespace

void solx::editor::SetView(const ViewModel& view) {
    g_view = view;
}
const solx::editor::ViewModel& solx::editor::CurrentView() {
    return g_view;
}

bool acedCoordFromWorldToPixel(int /*viewport*/, const ads_point world, int& px, int& py) {
    const double size = PixelSize();
    px = static_cast<int>(
        std::lround((world[0] - g_view.centerX) / size + g_view.widthPixels / 2.0));
    py = static_cast<int>(
        std::lround(g_view.heightPixels / 2.0 - (world[1] - g_view.centerY) / size));
    return true;
}

void acedCoordFromPixelToWorld(int px, int py, ads_point world) {
    const double size = PixelSize();
    world[0] = g_view.centerX + (px - g_view.widthPixels / 2.0) * size;
    world[1] = g_view.centerY + (g_view.heightPixels / 2.0 - py) * size;
    world[2] = 0.0;
}

int acedSetVar(const wchar_t* name, const resbuf* value) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    return db && name && value ? db->setSysVar(name, value) : RTERROR;
}

int acedGetVar(const wchar_t* name, resbuf* result) {
    const AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    return db && name && result ? db->getSysVar(name, result) : RTERROR;
}
