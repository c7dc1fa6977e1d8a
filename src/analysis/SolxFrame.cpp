#include "SolxFrame.h"

#include <cmath>
#include <numbers>

#include "acad/aced.h"
#include "brel/BrelDbObject.h"
#include "brel/VxDrawingScale.h"
#include "host/VxUtPushResource.h"
#include "brel/VxDtLayer.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxSelUtility.h"
#include "solx/SolxSunPlace.h"

double g_dSunCalHeight = 0.0;

int SelectObstructions(SolxBuildingList& buildings, SolxShadowSourceList& sources,
                       unsigned option) {
    SolxSelUtility selection(option);
    const int status = selection.SelShadowModel(buildings, sources, VxUtLangText(L"\n选择遮挡物:"));
    if (status == RTNONE)
        acutPrintf(VxUtLangText(
                       L"\n所选对象都不产生阴影（图层 %s 上有厚度的闭合多段线、楼板、三维面……）。"),
                   VxDtGetLayerName(L"SUN-BUILDING").c_str());
    return status;
}

double DrawUnitScale() {
    switch (VxDbGetDrawUnit(nullptr)) {
        case 0:
            return 1.0;
        case 2:
            return 0.1;  // centimetres
        default:
            return 0.001;
    }
}

double PaperToDrawing() {
    return VxDrawingScale(nullptr) * DrawUnitScale();
}

void ReportAssumedDrawUnit() {
    int insunits = 0;
    if (!VxDbDrawUnitAssumed(nullptr, insunits)) return;
    acutPrintf(VxUtLangText(L"\n图形单位（INSUNITS = %d）不是毫米、厘米或米，按毫米计算。"),
               insunits);
}

int TruncWithTol(double value, double tolerance) {
    const auto n = static_cast<int>(value);  // towards zero
    const double f = value - n;
    if (std::fabs(f - 1.0) < tolerance) return n + 1;
    if (std::fabs(f + 1.0) < tolerance) return n - 1;
    return n;
}

SolxSunSetting ReadSunSetting() {
    SolxSunSetting s;
    g_SunDataSet.GetSunSetting(s.longitude, s.latitude, s.declination, s.timeCorrection,
                               s.startMinute, s.endMinute, s.stepMinutes, s.noAngleLimit);
    return s;
}
