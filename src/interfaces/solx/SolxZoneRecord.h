#pragma once
// Places: a record of the place database and the entries of the settings' place list.

#include <string>
#include <vector>

// One place: name, province and position. Latitude and longitude are kept as decimal-degree
// texts ("39.90", "116.40"), the form the settings store and the analyses convert with wcstod.
class SolxZoneRecord {
public:
    SolxZoneRecord() = default;
    SolxZoneRecord(std::wstring name, std::wstring province, double latitude, double longitude);

    std::wstring m_strName;
    std::wstring m_strProvince;
    std::wstring m_strLongitude;  // decimal degrees, east positive
    std::wstring m_strLatitude;   // decimal degrees, north positive

    double Latitude() const;
    double Longitude() const;
    void SetPosition(double latitude, double longitude);
    // Whole degrees and minutes of the absolute value, rounded to the nearest minute.
    void GetLatitude(int& degree, int& minute) const;
    void GetLongitude(int& degree, int& minute) const;
    // "北纬39°54′" / "南纬..." and "东经116°24′" / "西经...".
    std::wstring FormatLatitude() const;
    std::wstring FormatLongitude() const;
};

// An entry of the settings' list of places offered in the place combo.
struct SolxCity {
    SolxCity() = default;
    explicit SolxCity(std::wstring name) : m_strName(std::move(name)) {}
    std::wstring m_strName;
    bool operator==(const SolxCity&) const = default;
};

// The place database: the shipped list (data/places.csv) plus the places the user added
// (places.csv in the user's settings folder), searchable by name.
class SolxPlaceBase {
public:
    // Loads both files; returns false with a message ("file:line: ...") on a malformed line
    // (the good lines are kept). A missing user file is not an error.
    bool Load(const std::wstring& shippedFile, const std::wstring& userFile, std::wstring& error);

    // Exact name, or the name without its administrative suffix (市, 地区, 盟, 自治州 ...).
    bool Find(const std::wstring& name, SolxZoneRecord& record) const;
    // Records whose name or province contains the text, shipped ones first.
    std::vector<SolxZoneRecord> Search(const std::wstring& text) const;
    // Adds (or replaces by name) a user place and rewrites the user file; false when the
    // file cannot be written.
    bool AddUserPlace(const SolxZoneRecord& record);
    const std::vector<SolxZoneRecord>& Shipped() const { return m_shipped; }
    const std::vector<SolxZoneRecord>& UserPlaces() const { return m_user; }

private:
    std::vector<SolxZoneRecord> m_shipped;
    std::vector<SolxZoneRecord> m_user;
    std::wstring m_userFile;
};
