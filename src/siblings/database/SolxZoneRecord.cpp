#include "solx/SolxZoneRecord.h"
#include "solx/SolxText.h"
#include "mfc/CString.h"

#include "database/TextFile.h"
#include "solx/SolxDegree.h"

#include <cmath>
#include <cwchar>

namespace {

std::wstring DecimalText(double value) {
    return solx::win::FormatText(L"%.4f", value);
}

void DegreesMinutes(double value, int& degree, int& minute) {
    const long total = std::lround(std::fabs(value) * 60.0);
    degree = static_cast<int>(total / 60);
    minute = static_cast<int>(total % 60);
}

}  // namespace

SolxZoneRecord::SolxZoneRecord(std::wstring name, std::wstring province, double latitude,
                               double longitude)
    : m_strName(std::move(name)), m_strProvince(std::move(province)) {
    SetPosition(latitude, longitude);
}

double SolxZoneRecord::Latitude() const {
    return std::wcstod(m_strLatitude.c_str(), nullptr);
}

double SolxZoneRecord::Longitude() const {
    return std::wcstod(m_strLongitude.c_str(), nullptr);
}

void SolxZoneRecord::SetPosition(double latitude, double longitude) {
    m_strLatitude = DecimalText(latitude);
    m_strLongitude = DecimalText(longitude);
}

void SolxZoneRecord::GetLatitude(int& degree, int& minute) const {
    DegreesMinutes(Latitude(), degree, minute);
}

void SolxZoneRecord::GetLongitude(int& degree, int& minute) const {
    DegreesMinutes(Longitude(), degree, minute);
}

std::wstring SolxZoneRecord::FormatLatitude() const {
    const double v = Latitude();
    return SolxTextWith(v < 0 ? L"南纬{0}" : L"北纬{0}",
                        {SolxDegree(std::fabs(v)).DegreeFormat(false)});
}

std::wstring SolxZoneRecord::FormatLongitude() const {
    const double v = Longitude();
    return SolxTextWith(v < 0 ? L"西经{0}" : L"东经{0}",
                        {SolxDegree(std::fabs(v)).DegreeFormat(false)});
}
