// "VxSunMPoint": select the obstructions, confirm the grid analysis dialog, and hand the whole
// analysis to CalMultiPoint, which asks for the area and draws the sunlight map.

#include "SolxFrame.h"
#include "acad/adsdef.h"
#include "brel/VxDtLayer.h"
#include "containers/VxPushVar.h"
#include "host/SolxCommands.h"
#include "host/SolxModule.h"
#include "host/VxUtPushResource.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxMultiPoint.h"
#include "ui/CDlgSunSetup.h"
#include "ui/CMultiPointDlg.h"

void VxSunMPoint() {
    ReportAssumedDrawUnit();
    SolxBuildingList buildings;
    SolxShadowSourceList sources;
    if (SelectObstructions(buildings, sources) != RTNORM) return;
    // Open until the command ends, so that the grid analysis speaks through it too.
    VxUtPushResource scope(g_hSolxInstance);
    CMultiPointDlg dialog(nullptr);  // the host program has no main frame window to own it
    if (dialog.DoModal() != IDOK) return;

    double longitude = 0, latitude = 0, declination = 0, correction = 0;
    int startMinute = 0, endMinute = 0, stepMinutes = 0, noAngleLimit = 0;
    CDlgSunSetup::GetSunSetting(longitude, latitude, declination, correction, startMinute,
                                endMinute, stepMinutes, noAngleLimit);
    const int evaluationMode = g_SunDataSet.CurStd().m_nEvaluation;
    const double scale = DrawUnitScale();
    const double spacing = MultiPointRemembered().gridSizeMm * scale;
    const double height = dialog.m_dHeight;
    g_dSunCalHeight = height / scale;
    const int detailed = dialog.m_bDetailed;
    MultiPointRemembered().detailed = detailed;
    g_bMAOutputDetail = detailed;

    Vx2dArray<float> grid;
    const AcDbObjectId layer = VxDtInitStdLayer(L"SUN-SHADOW", nullptr);
    int columns = 0, rows = 0;
    VxGePoint origin(0, 0, 0);
    const SolxStopwatch stopwatch;
    bool computed = false;
    {
        const VxPushSysVar currentLayer(L"CLAYER", VxDtGetLayerName(L"SUN-SHADOW").c_str());
        const VxPushVar<int> multi(g_bPolyMultiCal, 1);
        computed = CalMultiPoint(buildings, sources, evaluationMode, spacing, longitude, latitude,
                                 declination, correction, startMinute, endMinute, stepMinutes,
                                 noAngleLimit, height, 1, false, 1, columns, rows, origin, grid,
                                 layer, true, true, detailed, VxGePoint(0, 0, 0),
                                 VxGePoint(0, 0, 0), nullptr, 0.0);
    }
    if (computed) stopwatch.Report();
}
