// Result-buffer lists: allocation, release, building from variadic arguments, copying.
#include <cstdarg>
#include <cstring>
#include <cwchar>

#include "acad/adsdef.h"

ResbufValueKind acutResbufValueKind(int t) {
    switch (t) {
        case RTREAL:
        case RTANG:
        case RTORINT:
            return ResbufValueKind::Real;
        case RTPOINT:
        case RT3DPOINT:
            return ResbufValueKind::Point;
        case RTSHORT:
            return ResbufValueKind::Short;
        case RTLONG:
            return ResbufValueKind::Long;
        case RTINT64:
        case RTLONG_PTR:
            return ResbufValueKind::Int64;
        case RTSTR:
        case RTDXF0:
            return ResbufValueKind::Text;
        case RTENAME:
        case RTPICKS:
            return ResbufValueKind::Name;
        default:
            break;
    }
    if (t >= 5000) return ResbufValueKind::None;
    if (t == 1004 || (t >= 310 && t <= 319)) return ResbufValueKind::Text;
    if ((t >= 0 && t <= 9) || t == 100 || t == 102 || t == 105 || (t >= 300 && t <= 369) ||
        (t >= 390 && t <= 399) || (t >= 410 && t <= 419) || (t >= 430 && t <= 439) ||
        (t >= 470 && t <= 481) || t == 999 || (t >= 1000 && t <= 1009) || t < 0)
        return t == -1 || t == -2 ? ResbufValueKind::Name : ResbufValueKind::Text;
    if ((t >= 10 && t <= 37) || (t >= 1010 && t <= 1039) || (t >= 110 && t <= 139))
        return ResbufValueKind::Point;
    if ((t >= 38 && t <= 59) || (t >= 140 && t <= 149) || (t >= 210 && t <= 239) ||
        (t >= 460 && t <= 469) || (t >= 1040 && t <= 1042))
        return ResbufValueKind::Real;
    if ((t >= 90 && t <= 99) || (t >= 420 && t <= 429) || (t >= 440 && t <= 459) || t == 1071)
        return ResbufValueKind::Long;
    if (t >= 160 && t <= 169) return ResbufValueKind::Int64;
    return ResbufValueKind::Short;  // 60-79, 170-179, 270-289, 370-389, 400-409, 1060-1070
}

resbuf* acutNewRb(int restype) {
    auto* rb = new resbuf;
    rb->restype = static_cast<short>(restype);
    return rb;
}

static void freeValue(resbuf* rb) {
    if (acutResbufValueKind(rb->restype) == ResbufValueKind::Text) delete[] rb->resval.rstring;
}

int acutRelRb(resbuf* rb) {
    while (rb) {
        resbuf* next = rb->rbnext;
        freeValue(rb);
        delete rb;
        rb = next;
    }
    return RTNORM;
}

static wchar_t* copyText(const wchar_t* s) {
    if (!s) s = L"";
    size_t n = std::wcslen(s);
    auto* out = new wchar_t[n + 1];
    std::wmemcpy(out, s, n + 1);
    return out;
}

static bool takeValue(resbuf* rb, va_list& args) {
    switch (acutResbufValueKind(rb->restype)) {
        case ResbufValueKind::Real:
            rb->resval.rreal = va_arg(args, double);
            return true;
        case ResbufValueKind::Point: {
            const double* p = va_arg(args, const double*);
            for (int i = 0; i < 3; ++i) rb->resval.rpoint[i] = p ? p[i] : 0.0;
            return true;
        }
        case ResbufValueKind::Short:
            rb->resval.rint = static_cast<short>(va_arg(args, int));
            return true;
        case ResbufValueKind::Long:
            rb->resval.rlong = va_arg(args, int);
            return true;
        case ResbufValueKind::Int64:
            rb->resval.mnInt64 = va_arg(args, int64_t);
            return true;
        case ResbufValueKind::Text:
            rb->resval.rstring = copyText(va_arg(args, const wchar_t*));
            return true;
        case ResbufValueKind::Name: {
            const int64_t* n = va_arg(args, const int64_t*);
            rb->resval.rlname[0] = n ? n[0] : 0;
            rb->resval.rlname[1] = n ? n[1] : 0;
            return true;
        }
        case ResbufValueKind::None:  // list structure items carry no value
            return rb->restype == RTLB || rb->restype == RTLE || rb->restype == RTDOTE ||
                   rb->restype == RTNIL || rb->restype == RTT || rb->restype == RTVOID ||
                   rb->restype == RTNONE;
            return rb->restype >= 5000;
        case ResbufValueKind::Binary:
            return false;
    }
    return false;
}

resbuf* acutBuildList(int rtype, ...) {
    va_list args;
    va_start(args, rtype);
    resbuf *head = nullptr, *tail = nullptr;
    for (int type = rtype; type != 0; type = va_arg(args, int)) {
        resbuf* rb = acutNewRb(type);
        bool ok = takeValue(rb, args);
        (tail ? tail->rbnext : head) = rb;
        tail = rb;
        if (!ok) {
            acutRelRb(head);
            head = nullptr;
            break;
        }
    }
    va_end(args);
    return head;
}

resbuf* acutDuplicateRb(const resbuf* rb) {
    resbuf *head = nullptr, *tail = nullptr;
    for (; rb; rb = rb->rbnext) {
        resbuf* copy = acutNewRb(rb->restype);
        copy->resval = rb->resval;
        if (acutResbufValueKind(rb->restype) == ResbufValueKind::Text)
            copy->resval.rstring = copyText(rb->resval.rstring);
        (tail ? tail->rbnext : head) = copy;
        tail = copy;
    }
    return head;
}
