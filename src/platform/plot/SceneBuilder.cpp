// Walks model space into a plan scene. Block references are followed through their definitions
// with the accumulated transform; entities on layer "0" inside a block take the reference's
// layer, and ByBlock colours the reference's colour, as a CAD program displays them.
#include <cmath>
#include <numbers>
#include <typeinfo>

#include "PlotScene.h"
#include "db/BulgeArc.h"

namespace solx::plot {
namespace {

constexpr int kPointsPerCircle = 72;
constexpr int kMaxBlockDepth = 16;  // guards against a block that contains itself

// What an entity inherits from the block references it is drawn through.
struct Context {
    AcGeMatrix3d transform;
    std::wstring layer;  // empty at the top level
    int colour = 7;      // ByBlock colour
    int depth = 0;
};

class SceneBuilder {
public:
    // Ten inserts a level, twelve levels deep, would be 10^12 entities for a file of 30 KB:
    // entities drawn through blocks are counted against maxBlockVisits.
    SceneBuilder(const AcDbDatabase& db, Scene& scene, size_t maxBlockVisits)
        : db_(db), scene_(scene), maxBlockVisits_(maxBlockVisits) {}
    void Visit(const AcDbEntity& e, const Context& ctx);

private:
    bool Resolve(const AcDbEntity& e, const Context& ctx, std::wstring& layer, int& aci) const;
    AcGePoint2d Plan(const Context& ctx, const AcGePoint3d& p) const {
        const AcGePoint3d w = ctx.transform * p;
        return {w.x, w.y};
    }
    void AddStroke(const Context& ctx, const std::vector<AcGePoint3d>& pts, bool closed, int aci);
    void AddArc(const Context& ctx, const AcDbCircle& c, double start, double sweep, int aci);
    // Vertices in the plane system of `normal` at elevation z.
    void AddBulged(const Context& ctx, const std::vector<AcGePoint2d>& pts,
                   const std::vector<double>& bulges, double z, const AcGeVector3d& normal,
                   bool closed, int aci);
    void AddFace(const Context& ctx, const AcDbFace& f, int aci);
    void AddRegion(const Context& ctx, const AcDbRegion& r, int aci);
    void AddSolidHatch(const Context& ctx, const AcDbHatch& h, int aci);
    void AddHatch(const Context& ctx, const AcDbHatch& h, int aci);
    void AddText(const Context& ctx, const AcDbText& t, int aci);
    void AddMText(const Context& ctx, const AcDbUnknownEntity& m, int aci);
    void AddReference(const Context& ctx, const AcDbBlockReference& ref, const std::wstring& layer,
                      int aci);
    bool AddExploded(const Context& ctx, const AcDbEntity& e, const std::wstring& layer, int aci);
    bool AddPolyEntity(const Context& ctx, const AcDbEntity& e, int aci);

    const AcDbDatabase& db_;
    Scene& scene_;
    size_t maxBlockVisits_;
    size_t blockVisits_ = 0;
};

bool SceneBuilder::Resolve(const AcDbEntity& e, const Context& ctx, std::wstring& layer,
                           int& aci) const {
    if (e.visibility() != AcDb::kVisible) return false;
    layer = e.layer();
    if (!ctx.layer.empty() && layer == L"0") layer = ctx.layer;
    int layerColour = 7;
    if (auto* rec = dynamic_cast<AcDbLayerTableRecord*>(db_.symbolId(L"LAYER", layer).object())) {
        if (rec->isOff() || rec->isFrozen()) return false;
        layerColour = rec->colorIndex();
    }
    aci = e.colorIndex();
    if (aci == 256) aci = layerColour;
    if (aci == 0) aci = ctx.colour;
    return true;
}

void SceneBuilder::AddStroke(const Context& ctx, const std::vector<AcGePoint3d>& pts, bool closed,
                             int aci) {
    Stroke s{{}, closed, AciColour(aci)};
    for (const auto& p : pts) s.points.push_back(Plan(ctx, p));
    if (s.points.size() >= 2) scene_.strokes.push_back(std::move(s));
}

void SceneBuilder::AddArc(const Context& ctx, const AcDbCircle& c, double start, double sweep,
                          int aci) {
    const int n =
        std::max(2, static_cast<int>(std::ceil(sweep / (2 * std::numbers::pi) * kPointsPerCircle)));
    const AcGePoint3d centre = c.center();
    const AcGeMatrix3d plane = AcGeMatrix3d::planeToWorld(c.normal());  // angles run in it
    std::vector<AcGePoint3d> pts;
    for (int i = 0; i <= n; ++i) {
        const double a = start + sweep * i / n;
        pts.push_back(centre + plane * AcGeVector3d(std::cos(a), std::sin(a), 0) * c.radius());
    }
    const bool full = sweep >= 2 * std::numbers::pi;
    if (full) pts.pop_back();
    AddStroke(ctx, pts, full, aci);
}

void SceneBuilder::AddBulged(const Context& ctx, const std::vector<AcGePoint2d>& pts,
                             const std::vector<double>& bulges, double z,
                             const AcGeVector3d& normal, bool closed, int aci) {
    if (pts.empty()) return;
    std::vector<AcGePoint2d> flat{pts[0]};
    const size_t segments = closed ? pts.size() : pts.size() - 1;
    for (size_t i = 0; i < segments; ++i) {
        const double bulge = i < bulges.size() ? bulges[i] : 0.0;
        db::appendBulgePoints(pts[i], pts[(i + 1) % pts.size()], bulge, kPointsPerCircle, flat);
    }
    if (closed && flat.size() > 1) flat.pop_back();  // the loop's end is its start again
    const AcGeMatrix3d plane = AcGeMatrix3d::planeToWorld(normal);
    std::vector<AcGePoint3d> world;
    for (const auto& p : flat) world.push_back(plane * AcGePoint3d(p.x, p.y, z));
    AddStroke(ctx, world, closed, aci);
}

void SceneBuilder::AddFace(const Context& ctx, const AcDbFace& f, int aci) {
    AcGePoint3d c[4];
    for (unsigned short i = 0; i < 4; ++i) f.getVertexAt(i, c[i]);
    const int corners = c[2].isEqualTo(c[3]) ? 3 : 4;
    for (int i = 0; i < corners; ++i) {
        bool visible = true;
        f.isEdgeVisibleAt(static_cast<unsigned short>(i), visible);
        if (visible) AddStroke(ctx, {c[i], c[(i + 1) % corners]}, false, aci);
    }
}

// A region is filled and outlined: every ring, holes too, also as a closed line.
void SceneBuilder::AddRegion(const Context& ctx, const AcDbRegion& r, int aci) {
    Fill fill{{}, AciColour(aci)};
    auto add = [&](const AcDbRegionRing& ring) {
        std::vector<AcGePoint3d> world;
        for (const auto& p : ring) world.emplace_back(p.x, p.y, r.elevation());
        AddStroke(ctx, world, true, aci);
        std::vector<AcGePoint2d> plan;
        for (const auto& p : world) plan.push_back(Plan(ctx, p));
        if (plan.size() >= 3) fill.rings.push_back(std::move(plan));
    };
    for (const AcDbRegionPolygon& polygon : r.polygons()) {
        add(polygon.outer);
        for (const AcDbRegionRing& hole : polygon.holes) add(hole);
    }
    if (!fill.rings.empty()) scene_.fills.push_back(std::move(fill));
}

// A solid hatch is filled (even-odd over its loops, bulges taken as chords) without outlines,
// as a CAD program shows it.
void SceneBuilder::AddSolidHatch(const Context& ctx, const AcDbHatch& h, int aci) {
    Fill fill{{}, AciColour(aci), 0.8};
    for (int i = 0; i < h.numLoops(); ++i) {
        std::vector<AcGePoint2d> plan;
        for (const AcGePoint2d& p : h.loopAt(i).points)
            plan.push_back(Plan(ctx, AcGePoint3d(p.x, p.y, h.elevation())));
        if (plan.size() >= 3) fill.rings.push_back(std::move(plan));
    }
    if (!fill.rings.empty()) scene_.fills.push_back(std::move(fill));
}

// A solid hatch is filled; a patterned one shows its loops.
void SceneBuilder::AddHatch(const Context& ctx, const AcDbHatch& h, int aci) {
    if (h.isSolidFill()) return AddSolidHatch(ctx, h, aci);
    for (int i = 0; i < h.numLoops(); ++i)
        AddBulged(ctx, h.loopAt(i).points, h.loopAt(i).bulges, h.elevation(), AcGeVector3d::kZAxis,
                  true, aci);
}

void SceneBuilder::AddText(const Context& ctx, const AcDbText& t, int aci) {
    const std::wstring text = DisplayText(t.textString());
    if (text.empty() || t.height() <= 0) return;
    const AcGeVector3d dir(std::cos(t.rotation()), std::sin(t.rotation()), 0);
    const AcGeVector3d perp(-dir.y, dir.x, 0);
    const AcGeVector3d along = ctx.transform * (dir * (t.height() * t.widthFactor()));
    const AcGeVector3d up = ctx.transform * (perp * t.height());
    Label l{text,
            {},
            {along.x, along.y},
            {up.x, up.y},
            t.horizontalMode(),
            t.verticalMode(),
            0,
            AciColour(aci)};
    if (l.along.length() <= 0 || l.up.length() <= 0) return;  // squashed flat by a scale of 0
    const bool spans = l.horz == AcDb::kTextAlign || l.horz == AcDb::kTextFit;
    l.anchor = Plan(ctx, t.isDefaultAlignment() || spans ? t.position() : t.alignmentPoint());
    if (spans) l.fitLength = (Plan(ctx, t.alignmentPoint()) - l.anchor).length();
    if (spans && l.fitLength <= 0) l.horz = AcDb::kTextLeft;
    scene_.labels.push_back(std::move(l));
}

// MTEXT is kept as its tags: insertion point (10), height (40), reference width (41),
// attachment (71, 1..9: top/middle/bottom by left/centre/right), direction (11) or rotation
// (50, radians), line spacing factor (44), text (3 chunks, then 1).
void SceneBuilder::AddMText(const Context& ctx, const AcDbUnknownEntity& m, int aci) {
    AcGePoint3d at;
    AcGeVector3d dir(1, 0, 0);
    double height = 0, width = 0, spacing = 1, rotation = 0;
    bool hasDir = false;
    int attach = 1;
    std::wstring chunks, last;
    for (const AcDbKeptTag& k : m.keptTags()) {
        const AcDbDxfTag& t = k.tag;
        switch (t.code) {
            case 10:
                at.x = acdbDxfReal(t);
                break;
            case 20:
                at.y = acdbDxfReal(t);
                break;
            case 30:
                at.z = acdbDxfReal(t);
                break;
            case 11:
                dir.x = acdbDxfReal(t), hasDir = true;
                break;
            case 21:
                dir.y = acdbDxfReal(t), hasDir = true;
                break;
            case 40:
                height = acdbDxfReal(t);
                break;
            case 41:
                width = acdbDxfReal(t);
                break;
            case 44:
                spacing = acdbDxfReal(t);
                break;
            case 50:
                rotation = acdbDxfReal(t);
                break;
            case 71:
                attach = acdbDxfInt(t);
                break;
            case 3:
                chunks += acdbDxfText(t);
                break;
            case 1:
                last = acdbDxfText(t);
                break;
            default:
                break;
        }
    }
    if (height <= 0) return;
    if (!hasDir || dir.length() < 1e-12)
        dir = AcGeVector3d(std::cos(rotation), std::sin(rotation), 0);
    dir = dir.normal();
    const std::vector<std::wstring> lines =
        MTextLines(chunks + last, width > 0 ? width / height : 0);
    if (lines.empty()) return;
    if (attach < 1 || attach > 9) attach = 1;
    const AcGeVector3d perp(-dir.y, dir.x, 0);
    const double pitch = height * 5.0 / 3.0 * (spacing > 0 ? spacing : 1.0);
    const double block = height + pitch * static_cast<double>(lines.size() - 1);
    const int row = (attach - 1) / 3, column = (attach - 1) % 3;
    const double top = row == 0 ? 0.0 : row == 1 ? block / 2 : block;  // above the insertion
    const AcGeVector3d along = ctx.transform * (dir * height);
    const AcGeVector3d up = ctx.transform * (perp * height);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const double drop = top - height - pitch * static_cast<double>(i);
        Label l{lines[i],
                Plan(ctx, at + perp * drop),
                {along.x, along.y},
                {up.x, up.y},
                column == 0   ? AcDb::kTextLeft
                : column == 1 ? AcDb::kTextCenter
                              : AcDb::kTextRight,
                AcDb::kTextBase,
                0,
                AciColour(aci)};
        if (l.along.length() > 0 && l.up.length() > 0) scene_.labels.push_back(std::move(l));
    }
}

void SceneBuilder::AddReference(const Context& ctx, const AcDbBlockReference& ref,
                                const std::wstring& layer, int aci) {
    auto* block = dynamic_cast<AcDbBlockTableRecord*>(ref.blockTableRecord().object());
    if (block && !ref.closesCycle() && ctx.depth < kMaxBlockDepth) {
        const Context inner{ctx.transform * ref.blockTransform(), layer, aci, ctx.depth + 1};
        for (AcDbObjectId id : block->entityIds()) {
            auto* e = dynamic_cast<AcDbEntity*>(id.object());
            if (e && !e->isErased() && !dynamic_cast<AcDbAttributeDefinition*>(e)) Visit(*e, inner);
        }
    }
    // Attributes are placed already (the outer transform) but inherit from the reference.
    const Context owner{ctx.transform, layer, aci, ctx.depth + 1};
    for (const AcDbAttribute* att : ref.attributes())
        if (att && !att->isErased() && !att->isInvisible()) Visit(*att, owner);
}

bool SceneBuilder::AddExploded(const Context& ctx, const AcDbEntity& e, const std::wstring& layer,
                               int aci) {
    AcDbVoidPtrArray pieces;
    if (ctx.depth >= kMaxBlockDepth || e.explode(pieces) != Acad::eOk) return false;
    const Context inner{ctx.transform, layer, aci, ctx.depth + 1};
    for (AcDbEntity* piece : pieces) {
        if (piece) Visit(*piece, inner);
        delete piece;
    }
    return true;
}

bool SceneBuilder::AddPolyEntity(const Context& ctx, const AcDbEntity& e, int aci) {
    auto* poly = dynamic_cast<const AcDbPolyEntity*>(&e);
    if (!poly || dynamic_cast<const AcDbPolyFaceMesh*>(&e)) return false;
    auto* flat = dynamic_cast<const AcDb2dPolyline*>(&e);
    if (flat && flat->polyType() == AcDb::k2dSimplePoly) {
        std::vector<AcGePoint2d> pts;
        std::vector<double> bulges;
        for (const auto& v : flat->vertices()) pts.emplace_back(v.point.x, v.point.y);
        for (const auto& v : flat->vertices()) bulges.push_back(v.bulge);
        AddBulged(ctx, pts, bulges, flat->elevation(), flat->normal(), flat->isClosed(), aci);
        return true;
    }
    const AcGePoint3dArray drawn = poly->drawnPoints();
    AddStroke(ctx, {drawn.begin(), drawn.end()}, poly->isClosed(), aci);
    return true;
}

void SceneBuilder::Visit(const AcDbEntity& e, const Context& ctx) {
    if (ctx.depth > 0 && ++blockVisits_ > maxBlockVisits_) {
        scene_.cutShort = true;
        return;
    }
    std::wstring layer;
    int aci = 7;
    if (!Resolve(e, ctx, layer, aci)) return;
    if (auto* line = dynamic_cast<const AcDbLine*>(&e)) {
        AddStroke(ctx, {line->startPoint(), line->endPoint()}, false, aci);
    } else if (auto* arc = dynamic_cast<const AcDbArc*>(&e)) {
        // Counter-clockwise from start to end, in (0, 2π]; fmod, as angles can be anything.
        double sweep = std::fmod(arc->endAngle() - arc->startAngle(), 2 * std::numbers::pi);
        if (sweep <= 0) sweep += 2 * std::numbers::pi;
        if (std::isfinite(sweep)) AddArc(ctx, *arc, arc->startAngle(), sweep, aci);
    } else if (auto* circle = dynamic_cast<const AcDbCircle*>(&e)) {
        AddArc(ctx, *circle, 0, 2 * std::numbers::pi, aci);
    } else if (auto* pl = dynamic_cast<const AcDbPolyline*>(&e)) {
        std::vector<AcGePoint2d> pts;
        std::vector<double> bulges;
        for (const auto& v : pl->vertices()) pts.push_back(v.point), bulges.push_back(v.bulge);
        AddBulged(ctx, pts, bulges, pl->elevation(), pl->normal(), pl->isClosed(), aci);
    } else if (auto* text = dynamic_cast<const AcDbText*>(&e)) {
        AddText(ctx, *text, aci);
    } else if (auto* ref = dynamic_cast<const AcDbBlockReference*>(&e)) {
        // Kinds of reference that draw themselves (the product-line table) may refresh their
        // block only when saved: their explosion is what they show now.
        if (typeid(e) == typeid(AcDbBlockReference) || !AddExploded(ctx, e, layer, aci))
            AddReference(ctx, *ref, layer, aci);
    } else if (auto* region = dynamic_cast<const AcDbRegion*>(&e)) {
        AddRegion(ctx, *region, aci);
    } else if (auto* face = dynamic_cast<const AcDbFace*>(&e)) {
        AddFace(ctx, *face, aci);
    } else if (auto* point = dynamic_cast<const AcDbPoint*>(&e)) {
        scene_.dots.push_back({Plan(ctx, point->position()), AciColour(aci)});
    } else if (auto* hatch = dynamic_cast<const AcDbHatch*>(&e)) {
        AddHatch(ctx, *hatch, aci);
    } else if (auto* unknown = dynamic_cast<const AcDbUnknownEntity*>(&e);
               unknown && unknown->dxfName() == L"MTEXT") {
        AddMText(ctx, *unknown, aci);
    } else if (std::unique_ptr<AcDbHatch> read;
               unknown && unknown->dxfName() == L"HATCH" &&
               (read = AcDbHatch::fromDxfTags(unknown->keptTags()))) {
        AddHatch(ctx, *read, aci);  // a hatch read from a file, drawn like a made one
    } else if (!AddPolyEntity(ctx, e, aci)) {
        AddExploded(ctx, e, layer, aci);
    }
}

}  // namespace

Scene BuildScene(const AcDbDatabase& db, size_t maxBlockEntities) {
    Scene scene;
    auto* model = dynamic_cast<AcDbBlockTableRecord*>(db.modelSpaceId().object());
    if (!model) return scene;
    SceneBuilder builder(db, scene, maxBlockEntities);
    for (AcDbObjectId id : model->entityIds()) {
        auto* e = dynamic_cast<AcDbEntity*>(id.object());
        if (!e || e->isErased()) continue;
        scene.owners.push_back(
            {id, scene.strokes.size(), scene.labels.size(), scene.dots.size(), scene.fills.size()});
        builder.Visit(*e, Context{});
    }
    return scene;
}

}  // namespace solx::plot
