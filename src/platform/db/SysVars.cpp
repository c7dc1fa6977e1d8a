// Header and session variables by name.
#include <cstring>
#include <cwchar>

#include "acad/AcDbDatabase.h"
#include "db/TagResbuf.h"

namespace {

enum class Kind { Text, Short, Real, Point };
struct HeaderSpec {
    const wchar_t* name;
    int code;
    Kind kind;
    const char* defaultValue;
};

// Header variables the program reads or sets, with their DXF group code and default.
const HeaderSpec kHeader[] = {
    {L"CLAYER", 8, Kind::Text, "0"},        {L"TEXTSTYLE", 7, Kind::Text, "Standard"},
    {L"CELTYPE", 6, Kind::Text, "ByLayer"}, {L"INSUNITS", 70, Kind::Short, "4"},
    {L"THICKNESS", 40, Kind::Real, "0.0"},  {L"ELEVATION", 40, Kind::Real, "0.0"},
    {L"TEXTSIZE", 40, Kind::Real, "2.5"},   {L"LTSCALE", 40, Kind::Real, "1.0"},
    {L"CECOLOR", 62, Kind::Short, "256"},   {L"LUNITS", 70, Kind::Short, "2"},
    {L"LUPREC", 70, Kind::Short, "4"},      {L"AUNITS", 70, Kind::Short, "0"},
    {L"ANGBASE", 50, Kind::Real, "0.0"},    {L"ANGDIR", 70, Kind::Short, "0"},
    {L"PDMODE", 70, Kind::Short, "0"},      {L"PDSIZE", 40, Kind::Real, "0.0"},
    {L"MEASUREMENT", 70, Kind::Short, "1"}, {L"INSBASE", 10, Kind::Point, "0.0"},
    {L"EXTMIN", 10, Kind::Point, "0.0"},    {L"EXTMAX", 10, Kind::Point, "0.0"},
    {L"SPLINESEGS", 70, Kind::Short, "8"},  {L"SPLFRAME", 70, Kind::Short, "0"},
};

// Variables of the program's session, not stored in drawings.
struct SessionSpec {
    const wchar_t* name;
    short value;
};
const SessionSpec kSession[] = {{L"PICKBOX", 3}, {L"CVPORT", 2},    {L"OSMODE", 0},
                                {L"CMDECHO", 1}, {L"HIGHLIGHT", 1}, {L"BLIPMODE", 0}};

const HeaderSpec* headerSpec(const std::wstring& name) {
    for (const auto& s : kHeader)
        if (solx::db::sameName(name, s.name)) return &s;
    return nullptr;
}

wchar_t* newText(const std::wstring& s) {
    auto* out = new wchar_t[s.size() + 1];
    std::wmemcpy(out, s.c_str(), s.size() + 1);
    return out;
}

void fillFromTags(const HeaderSpec& spec, const AcDbDxfTags& tags, resbuf* out) {
    auto value = [&](int code) -> AcDbDxfTag {
        for (const auto& t : tags)
            if (t.code == code) return t;
        return {code, spec.defaultValue};
    };
    switch (spec.kind) {
        case Kind::Text:
            out->restype = RTSTR, out->resval.rstring = newText(acdbDxfText(value(spec.code)));
            break;
        case Kind::Short:
            out->restype = RTSHORT,
            out->resval.rint = static_cast<short>(acdbDxfInt(value(spec.code)));
            break;
        case Kind::Real:
            out->restype = RTREAL, out->resval.rreal = acdbDxfReal(value(spec.code));
            break;
        case Kind::Point:
            out->restype = RT3DPOINT;
            for (int k = 0; k < 3; ++k)
                out->resval.rpoint[k] = acdbDxfReal(value(spec.code + 10 * k));
    }
}

bool tagsFromValue(const HeaderSpec& spec, const resbuf* v, AcDbDxfTags& tags) {
    int t = v->restype;
    switch (spec.kind) {
        case Kind::Text:
            if (t != RTSTR || !v->resval.rstring) return false;
            tags = {{spec.code, acdbUtf8(v->resval.rstring)}};
            return true;
        case Kind::Short:
            if (t != RTSHORT && t != RTLONG) return false;
            tags = {{spec.code, std::to_string(t == RTSHORT ? v->resval.rint : v->resval.rlong)}};
            return true;
        case Kind::Real:
            if (t != RTREAL && t != RTSHORT) return false;
            tags = {{spec.code, acdbDxfNumber(t == RTREAL ? v->resval.rreal : v->resval.rint)}};
            return true;
        case Kind::Point:
            if (t != RTPOINT && t != RT3DPOINT) return false;
            tags.clear();
            for (int k = 0; k < 3; ++k)
                tags.push_back({spec.code + 10 * k,
                                acdbDxfNumber(t == RTPOINT && k == 2 ? 0 : v->resval.rpoint[k])});
            return true;
    }
    return false;
}

}  // namespace

int AcDbDatabase::getSysVar(const wchar_t* name, resbuf* out) const {
    if (!name || !out) return RTERROR;
    std::wstring n = solx::db::upper(name);
    if (const HeaderSpec* spec = headerSpec(n)) {
        const HeaderVar* var = headerVar("$" + acdbUtf8(n));
        fillFromTags(*spec, var ? var->tags : AcDbDxfTags{}, out);
        return RTNORM;
    }
    if (auto it = sessionVars_.find(n); it != sessionVars_.end()) {
        resbuf* copy = acutDuplicateRb(it->second);
        *out = *copy;
        out->rbnext = nullptr;
        delete copy;  // the value (and its string) now belongs to out
        return RTNORM;
    }
    for (const auto& s : kSession)
        if (n == s.name) {
            out->restype = RTSHORT;
            out->resval.rint = s.value;
            return RTNORM;
        }
    return RTERROR;
}

int AcDbDatabase::setSysVar(const wchar_t* name, const resbuf* value) {
    if (!name || !value) return RTERROR;
    std::wstring n = solx::db::upper(name);
    if (const HeaderSpec* spec = headerSpec(n)) {
        AcDbDxfTags tags;
        if (!tagsFromValue(*spec, value, tags)) return RTERROR;
        // The current layer and text style must exist.
        if (n == L"CLAYER" && symbolId(L"LAYER", value->resval.rstring).isNull()) return RTERROR;
        if (n == L"TEXTSTYLE" && symbolId(L"STYLE", value->resval.rstring).isNull()) return RTERROR;
        setHeaderVar("$" + acdbUtf8(n), std::move(tags));
        return RTNORM;
    }
    resbuf* copy = acutDuplicateRb(value);
    acutRelRb(copy->rbnext);
    copy->rbnext = nullptr;
    if (auto it = sessionVars_.find(n); it != sessionVars_.end()) acutRelRb(it->second);
    sessionVars_[n] = copy;
    return RTNORM;
}

AcDbObjectId AcDbDatabase::clayer() const {
    resbuf rb;
    getSysVar(L"CLAYER", &rb);
    AcDbObjectId id = symbolId(L"LAYER", rb.resval.rstring);
    delete[] rb.resval.rstring;
    return id.isNull() ? symbolId(L"LAYER", L"0") : id;
}

Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId layer) {
    auto* rec = dynamic_cast<AcDbLayerTableRecord*>(layer.object());
    if (!rec) return Acad::eInvalidInput;
    std::wstring name = rec->getName();
    resbuf rb;
    rb.restype = RTSTR;
    rb.resval.rstring = name.data();
    return setSysVar(L"CLAYER", &rb) == RTNORM ? Acad::eOk : Acad::eInvalidInput;
}

AcDbObjectId AcDbDatabase::textstyle() const {
    resbuf rb;
    getSysVar(L"TEXTSTYLE", &rb);
    AcDbObjectId id = symbolId(L"STYLE", rb.resval.rstring);
    delete[] rb.resval.rstring;
    return id;
}

Acad::ErrorStatus AcDbDatabase::setTextstyle(AcDbObjectId style) {
    auto* rec = dynamic_cast<AcDbTextStyleTableRecord*>(style.object());
    if (!rec) return Acad::eInvalidInput;
    std::wstring name = rec->getName();
    resbuf rb;
    rb.restype = RTSTR;
    rb.resval.rstring = name.data();
    return setSysVar(L"TEXTSTYLE", &rb) == RTNORM ? Acad::eOk : Acad::eInvalidInput;
}

int AcDbDatabase::insunits() const {
    resbuf rb;
    getSysVar(L"INSUNITS", &rb);
    return rb.resval.rint;
}

void AcDbDatabase::setInsunits(int units) {
    resbuf rb;
    rb.restype = RTSHORT;
    rb.resval.rint = static_cast<short>(units);
    setSysVar(L"INSUNITS", &rb);
}

double AcDbDatabase::thickness() const {
    resbuf rb;
    getSysVar(L"THICKNESS", &rb);
    return rb.resval.rreal;
}

void AcDbDatabase::setThickness(double t) {
    resbuf rb;
    rb.restype = RTREAL;
    rb.resval.rreal = t;
    setSysVar(L"THICKNESS", &rb);
}
