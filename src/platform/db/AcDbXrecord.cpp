// XRECORD: an application's items kept as written.
#include "acad/AcDbXrecord.h"
#include "db/TagResbuf.h"

Acad::ErrorStatus AcDbXrecord::rbChain(resbuf** list) const {
    if (!list) return Acad::eNullObjectPointer;
    *list = solx::db::tagsToResbuf(data_);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbXrecord::setFromRbChain(const resbuf* list) {
    data_ = solx::db::resbufToTags(list);
    return Acad::eOk;
}

bool AcDbXrecord::dxfInField(const AcDbDxfTag& t, const std::string& sub) {
    if (sub != "AcDbXrecord" && !sub.empty()) return false;
    if (t.code == 280 && !seenCloning_ && data_.empty()) {
        cloning_ = acdbDxfInt(t);
        seenCloning_ = true;
        return true;
    }
    data_.push_back(t);
    return true;
}

void AcDbXrecord::dxfOutFields(AcDbDxfFiler& f) const {
    f.writeSubclass("AcDbXrecord");
    f.writeInt(280, cloning_);
    for (const auto& t : data_) f.writeUtf8(t.code, t.value);
}
