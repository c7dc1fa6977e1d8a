#include "db/TagResbuf.h"

#include <cwctype>

namespace solx::db {

static resbuf* tagToResbuf(const AcDbDxfTags& tags, size_t& i) {
    const AcDbDxfTag& t = tags[i];
    resbuf* rb = acutNewRb(t.code);
    switch (acutResbufValueKind(t.code)) {
        case ResbufValueKind::Point:
            rb->resval.rpoint[0] = acdbDxfReal(t);
            for (int k = 1; k <= 2 && i + 1 < tags.size() && tags[i + 1].code == t.code + 10 * k;
                 ++k)
                rb->resval.rpoint[k] = acdbDxfReal(tags[++i]);
            break;
        case ResbufValueKind::Real:
            rb->resval.rreal = acdbDxfReal(t);
            break;
        case ResbufValueKind::Short:
            rb->resval.rint = static_cast<short>(acdbDxfInt(t));
            break;
        case ResbufValueKind::Long:
            rb->resval.rlong = acdbDxfInt(t);
            break;
        case ResbufValueKind::Int64:
            rb->resval.mnInt64 = std::strtoll(t.value.c_str(), nullptr, 10);
            break;
        default: {
            std::wstring w = acdbDxfText(t);
            rb->resval.rstring = new wchar_t[w.size() + 1];
            std::wcsncpy(rb->resval.rstring, w.c_str(), w.size() + 1);
        }
    }
    return rb;
}

resbuf* tagsToResbuf(const AcDbDxfTags& tags) {
    resbuf *head = nullptr, *tail = nullptr;
    for (size_t i = 0; i < tags.size(); ++i) {
        resbuf* rb = tagToResbuf(tags, i);
        (tail ? tail->rbnext : head) = rb;
        tail = rb;
    }
    return head;
}

AcDbDxfTags resbufToTags(const resbuf* rb) {
    AcDbDxfTags out;
    for (; rb; rb = rb->rbnext) {
        int c = rb->restype;
        switch (acutResbufValueKind(c)) {
            case ResbufValueKind::Point:
                for (int k = 0; k < 3; ++k)
                    out.push_back({c + 10 * k, acdbDxfNumber(rb->resval.rpoint[k])});
                break;
            case ResbufValueKind::Real:
                out.push_back({c, acdbDxfNumber(rb->resval.rreal)});
                break;
            case ResbufValueKind::Short:
                out.push_back({c, std::to_string(rb->resval.rint)});
                break;
            case ResbufValueKind::Long:
                out.push_back({c, std::to_string(rb->resval.rlong)});
                break;
            case ResbufValueKind::Int64:
                out.push_back({c, std::to_string(rb->resval.mnInt64)});
                break;
            case ResbufValueKind::Text:
                out.push_back({c, acdbUtf8(rb->resval.rstring ? rb->resval.rstring : L"")});
                break;
            default:
                break;
        }
    }
    return out;
}

AcDbFilterValue filterValueOf(const AcDbDxfTag& tag, const std::vector<AcDbKeptTag>& all) {
    switch (acutResbufValueKind(tag.code)) {
        case ResbufValueKind::Point: {
            AcGePoint3d p(acdbDxfReal(tag), 0, 0);
            for (size_t i = 0; i < all.size(); ++i) {
                if (&all[i].tag != &tag) continue;
                for (int k = 1; k <= 2 && i + static_cast<size_t>(k) < all.size(); ++k)
                    if (all[i + static_cast<size_t>(k)].tag.code == tag.code + 10 * k)
                        p[k] = acdbDxfReal(all[i + static_cast<size_t>(k)].tag);
            }
            return AcDbFilterValue::ofPoint(p);
        }
        case ResbufValueKind::Real:
        case ResbufValueKind::Short:
        case ResbufValueKind::Long:
        case ResbufValueKind::Int64:
            return AcDbFilterValue::ofNumber(acdbDxfReal(tag));
        default:
            return AcDbFilterValue::ofText(acdbDxfText(tag));
    }
}

std::wstring upper(const std::wstring& s) {
    std::wstring u = s;
    for (auto& c : u) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return u;
}

bool sameName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i])))
            return false;
    return true;
}

bool sameName(const std::wstring& a, const wchar_t* b) {
    if (!b) return a.empty();
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

}  // namespace solx::db
