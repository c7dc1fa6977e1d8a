// The mark every equal-hour line carries, and the buildings that cast a shadow on the plane.

#include "EqualHour.h"

#include "acad/AcDb2dPolyline.h"
#include "acad/AcDbEntity.h"
#include "acad/AcDbPolyline.h"
#include "brel/BrelDbObject.h"
#include "brel/VxGeometry.h"
#include "host/VxUtPushResource.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxDegree.h"
#include "solx/SolxObjInfo.h"

namespace {
// A building whose top is not this far above the plane casts no shadow on it (drawing units).
constexpr double kTopClearance = 0.01;
}  // namespace

void TagEqualHourEntity(AcDbEntity* entity, double level, int evaluationMode, AcDbObjectId layer) {
    SolxObjInfoRows rows;
    const wchar_t* name = evaluationMode ? L"最长有效连照" : L"总有效日照";
    rows.Append(new IObjInfoUnit{VxUtLangText(name), SolxDegree(level).TimeFormat(false)});
    WriteXData(entity, rows);
    entity->setColorIndex(g_SunDataSet.CurStd().GetTimeColor(level));
    if (!layer.isNull()) entity->setLayer(layer);
}

UsableOutlines CollectUsableOutlines(const SolxBuildingList& buildings, double calcHeight) {
    UsableOutlines usable;
    for (const auto& building : buildings) {
        if (!building || !building->IsValid() || building->Outline().size() < 2) continue;
        if (building->Height() <= g_distZero) continue;
        if (calcHeight + kTopClearance > building->Top()) continue;
        usable.outlines.push_back(building->Outline());
        usable.baseAndHeight.emplace_back(building->Elevation(), building->Height(), 0.0);
    }
    return usable;
}

void AddEqualHourCurve(AcDbPolyline* polyline, bool smoothing) {
    if (!smoothing) {
        if (AddToModelSpace(polyline, 1).isNull()) delete polyline;
        return;
    }
    const bool closed = polyline->isClosed();
    if (AddToModelSpace(polyline, 0).isNull()) {
        delete polyline;
        return;
    }
    AcDb2dPolyline* fitted = nullptr;
    if (polyline->convertTo(fitted, true) != Acad::eOk || fitted == nullptr) {
        polyline->close();
        return;
    }
    fitted->splineFit();
    if (closed) fitted->makeClosed();
    fitted->close();
    delete polyline;
}
