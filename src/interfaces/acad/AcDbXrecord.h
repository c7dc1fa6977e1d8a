#pragma once

#include "acad/AcDbObject.h"

// XRECORD: an application's data as a list of DXF-coded items, kept exactly as written
// (binary chunks stay byte for byte).
class AcDbXrecord : public AcDbObject {
public:
    AcDbObject* clone() const override { return new AcDbXrecord(*this); }
    std::wstring dxfName() const override { return L"XRECORD"; }
    // The items as a new list the caller frees with acutRelRb; null when empty.
    Acad::ErrorStatus rbChain(resbuf** list) const;
    Acad::ErrorStatus setFromRbChain(const resbuf* list);
    const AcDbDxfTags& data() const { return data_; }
    void setData(AcDbDxfTags data) { data_ = std::move(data); }
    bool dxfInField(const AcDbDxfTag& tag, const std::string& subclass) override;
    void dxfOutFields(AcDbDxfFiler& filer) const override;

private:
    AcDbDxfTags data_;
    int cloning_ = 1;
    bool seenCloning_ = false;
};
