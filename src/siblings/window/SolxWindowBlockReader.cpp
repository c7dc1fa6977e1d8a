#include <cwchar>
#include <cwctype>
#include <string>

#include "acad/AcDbAttribute.h"
#include "acad/AcDbBlockReference.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxWinSunlightInfo.h"

// Only inline accessors of the drawing objects are used here, so the window records do not
// tie the sibling library to one build of the drawing database.

namespace {

bool SameTag(const std::wstring& a, const wchar_t* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::towupper(a[i]) != std::towupper(b[i])) return false;
    return i == a.size() && !b[i];
}

// Leading blanks and a sign are read, anything unreadable is 0, as the C runtime reads it.
int ReadInt(const std::wstring& text) {
    return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
}

void ReadAttributes(const AcDbBlockReference& ref, SolxWindowBlock& block) {
    for (const AcDbAttribute* attribute : ref.attributes()) {
        if (!attribute) continue;
        const std::wstring tag = attribute->tag();
        if (SameTag(tag, L"FLOOR"))
            block.floor = ReadInt(attribute->textString());
        else if (SameTag(tag, L"NUMBER"))
            block.number = ReadInt(attribute->textString());
        else if (SameTag(tag, L"LABEL"))
            block.label = attribute->textString();
    }
}

}  // namespace

SolxWindowBlock SolxReadWindowBlock(const AcDbEntity* entity) {
    SolxWindowBlock block;
    if (!entity || entity->dxfName() != L"INSERT") return block;
    const auto& ref = static_cast<const AcDbBlockReference&>(*entity);
    const AcGePoint3d p = ref.position();
    block.insertion = {p.x, p.y, p.z};
    block.rotation = ref.rotation();
    const AcGeScale3d scale = ref.scaleFactors();
    block.width = scale.sx;
    block.depth = scale.sy;
    block.height = scale.sz;
    ReadAttributes(ref, block);
    return block;
}

SolxWinSunlightInfo::SolxWinSunlightInfo(const AcDbEntity* entity, int /*mode*/, double unitsPerMm)
    : SolxWinSunlightInfo(SolxReadWindowBlock(entity), g_nSunWinOffset * unitsPerMm) {}
