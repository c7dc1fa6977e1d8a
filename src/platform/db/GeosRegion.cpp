#include "db/GeosRegion.h"

#include "acad/AcDbRegionOps.h"

#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <memory>
#include <vector>

namespace solx::db {

namespace {

// One GEOS context per thread; errors are noted, not printed, and checked after each call.
struct Context {
    GEOSContextHandle_t handle;
    bool failed = false;
    std::vector<double> buffer;  // coordinates on their way in and out, reused
    Context() {
        handle = GEOS_init_r();
        GEOSContext_setErrorMessageHandler_r(handle, &Context::onError, this);
        GEOSContext_setNoticeMessageHandler_r(handle, &Context::onNotice, this);
    }
    ~Context() { GEOS_finish_r(handle); }
    static void onError(const char*, void* self) { static_cast<Context*>(self)->failed = true; }
    static void onNotice(const char*, void*) {}
};

Context& context() {
    thread_local Context c;
    return c;
}

struct GeomDeleter {
    void operator()(GEOSGeometry* g) const {
        if (g) GEOSGeom_destroy_r(context().handle, g);
    }
};
using Geom = std::unique_ptr<GEOSGeometry, GeomDeleter>;

GEOSGeometry* makeRing(const AcDbRegionRing& ring) {
    Context& c = context();
    const size_t n = ring.size();
    c.buffer.resize(2 * (n + 1));
    for (size_t i = 0; i <= n; ++i) {
        c.buffer[2 * i] = ring[i % n].x;
        c.buffer[2 * i + 1] = ring[i % n].y;
    }
    GEOSCoordSequence* seq = GEOSCoordSeq_copyFromBuffer_r(c.handle, c.buffer.data(),
                                                           static_cast<unsigned>(n + 1), 0, 0);
    return seq ? GEOSGeom_createLinearRing_r(c.handle, seq) : nullptr;
}

// A ring spans an area when it has three points off one line (a bow tie's signed area is 0, yet
// it encloses two triangles, so the shoelace sum cannot decide).
bool usable(const AcDbRegionRing& ring) {
    for (size_t i = 1; i < ring.size(); ++i) {
        AcGeVector2d u = ring[i] - ring[0];
        if (u.length() == 0) continue;
        for (size_t j = i + 1; j < ring.size(); ++j) {
            AcGeVector2d v = ring[j] - ring[0];
            if (std::fabs(u.x * v.y - u.y * v.x) > 1e-12 * (u.length() * v.length())) return true;
        }
        return false;
    }
    return false;
}

// The polygon of an outer ring and its holes; null for an outer ring of fewer than 3 points.
GEOSGeometry* makePolygon(const AcDbRegionPolygon& poly, bool onlyUsableHoles) {
    GEOSContextHandle_t h = context().handle;
    if (poly.outer.size() < 3) return nullptr;
    std::vector<GEOSGeometry*> holes;
    holes.reserve(poly.holes.size());
    for (const AcDbRegionRing& hole : poly.holes)
        if (hole.size() >= 3 && (!onlyUsableHoles || usable(hole)))
            if (GEOSGeometry* r = makeRing(hole)) holes.push_back(r);
    GEOSGeometry* outer = makeRing(poly.outer);
    if (!outer) {
        for (GEOSGeometry* r : holes) GEOSGeom_destroy_r(h, r);
        return nullptr;
    }
    return GEOSGeom_createPolygon_r(h, outer, holes.data(), static_cast<unsigned>(holes.size()));
}

Geom makeGeometry(const std::vector<AcDbRegionPolygon>& polys) {
    GEOSContextHandle_t h = context().handle;
    std::vector<GEOSGeometry*> parts;
    for (const auto& p : polys)
        if (usable(p.outer))
            if (GEOSGeometry* g = makePolygon(p, true)) parts.push_back(g);
    Geom collection(GEOSGeom_createCollection_r(h, GEOS_MULTIPOLYGON, parts.data(),
                                                static_cast<unsigned>(parts.size())));
    if (!collection) return nullptr;
    // Rings that cross themselves or each other are repaired, then overlaps merged.
    Geom valid(GEOSisValid_r(h, collection.get()) == 1 ? GEOSGeom_clone_r(h, collection.get())
                                                       : GEOSMakeValid_r(h, collection.get()));
    return Geom(valid ? GEOSUnaryUnion_r(h, valid.get()) : nullptr);
}

AcDbRegionRing readRing(const GEOSGeometry* ring) {
    Context& c = context();
    const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(c.handle, ring);
    unsigned n = 0;
    if (!seq || !GEOSCoordSeq_getSize_r(c.handle, seq, &n) || n < 4) return {};
    c.buffer.resize(2 * static_cast<size_t>(n));
    GEOSCoordSeq_copyToBuffer_r(c.handle, seq, c.buffer.data(), 0, 0);
    AcDbRegionRing out;
    out.reserve(n - 1);
    for (unsigned i = 0; i + 1 < n; ++i)  // the closing point is implied
        out.emplace_back(c.buffer[2 * i], c.buffer[2 * i + 1]);
    return out;
}

void orient(AcDbRegionRing& ring, bool counterClockwise) {
    if ((AcDbRegionRingArea(ring) > 0) != counterClockwise) std::reverse(ring.begin(), ring.end());
}

void collectPolygons(const GEOSGeometry* g, double minArea, std::vector<AcDbRegionPolygon>& out) {
    GEOSContextHandle_t h = context().handle;
    int type = GEOSGeomTypeId_r(h, g);
    if (type == GEOS_POLYGON) {
        double area = 0;
        GEOSArea_r(h, g, &area);
        if (area <= minArea) return;  // sliver
        AcDbRegionPolygon p{readRing(GEOSGetExteriorRing_r(h, g)), {}};
        if (p.outer.size() < 3) return;
        orient(p.outer, true);
        for (int i = 0; i < GEOSGetNumInteriorRings_r(h, g); ++i) {
            AcDbRegionRing hole = readRing(GEOSGetInteriorRingN_r(h, g, i));
            if (hole.size() < 3 || std::fabs(AcDbRegionRingArea(hole)) <= minArea) continue;
            orient(hole, false);
            p.holes.push_back(std::move(hole));
        }
        out.push_back(std::move(p));
    } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
        for (int i = 0; i < GEOSGetNumGeometries_r(h, g); ++i)
            collectPolygons(GEOSGetGeometryN_r(h, g, i), minArea, out);
    }
}

// Pieces below this area are rounding debris: a millionth of a millionth of the inputs' box.
double sliverArea(const std::vector<AcDbRegionPolygon>& a,
                  const std::vector<AcDbRegionPolygon>& b) {
    double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
    for (const auto* set : {&a, &b})
        for (const auto& p : *set)
            for (const auto& q : p.outer) {
                lo[0] = std::min(lo[0], q.x), lo[1] = std::min(lo[1], q.y);
                hi[0] = std::max(hi[0], q.x), hi[1] = std::max(hi[1], q.y);
            }
    double size = std::max(hi[0] - lo[0], hi[1] - lo[1]);
    return std::isfinite(size) ? size * size * 1e-12 : 0;
}

// The union, or null when GEOS fails or returns an invalid result.
Geom unionOf(const GEOSGeometry* collection) {
    Context& c = context();
    Geom u(GEOSUnaryUnion_r(c.handle, collection));
    if (!u || c.failed || GEOSisValid_r(c.handle, u.get()) != 1) return nullptr;
    return u;
}

std::optional<std::vector<AcDbRegionPolygon>> result(const GEOSGeometry* g, double minArea) {
    if (!g || context().failed) return std::nullopt;
    std::vector<AcDbRegionPolygon> out;
    collectPolygons(g, minArea, out);
    return out;
}

}  // namespace

std::optional<std::vector<AcDbRegionPolygon>> normalisePolygons(
    const std::vector<AcDbRegionPolygon>& in) {
    context().failed = false;
    Geom g = makeGeometry(in);
    return result(g.get(), sliverArea(in, {}));
}

std::optional<std::vector<AcDbRegionPolygon>> polygonBoolean(
    const std::vector<AcDbRegionPolygon>& a, const std::vector<AcDbRegionPolygon>& b,
    AcDb::BoolOperType op) {
    context().failed = false;
    GEOSContextHandle_t h = context().handle;
    Geom ga = makeGeometry(a), gb = makeGeometry(b);
    if (!ga || !gb) return std::nullopt;
    Geom r(op == AcDb::kBoolUnite       ? GEOSUnion_r(h, ga.get(), gb.get())
           : op == AcDb::kBoolIntersect ? GEOSIntersection_r(h, ga.get(), gb.get())
                                        : GEOSDifference_r(h, ga.get(), gb.get()));
    return result(r.get(), sliverArea(a, b));
}

}  // namespace solx::db

namespace solx::region {

using namespace solx::db;

bool UnitePolygons(const std::vector<const AcDbRegionPolygon*>& polygons, double minArea,
                   std::vector<AcDbRegionPolygon>& out) {
    out.clear();
    if (polygons.empty()) return true;
    Context& c = context();
    c.failed = false;
    std::vector<GEOSGeometry*> parts;
    parts.reserve(polygons.size());
    for (const AcDbRegionPolygon* p : polygons)
        if (GEOSGeometry* g = makePolygon(*p, false)) parts.push_back(g);
    Geom collection(GEOSGeom_createCollection_r(c.handle, GEOS_MULTIPOLYGON, parts.data(),
                                                static_cast<unsigned>(parts.size())));
    if (!collection) return false;
    Geom u = unionOf(collection.get());
    if (!u) {
        // An input that was not valid after all: repair the pieces and try once more.
        c.failed = false;
        Geom repaired(GEOSMakeValid_r(c.handle, collection.get()));
        if (repaired && !c.failed) u = unionOf(repaired.get());
    }
    if (!u) return false;
    collectPolygons(u.get(), minArea, out);
    return true;
}

std::vector<AcDbRegionPolygon> RepairRing(const AcDbRegionRing& ring) {
    Context& c = context();
    c.failed = false;
    std::vector<AcDbRegionPolygon> out;
    AcDbRegionPolygon poly{ring, {}};
    Geom g(makePolygon(poly, false));
    if (!g || c.failed) return out;
    if (GEOSisValid_r(c.handle, g.get()) == 1) {
        orient(poly.outer, true);
        out.push_back(std::move(poly));
        return out;
    }
    Geom valid(GEOSMakeValid_r(c.handle, g.get()));
    if (valid && !c.failed) collectPolygons(valid.get(), 0.0, out);
    return out;
}

}  // namespace solx::region

namespace solx::region {

namespace {

Geom makePaths(const std::vector<AcDbRegionPath>& paths) {
    Context& c = context();
    std::vector<GEOSGeometry*> parts;
    parts.reserve(paths.size());
    for (const AcDbRegionPath& path : paths) {
        if (path.size() < 2) continue;
        c.buffer.resize(2 * path.size());
        for (size_t i = 0; i < path.size(); ++i) {
            c.buffer[2 * i] = path[i].x;
            c.buffer[2 * i + 1] = path[i].y;
        }
        GEOSCoordSequence* seq = GEOSCoordSeq_copyFromBuffer_r(
            c.handle, c.buffer.data(), static_cast<unsigned>(path.size()), 0, 0);
        if (GEOSGeometry* line = seq ? GEOSGeom_createLineString_r(c.handle, seq) : nullptr)
            parts.push_back(line);
    }
    return Geom(GEOSGeom_createCollection_r(c.handle, GEOS_MULTILINESTRING, parts.data(),
                                            static_cast<unsigned>(parts.size())));
}

Geom makeSegments(const std::vector<AcDbRegionSegment>& segments) {
    Context& c = context();
    std::vector<GEOSGeometry*> parts;
    parts.reserve(segments.size());
    for (const AcDbRegionSegment& s : segments) {
        const double xy[4] = {s.start.x, s.start.y, s.end.x, s.end.y};
        GEOSCoordSequence* seq = GEOSCoordSeq_copyFromBuffer_r(c.handle, xy, 2, 0, 0);
        if (GEOSGeometry* line = seq ? GEOSGeom_createLineString_r(c.handle, seq) : nullptr)
            parts.push_back(line);
    }
    return Geom(GEOSGeom_createCollection_r(c.handle, GEOS_MULTILINESTRING, parts.data(),
                                            static_cast<unsigned>(parts.size())));
}

// The segments of every line of a (multi)line geometry.
void collectSegments(const GEOSGeometry* g, std::vector<AcDbRegionSegment>& out) {
    Context& c = context();
    const int type = GEOSGeomTypeId_r(c.handle, g);
    if (type == GEOS_LINESTRING || type == GEOS_LINEARRING) {
        const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(c.handle, g);
        unsigned n = 0;
        if (!seq || !GEOSCoordSeq_getSize_r(c.handle, seq, &n) || n < 2) return;
        c.buffer.resize(2 * static_cast<size_t>(n));
        GEOSCoordSeq_copyToBuffer_r(c.handle, seq, c.buffer.data(), 0, 0);
        for (unsigned i = 0; i + 1 < n; ++i) {
            const AcGePoint2d a(c.buffer[2 * i], c.buffer[2 * i + 1]);
            const AcGePoint2d b(c.buffer[2 * i + 2], c.buffer[2 * i + 3]);
            if (a.x != b.x || a.y != b.y) out.push_back(AcDbRegionSegment{a, b});
        }
    } else if (type == GEOS_MULTILINESTRING || type == GEOS_GEOMETRYCOLLECTION) {
        for (int i = 0; i < GEOSGetNumGeometries_r(c.handle, g); ++i)
            collectSegments(GEOSGetGeometryN_r(c.handle, g, i), out);
    }
}

bool readPoint(const GEOSGeometry* point, AcGePoint2d& at) {
    GEOSContextHandle_t h = context().handle;
    if (!point || GEOSisEmpty_r(h, point) != 0) return false;
    return GEOSGeomGetX_r(h, point, &at.x) == 1 && GEOSGeomGetY_r(h, point, &at.y) == 1;
}

// The noding grid relative to the size of the line work (and its distance from the origin).
constexpr double kNodingGrid = 1e-10;

bool (*g_stop)() = nullptr;
bool g_interrupted = false;

void pollStop() {
    if (g_stop && !g_interrupted && g_stop()) {
        g_interrupted = true;
        GEOS_interruptRequest();
    }
}

}  // namespace

bool NodePaths(const std::vector<AcDbRegionPath>& paths, std::vector<AcDbRegionSegment>& out,
               double grid) {
    out.clear();
    Context& c = context();
    c.failed = false;
    Geom lines = makePaths(paths);
    if (!lines) return false;
    // Snap-rounding on a grid far below any drawn detail: plain floating noding iterates, and
    // on the many nearly parallel edges of shadows a few minutes apart it may never settle.
    double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
    for (const AcDbRegionPath& path : paths)
        for (const AcGePoint2d& p : path) {
            lo[0] = std::min(lo[0], p.x), lo[1] = std::min(lo[1], p.y);
            hi[0] = std::max(hi[0], p.x), hi[1] = std::max(hi[1], p.y);
        }
    const double size = std::max({hi[0] - lo[0], hi[1] - lo[1], std::fabs(lo[0]), std::fabs(lo[1]),
                                  std::fabs(hi[0]), std::fabs(hi[1])});
    if (!std::isfinite(size)) return true;  // no line work
    Geom noded(GEOSUnaryUnionPrec_r(c.handle, lines.get(), grid > 0 ? grid : size * kNodingGrid));
    if (!noded || c.failed) return false;
    collectSegments(noded.get(), out);
    return true;
}

bool PolygonizeSegments(const std::vector<AcDbRegionSegment>& noded,
                        std::vector<AcDbRegionPolygon>& faces, std::vector<AcGePoint2d>* inside) {
    faces.clear();
    if (inside) inside->clear();
    Context& c = context();
    c.failed = false;
    Geom lines = makeSegments(noded);
    if (!lines) return false;
    const GEOSGeometry* input = lines.get();
    Geom all(GEOSPolygonize_r(c.handle, &input, 1));
    if (!all || c.failed) return false;
    const int n = GEOSGetNumGeometries_r(c.handle, all.get());
    faces.reserve(n);
    for (int i = 0; i < n; ++i) {
        const GEOSGeometry* face = GEOSGetGeometryN_r(c.handle, all.get(), i);
        const size_t before = faces.size();
        collectPolygons(face, 0.0, faces);
        if (faces.size() == before || !inside) continue;
        Geom point(GEOSPointOnSurface_r(c.handle, face));
        AcGePoint2d at;
        if (!readPoint(point.get(), at)) {
            faces.pop_back();  // a face too thin to hold a point has no sunlight of its own
            continue;
        }
        inside->push_back(at);
    }
    return !c.failed;
}

bool InteriorPoint(const AcDbRegionPolygon& polygon, AcGePoint2d& at) {
    Context& c = context();
    c.failed = false;
    if (!usable(polygon.outer)) return false;
    Geom g(makePolygon(polygon, false));
    if (!g) return false;
    Geom point(GEOSPointOnSurface_r(c.handle, g.get()));
    return !c.failed && readPoint(point.get(), at);
}

InterruptScope::InterruptScope(bool (*stop)()) {
    g_stop = stop;
    g_interrupted = false;
    GEOS_interruptRegisterCallback(&pollStop);
}

InterruptScope::~InterruptScope() {
    GEOS_interruptRegisterCallback(nullptr);
    GEOS_interruptCancel();
    g_stop = nullptr;
}

bool InterruptScope::Interrupted() const {
    return g_interrupted;
}

}  // namespace solx::region
