// "VxWinSunAna": select the windows and the obstructions, confirm the window table dialog, pick
// the table position, sample every window over the analysis period, and write the note and the
// table of the windows.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "WinSunAna.h"
#include "WinSunAnaTable.h"
#include "acad/AcDbDatabase.h"
#include "acad/AcDbEntity.h"
#include "acad/aced.h"
#include "acad/adsdef.h"
#include "brel/VxDtLayer.h"
#include "brel/VxPtInput.h"
#include "containers/VxPDList.h"
#include "brel/VxDrawingScale.h"
#include "host/SolxCommands.h"
#include "host/SolxModule.h"
#include "host/VxUtPushResource.h"
#include "mfc/CString.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxSelUtility.h"
#include "ui/CWinTableDlg.h"

// The owning window list can also sort without a comparator: then by window number, the order
// the table is sorted in unless the user chooses the floors.
static bool operator>(const SolxWinSunlightInfo& a, const SolxWinSunlightInfo& b) {
    SolxWinSunlightInfo* pa = const_cast<SolxWinSunlightInfo*>(&a);
    SolxWinSunlightInfo* pb = const_cast<SolxWinSunlightInfo*>(&b);
    return CompareWindowsByNumber(pa, pb) > 0;
}

namespace {

std::wstring Clock(long minutes) {
    return SolxDegree(minutes / 60.0).TimeFormat(false);
}

using WindowList = VxPDList<SolxWinSunlightInfo>;

// Sills farther than this from the ground are drawing errors (a unit mix-up, a stray point).
constexpr double kMaxSillMetres = 10000.0;

// What the dialog and the current standard decide for one run.
struct WinSunRun {
    SolxSunSetting setting;
    int sortMode = 1;
    double minHours = 1.0;
    int evalByTotal = 1;
    int useValidWindow = 0;
};

// The "_SUNWD" references on the window layer that the user selects, in selection order.
int SelectWindows(WindowList& windows) {
    VxDtInitStdLayer(L"SUN-WINDOW", nullptr);
    const std::wstring layer = VxDtGetLayerName(L"SUN-WINDOW");
    resbuf* filter = acutBuildList(RTDXF0, L"INSERT", 8, layer.c_str(), 2, L"_SUNWD", 0);
    VxAdsEntSet set;
    const int status = VxPtSelectEntities(VxUtLangText(L"\n选择待分析的日照窗:"), set, filter);
    acutRelRb(filter);
    // Nothing usable selected says why; a cancel stays silent.
    if (status == RTNONE)
        acutPrintf(VxUtLangText(L"\n选择集中没有图层 %s 上的日照窗图块“_SUNWD”。"), layer.c_str());
    if (status != RTNORM) return status;
    const double unitsPerMm = DrawUnitScale();
    for (int i = 0; i < set.GetLength(); ++i) {
        AcDbEntity* entity = nullptr;
        if (set[i].Open(entity, AcDb::kForRead) != Acad::eOk) continue;
        auto window = std::make_unique<SolxWinSunlightInfo>(entity, 1, unitsPerMm);
        const double sillMetres = window->m_dSillHeight / unitsPerMm / 1000.0;
        if (std::isfinite(sillMetres) && std::fabs(sillMetres) <= kMaxSillMetres)
            windows.Append(window.release());
        else
            acutPrintf(VxUtLangText(L"\n日照窗 #%s 的窗台高 %g 米不合理，已略过。"),
                       entity->handle().toString().c_str(), sillMetres);
        entity->close();
    }
    return RTNORM;
}

int SelectObstructions(SolxBuildingEx& group) {
    group.SetName(VxUtLangText(L"日照时间"));
    const int status = SelectObstructions(group.Buildings(), group.Sources(), 8);
    if (status == RTNORM) group.CalExtend3D();
    return status;
}

// Runs the window table dialog in the module's resource scope; false on Cancel.
bool AskParameters(WinSunRun& run) {
    VxUtPushResource scope(g_hSolxInstance);
    CWinTableDlg dialog(nullptr);  // the host program has no main frame window to own it
    if (dialog.DoModal() != IDOK) return false;
    VxSetDrawingScale(dialog.GetDrawingScale(), nullptr);  // refused only out of range
    run.evalByTotal = g_SunDataSet.CurStd().m_nEvaluation == 0 ? 1 : 0;
    SolxSunSetting& s = run.setting;
    dialog.GetParameters(s.longitude, s.latitude, s.declination, s.timeCorrection, s.startMinute,
                         s.endMinute, s.stepMinutes, s.noAngleLimit, run.sortMode, run.minHours);
    return true;
}

void AppendResults(SolxWinSunlightInfo& win, const WinSunRun& run) {
    const std::vector<WinShownPeriod> periods =
        ShownPeriods(win, run.useValidWindow == 1, g_SunDataSet.CurStd().m_dMinPeriod);
    win.m_periodTexts.Append(PeriodsText(periods));
    win.m_totalTexts.Append(Clock(CountedTotal(periods)));
    win.m_longestTexts.Append(Clock(CountedLongest(periods)));
}

// A minimum other than the standard's requirement is the user's choice, but the table's
// colours then disagree with the standard named in the note: say so before computing.
void WarnAboutMinimum(const WinSunRun& run) {
    const SolxStdSet& standard = g_SunDataSet.CurStd();
    if (std::fabs(run.minHours - standard.m_dRequired) <= kWinDistZero) return;
    acutPrintf(VxUtLangText(L"\n注意：表格按最少日照时间 %s 判定，当前标准要求 %s。"),
               Clock(std::lround(run.minHours * 60.0)).c_str(),
               Clock(std::lround(standard.m_dRequired * 60.0)).c_str());
}

// Samples every window against the group; false when the user broke off.
bool ComputeWindows(WindowList& windows, const SolxBuildingEx& group, const WinSunRun& run) {
    const SolxStdSet& standard = g_SunDataSet.CurStd();
    WinSunRule rule;
    rule.startMinute = run.setting.startMinute;
    rule.endMinute = run.setting.endMinute;
    rule.stepMinutes = run.setting.stepMinutes;
    rule.useValidWindow = run.useValidWindow;
    rule.angleLimit = standard.m_nAngleLimit;
    rule.twoPoints = standard.m_bTwoPoint ? 1 : 0;
    const std::vector<SolxSunSample> samples = SampleSun(run.setting);
    SolxProgress progress(VxUtLangText(L"窗日照分析"), static_cast<int>(windows.GetLength()));
    int i = 0;
    for (windows.MoveToFirst(); !windows.IsOut(); windows.MoveToNext(), ++i) {
        if (!progress.Continue(i)) return false;
        SolxWinSunlightInfo& win = *windows.GetCurData();
        SampleWindowSunlight(win, group, samples, rule);
        AppendResults(win, run);
    }
    return true;
}

// Whether the window misses the minimum, judged by the last group's value.
bool MissesMinimum(const SolxWinSunlightInfo& win, const WinSunRun& run) {
    const SolxTextList& values = run.evalByTotal ? win.m_totalTexts : win.m_longestTexts;
    const double hours = values.IsEmpty() ? 0.0 : WinTimeHours(values.Last());
    return hours - run.minHours < -kWinDistZero;
}

int CountMissing(const WindowList& windows, const WinSunRun& run) {
    int count = 0;
    for (auto* const* p = windows.GetFirst(); p; p = windows.GetNext(p))
        count += MissesMinimum(**p, run) ? 1 : 0;
    return count;
}

// Leaves only the windows below the minimum.
void DropSatisfiedWindows(WindowList& windows, const WinSunRun& run) {
    windows.MoveToLast();
    while (!windows.IsOut()) {
        if (!MissesMinimum(*windows.GetCurData(), run))
            windows.DelCur();  // cursor steps back
        else
            windows.MoveToPre();
    }
}

// The conditions written above the table: the settings' note, the period actually counted when
// the standard's time range narrows the analysis period, the minimum the colours judge by with
// how many of the analysed windows miss it, and the rule of the marked periods.
std::wstring WinNoteText(const WinSunRun& run, int missing, int analysed) {
    const SolxStdSet& standard = g_SunDataSet.CurStd();
    std::wstring note = g_SunDataSet.GetNoteString();
    if (run.useValidWindow == 1) {
        const int start = run.setting.startMinute, end = run.setting.endMinute;
        if (!standard.m_orientTable.empty()) {
            note +=
                solx::win::FormatText(VxUtLangText(L"  计入时段：按标准的朝向时段，且在%s～%s之内"),
                                      Clock(start).c_str(), Clock(end).c_str());
        } else {
            const long from =
                std::max<long>(start, std::lround(standard.m_startTime.GetValue() * 60));
            const long to = std::max(
                from, std::min<long>(end, std::lround(standard.m_endTime.GetValue() * 60)));
            if (from != start || to != end)
                note += VxUtLangText(L"  计入时段：") + Clock(from) + L"～" + Clock(to);
        }
    }
    note += VxUtLangText(L"  最少日照时间：") + Clock(std::lround(run.minHours * 60.0));
    note += solx::win::FormatText(VxUtLangText(L"  不满足：%d个窗（共%d个）"), missing, analysed);
    if (standard.m_dMinPeriod > kWinDistZero)
        note += solx::win::FormatText(VxUtLangText(L"  带*的时段短于%g分钟，不计入"),
                                      standard.m_dMinPeriod);
    return note;
}

// The CSV file the user asked for through SOLXCSV (empty: none); a relative name is taken in the
// drawing's folder.
std::wstring CsvPathAskedFor() {
    resbuf value;
    if (acedGetVar(L"SOLXCSV", &value) != RTNORM) return {};
    std::wstring path;
    if (value.restype == RTSTR && value.resval.rstring) path = value.resval.rstring;
    if (value.restype == RTSTR) delete[] value.resval.rstring;
    if (path.empty() || path == L"0" || path == L".") return {};
    const std::filesystem::path p(path);
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (p.is_relative() && db && !db->fileName().empty())
        return (std::filesystem::path(db->fileName()).parent_path() / p).wstring();
    return path;
}

void WriteCsvWhenAsked(const std::wstring& note, const std::vector<WinTableTexts>& tables) {
    const std::wstring path = CsvPathAskedFor();
    if (path.empty()) return;
    std::wstring error;
    if (WriteWinTableCsv(path, note, tables, error))
        acutPrintf(VxUtLangText(L"\n窗日照表另存为 CSV：%s"), path.c_str());
    else
        acutPrintf(VxUtLangText(L"\n不能写入 CSV 文件 %s：%s"), path.c_str(), error.c_str());
}

void WriteResults(const WindowList& windows, const SolxBuildingEx& group, const WinSunRun& run,
                  const std::wstring& note, const AcGePoint3d& at) {
    WinTableLayout layout;
    layout.sortMode = run.sortMode;
    layout.minHours = run.minHours;
    layout.evalByTotal = run.evalByTotal;
    layout.useValidWindow = run.useValidWindow;
    layout.groupNames.push_back(group.GetName());
    layout.unitScale = DrawUnitScale();
    layout.textScale = PaperToDrawing();
    layout.note = note;
    std::vector<const SolxWinSunlightInfo*> rows;
    for (auto* const* p = windows.GetFirst(); p; p = windows.GetNext(p)) rows.push_back(*p);
    std::vector<WinTableTexts> tables;
    WriteWinSunTables(rows, layout, at, &tables);
    WriteCsvWhenAsked(note, tables);
}

}  // namespace

void VxWinSunAna() {
    ReportAssumedDrawUnit();
    WindowList windows;
    if (SelectWindows(windows) != RTNORM) return;
    SolxBuildingEx group;
    if (SelectObstructions(group) != RTNORM) return;
    WinSunRun run;
    if (!AskParameters(run)) return;
    ads_point picked;
    if (acedGetPoint(nullptr, VxUtLangText(L"\n表格位置:"), picked) != RTNORM) return;
    UcsToWcs(picked);
    const SolxStopwatch stopwatch;
    run.useValidWindow = run.setting.noAngleLimit == 1 ? 1 : 0;
    VxDtInitTextStyle(L"TS_DIM", nullptr);
    WarnAboutMinimum(run);
    if (!ComputeWindows(windows, group, run)) return;
    const std::wstring note =
        WinNoteText(run, CountMissing(windows, run), static_cast<int>(windows.GetLength()));
    if (WinTableRemembered().onlyUnsatisfied) DropSatisfiedWindows(windows, run);
    windows.Sort(run.sortMode == 0 ? CompareWindowsByFloor : CompareWindowsByNumber);
    stopwatch.Report();
    WriteResults(windows, group, run, note, AcGePoint3d(picked[0], picked[1], picked[2]));
}
