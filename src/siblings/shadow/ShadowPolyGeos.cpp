#include "ShadowPolyGeos.h"

#include <geos_c.h>

#include <algorithm>
#include <memory>

#include "ShadowPolyBuild.h"

namespace shadow {

namespace {

// One GEOS context per thread; errors are noted, not printed, and checked after each call.
struct Context {
    GEOSContextHandle_t handle;
    bool failed = false;
    std::vector<double> buffer;  // coordinates on their way in or out, reused
    Context() {
        handle = GEOS_init_r();
        GEOSContext_setErrorMessageHandler_r(handle, &Context::OnError, this);
        GEOSContext_setNoticeMessageHandler_r(handle, &Context::OnNotice, this);
    }
    ~Context() { GEOS_finish_r(handle); }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    static void OnError(const char*, void* self) { static_cast<Context*>(self)->failed = true; }
    static void OnNotice(const char*, void*) {}
};

Context& Ctx() {
    thread_local Context c;
    return c;
}

struct GeomDeleter {
    void operator()(GEOSGeometry* g) const {
        if (g) GEOSGeom_destroy_r(Ctx().handle, g);
    }
};
using Geom = std::unique_ptr<GEOSGeometry, GeomDeleter>;

GEOSGeometry* MakeRing(const AcDbRegionRing& ring) {
    Context& c = Ctx();
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

GEOSGeometry* MakePolygon(const AcDbRegionPolygon& poly) {
    GEOSContextHandle_t h = Ctx().handle;
    if (poly.outer.size() < 3) return nullptr;
    std::vector<GEOSGeometry*> holes;
    holes.reserve(poly.holes.size());
    for (const AcDbRegionRing& hole : poly.holes)
        if (hole.size() >= 3)
            if (GEOSGeometry* r = MakeRing(hole)) holes.push_back(r);
    GEOSGeometry* outer = MakeRing(poly.outer);
    if (!outer) {
        for (GEOSGeometry* r : holes) GEOSGeom_destroy_r(h, r);
        return nullptr;
    }
    return GEOSGeom_createPolygon_r(h, outer, holes.data(), static_cast<unsigned>(holes.size()));
}

Geom MakeCollection(const std::vector<const AcDbRegionPolygon*>& polygons) {
    std::vector<GEOSGeometry*> parts;
    parts.reserve(polygons.size());
    for (const AcDbRegionPolygon* p : polygons)
        if (GEOSGeometry* g = MakePolygon(*p)) parts.push_back(g);
    return Geom(GEOSGeom_createCollection_r(Ctx().handle, GEOS_MULTIPOLYGON, parts.data(),
                                            static_cast<unsigned>(parts.size())));
}

AcDbRegionRing ReadRing(const GEOSGeometry* ring) {
    Context& c = Ctx();
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

void Orient(AcDbRegionRing& ring, bool counterClockwise) {
    if ((AcDbRegionRingArea(ring) > 0) != counterClockwise) std::reverse(ring.begin(), ring.end());
}

void Collect(const GEOSGeometry* g, double minArea, SolxShadowShape& out) {
    GEOSContextHandle_t h = Ctx().handle;
    const int type = GEOSGeomTypeId_r(h, g);
    if (type == GEOS_POLYGON) {
        AcDbRegionPolygon p{ReadRing(GEOSGetExteriorRing_r(h, g)), {}};
        if (p.outer.size() < 3 || std::abs(AcDbRegionRingArea(p.outer)) <= minArea) return;
        Orient(p.outer, true);
        for (int i = 0, n = GEOSGetNumInteriorRings_r(h, g); i < n; ++i) {
            AcDbRegionRing hole = ReadRing(GEOSGetInteriorRingN_r(h, g, i));
            if (hole.size() < 3 || std::abs(AcDbRegionRingArea(hole)) <= minArea) continue;
            Orient(hole, false);
            p.holes.push_back(std::move(hole));
        }
        out.push_back(std::move(p));
    } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
        for (int i = 0, n = GEOSGetNumGeometries_r(h, g); i < n; ++i)
            Collect(GEOSGetGeometryN_r(h, g, i), minArea, out);
    }
}

// The union, or null when GEOS fails or returns an invalid result.
Geom UnionOf(const GEOSGeometry* collection) {
    Context& c = Ctx();
    Geom u(GEOSUnaryUnion_r(c.handle, collection));
    if (!u || c.failed || GEOSisValid_r(c.handle, u.get()) != 1) return nullptr;
    return u;
}

}  // namespace

bool UnitePolygons(const std::vector<const AcDbRegionPolygon*>& polygons, double minArea,
                   SolxShadowShape& out) {
    out.clear();
    if (polygons.empty()) return true;
    Context& c = Ctx();
    c.failed = false;
    Geom collection = MakeCollection(polygons);
    if (!collection) return false;
    Geom u = UnionOf(collection.get());
    if (!u) {
        // An input that was not valid after all: repair the pieces and try once more.
        c.failed = false;
        Geom repaired(GEOSMakeValid_r(c.handle, collection.get()));
        if (repaired && !c.failed) u = UnionOf(repaired.get());
    }
    if (!u) return false;
    Collect(u.get(), minArea, out);
    return true;
}

SolxShadowShape RepairRing(const AcDbRegionRing& ring) {
    Context& c = Ctx();
    c.failed = false;
    SolxShadowShape out;
    AcDbRegionPolygon poly{ring, {}};
    Geom g(MakePolygon(poly));
    if (!g || c.failed) return out;
    if (GEOSisValid_r(c.handle, g.get()) == 1) {
        Orient(poly.outer, true);
        out.push_back(std::move(poly));
        return out;
    }
    Geom valid(GEOSMakeValid_r(c.handle, g.get()));
    if (valid && !c.failed) Collect(valid.get(), 0.0, out);
    return out;
}

bool IsSimpleRing(const AcDbRegionRing& ring) {
    Context& c = Ctx();
    c.failed = false;
    Geom g(MakePolygon({ring, {}}));
    return g && GEOSisValid_r(c.handle, g.get()) == 1 && !c.failed;
}

}  // namespace shadow
