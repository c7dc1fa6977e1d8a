// The settings as a list of DXF-coded items: a 300 key text followed by its value
// (1 text, 40 real, 90 integer). Keys make the record readable by later versions that add or
// drop settings.
#include "solx/SolxDataSet.h"

#include "acad/adsdef.h"

#include <functional>
#include <map>
#include <type_traits>

namespace {

constexpr int kKey = 300, kText = 1, kReal = 40, kInt = 90;

class Builder {
public:
    void Text(const wchar_t* key, const std::wstring& v) {
        Append(acutBuildList(kKey, key, kText, v.c_str(), 0));
    }
    void Real(const wchar_t* key, double v) { Append(acutBuildList(kKey, key, kReal, v, 0)); }
    void Int(const wchar_t* key, int v) { Append(acutBuildList(kKey, key, kInt, v, 0)); }
    resbuf* Take() { return head_; }

private:
    void Append(resbuf* pair) {
        if (!pair) return;
        (tail_ ? tail_->rbnext : head_) = pair;
        tail_ = pair->rbnext ? pair->rbnext : pair;
    }
    resbuf* head_ = nullptr;
    resbuf* tail_ = nullptr;
};

struct Value {
    std::wstring text;
    double number = 0.0;
};

}  // namespace

resbuf* SolxDataSet::ToResbuf() const {
    Builder b;
    b.Int(L"version", 1);
    b.Text(L"zone.name", m_zone.m_strName);
    b.Text(L"zone.province", m_zone.m_strProvince);
    b.Text(L"zone.longitude", m_zone.m_strLongitude);
    b.Text(L"zone.latitude", m_zone.m_strLatitude);
    b.Text(L"place", m_strPlace);
    b.Real(L"start", m_startTime.GetValue());
    b.Real(L"end", m_endTime.GetValue());
    b.Real(L"step", m_dStep);
    b.Int(L"date.year", m_date.GetYear());
    b.Int(L"date.month", m_date.GetMonth());
    b.Int(L"date.day", m_date.GetDay());
    b.Int(L"std.index", m_nCurStd);
    b.Text(L"std.name", CurStd().m_strName);
    // The count comes first so that an empty place list is told apart from an old record
    // without one.
    b.Int(L"cities", static_cast<int>(m_cities.size()));
    for (const SolxCity& city : m_cities) b.Text(L"city", city.m_strName);
    b.Int(L"start.hour", m_nStartHour);
    b.Int(L"start.minute", m_nStartMinute);
    b.Int(L"end.hour", m_nEndHour);
    b.Int(L"end.minute", m_nEndMinute);
    b.Int(L"step.minutes", m_nStep);
    return b.Take();
}

namespace {

// Reads the pairs into key -> values (a key may repeat: the cities).
std::multimap<std::wstring, Value> ReadPairs(const resbuf* list) {
    std::multimap<std::wstring, Value> pairs;
    for (const resbuf* rb = list; rb && rb->rbnext; rb = rb->rbnext) {
        if (rb->restype != kKey || !rb->resval.rstring) continue;
        const resbuf* v = rb->rbnext;
        Value value;
        if (v->restype == kText && v->resval.rstring)
            value.text = v->resval.rstring;
        else if (v->restype == kReal)
            value.number = v->resval.rreal;
        else if (v->restype == kInt)
            value.number = v->resval.rlong;
        else
            continue;
        pairs.emplace(rb->resval.rstring, value);
        rb = v;
    }
    return pairs;
}

// The standard stored by name (the drawing may come from a user with other standards), else
// by index when that is in range, else the first.
int FindStd(const std::vector<SolxStdSet>& stds, const std::wstring& name, int index) {
    for (size_t i = 0; i < stds.size(); ++i)
        if (stds[i].m_strName == name) return static_cast<int>(i);
    return index >= 0 && index < static_cast<int>(stds.size()) ? index : 0;
}

}  // namespace

bool SolxDataSet::FromResbuf(const resbuf* list) {
    const auto pairs = ReadPairs(list);
    if (!pairs.count(L"version")) return false;
    auto text = [&](const wchar_t* key, std::wstring& out) {
        if (auto it = pairs.find(key); it != pairs.end()) out = it->second.text;
    };
    auto number = [&](const wchar_t* key, auto& out) {
        if (auto it = pairs.find(key); it != pairs.end())
            out = static_cast<std::remove_reference_t<decltype(out)>>(it->second.number);
    };
    text(L"zone.name", m_zone.m_strName);
    text(L"zone.province", m_zone.m_strProvince);
    text(L"zone.longitude", m_zone.m_strLongitude);
    text(L"zone.latitude", m_zone.m_strLatitude);
    text(L"place", m_strPlace);
    double start = m_startTime.GetValue(), end = m_endTime.GetValue();
    number(L"start", start);
    number(L"end", end);
    m_startTime = start;
    m_endTime = end;
    number(L"step", m_dStep);
    int y = m_date.GetYear(), mo = m_date.GetMonth(), d = m_date.GetDay();
    number(L"date.year", y);
    number(L"date.month", mo);
    number(L"date.day", d);
    m_date.SetDate(y, mo, d);
    std::wstring stdName;
    int stdIndex = m_nCurStd;
    text(L"std.name", stdName);
    number(L"std.index", stdIndex);
    m_nCurStd = FindStd(m_stds, stdName, stdIndex);
    if (pairs.count(L"cities") || pairs.count(L"city")) {
        m_cities.clear();
        for (auto [it, end2] = pairs.equal_range(L"city"); it != end2; ++it)
            m_cities.emplace_back(it->second.text);
    }
    number(L"start.hour", m_nStartHour);
    number(L"start.minute", m_nStartMinute);
    number(L"end.hour", m_nEndHour);
    number(L"end.minute", m_nEndMinute);
    number(L"step.minutes", m_nStep);
    return true;
}
