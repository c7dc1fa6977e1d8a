// A uniform grid over the boxes of a scene's items, so that a view of part of a large plan draws
// and hit-tests only what it shows, and the entity (owner) behind each item.
#pragma once

#include <cstdint>
#include <vector>

#include "PlotScene.h"

namespace solx::plot {

struct Box {
    double x0 = 0, y0 = 0, x1 = -1, y1 = -1;  // empty while x1 < x0
    bool empty() const { return x1 < x0; }
    void add(double x, double y);
    bool meets(const Box& o) const { return x0 <= o.x1 && o.x0 <= x1 && y0 <= o.y1 && o.y0 <= y1; }
    bool inside(const Box& o) const { return x0 >= o.x0 && x1 <= o.x1 && y0 >= o.y0 && y1 <= o.y1; }
};

// An item too small to draw at a view's scale: one pixel of its colour where it is.
struct Speck {
    AcGePoint2d at;
    Rgb colour;
};

class PlanIndex {
public:
    // The scene must outlive the index and stay unchanged.
    explicit PlanIndex(const Scene& scene);

    // The items whose boxes meet area, each once, in scene order within each list.
    SceneItems Query(const Box& area) const;
    // Level of detail: as Query, but the fills, strokes and labels smaller than `tiny` (drawing
    // units, about a pixel of the view) in both directions are not listed; each is one speck
    // (its box's centre, its colour) instead. Dots are always listed.
    SceneItems Query(const Box& area, double tiny, std::vector<Speck>& specks) const;
    // The owners (indices into scene.owners) of a window selection: with crossing, every owner
    // with an item whose box meets area; without, the owners all of whose items lie inside it.
    std::vector<size_t> Window(const Box& area, bool crossing) const;
    // The owner of the item nearest to p within aperture (drawing units): strokes by their
    // segments, other items by their boxes; -1 when none is that close.
    long Pick(const AcGePoint2d& p, double aperture) const;
    // The items of the listed owners.
    SceneItems ItemsOf(const std::vector<size_t>& owners) const;
    // The box around everything indexed (empty for an empty scene).
    const Box& Extents() const { return extents_; }

private:
    enum Kind : uint32_t { kFill, kStroke, kDot, kLabel };
    struct Ref {
        Kind kind;
        uint32_t index;
    };
    void Insert(Kind kind, size_t index, const Box& box);
    size_t OwnerOf(Kind kind, size_t index) const;
    void CellRange(const Box& b, long& c0, long& r0, long& c1, long& r1) const;
    template <typename F>
    void Visit(const Box& area, F f) const;

    const Scene& scene_;
    std::vector<Box> boxes_[4];
    Box extents_;
    double cellSize_ = 1;
    long columns_ = 1, rows_ = 1;
    std::vector<std::vector<Ref>> cells_;
    std::vector<Ref> large_;  // items spanning many cells: tested on every query
    mutable std::vector<uint32_t> seen_[4];
    mutable uint32_t stamp_ = 0;
};

}  // namespace solx::plot
