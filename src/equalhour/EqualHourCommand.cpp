// "VxSunEqCurve": the dialog, the levels, the obstructions, and the plan method chosen.

#include <algorithm>

#include "CSunSpreadWall.h"
#include "EqualHour.h"
#include "acad/aced.h"
#include "acad/adsdef.h"
#include "analysis/SolxFrame.h"
#include "brel/BrelLanguageSwitch.h"
#include "brel/VxDtLayer.h"
#include "host/SolxCommands.h"
#include "host/SolxModule.h"
#include "host/VxUtPushResource.h"
#include "solx/SolxDataSet.h"
#include "ui/CTimeLineDlg.h"

namespace {

// Runs the dialog; false on Cancel. The remembered settings hold the choices afterwards.
bool AskParameters(EqualHourParams& params) {
    CTimeLineDlg dialog(nullptr);  // the host program has no main frame window to own it
    if (dialog.DoModal() != IDOK) return false;
    const EqualHourSettings& s = EqualHourRemembered();
    params.sun = ReadSunSetting();
    params.levelsText = s.levelsText;
    params.levelsInMinutes = s.levelsInMinutes;
    params.calcHeight = dialog.m_dHeight;
    params.evaluationMode = g_SunDataSet.CurStd().m_nEvaluation;
    params.gridSize = s.gridSizeMm * DrawUnitScale();
    params.labelSpacing = s.labelSpacing;
    params.method = s.method;
    params.facadeMode = s.facadeMode;
    params.smoothing = s.smoothing;
    params.showNumberGrid = s.showNumberGrid;
    return true;
}

}  // namespace

void VxSunEqCurve() {
    VxUtPushResource scope(g_hSolxInstance);
    ReportAssumedDrawUnit();
    EqualHourParams params;
    if (!AskParameters(params)) return;
    std::vector<double> levels = ParseHourLevels(params.levelsText, params.levelsInMinutes != 0);
    if (static_cast<int>(levels.size()) > kMaxEqualHourLevels) {
        acutPrintf(L"%s", VxUtLangText(L"\n最多允许同时绘制16条等照线!"));
        return;
    }
    std::sort(levels.begin(), levels.end());
    SolxBuildingList buildings;
    SolxShadowSourceList sources;
    if (SelectObstructions(buildings, sources) != RTNORM) return;
    if (params.facadeMode) {
        RunFacadeEqualHourLines(buildings, sources, levels, params);
        return;
    }
    const UsableOutlines usable = CollectUsableOutlines(buildings, params.calcHeight);
    const AcDbObjectId layer = VxDtInitStdLayer(L"SUN-SHADOW", nullptr);
    VxDtInitStdLayer(L"TG_GRID", nullptr);
    if (params.method == 0)
        RunMicroRegionMethod(usable, sources, levels, params, layer);
    else
        RunFittingMethod(buildings, sources, levels, params, layer);
}
