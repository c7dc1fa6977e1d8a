// INSERT: a placed block with its attributes.
#include <cmath>
#include <unordered_map>

#include "acad/AcDbAttribute.h"
#include "acad/AcDbBlockReference.h"
#include "acad/AcDbDatabase.h"
#include "db/TagResbuf.h"

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId block)
    : blockId_(block) {
    setPosition(position);
    if (auto* rec = dynamic_cast<AcDbBlockTableRecord*>(block.object()))
        blockName_ = rec->getName();
}

AcDbBlockReference::~AcDbBlockReference() {
    // A reference in a database shares it with its attributes, which the database deletes.
    if (objectId().isValid()) return;
    for (AcDbAttribute* a : attributes_) delete a;
}

AcDbBlockReference::AcDbBlockReference(const AcDbBlockReference& o)
    : AcDbEntity(o),
      blockName_(o.blockName_),
      blockId_(o.blockId_),
      position_(o.position_),
      rotation_(o.rotation_),
      scale_(o.scale_),
      normal_(o.normal_) {
    for (const AcDbAttribute* a : o.attributes_)
        attributes_.push_back(static_cast<AcDbAttribute*>(a->clone()));
    seqendKept = o.seqendKept;
    closesCycle_ = o.closesCycle_;
}

AcDbObjectId AcDbBlockReference::blockTableRecord() const {
    if (blockId_.isValid()) return blockId_;
    AcDbDatabase* db = database();
    if (!db) db = acdbHostApplicationServices()->workingDatabase();
    static const std::wstring kBlockTable = L"BLOCK_RECORD";
    return db ? db->symbolId(kBlockTable, blockName_) : AcDbObjectId();
}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId block) {
    auto* rec = dynamic_cast<AcDbBlockTableRecord*>(block.object());
    if (!rec) return Acad::eInvalidInput;
    blockId_ = block;
    blockName_ = rec->getName();
    return Acad::eOk;
}

AcGePoint3d AcDbBlockReference::position() const {
    return AcGeMatrix3d::planeToWorld(normal_) * position_;
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& p) {
    position_ = AcGeMatrix3d::planeToWorld(normal_).inverse() * p;  // kept in the plane system
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double r) {
    rotation_ = r;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& s) {
    if (s.sx == 0 || s.sy == 0 || s.sz == 0) return Acad::eInvalidInput;
    scale_ = s;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& n) {
    if (n.isZeroLength()) return Acad::eInvalidInput;
    AcGePoint3d world = position();
    normal_ = n.normal();
    return setPosition(world);
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const {
    AcGeMatrix3d scale;
    scale(0, 0) = scale_.sx, scale(1, 1) = scale_.sy, scale(2, 2) = scale_.sz;
    AcGePoint3d origin;
    if (auto* rec = dynamic_cast<AcDbBlockTableRecord*>(blockTableRecord().object()))
        origin = rec->origin();
    return AcGeMatrix3d::planeToWorld(normal_) * AcGeMatrix3d::translation(position_.asVector()) *
           AcGeMatrix3d::rotation(rotation_, AcGeVector3d::kZAxis) * scale *
           AcGeMatrix3d::translation(-origin.asVector());
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbObjectId& id, AcDbAttribute* att) {
    if (!att) return Acad::eNullObjectPointer;
    if (AcDbDatabase* db = database()) db->noteWrite(this);
    attributes_.push_back(att);
    if (AcDbDatabase* db = database()) {
        Acad::ErrorStatus es = db->addAcDbObject(id, att);
        if (es != Acad::eOk) return es;
        att->setOwnerId(objectId());
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::appendAttribute(AcDbAttribute* att) {
    AcDbObjectId id;
    return appendAttribute(id, att);
}

AcDbObjectIdArray AcDbBlockReference::attributeIds() const {
    AcDbObjectIdArray ids;
    for (const AcDbAttribute* a : attributes_)
        if (a->objectId().isValid() && !a->isErased()) ids.append(a->objectId());
    return ids;
}

Acad::ErrorStatus AcDbBlockReference::explode(AcDbVoidPtrArray& out) const {
    auto* block = dynamic_cast<AcDbBlockTableRecord*>(blockTableRecord().object());
    if (!block) return Acad::eKeyNotFound;
    AcGeMatrix3d m = blockTransform();
    for (AcDbObjectId id : closesCycle_ ? AcDbObjectIdArray() : block->entityIds()) {
        auto* e = dynamic_cast<AcDbEntity*>(id.object());
        if (!e || e->isErased() || dynamic_cast<AcDbAttributeDefinition*>(e)) continue;
        auto* copy = static_cast<AcDbEntity*>(e->clone());
        copy->transformBy(m);
        // Entities on layer "0" and with colour by block take the reference's.
        if (copy->layer() == L"0") copy->setLayer(layer().c_str());
        if (copy->colorIndex() == 0) copy->setColorIndex(colorIndex());
        out.append(copy);
    }
    for (const AcDbAttribute* a : attributes_) {
        if (a->isErased() || a->isInvisible()) continue;
        auto* text = new AcDbText();
        static_cast<AcDbEntity&>(*text).setLayer(a->layer().c_str());
        text->setTextString(a->textString().c_str());
        text->setPosition(a->position());
        text->setAlignmentPoint(a->alignmentPoint());
        text->setHeight(a->height());
        text->setRotation(a->rotation());
        text->setHorizontalMode(a->horizontalMode());
        text->setVerticalMode(a->verticalMode());
        text->setTextStyleName(a->textStyleName().c_str());
        out.append(text);
    }
    return Acad::eOk;
}

namespace {

// What one extents query has learned about the blocks it met. Nested inserts share it, so each
// block is looked at once per query however many paths lead to it.
struct BlockSummary {
    AcDbExtents local;    // in the block's own coordinates; a bound for nested inserts
    double entities = 0;  // entities an exact walk would visit (every path counted)
    bool measuring = false, measured = false, expanding = false;
};

struct ExtentsQuery {
    std::unordered_map<const AcDbBlockTableRecord*, BlockSummary> blocks;
};
thread_local ExtentsQuery* tQuery = nullptr;

// Up to this many entities, an insert's extents come from its exploded entities (tight);
// beyond, from its blocks' summaries moved into place (a box that holds them).
constexpr double kExactEntities = 20000;

const AcDbBlockTableRecord* blockOf(const AcDbBlockReference& ref) {
    if (ref.closesCycle()) return nullptr;
    return dynamic_cast<const AcDbBlockTableRecord*>(ref.blockTableRecord().object());
}

void addTransformedBox(AcDbExtents& ext, const AcDbExtents& box, const AcGeMatrix3d& m) {
    if (box.isEmpty()) return;
    const AcGePoint3d& lo = box.minPoint();
    const AcGePoint3d& hi = box.maxPoint();
    for (int corner = 0; corner < 8; ++corner)
        ext.addPoint(m * AcGePoint3d(corner & 1 ? hi.x : lo.x, corner & 2 ? hi.y : lo.y,
                                     corner & 4 ? hi.z : lo.z));
}

void addAttributes(AcDbExtents& ext, const std::vector<AcDbAttribute*>& attributes) {
    for (const AcDbAttribute* a : attributes) {
        AcDbExtents ae;
        if (!a->isErased() && !a->isInvisible() && a->getGeomExtents(ae) == Acad::eOk)
            ext.addExt(ae);
    }
}

// A block met again while it is being measured leads back to itself: it counts as empty.
const BlockSummary& summarise(ExtentsQuery& q, const AcDbBlockTableRecord* block) {
    BlockSummary& s = q.blocks[block];  // references into an unordered_map stay valid
    if (s.measured || s.measuring) return s;
    s.measuring = true;
    for (AcDbObjectId id : block->entityIds()) {
        auto* e = dynamic_cast<const AcDbEntity*>(id.object());
        if (!e || e->isErased() || dynamic_cast<const AcDbAttributeDefinition*>(e)) continue;
        s.entities += 1;
        if (auto* ref = dynamic_cast<const AcDbBlockReference*>(e)) {
            if (const AcDbBlockTableRecord* inner = blockOf(*ref)) {
                const BlockSummary& is = summarise(q, inner);
                s.entities += is.entities;
                addTransformedBox(s.local, is.local, ref->blockTransform());
            }
            addAttributes(s.local, ref->attributes());
            if (s.local.isEmpty()) s.local.addPoint(ref->position());
            continue;
        }
        AcDbExtents pe;
        if (e->getGeomExtents(pe) == Acad::eOk) s.local.addExt(pe);
    }
    s.measuring = false;
    s.measured = true;
    return s;
}

}  // namespace

Acad::ErrorStatus AcDbBlockReference::getGeomExtents(AcDbExtents& ext) const {
    ext = AcDbExtents();
    ExtentsQuery own;
    const bool outermost = !tQuery;
    if (outermost) tQuery = &own;
    struct Reset {
        bool active;
        ~Reset() {
            if (active) tQuery = nullptr;
        }
    } reset{outermost};

    const AcDbBlockTableRecord* block = blockOf(*this);
    BlockSummary* s = block ? &tQuery->blocks[block] : nullptr;
    if (s) summarise(*tQuery, block);
    if (s && !s->measuring && !s->expanding && s->entities <= kExactEntities) {
        s->expanding = true;
        AcDbVoidPtrArray parts;
        explode(parts);  // the attributes come as texts
        for (AcDbEntity* e : parts) {
            AcDbExtents pe;
            if (e->getGeomExtents(pe) == Acad::eOk) ext.addExt(pe);
            delete e;
        }
        s->expanding = false;
    } else {
        // A block reached again through itself (a cycle made after loading) adds nothing.
        if (s && !s->measuring && !s->expanding) addTransformedBox(ext, s->local, blockTransform());
        addAttributes(ext, attributes_);
    }
    if (ext.isEmpty()) ext.addPoint(position());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& m) {
    AcGePoint3d p = m * position();
    AcGeVector3d x = m * (AcGeMatrix3d::planeToWorld(normal_) *
                          AcGeVector3d(std::cos(rotation_), std::sin(rotation_), 0));
    AcGeVector3d n = m * normal_;
    double s = x.length();
    normal_ = n.normal();
    AcGeVector3d xPlane = AcGeMatrix3d::planeToWorld(normal_).inverse() * x;
    rotation_ = std::atan2(xPlane.y, xPlane.x);
    scale_ = AcGeScale3d(scale_.sx * s, scale_.sy * s, scale_.sz * (n.length()));
    setPosition(p);
    for (AcDbAttribute* a : attributes_) a->transformBy(m);
    return Acad::eOk;
}

std::optional<AcDbFilterValue> AcDbBlockReference::groupValue(short code) const {
    switch (code) {
        case 2:
            return AcDbFilterValue::ofText(blockName_);
        case 10:
            return AcDbFilterValue::ofPoint(position_);
        case 41:
            return AcDbFilterValue::ofNumber(scale_.sx);
        case 42:
            return AcDbFilterValue::ofNumber(scale_.sy);
        case 43:
            return AcDbFilterValue::ofNumber(scale_.sz);
        case 50:
            return AcDbFilterValue::ofNumber(rotation_ * 180 / M_PI);
        case 66:
            return AcDbFilterValue::ofNumber(attributes_.empty() ? 0 : 1);
        default:
            return AcDbEntity::groupValue(code);
    }
}

bool AcDbBlockReference::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (AcDbEntity::dxfInField(t, sub)) return true;
    int c = t.code;
    if (c == 2)
        blockName_ = AcDbSharedName::fromUtf8(t.value);
    else if (c == 10 || c == 20 || c == 30)
        position_[c / 10 - 1] = acdbDxfReal(t);
    else if (c == 41)
        scale_.sx = acdbDxfReal(t);
    else if (c == 42)
        scale_.sy = acdbDxfReal(t);
    else if (c == 43)
        scale_.sz = acdbDxfReal(t);
    else if (c == 50)
        rotation_ = acdbDxfAngle(t);
    else if (c == 210 || c == 220 || c == 230)
        normal_[(c - 210) / 10] = acdbDxfReal(t);
    else if (c == 66)
        return true;  // rewritten from the attributes present
    else
        return false;
    return true;
}

void AcDbBlockReference::dxfInEnd() {
    if (normal_.isZeroLength()) normal_ = AcGeVector3d::kZAxis;
}

void AcDbBlockReference::dxfOutFields(AcDbDxfFiler& f) const {
    AcDbEntity::dxfOutFields(f);
    f.writeSubclass("AcDbBlockReference");
    bool hasAttributes = false;
    for (const AcDbAttribute* a : attributes_) hasAttributes = hasAttributes || !a->isErased();
    if (hasAttributes) f.writeInt(66, 1);
    f.writeString(2, blockName_);
    f.writePoint3d(10, position_);
    if (scale_.sx != 1) f.writeDouble(41, scale_.sx);
    if (scale_.sy != 1) f.writeDouble(42, scale_.sy);
    if (scale_.sz != 1) f.writeDouble(43, scale_.sz);
    if (rotation_ != 0) f.writeDouble(50, std::round(rotation_ * 180 / M_PI * 1e10) / 1e10);
    if (!normal_.isEqualTo(AcGeVector3d::kZAxis)) f.writeVector3d(210, normal_);
}

Acad::ErrorStatus AcDbBlockReference::erase(bool erasing) {
    Acad::ErrorStatus es = AcDbEntity::erase(erasing);
    if (es == Acad::eOk)
        for (AcDbAttribute* a : attributes_)
            if (a->objectId().isValid()) {
                database()->noteWrite(a);
                a->setErasedFlag(erasing);
            }
    return es;
}

void AcDbBlockReference::prepareForSave() {
    if (seqendHandle.isNull() && database()) seqendHandle = database()->allocateHandle();
    if (blockName_.empty() && blockId_.isValid()) setBlockTableRecord(blockId_);
}

void AcDbBlockReference::readSeqend(const AcDbDxfTags& tags) {
    for (const auto& t : tags) {
        if (t.code == 5)
            seqendHandle = AcDbHandle(acdbWide(t.value).c_str());
        else if (t.code != 330 && t.code != 100 && t.code != 8)
            seqendKept.push_back({"*", t});
    }
}

AcDbDxfTags AcDbBlockReference::writeSeqend() const {
    AcDbDxfFiler f(&seqendKept);
    f.writeHead(5, seqendHandle, handle());
    f.writeSubclass("AcDbEntity");
    f.writeString(8, layer());
    return f.finish();
}
