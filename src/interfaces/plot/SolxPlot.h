// Pictures of a drawing: the plan (top view) of model space drawn to an SVG or PNG file, so that
// a person can look at a drawing without a CAD program.
#pragma once

#include <cstddef>
#include <string>

class AcDbDatabase;

struct SolxPlotOptions {
    int widthPixels = 1600;  // the picture's width; the height follows the drawing's aspect
    int marginPixels = 24;   // white border around the drawing's extents
};

struct SolxPlotReport {
    int widthPixels = 0, heightPixels = 0;
    size_t strokes = 0, labels = 0, dots = 0;  // what was drawn, after exploding blocks
    size_t missingGlyphs = 0;  // characters the font has no glyph for (drawn as boxes)
    bool cutShort = false;     // blocks nested so deep that only part of them was drawn
};

// Draws the model space of db to path: ".svg" writes a vector picture, ".png" a raster one
// (the extension decides, case-insensitively). Lines, polylines with arcs, circles, arcs,
// 3D faces as their plan outline, points, hatch boundaries, texts (Chinese included) and block
// references with their attributes, coloured by colour index with ByLayer and ByBlock resolved;
// entities on hidden, off or frozen layers are left out. The drawing's extents are fitted to
// the picture with its aspect kept. On failure returns false with a message naming the file.
bool solxPlotDrawing(AcDbDatabase* db, const std::string& path, const SolxPlotOptions& options,
                     SolxPlotReport& report, std::string& error);
bool solxPlotDrawing(AcDbDatabase* db, const std::string& path, std::string& error);
