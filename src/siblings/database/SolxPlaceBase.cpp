// The place database: CSV lines "province,name,latitude,longitude" (UTF-8, '#' comments).
#include "solx/SolxZoneRecord.h"

#include "database/TextFile.h"

#include <algorithm>

namespace {

using namespace solx::data;

const wchar_t* const kHeader = L"# province,name,latitude,longitude (decimal degrees)";
// Administrative suffixes a user may leave out: "北京" finds "北京市".
const wchar_t* const kSuffixes[] = {L"市", L"地区", L"盟", L"自治州", L"特别行政区"};

bool ParseLine(const std::wstring& line, SolxZoneRecord& record, std::wstring& problem) {
    const std::vector<std::wstring> cells = Split(line, L',');
    double lat = 0, lon = 0;
    if (cells.size() != 4) {
        problem = L"expected 4 fields: province,name,latitude,longitude";
    } else if (cells[1].empty()) {
        problem = L"empty place name";
    } else if (!ToNumber(cells[2], lat) || lat < -90 || lat > 90) {
        problem = L"bad latitude \"" + cells[2] + L"\"";
    } else if (!ToNumber(cells[3], lon) || lon < -180 || lon > 180) {
        problem = L"bad longitude \"" + cells[3] + L"\"";
    } else {
        record = SolxZoneRecord(cells[1], cells[0], lat, lon);
        return true;
    }
    return false;
}

bool ReadPlaces(const std::wstring& file, std::vector<SolxZoneRecord>& out, std::wstring& error) {
    std::vector<std::wstring> lines;
    if (!ReadLines(file, lines)) return false;
    bool ok = true;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::wstring line = Trim(lines[i]);
        if (line.empty() || line[0] == L'#') continue;
        SolxZoneRecord record;
        std::wstring problem;
        if (ParseLine(line, record, problem)) {
            out.push_back(record);
        } else if (ok) {
            error = Where(file, i + 1, problem);
            ok = false;
        }
    }
    return ok;
}

std::wstring BaseName(const std::wstring& name) {
    for (const wchar_t* s : kSuffixes) {
        const std::wstring suffix(s);
        if (name.size() > suffix.size() && name.ends_with(suffix))
            return name.substr(0, name.size() - suffix.size());
    }
    return name;
}

const SolxZoneRecord* FindIn(const std::vector<SolxZoneRecord>& list, const std::wstring& name,
                             bool byBase) {
    for (const SolxZoneRecord& r : list)
        if (byBase ? BaseName(r.m_strName) == BaseName(name) : r.m_strName == name) return &r;
    return nullptr;
}

}  // namespace

bool SolxPlaceBase::Load(const std::wstring& shippedFile, const std::wstring& userFile,
                         std::wstring& error) {
    m_shipped.clear();
    m_user.clear();
    m_userFile = userFile;
    error.clear();
    bool ok = true;
    if (!ReadPlaces(shippedFile, m_shipped, error)) {
        if (error.empty()) error = shippedFile + L": cannot open the place database";
        ok = false;
    }
    std::wstring userError;
    if (!ReadPlaces(userFile, m_user, userError) && !userError.empty()) {
        if (ok) error = userError;
        ok = false;
    }
    return ok;
}

bool SolxPlaceBase::Find(const std::wstring& name, SolxZoneRecord& record) const {
    // The user's own places win, so a user can correct a shipped position.
    for (bool byBase : {false, true}) {
        for (const auto* list : {&m_user, &m_shipped}) {
            if (const SolxZoneRecord* r = FindIn(*list, name, byBase)) {
                record = *r;
                return true;
            }
        }
    }
    return false;
}

std::vector<SolxZoneRecord> SolxPlaceBase::Search(const std::wstring& text) const {
    std::vector<SolxZoneRecord> found;
    for (const auto* list : {&m_shipped, &m_user})
        for (const SolxZoneRecord& r : *list)
            if (r.m_strName.find(text) != std::wstring::npos ||
                r.m_strProvince.find(text) != std::wstring::npos)
                found.push_back(r);
    return found;
}

bool SolxPlaceBase::AddUserPlace(const SolxZoneRecord& record) {
    auto same = [&](const SolxZoneRecord& r) { return r.m_strName == record.m_strName; };
    std::erase_if(m_user, same);
    m_user.push_back(record);
    std::vector<std::wstring> lines{kHeader};
    for (const SolxZoneRecord& r : m_user)
        lines.push_back(r.m_strProvince + L"," + r.m_strName + L"," + r.m_strLatitude + L"," +
                        r.m_strLongitude);
    return !m_userFile.empty() && WriteLines(m_userFile, lines);
}
