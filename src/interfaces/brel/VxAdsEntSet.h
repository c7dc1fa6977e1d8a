#pragma once
// Selection wrappers of the product family: one entity (VxAdsEnt) and an ordered set of
// distinct entities (VxAdsEntSet), both over the working drawing. Status codes are the host's.

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "acad/AcDbCore.h"
#include "acad/adsdef.h"

class AcDbEntity;

class VxAdsEnt {
public:
    VxAdsEnt() = default;
    explicit VxAdsEnt(AcDbObjectId id) : m_id(id) {}
    explicit VxAdsEnt(const ads_name name);

    AcDbObjectId GetObjectId() const { return m_id; }
    bool IsNull() const { return m_id.isNull(); }
    void GetAdsName(ads_name name) const;
    // Opens the entity; the caller closes it. eNullObjectId for an empty wrapper.
    Acad::ErrorStatus Open(AcDbEntity*& entity, AcDb::OpenMode mode) const;
    // Asks the user to pick one entity within pickSize drawing units of the picked point
    // (pickSize <= 0: the PICKBOX aperture); the entity must pass filter (may be null).
    int Select(double pickSize, const wchar_t* prompt, const resbuf* filter, ads_point pickPoint);

    friend bool operator==(const VxAdsEnt& a, const VxAdsEnt& b) { return a.m_id == b.m_id; }

private:
    AcDbObjectId m_id;
};

class VxAdsEntSet {
public:
    // mode is kept for the family's callers; every set behaves the same here.
    explicit VxAdsEntSet(int mode = 0) : m_mode(mode) {}

    // Replaces the members with the entities of model space that pass filter (may be null):
    //   "X"  all;  "W" inside the window pt1, pt2 (ads_point);  "C" inside or crossing it;
    //   "F"  crossing the fence pt1 (a resbuf chain of RTPOINT / RT3DPOINT);  "L" the last
    //   entity;  null mode asks the user (see VxPtSelectEntities).
    // RTNORM when something was selected, RTERROR when nothing (or a malformed filter),
    // other statuses as the user answered.
    int Get(const wchar_t* mode, const void* pt1 = nullptr, const void* pt2 = nullptr,
            const resbuf* filter = nullptr);

    int Mode() const { return m_mode; }
    int GetLength() const { return static_cast<int>(m_ids.size()); }
    VxAdsEnt operator[](int index) const { return VxAdsEnt(m_ids.at(index)); }
    AcDbObjectId GetObjectId(int index) const { return m_ids.at(index); }
    const std::vector<AcDbObjectId>& Ids() const { return m_ids; }

    // Adding keeps the order and skips members already present; removing ignores non-members.
    VxAdsEntSet& operator+=(const VxAdsEnt& ent);
    VxAdsEntSet& operator+=(const VxAdsEntSet& other);
    VxAdsEntSet& operator-=(const VxAdsEnt& ent);
    VxAdsEntSet& operator-=(const VxAdsEntSet& other);
    bool IsInclude(const VxAdsEnt& ent) const;

    // The extents of all members; false when the set has no member with extents.
    bool GetExtent(AcGePoint3d& minPoint, AcGePoint3d& maxPoint) const;

    // Between IncludeBegin and IncludeEnd, every entity added to model space is collected:
    // IncludeEnd adds them to the set.
    void IncludeBegin();
    void IncludeEnd();
    // Makes an unnamed group of the members in the group dictionary; its id (null on failure
    // or for an empty set).
    AcDbObjectId MakeAnonymousGroup() const;

    // Removes members from the set; the drawing is not touched.
    void Delete(const VxAdsEnt& ent) { *this -= ent; }
    void Delete() { Assign({}); }
    // Erases every member from the drawing and empties the set; the number erased.
    int Erase();

private:
    void Assign(std::vector<AcDbObjectId> ids);

    std::vector<AcDbObjectId> m_ids;
    std::unordered_set<intptr_t> m_members;  // ids of m_ids, for constant-time membership
    int m_mode = 0;
    size_t m_includeFrom = 0;
    bool m_including = false;
};
