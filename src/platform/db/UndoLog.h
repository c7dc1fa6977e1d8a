#pragma once
// The database's undo: per group (one command) the state of every object before its first
// change, the objects added, the header and the handle seed. Undoing swaps the saved states back
// into the objects' records, so ids stay what they were; the replaced objects are kept until the
// database goes, so that a pointer someone still holds never dangles.
#include <memory>
#include <optional>
#include <typeinfo>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "acad/AcDbAttribute.h"
#include "acad/AcDbBlockReference.h"
#include "acad/AcDbDatabase.h"

namespace solx::db {

class UndoLog {
public:
    // Groups kept for undo; older ones are dropped (their changes stay).
    static constexpr size_t kMaxGroups = 100;

    struct Saved {
        AcDbStub* stub = nullptr;
        std::unique_ptr<AcDbObject> before;  // a copy of the data, not in the database
        bool erased = false;
        AcDbHandle owner;
        std::vector<AcDbStub*> attributes;  // of a block reference, in order
        AcDbHandle seqend;                  // its SEQEND record's (a copy does not keep it)
    };
    struct Group {
        std::vector<Saved> changed;
        std::vector<AcDbStub*> added;
        std::unordered_set<AcDbStub*> seen;
        std::vector<AcDbDatabase::HeaderVar> header;
        AcDbHandle handseed;
        bool modifiedBefore = false;  // whether the drawing differed from its file before
    };

    explicit UndoLog(AcDbDatabase& db) : db_(db) {}
    ~UndoLog() {
        for (auto& o : retired_) Detach(*o);
    }

    void Start() {
        End();
        open_ = Group{};
        open_->header = db_.header_;
        open_->handseed = db_.handseed_;
    }

    bool End() {
        if (!open_) return false;
        // Objects opened for write that came out as they were are no change.
        std::erase_if(open_->changed, [](const Saved& s) { return Unchanged(s); });
        const bool changed = !open_->changed.empty() || !open_->added.empty();
        if (changed) {
            open_->seen.clear();
            open_->modifiedBefore = db_.modified_;
            done_.push_back(std::move(*open_));
            if (done_.size() > kMaxGroups) done_.erase(done_.begin());
        }
        open_.reset();
        return changed;
    }

    void NoteWrite(AcDbObject* object) {
        if (!open_ || !object) return;
        AcDbStub* stub = object->objectId().stub();
        if (!stub || stub->object != object || !open_->seen.insert(stub).second) return;
        Saved s{stub,
                std::unique_ptr<AcDbObject>(object->clone()),
                object->isErased(),
                object->ownerHandle(),
                {},
                {}};
        if (auto* ref = dynamic_cast<AcDbBlockReference*>(object)) {
            for (AcDbAttribute* a : ref->attributes()) s.attributes.push_back(a->objectId().stub());
            s.seqend = ref->seqendHandle;
        }
        open_->changed.push_back(std::move(s));
        // A reference's attributes are changed through it (the reference owns them).
        if (auto* ref = dynamic_cast<AcDbBlockReference*>(object))
            for (AcDbAttribute* a : ref->attributes()) NoteWrite(a);
    }

    void NoteAdded(AcDbStub* stub) {
        if (open_ && open_->seen.insert(stub).second) open_->added.push_back(stub);
    }

    size_t Groups() const { return done_.size(); }

    // After a save every state before it differs from the file.
    void MarkSaved() {
        for (Group& g : done_) g.modifiedBefore = true;
    }

    bool Undo() {
        End();
        if (done_.empty()) return false;
        Group g = std::move(done_.back());
        done_.pop_back();
        for (auto it = g.added.rbegin(); it != g.added.rend(); ++it) TakeOut(**it);
        std::unordered_map<AcDbObject*, AcDbObject*> replaced;
        for (auto it = g.changed.rbegin(); it != g.changed.rend(); ++it) {
            AcDbObject* current = it->stub->object;
            AcDbObject* before = it->before.release();
            if (!current || db_.swapIdWith(current, before) != Acad::eOk) {
                delete before;
                continue;
            }
            before->setOwnerHandle(it->owner);
            before->setErasedFlag(it->erased);
            before->setOpenMode(AcDb::kNotOpen);
            replaced[current] = before;
            Retire(current);
        }
        // A restored reference points at its attributes as they are now; references that were
        // not changed follow their attributes' new records.
        for (const Saved& s : g.changed) {
            auto* ref = dynamic_cast<AcDbBlockReference*>(s.stub->object);
            if (!ref) continue;
            for (AcDbAttribute* copy : ref->attributes()) delete copy;
            std::vector<AcDbAttribute*> atts;
            for (AcDbStub* a : s.attributes)
                if (auto* att = dynamic_cast<AcDbAttribute*>(a ? a->object : nullptr))
                    atts.push_back(att);
            ref->setAttributePointers(std::move(atts));
            ref->seqendHandle = s.seqend;
        }
        if (!replaced.empty())
            db_.forEachObject([&](AcDbObject* o) {
                auto* ref = dynamic_cast<AcDbBlockReference*>(o);
                if (!ref) return;
                std::vector<AcDbAttribute*> atts = ref->attributes();
                for (AcDbAttribute*& a : atts)
                    if (auto r = replaced.find(a); r != replaced.end())
                        a = static_cast<AcDbAttribute*>(r->second);
                ref->setAttributePointers(std::move(atts));
            });
        db_.header_ = std::move(g.header);
        db_.handseed_ = g.handseed;
        db_.modified_ = g.modifiedBefore;
        return true;
    }

private:
    static AcDbDxfTags Fields(const AcDbObject& o) {
        AcDbDxfFiler filer(&o.keptTags());
        o.dxfOutFields(filer);
        return filer.finish();
    }

    static bool SameTags(const AcDbDxfTags& a, const AcDbDxfTags& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const AcDbDxfTag& x, const AcDbDxfTag& y) {
                              return x.code == y.code && x.value == y.value;
                          });
    }

    // Whether the object in the record is what was saved of it: the same flags, owner,
    // extended data, fields, and members (block entities, table records, dictionary entries,
    // attributes).
    static bool Unchanged(const Saved& s) {
        const AcDbObject* now = s.stub->object;
        const AcDbObject* was = s.before.get();
        if (!now || now->isErased() != s.erased || now->ownerHandle() != s.owner) return false;
        if (typeid(*now) != typeid(*was)) return false;
        const auto& nx = now->xDataApps();
        const auto& wx = was->xDataApps();
        if (nx.size() != wx.size()) return false;
        for (size_t i = 0; i < nx.size(); ++i)
            if (nx[i].app != wx[i].app || !SameTags(nx[i].tags, wx[i].tags)) return false;
        if (!SameTags(Fields(*now), Fields(*was))) return false;
        if (auto* block = dynamic_cast<const AcDbBlockTableRecord*>(now))
            return block->entityIds() == static_cast<const AcDbBlockTableRecord*>(was)->entityIds();
        if (auto* table = dynamic_cast<const AcDbSymbolTable*>(now))
            return table->recordIds() == static_cast<const AcDbSymbolTable*>(was)->recordIds();
        if (auto* dict = dynamic_cast<const AcDbDictionary*>(now)) {
            const auto& a = dict->entries();
            const auto& b = static_cast<const AcDbDictionary*>(was)->entries();
            return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                              [](const auto& x, const auto& y) {
                                  return x.key == y.key && x.handle == y.handle;
                              });
        }
        if (auto* ref = dynamic_cast<const AcDbBlockReference*>(now)) {
            if (ref->attributes().size() != s.attributes.size()) return false;
            for (size_t i = 0; i < s.attributes.size(); ++i)
                if (ref->attributes()[i]->objectId().stub() != s.attributes[i]) return false;
            return ref->seqendHandle == s.seqend;
        }
        return true;
    }

    // An object leaving the database: no id, and a reference no longer claims the database's
    // attributes (they are retired or restored on their own).
    static AcDbObject* Detach(AcDbObject& o) {
        if (auto* ref = dynamic_cast<AcDbBlockReference*>(&o)) ref->setAttributePointers({});
        return &o;
    }

    void Retire(AcDbObject* o) {
        o->setOpenMode(AcDb::kNotOpen);
        retired_.emplace_back(o);
    }

    void TakeOut(AcDbStub& stub) {
        AcDbObject* o = stub.object;
        if (!o) return;
        db_.byHandle_.erase(stub.handle.value());
        o->setDatabaseStub(AcDbObjectId(), AcDbHandle());
        stub.object = nullptr;
        Retire(o);
    }

    AcDbDatabase& db_;
    std::optional<Group> open_;
    std::vector<Group> done_;
    std::vector<std::unique_ptr<AcDbObject>> retired_;
};

}  // namespace solx::db
