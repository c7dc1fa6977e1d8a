// Pictures of a drawing: the plan (top view) of model space drawn to an SVG or PNG file, so that
// a person can look at a drawing without a CAD program.
#pragma once

#include <cstddef>
#include <string>

class AcDbDatabase;

struct SolxPlotOptions {
    int widthPixels = 1600;  // the picture's width; the height follows the drawing's aspect
    int marginPixels = 24;   // white border around the drawing's extents
    // With useArea only the plan between the two corners is drawn (what crosses its border is
    // cut); without, the picture fits everything that is drawn, texts included.
    bool useArea = false;
    struct Corner {
        double x = 0, y = 0;
    } areaLo{}, areaHi{};
    // The last result tip shown in the session, drawn beside its point (none when no tip was
    // shown).
    bool drawTip = true;
};

struct SolxPlotReport {
    int widthPixels = 0, heightPixels = 0;
    size_t strokes = 0, labels = 0, dots = 0;  // what was drawn, after exploding blocks
    size_t fills = 0;                          // regions, drawn filled
    size_t missingGlyphs = 0;  // characters no font has a glyph for (drawn as boxes)
    size_t greekedLabels = 0;  // texts too small to read, drawn as a bar along their baseline
    bool cutShort = false;     // blocks nested so deep that only part of them was drawn
};

// Draws the model space of db to path: ".svg" writes a vector picture, ".png" a raster one
// (the extension decides, case-insensitively). Lines, polylines with arcs, circles, arcs,
// 3D faces as their plan outline, points, hatch boundaries, regions filled translucent, texts
// (Chinese included) and block references with their attributes, coloured by colour index with
// ByLayer and ByBlock resolved; entities on hidden, off or frozen layers are left out. The
// drawing's extents are fitted to the picture with its aspect kept. On failure returns false with a
// message naming the file.
bool solxPlotDrawing(AcDbDatabase* db, const std::string& path, const SolxPlotOptions& options,
                     SolxPlotReport& report, std::string& error);
bool solxPlotDrawing(AcDbDatabase* db, const std::string& path, std::string& error);
