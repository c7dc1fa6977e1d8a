// HATCH made by the program: polyline boundary loops, solid or a predefined pattern.
#include "acad/AcDbHatch.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Reads the tags of the hatch subclass in order.
class HatchTags {
public:
    // Kept whole, a record holds its subclass markers among its tags ("*" as their subclass).
    explicit HatchTags(const std::vector<AcDbKeptTag>& kept) {
        std::string marker;
        for (const AcDbKeptTag& k : kept) {
            if (k.subclass == "*" && k.tag.code == 100) {
                marker = k.tag.value;
                continue;
            }
            if ((k.subclass == "*" ? marker : k.subclass) == "AcDbHatch") tags_.push_back(&k.tag);
        }
    }
    bool done() const { return at_ >= tags_.size(); }
    int code() const { return done() ? -1 : tags_[at_]->code; }
    // The next tag's value when it has this code (and moves past it).
    bool take(int code, double& value) {
        if (code != this->code()) return false;
        value = acdbDxfReal(*tags_[at_++]);
        return std::isfinite(value);
    }
    bool take(int code, int& value) {
        if (code != this->code()) return false;
        value = acdbDxfInt(*tags_[at_++]);
        return true;
    }
    bool takePoint(int code, AcGePoint2d& p) { return take(code, p.x) && take(code + 10, p.y); }
    // Moves to the next tag of this code before any tag of the stop code; false when none.
    bool seek(int code, int stop = -2) {
        while (!done() && this->code() != code && this->code() != stop) ++at_;
        return this->code() == code;
    }
    void skip() { ++at_; }
    const AcDbDxfTag& current() const { return *tags_[at_]; }

private:
    std::vector<const AcDbDxfTag*> tags_;
    size_t at_ = 0;
};

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr int kMaxLoopPoints = 1 << 20;

// The points of a circular arc edge from its start to its end. Clockwise edges hold their
// angles as 360 less the angle, so they run from -start to -end.
bool ArcPoints(HatchTags& t, std::vector<AcGePoint2d>& points) {
    AcGePoint2d centre;
    double radius = 0, start = 0, end = 0;
    int ccw = 1;
    if (!t.takePoint(10, centre) || !t.take(40, radius) || !t.take(50, start) || !t.take(51, end) ||
        !t.take(73, ccw) || !(radius > 0))
        return false;
    double sweep = std::fmod(end - start, 360.0);
    if (sweep <= 0) sweep += 360.0;
    const double direction = ccw ? 1.0 : -1.0;
    const int steps = std::max(1, static_cast<int>(std::ceil(sweep / 5.0)));
    for (int i = 0; i <= steps; ++i) {
        const double a = direction * (start + sweep * i / steps) * kDegree;
        points.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
    }
    return true;
}

double Distance(const AcGePoint2d& a, const AcGePoint2d& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Edges follow each other; one written the other way round (its end at the previous edge's
// end) is taken backwards, as other readers do. Each edge gives its points but its last.
bool ReadEdges(HatchTags& t, AcDbHatch::Loop& loop) {
    int count = 0;
    if (!t.take(93, count) || count < 1 || count > kMaxLoopPoints) return false;
    std::vector<AcGePoint2d> edge;
    for (int i = 0; i < count; ++i) {
        int type = 0;
        if (!t.take(72, type)) return false;
        edge.clear();
        if (type == 1) {
            AcGePoint2d from, to;
            if (!t.takePoint(10, from) || !t.takePoint(11, to)) return false;
            edge = {from, to};
        } else if (type != 2 || !ArcPoints(t, edge)) {
            return false;  // elliptic and spline edges are not read
        }
        if (i > 0 && Distance(edge.back(), loop.points.back()) + 1e-12 <
                         Distance(edge.front(), loop.points.back()))
            std::reverse(edge.begin(), edge.end());
        if (i > 0) loop.points.pop_back();  // the previous edge's end
        loop.points.insert(loop.points.end(), edge.begin(), edge.end());
    }
    if (loop.points.size() > 1 && Distance(loop.points.front(), loop.points.back()) < 1e-9)
        loop.points.pop_back();  // closed
    return true;
}

bool ReadPolyline(HatchTags& t, AcDbHatch::Loop& loop) {
    int hasBulge = 0, closed = 0, count = 0;
    if (!t.take(72, hasBulge) || !t.take(73, closed) || !t.take(93, count) || count < 1 ||
        count > kMaxLoopPoints)
        return false;
    for (int i = 0; i < count; ++i) {
        AcGePoint2d p;
        if (!t.takePoint(10, p)) return false;
        loop.points.push_back(p);
        double bulge = 0;
        if (t.code() == 42 && !t.take(42, bulge)) return false;
        if (hasBulge) loop.bulges.push_back(bulge);
    }
    return true;
}

}  // namespace

std::unique_ptr<AcDbHatch> AcDbHatch::fromDxfTags(const std::vector<AcDbKeptTag>& kept) {
    HatchTags t(kept);
    auto hatch = std::make_unique<AcDbHatch>();
    AcGePoint2d origin;
    double elevation = 0, nx = 0, ny = 0, nz = 1;
    if (!t.seek(10) || !t.takePoint(10, origin) || !t.take(30, elevation)) return nullptr;
    if (t.code() == 210 && !(t.take(210, nx) && t.take(220, ny) && t.take(230, nz))) return nullptr;
    if (std::abs(nx) > 1e-9 || std::abs(ny) > 1e-9 || std::abs(nz) < 1e-9) return nullptr;
    const bool mirrored = nz < 0;  // the -Z plane seen from above: x runs the other way
    if (!t.seek(2) || hatch->setPattern(acdbWide(t.current().value).c_str()) != Acad::eOk)
        return nullptr;
    t.skip();
    int solid = 0, loops = 0;
    if (!t.seek(70) || !t.take(70, solid)) return nullptr;
    hatch->solid_ = solid != 0;
    if (!t.seek(91) || !t.take(91, loops) || loops < 1 || loops > kMaxLoopPoints) return nullptr;
    for (int i = 0; i < loops; ++i) {
        Loop loop;
        if (!t.take(92, loop.type)) return nullptr;
        const bool read = (loop.type & 2) ? ReadPolyline(t, loop) : ReadEdges(t, loop);
        if (!read || loop.points.size() < 3) return nullptr;
        int sources = 0;
        if (t.code() == 97 && !t.take(97, sources)) return nullptr;
        while (t.code() == 330) t.skip();
        if (mirrored) {
            for (AcGePoint2d& p : loop.points) p.x = -p.x;
            for (double& b : loop.bulges) b = -b;
        }
        hatch->loops_.push_back(std::move(loop));
    }
    hatch->elevation_ = mirrored ? -elevation : elevation;
    return hatch;
}

Acad::ErrorStatus AcDbHatch::setPattern(const wchar_t* name) {
    if (!name || !*name) return Acad::eInvalidInput;
    pattern_ = name;
    solid_ = pattern_ == L"SOLID";
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::appendLoop(const std::vector<AcGePoint2d>& points,
                                        const std::vector<double>& bulges) {
    if (points.size() < 3 || (!bulges.empty() && bulges.size() != points.size()))
        return Acad::eInvalidInput;
    loops_.push_back({points, bulges, loops_.empty() ? (2 | 1) : 2});
    return Acad::eOk;
}

Acad::ErrorStatus AcDbHatch::getGeomExtents(AcDbExtents& ext) const {
    ext = AcDbExtents();
    for (const auto& l : loops_)
        for (const auto& p : l.points) ext.addPoint({p.x, p.y, elevation_});
    return ext.isEmpty() ? Acad::eDegenerateGeometry : Acad::eOk;
}

void AcDbHatch::dxfOutFields(AcDbDxfFiler& f) const {
    AcDbEntity::dxfOutFields(f);
    f.writeSubclass("AcDbHatch");
    f.writePoint3d(10, {0, 0, elevation_});
    f.writeVector3d(210, AcGeVector3d::kZAxis);
    f.writeString(2, pattern_);
    f.writeInt(70, solid_ ? 1 : 0);
    f.writeInt(71, 0);
    f.writeInt(91, static_cast<long>(loops_.size()));
    for (const auto& l : loops_) {
        f.writeInt(92, l.type);
        f.writeInt(72, l.bulges.empty() ? 0 : 1);
        f.writeInt(73, 1);
        f.writeInt(93, static_cast<long>(l.points.size()));
        for (size_t i = 0; i < l.points.size(); ++i) {
            f.writePoint2d(10, l.points[i]);
            if (!l.bulges.empty()) f.writeDouble(42, l.bulges[i]);
        }
        f.writeInt(97, 0);
    }
    f.writeInt(75, 1);
    f.writeInt(76, 1);
    if (!solid_) {
        f.writeDouble(52, 0);
        f.writeDouble(41, 1);
        f.writeInt(77, 0);
        f.writeInt(78, 0);
    }
    f.writeInt(98, 0);
}
