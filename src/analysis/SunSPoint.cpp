#include "SunSPoint.h"

#include <cstdio>
#include <utility>

#include "host/VxUtPushResource.h"
#include "mfc/CString.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxDegree.h"
#include "solx/SolxTimeList.h"

namespace {

std::wstring TimeText(double minutes) {
    return SolxDegree(minutes / 60.0).TimeFormat(false);
}

// A length as the user typed it: up to three decimals, no trailing zeros.
std::wstring DistText(double value) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%.3f", value);
    std::wstring out = text;
    while (out.size() > 1 && out.back() == L'0') out.pop_back();
    if (!out.empty() && out.back() == L'.') out.pop_back();
    return out == L"-0" ? L"0" : out;
}

}  // namespace

bool& SPointDynamicMode() {
    static bool dynamic = true;
    return dynamic;
}

SPointEvaluator::SPointEvaluator(SolxBuildingList buildings, SolxShadowSourceList sources,
                                 const SolxSunSetting& setting)
    : m_setting(setting), m_samples(SampleSun(setting)) {
    m_group.Buildings() = std::move(buildings);
    m_group.Sources() = std::move(sources);
    m_group.CalExtend3D();
}

std::vector<VxGePoint> SPointEvaluator::Periods(const VxGePoint& point) const {
    return m_group.SunlitPeriods(point, m_samples, m_setting.startMinute, m_setting.endMinute,
                                 m_setting.stepMinutes);
}

bool SPointEvaluator::InsideBuilding(const VxGePoint& point) const {
    for (const auto& b : m_group.Buildings()) {
        if (!b || !b->IsValid() || !b->SpansHeight(point.z)) continue;
        const std::vector<VxGePoint>& ring = b->Outline();
        bool inside = false;  // crossings of a ray towards +x
        for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const VxGePoint &a = ring[i], &c = ring[j];
            if ((a.y > point.y) != (c.y > point.y) &&
                point.x < a.x + (point.y - a.y) * (c.x - a.x) / (c.y - a.y))
                inside = !inside;
        }
        if (inside) return true;
    }
    return false;
}

SPointTexts MakeSPointTexts(const std::vector<VxGePoint>& periods, int startMinute, int endMinute) {
    const SolxTimeList list(periods, startMinute, endMinute);
    SPointTexts texts;
    texts.longest = TimeText(list.GetMaxContinueTime());
    texts.total = TimeText(list.GetTotalTime());
    texts.report = solx::win::FormatText(L"%s：%s；%s：%s", L"最长有效连照", texts.longest.c_str(),
                                         L"总有效日照", texts.total.c_str());
    std::wstring spans;
    if (!periods.empty()) texts.report += VxUtLangText(L"; 日照时段：");
    for (const VxGePoint& p : periods) {
        const std::wstring from = TimeText(p.x), to = TimeText(p.y);
        texts.report += solx::win::FormatText(L"%s～%s；", from.c_str(), to.c_str());
        spans += solx::win::FormatText(L"%s～%s ", from.c_str(), to.c_str());
    }
    texts.rows = {{L"最长有效连照", texts.longest},
                  {L"总有效日照", texts.total},
                  {VxUtLangText(L"日照时段"), spans}};
    return texts;
}

std::wstring SPointHeader(const SolxSunSetting& setting, double height) {
    const std::wstring date = g_SunDataSet.GetAnalysisDate().GetDateString();
    return solx::win::FormatText(
        VxUtLangText(L"\n%s：%s\n测试时间：%d～%d；时间间隔：%d分；计算高度：%s\n"),
        g_SunDataSet.m_strPlace.c_str(), date.c_str(), setting.startMinute / 60,
        setting.endMinute / 60, setting.stepMinutes, DistText(height).c_str());
}
