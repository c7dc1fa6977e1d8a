// Basic types of the drawing database: status codes, open modes, enumerations, handles,
// object ids, extents and the filter value of a DXF group code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "acad/acge.h"

namespace Acad {
enum ErrorStatus {
    eOk = 0,
    eNotImplementedYet = 1,
    eNotApplicable = 2,
    eInvalidInput = 3,
    eOutOfMemory = 5,
    eKeyNotFound = 6,
    eDuplicateKey = 7,
    eInvalidIndex = 8,
    eNullObjectId = 14,
    eNullObjectPointer = 15,
    eNotOpenForRead = 19,
    eNotOpenForWrite = 20,
    eWasErased = 33,
    eWasOpenForRead = 37,
    eWasOpenForWrite = 38,
    eWasOpenForNotify = 40,
    eAlreadyInDb = 45,
    eFileNotFound = 46,
    eInvalidDxfCode = 53,
    eNotInDatabase = 58,
    eDegenerateGeometry = 69,
    eInvalidAdsName = 72,
    eIllegalReplacement = 75,
    eBadDxfSequence = 82,
    eNotThatKindOfClass = 90,
    eWrongObjectType = 96,
    eFilerError = 98,
    eGeneralModelingFailure = 102,
    eNonPlanarEntity = 103,
    eCannotBeErasedByCaller = 116,
    eInvalidKey = 128,
    eNullEntityPointer = 156,
    eRegappIdNotFound = 165,
    eInvalidXData = 166,
    eNoDatabase = 178,
    eCannotWriteFile = 220,
    eBadDxfFile = 221,
    eDwgNotRecognized = 226,
};
}  // namespace Acad

namespace AcDb {
enum OpenMode { kNotOpen = -1, kForRead = 0, kForWrite = 1, kForNotify = 2 };
enum TextHorzMode {
    kTextLeft = 0,
    kTextCenter = 1,
    kTextRight = 2,
    kTextAlign = 3,
    kTextMid = 4,
    kTextFit = 5
};
enum TextVertMode { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };
enum BoolOperType { kBoolUnite = 0, kBoolIntersect = 1, kBoolSubtract = 2 };
enum Poly2dType {
    k2dSimplePoly = 0,
    k2dFitCurvePoly = 1,
    k2dQuadSplinePoly = 2,
    k2dCubicSplinePoly = 3
};
enum Poly3dType { k3dSimplePoly = 0, k3dQuadSplinePoly = 1, k3dCubicSplinePoly = 2 };
enum Visibility { kVisible = 0, kInvisible = 1 };
enum UnitsValue {
    kUnitsUndefined = 0,
    kUnitsInches = 1,
    kUnitsFeet = 2,
    kUnitsMillimeters = 4,
    kUnitsCentimeters = 5,
    kUnitsMeters = 6
};
}  // namespace AcDb

// A name that many objects carry (layer, linetype, text style, block, attribute tag): each
// distinct text is stored once for the whole process and never freed, and an object holds a
// pointer to it. Used like the string it stands for; equal names are the same pointer.
class AcDbSharedName {
public:
    AcDbSharedName();
    AcDbSharedName(const std::wstring& text);  // NOLINT(google-explicit-constructor)
    AcDbSharedName(const wchar_t* text);       // NOLINT(google-explicit-constructor)
    // The name of a DXF text value (UTF-8): one lookup, no wide string made when it is known.
    static AcDbSharedName fromUtf8(std::string_view text);

    const std::wstring& str() const { return *text_; }
    operator const std::wstring&() const { return *text_; }  // NOLINT
    const wchar_t* c_str() const { return text_->c_str(); }
    bool empty() const { return text_->empty(); }
    friend bool operator==(const AcDbSharedName& a, const AcDbSharedName& b) {
        return a.text_ == b.text_;
    }

private:
    explicit AcDbSharedName(const std::wstring* text) : text_(text) {}
    const std::wstring* text_;
};

// A persistent object handle: unique in its database, written to DXF as hexadecimal text.
class AcDbHandle {
public:
    AcDbHandle() = default;
    explicit AcDbHandle(uint64_t value) : value_(value) {}
    explicit AcDbHandle(const wchar_t* hex);  // 0 on text that is not hexadecimal
    bool isNull() const { return value_ == 0; }
    uint64_t value() const { return value_; }
    std::wstring toString() const;  // upper-case hexadecimal, "0" for null
    bool getIntoAsciiBuffer(wchar_t* buf, size_t size) const;
    AcDbHandle& operator++() {
        ++value_;
        return *this;
    }
    auto operator<=>(const AcDbHandle&) const = default;

private:
    uint64_t value_ = 0;
};

class AcDbDatabase;
class AcDbObject;
struct AcDbStub;  // the database's record of one object; see AcDbObjectId

// Identifies an object of a loaded database for the database's lifetime (also after the object
// was erased; then isErased() is true). A null id identifies nothing.
class AcDbObjectId {
public:
    AcDbObjectId() = default;
    explicit AcDbObjectId(AcDbStub* stub) : stub_(stub) {}
    bool isNull() const { return stub_ == nullptr; }
    bool isValid() const;
    bool isErased() const;
    AcDbHandle handle() const;
    AcDbDatabase* database() const;
    AcDbObject* object() const;  // the object without opening it; null when none
    intptr_t asOldId() const { return reinterpret_cast<intptr_t>(stub_); }
    AcDbObjectId& setFromOldId(intptr_t old) {
        stub_ = reinterpret_cast<AcDbStub*>(old);
        return *this;
    }
    AcDbStub* stub() const { return stub_; }
    auto operator<=>(const AcDbObjectId&) const = default;
    static const AcDbObjectId kNull;

private:
    AcDbStub* stub_ = nullptr;
};
inline const AcDbObjectId AcDbObjectId::kNull{};
using AcDbObjectIdArray = AcArray<AcDbObjectId>;

// An axis-aligned box in world coordinates.
class AcDbExtents {
public:
    AcDbExtents() = default;
    AcDbExtents(const AcGePoint3d& a, const AcGePoint3d& b) {
        addPoint(a);
        addPoint(b);
    }
    const AcGePoint3d& minPoint() const { return min_; }
    const AcGePoint3d& maxPoint() const { return max_; }
    bool isEmpty() const { return empty_; }
    void addPoint(const AcGePoint3d& p) {
        if (empty_) {
            min_ = max_ = p;
            empty_ = false;
            return;
        }
        for (int i = 0; i < 3; ++i) {
            min_[i] = std::min(min_[i], p[i]);
            max_[i] = std::max(max_[i], p[i]);
        }
    }
    void addExt(const AcDbExtents& e) {
        if (e.empty_) return;
        addPoint(e.min_);
        addPoint(e.max_);
    }
    void set(const AcGePoint3d& a, const AcGePoint3d& b) {
        empty_ = true;
        addPoint(a);
        addPoint(b);
    }

private:
    AcGePoint3d min_, max_;
    bool empty_ = true;
};

// What an object writes for one DXF group code, for filter lists: a number (ints and reals),
// a text, or a point.
struct AcDbFilterValue {
    bool isNumber = false;
    double number = 0;
    std::wstring text;
    AcGePoint3d point;
    bool isPoint = false;
    static AcDbFilterValue ofNumber(double n) {
        AcDbFilterValue v;
        v.isNumber = true;
        v.number = n;
        return v;
    }
    static AcDbFilterValue ofText(std::wstring t) {
        AcDbFilterValue v;
        v.text = std::move(t);
        return v;
    }
    static AcDbFilterValue ofPoint(const AcGePoint3d& p) {
        AcDbFilterValue v;
        v.isPoint = true;
        v.point = p;
        return v;
    }
};
