// The plan's grid index: every item's box goes into the cells it covers; items covering more
// than kMaxCellsPerItem cells are kept aside and tested on every query instead.
#include "PlanIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace solx::plot {
namespace {

constexpr long kMaxCellsPerItem = 64;
constexpr long kMaxSide = 2048;

// A text's box without fonts: as long as one text height per character (wide glyphs are about
// that, narrow ones less) either way along its baseline, the alignment being unknown here, and
// one and a half heights across.
Box LabelBox(const Label& l) {
    const double length = static_cast<double>(l.text.size()) * l.along.length();
    const double reach = length + 1.5 * l.up.length();
    if (!std::isfinite(reach)) return {};
    Box b;
    b.add(l.anchor.x - reach, l.anchor.y - reach);
    b.add(l.anchor.x + reach, l.anchor.y + reach);
    return b;
}

double SegmentDistance(const AcGePoint2d& p, const AcGePoint2d& a, const AcGePoint2d& b) {
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double BoxDistance(const AcGePoint2d& p, const Box& b) {
    const double dx = std::max({b.x0 - p.x, 0.0, p.x - b.x1});
    const double dy = std::max({b.y0 - p.y, 0.0, p.y - b.y1});
    return std::hypot(dx, dy);
}

}  // namespace

void Box::add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (empty()) {
        x0 = x1 = x, y0 = y1 = y;
        return;
    }
    x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
}

PlanIndex::PlanIndex(const Scene& scene) : scene_(scene) {
    for (const Fill& f : scene.fills) {
        Box b;
        for (const auto& ring : f.rings)
            for (const auto& p : ring) b.add(p.x, p.y);
        boxes_[kFill].push_back(b);
    }
    for (const Stroke& s : scene.strokes) {
        Box b;
        for (const auto& p : s.points) b.add(p.x, p.y);
        boxes_[kStroke].push_back(b);
    }
    for (const Dot& d : scene.dots) {
        Box b;
        b.add(d.at.x, d.at.y);
        boxes_[kDot].push_back(b);
    }
    for (const Label& l : scene.labels) boxes_[kLabel].push_back(LabelBox(l));
    size_t count = 0;
    for (const auto& list : boxes_) {
        count += list.size();
        for (const Box& b : list)
            if (!b.empty()) extents_.add(b.x0, b.y0), extents_.add(b.x1, b.y1);
    }
    if (extents_.empty()) return;
    // About two items a cell on a square grid.
    const double w = std::max(extents_.x1 - extents_.x0, 1e-9);
    const double h = std::max(extents_.y1 - extents_.y0, 1e-9);
    cellSize_ =
        std::max(std::sqrt(w * h * 2 / std::max<size_t>(count, 1)), std::max(w, h) / kMaxSide);
    columns_ = std::clamp(static_cast<long>(w / cellSize_) + 1, 1L, kMaxSide);
    rows_ = std::clamp(static_cast<long>(h / cellSize_) + 1, 1L, kMaxSide);
    cells_.resize(static_cast<size_t>(columns_ * rows_));
    for (uint32_t k = 0; k < 4; ++k) {
        seen_[k].assign(boxes_[k].size(), 0);
        for (size_t i = 0; i < boxes_[k].size(); ++i)
            if (!boxes_[k][i].empty()) Insert(static_cast<Kind>(k), i, boxes_[k][i]);
    }
}

void PlanIndex::CellRange(const Box& b, long& c0, long& r0, long& c1, long& r1) const {
    auto cell = [&](double v, double origin, long limit) {
        const double c = std::floor((v - origin) / cellSize_);
        return static_cast<long>(std::clamp(c, 0.0, static_cast<double>(limit - 1)));
    };
    c0 = cell(b.x0, extents_.x0, columns_), c1 = cell(b.x1, extents_.x0, columns_);
    r0 = cell(b.y0, extents_.y0, rows_), r1 = cell(b.y1, extents_.y0, rows_);
}

void PlanIndex::Insert(Kind kind, size_t index, const Box& box) {
    long c0, r0, c1, r1;
    CellRange(box, c0, r0, c1, r1);
    const Ref ref{kind, static_cast<uint32_t>(index)};
    if ((c1 - c0 + 1) * (r1 - r0 + 1) > kMaxCellsPerItem) {
        large_.push_back(ref);
        return;
    }
    for (long r = r0; r <= r1; ++r)
        for (long c = c0; c <= c1; ++c)
            cells_[static_cast<size_t>(r * columns_ + c)].push_back(ref);
}

// Calls f(kind, index) once for every item whose box meets area.
template <typename F>
void PlanIndex::Visit(const Box& area, F f) const {
    if (extents_.empty() || area.empty() || !area.meets(extents_)) return;
    if (++stamp_ == 0) {  // the stamp wrapped: forget every mark
        for (auto& marks : seen_) std::fill(marks.begin(), marks.end(), 0);
        stamp_ = 1;
    }
    auto offer = [&](const Ref& ref) {
        uint32_t& mark = seen_[ref.kind][ref.index];
        if (mark == stamp_) return;
        mark = stamp_;
        if (boxes_[ref.kind][ref.index].meets(area)) f(ref.kind, static_cast<size_t>(ref.index));
    };
    for (const Ref& ref : large_) offer(ref);
    long c0, r0, c1, r1;
    CellRange(area, c0, r0, c1, r1);
    for (long r = r0; r <= r1; ++r)
        for (long c = c0; c <= c1; ++c)
            for (const Ref& ref : cells_[static_cast<size_t>(r * columns_ + c)]) offer(ref);
}

SceneItems PlanIndex::Query(const Box& area) const {
    SceneItems items;
    std::vector<size_t>* lists[4] = {&items.fills, &items.strokes, &items.dots, &items.labels};
    Visit(area, [&](Kind kind, size_t index) { lists[kind]->push_back(index); });
    for (auto* list : lists) std::sort(list->begin(), list->end());
    return items;
}

SceneItems PlanIndex::Query(const Box& area, double tiny, std::vector<Speck>& specks) const {
    SceneItems items;
    std::vector<size_t>* lists[4] = {&items.fills, &items.strokes, &items.dots, &items.labels};
    specks.clear();
    Visit(area, [&](Kind kind, size_t index) {
        const Box& b = boxes_[kind][index];
        // A label's box is made generous for hit tests; its size here is its own length.
        const double size = kind == kLabel ? static_cast<double>(scene_.labels[index].text.size()) *
                                                 std::max(scene_.labels[index].along.length(),
                                                          scene_.labels[index].up.length())
                                           : std::max(b.x1 - b.x0, b.y1 - b.y0);
        if (kind == kDot || size >= tiny) return lists[kind]->push_back(index);
        const AcGePoint2d centre((b.x0 + b.x1) / 2, (b.y0 + b.y1) / 2);
        if (kind == kStroke) return specks.push_back({centre, scene_.strokes[index].colour});
        if (kind == kLabel) return specks.push_back({centre, scene_.labels[index].colour});
        // A translucent fill over white.
        const Fill& f = scene_.fills[index];
        const auto over = [&f](double c) { return 1 - f.alpha + f.alpha * c; };
        specks.push_back({centre, {over(f.colour.r), over(f.colour.g), over(f.colour.b)}});
    });
    for (auto* list : lists) std::sort(list->begin(), list->end());
    return items;
}

size_t PlanIndex::OwnerOf(Kind kind, size_t index) const {
    auto first = [kind](const Owner& o) {
        return kind == kFill     ? o.fills
               : kind == kStroke ? o.strokes
               : kind == kDot    ? o.dots
                                 : o.labels;
    };
    // The last owner whose first item of this kind is at or before index.
    auto it = std::upper_bound(scene_.owners.begin(), scene_.owners.end(), index,
                               [&](size_t i, const Owner& o) { return i < first(o); });
    return it == scene_.owners.begin() ? 0 : static_cast<size_t>(it - scene_.owners.begin() - 1);
}

std::vector<size_t> PlanIndex::Window(const Box& area, bool crossing) const {
    std::vector<size_t> owners;
    if (scene_.owners.empty()) return owners;
    Visit(area, [&](Kind kind, size_t index) { owners.push_back(OwnerOf(kind, index)); });
    std::sort(owners.begin(), owners.end());
    owners.erase(std::unique(owners.begin(), owners.end()), owners.end());
    if (crossing) return owners;
    std::erase_if(owners, [&](size_t owner) {
        const SceneItems items = ItemsOf({owner});
        const std::vector<size_t>* lists[4] = {&items.fills, &items.strokes, &items.dots,
                                               &items.labels};
        for (uint32_t k = 0; k < 4; ++k)
            for (size_t i : *lists[k])
                if (!boxes_[k][i].empty() && !boxes_[k][i].inside(area)) return true;
        return false;
    });
    return owners;
}

long PlanIndex::Pick(const AcGePoint2d& p, double aperture) const {
    Box area;
    area.add(p.x - aperture, p.y - aperture);
    area.add(p.x + aperture, p.y + aperture);
    double best = std::numeric_limits<double>::infinity();
    long owner = -1;
    Visit(area, [&](Kind kind, size_t index) {
        double d = BoxDistance(p, boxes_[kind][index]);
        if (kind == kStroke) {
            const Stroke& s = scene_.strokes[index];
            d = std::numeric_limits<double>::infinity();
            for (size_t i = 0; i + 1 < s.points.size(); ++i)
                d = std::min(d, SegmentDistance(p, s.points[i], s.points[i + 1]));
            if (s.closed && s.points.size() > 2)
                d = std::min(d, SegmentDistance(p, s.points.back(), s.points.front()));
        }
        if (d <= aperture && d < best) best = d, owner = static_cast<long>(OwnerOf(kind, index));
    });
    return scene_.owners.empty() ? -1 : owner;
}

SceneItems PlanIndex::ItemsOf(const std::vector<size_t>& owners) const {
    SceneItems items;
    const auto& all = scene_.owners;
    for (size_t o : owners) {
        if (o >= all.size()) continue;
        const bool last = o + 1 == all.size();
        auto range = [&](size_t from, size_t next, size_t total, std::vector<size_t>& out) {
            for (size_t i = from; i < (last ? total : next); ++i) out.push_back(i);
        };
        range(all[o].fills, last ? 0 : all[o + 1].fills, scene_.fills.size(), items.fills);
        range(all[o].strokes, last ? 0 : all[o + 1].strokes, scene_.strokes.size(), items.strokes);
        range(all[o].dots, last ? 0 : all[o + 1].dots, scene_.dots.size(), items.dots);
        range(all[o].labels, last ? 0 : all[o + 1].labels, scene_.labels.size(), items.labels);
    }
    return items;
}

}  // namespace solx::plot
