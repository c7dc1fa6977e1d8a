// What a picture is made of, in world plan coordinates: strokes, text labels, dots and filled
// areas, each with
// its final colour. Built from the database by BuildScene, drawn by the renderer.
#pragma once

#include <string>
#include <vector>

#include "acad/acdb.h"

struct _cairo;

namespace solx::plot {

struct Rgb {
    double r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Stroke {
    std::vector<AcGePoint2d> points;
    bool closed = false;
    Rgb colour;
};

// One line of text. `along` runs along the baseline with the length of one text height times
// the width factor, `up` across it with the length of one text height; the anchor is the point
// the horizontal and vertical modes hang the text on. For aligned and fitted texts the anchor is
// the baseline's start and fitLength its length.
struct Label {
    std::wstring text;
    AcGePoint2d anchor;
    AcGeVector2d along, up;
    AcDb::TextHorzMode horz = AcDb::kTextLeft;
    AcDb::TextVertMode vert = AcDb::kTextBase;
    double fitLength = 0;
    Rgb colour;
};

// A filled area (a region): rings of one or more polygons, holes included, filled by the
// even-odd rule so that a hole stays open. Drawn translucent under the lines.
struct Fill {
    std::vector<std::vector<AcGePoint2d>> rings;
    Rgb colour;
    // Regions are translucent, so that the areas of several moments laid over each other all
    // show; solid hatches (coloured cells of a map) are nearly opaque.
    double alpha = 0.3;
};

struct Dot {
    AcGePoint2d at;
    Rgb colour;
};

// The items one model-space entity put into a scene (blocks exploded): the first index of each
// list; the entity's items run up to the next owner's first indices.
struct Owner {
    AcDbObjectId id;
    size_t strokes = 0, labels = 0, dots = 0, fills = 0;
};

struct Scene {
    std::vector<Stroke> strokes;
    std::vector<Label> labels;
    std::vector<Dot> dots;
    std::vector<Fill> fills;
    std::vector<Owner> owners;  // in model-space order
    bool cutShort = false;      // the drawing had more to draw than a picture takes (nested blocks)
    // The box around everything (texts estimated from their length); false when empty.
    bool extents(AcGePoint2d& lo, AcGePoint2d& hi) const;
};

// The plan of db's model space, blocks exploded. Hidden entities and entities on off or frozen
// layers are left out.
// Entities drawn through blocks are limited to maxBlockEntities (model space is always drawn
// whole); a scene that reached the limit says so in cutShort.
inline constexpr size_t kMaxBlockEntities = 1'000'000;
Scene BuildScene(const AcDbDatabase& db, size_t maxBlockEntities = kMaxBlockEntities);

// Where the plan lands on a raster: world (x, y) is pixel (offsetX + x * scale,
// offsetY - y * scale); y runs down on the raster.
struct PlanView {
    double scale = 1, offsetX = 0, offsetY = 0;
    int width = 0, height = 0;
    double X(double x) const { return offsetX + x * scale; }
    double Y(double y) const { return offsetY - y * scale; }
};

// Indices into a scene's lists, for drawing part of it.
struct SceneItems {
    std::vector<size_t> fills, strokes, dots, labels;
};

struct DrawStats {
    size_t missingGlyphs = 0;  // characters no font has a glyph for
    size_t greekedLabels = 0;  // texts too small to read, drawn as a bar
};

// Paints the background white and draws the scene (only the listed items when `only` is given)
// onto cr through view: fills, strokes, dots, then labels, as every plan picture shows them.
// The picture files and the desktop plan view both draw with this.
void DrawScene(_cairo* cr, const PlanView& view, const Scene& scene, const SceneItems* only,
               DrawStats& stats);

// Adds the last tip window shown in this session (mfc/TipView.h), beside its point.
void AddLastTip(Scene& scene);

// The colour of an index of the 255-colour palette; 7 (white on a dark screen) is black here
// because pictures have a white background. Indices outside 1..255 are black.
Rgb AciColour(int index);

// The text as it reads: %%d, %%p, %%c become their symbols, %%% a percent sign, and the
// underline and overline switches (%%u, %%o) are dropped.
std::wstring DisplayText(const std::wstring& text);

// The lines of a multi-line text as they read: paragraph breaks (\P) split it, formatting codes
// (\f, \H, \C, braces, ...) are dropped, stacked fractions read "a/b", %% codes become their
// symbols; with wrapUnits > 0 lines are wrapped at that many text heights (an estimate).
std::vector<std::wstring> MTextLines(const std::wstring& raw, double wrapUnits = 0);

}  // namespace solx::plot
