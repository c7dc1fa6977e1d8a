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
    if (undo_) undo_->NoteWrite(object);
}
