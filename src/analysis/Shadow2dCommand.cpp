// "VxShadow2d": select the obstructions, confirm the shadow outline dialog, make the
// obstructions ready for the plane, and draw the outline of every moment of the period.

#include <memory>
#include <string>

#include "Shadow2d.h"
#include "SolxFrame.h"
#include "acad/AcDbPolyline.h"
#include "acad/aced.h"
#include "acad/adsdef.h"
#include "brel/BrelDbObject.h"
#include "brel/VxAdsEntSet.h"
#include "brel/VxDbText.h"
#include "brel/VxDtLayer.h"
#include "host/SolxCommands.h"
#include "host/SolxModule.h"
#include "host/VxUtPushResource.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxObjInfo.h"
#include "solx/SolxSelUtility.h"
#include "solx/SolxSunPlace.h"
#include "ui/COutlineDlg.h"

namespace {

// What the dialog decides for one run.
struct ShadowRun {
    SolxSunSetting setting;
    double z = 0.0;  // the plane, drawing units
};

// Runs the dialog in the module's resource scope; false on Cancel.
bool AskParameters(ShadowRun& run) {
    VxUtPushResource scope(g_hSolxInstance);
    COutlineDlg dialog(nullptr);  // the host program has no main frame window to own it
    if (dialog.DoModal() != IDOK) return false;
    run.setting = ReadSunSetting();
    dialog.GetMoments(run.setting.startMinute, run.setting.endMinute, run.setting.stepMinutes);
    run.z = dialog.m_dHeight;
    g_dSunCalHeight = run.z / DrawUnitScale();
    return true;
}

// Layer, colour and the moment row, then into the drawing; false when the drawing refused it.
bool AddOutlineEntity(AcDbEntity* entity, int colour, const std::wstring& time) {
    entity->setLayer(VxDtGetLayerName(L"SUN-SHADOW").c_str());
    entity->setColorIndex(colour);
    SolxObjInfoRows rows;
    rows.Append(new IObjInfoUnit{VxUtLangText(L"日照时刻"), time});
    WriteXData(entity, rows);
    if (!AddToModelSpace(entity, 1).isNull()) return true;
    delete entity;
    return false;
}

AcDbPolyline* PolylineOf(const AcDbRegionRing& ring, double z) {
    auto* polyline = new AcDbPolyline();
    for (const AcGePoint2d& p : ring) polyline->addVertexAt(polyline->numVerts(), p);
    polyline->setClosed(true);
    polyline->setElevation(z);
    return polyline;
}

bool AddLabel(const ShadowMomentResult& moment, double azimuth, int colour,
              const std::wstring& time) {
    const double height = ShadowLabelHeight();
    AcGePoint2d at;
    if (!ShadowLabelPoint(moment.curves, azimuth, height, at)) return false;
    auto* label = new VxDbText();
    label->SetTextStyle(L"TS_DIM");
    label->SetTextHeight(height, 1);
    label->SetAlignment(1);
    label->SetRotation(-azimuth);
    label->SetContent(time.c_str());
    label->SetPosition(AcGePoint3d(at.x, at.y, 0.0));
    label->setLayer(VxDtGetLayerName(L"SUN-SHADOW").c_str());
    label->setColorIndex(colour);
    if (!AddToModelSpace(label, 1).isNull()) return true;
    delete label;
    return false;
}

// One moment into the drawing as one group; false when it drew nothing.
bool DrawMoment(ShadowMomentResult& moment, double azimuth, int index, int minute, double z) {
    const int colour = index + 1;
    const std::wstring time = ShadowTimeText(minute);
    VxAdsEntSet set;
    set.IncludeBegin();
    bool drawn = false;
    if (moment.region) {
        drawn = AddOutlineEntity(moment.region.release(), colour, time);
    } else if (moment.fallback) {
        for (const AcDbRegionRing& ring : moment.curves)
            if (ring.size() >= 3)
                drawn = AddOutlineEntity(PolylineOf(ring, z), colour, time) || drawn;
    }
    if (drawn) AddLabel(moment, azimuth, colour, time);
    set.IncludeEnd();
    set.MakeAnonymousGroup();
    return drawn;
}

// Every moment of the period; the moments already drawn stay when the user breaks off.
int DrawMoments(const ShadowObstructions& obstructions, const ShadowRun& run) {
    const SolxSunSetting& s = run.setting;
    const std::vector<int> minutes = ShadowMomentMinutes(s.startMinute, s.endMinute, s.stepMinutes);
    SolxProgress progress(VxUtLangText(L"阴影轮廓"), s.endMinute - s.startMinute);
    int drawn = 0;
    for (size_t i = 0; i < minutes.size(); ++i) {
        if (!progress.Continue(minutes[i] - s.startMinute)) break;
        double altitude = 0.0, azimuth = 0.0, hourAngle = 0.0;
        getSunPlace(s.longitude, s.latitude, s.declination, minutes[i] / 60.0, altitude, azimuth,
                    hourAngle);
        if (altitude <= 0.0) {
            acutPrintf(VxUtLangText(L"\n%s 太阳在地平线以下，没有阴影。"),
                       ShadowTimeText(minutes[i]).c_str());
            continue;
        }
        const AcGeVector3d ray = SunRayVector(altitude, azimuth);
        ShadowMomentResult moment =
            ComputeShadowMoment(obstructions, VxGePoint(ray.x, ray.y, ray.z), run.z);
        if (DrawMoment(moment, azimuth, static_cast<int>(i), minutes[i], run.z)) ++drawn;
    }
    return drawn;
}

}  // namespace

void VxShadow2d() {
    ReportAssumedDrawUnit();
    SolxBuildingList buildings;
    SolxShadowSourceList sources;
    if (SelectObstructions(buildings, sources) != RTNORM) return;
    ShadowRun run;
    if (!AskParameters(run)) return;
    const SolxStopwatch stopwatch;
    ShadowObstructions obstructions;
    PrepareObstructions(buildings, sources, run.z, obstructions);
    VxDtInitTextStyle(L"TS_DIM", nullptr);
    VxDtInitStdLayer(L"SUN-SHADOW", nullptr);
    const VxPushSysVar layer(L"CLAYER", VxDtGetLayerName(L"SUN-SHADOW").c_str());
    if (obstructions.prisms.empty() && sources.empty())
        acutPrintf(VxUtLangText(L"\n没有高出计算高度 %g 的遮挡物，不产生阴影。"), run.z);
    const int drawn = DrawMoments(obstructions, run);
    if (drawn == 0) acutPrintf(L"%s", VxUtLangText(L"\n没有画出阴影轮廓。"));
    stopwatch.Report();
}
