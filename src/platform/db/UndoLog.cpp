// Undo groups of the database (see db/UndoLog.h).
#include "db/UndoLog.h"

void AcDbDatabase::startUndoGroup() {
    if (!undo_) undo_ = std::make_unique<solx::db::UndoLog>(*this);
    undo_->Start();
}

bool AcDbDatabase::endUndoGroup() {
    const bool changed = undo_ && undo_->End();
    if (changed) modified_ = true;
    return changed;
}

bool AcDbDatabase::undoGroup() {
    ++changes_;
    return undo_ && undo_->Undo();
}

size_t AcDbDatabase::undoGroups() const {
    return undo_ ? undo_->Groups() : 0;
}

void AcDbDatabase::setModified(bool modified) {
    modified_ = modified;
    if (!modified && undo_) undo_->MarkSaved();
}

void AcDbDatabase::noteWrite(AcDbObject* object) {
    ++changes_;
    if (undo_) undo_->NoteWrite(object);
}

void AcDbDatabase::noteHighlight(AcDbStub* stub, bool on) {
    if (!stub) return;
    const bool changed = on ? highlighted_.insert(stub).second : highlighted_.erase(stub) > 0;
    if (changed) ++highlightChanges_;
}

void AcDbDatabase::unhighlightAll() {
    if (highlighted_.empty()) return;
    for (AcDbStub* stub : std::set<AcDbStub*>(highlighted_))
        if (auto* entity = dynamic_cast<AcDbEntity*>(stub->object)) entity->unhighlight();
    highlighted_.clear();
    ++highlightChanges_;
}
