// What a facade panel draws: its outline and windows on the unfolded drawing, the equal-hour
// lines on the unfolded drawing and on the real facade, and the number grid.

#include <cmath>

#include "CSunSpreadWall.h"
#include "acad/AcDb2dPolyline.h"
#include "acad/AcDb3dPolyline.h"
#include "acad/AcDbArc.h"
#include "acad/AcDbAttribute.h"
#include "acad/AcDbBlockReference.h"
#include "acad/AcDbLine.h"
#include "acad/AcDbPolyline.h"
#include "acad/AcDbText.h"
#include "acad/aced.h"
#include "analysis/SolxFrame.h"
#include "brel/BrelDbObject.h"
#include "brel/VxDtLayer.h"
#include "brel/VxGeCurveFit.h"
#include "brel/VxPtInput.h"
#include "host/VxUtPushResource.h"
#include "solx/SolxBuildingEx.h"
#include "solx/SolxDataSet.h"
#include "solx/SolxDegree.h"
#include "solx/SolxTimeList.h"

namespace {

AcDbObjectId Add(AcDbEntity* entity, const wchar_t* layerKey) {
    if (layerKey) entity->setLayer(VxDtInitStdLayer(layerKey));
    const AcDbObjectId id = AddToModelSpace(entity, 1);
    if (id.isNull()) delete entity;
    return id;
}

void SetColour(AcDbObjectId id, int colour) {
    AcDbEntity* entity = nullptr;
    if (VxAdsEnt(id).Open(entity, AcDb::kForWrite) != Acad::eOk) return;
    entity->setColorIndex(colour);
    entity->close();
}

}  // namespace

AcDbObjectId AddLine(const VxGePoint& from, const VxGePoint& to, const wchar_t* layerName) {
    return Add(new AcDbLine(AcGePoint3d(from.x, from.y, from.z), AcGePoint3d(to.x, to.y, to.z)),
               layerName);
}

AcDbObjectId AddRectangle(const VxGePoint& centre, double width, double height,
                          const wchar_t* layerName) {
    auto* rectangle = new AcDbPolyline(4);
    const double w = width / 2, h = height / 2;
    const double corners[4][2] = {{-w, -h}, {w, -h}, {w, h}, {-w, h}};
    for (const auto& c : corners)
        rectangle->addVertexAt(rectangle->numVerts(),
                               AcGePoint2d(centre.x + c[0], centre.y + c[1]));
    rectangle->setClosed(true);
    rectangle->setElevation(centre.z);
    double thickness = 0.0;
    VxPtGetVar(L"THICKNESS", thickness);
    rectangle->setThickness(thickness);
    return Add(rectangle, layerName);
}

void CSunSpreadWall::DrawOutlineAndWindows() {
    if (!wall) return;
    const double length = wall->Length();
    const AcDbObjectId outline =
        AddRectangle(VxGePoint(unfoldOrigin.x + length / 2, unfoldOrigin.y + height / 2, 0.0),
                     length, height, L"SUN-SHADOW");
    SetColour(outline, 41);
    for (int i = 0; i < windows.GetLength(); ++i) {
        AcDbEntity* entity = nullptr;
        if (windows[i].Open(entity, AcDb::kForRead) != Acad::eOk) continue;
        if (const auto* reference = dynamic_cast<const AcDbBlockReference*>(entity))
            DrawWindow(reference);
        entity->close();
    }
}

void CSunSpreadWall::DrawWindow(const AcDbBlockReference* blockReference) {
    if (!wall || !blockReference) return;
    const AcGeScale3d scale = blockReference->scaleFactors();
    // The window's anchor: the alignment point of its "LAYER" attribute when it has one;
    // otherwise the middle of the opening (the insertion is the middle of the sill).
    AcGePoint3d anchor = blockReference->position();
    anchor.z += scale.sz / 2;
    auto* label = new AcDbText();
    bool found = false;
    for (const AcDbAttribute* attribute : blockReference->attributes()) {
        if (!attribute) continue;
        if (!found && attribute->tag() == L"LAYER") {
            anchor = attribute->alignmentPoint();
            label->setTextString(attribute->textString().c_str());
            label->setTextStyle(attribute->textStyle());
            label->setHorizontalMode(attribute->horizontalMode());
            label->setHeight(attribute->height() / 2);
            found = true;
        }
    }
    if (!found) {
        for (const AcDbAttribute* attribute : blockReference->attributes())
            if (attribute && attribute->tag() == L"LABEL") {
                label->setTextString(attribute->textString().c_str());
                label->setTextStyle(VxDtInitTextStyle(L"TS_DIM"));
                label->setHeight(std::min(scale.sx, scale.sz) / 4);
                label->setHorizontalMode(AcDb::kTextMid);
            }
    }
    const double along = wall->DistanceAlong(VxGePoint(anchor.x, anchor.y, 0.0));
    const VxGePoint centre(unfoldOrigin.x + along, unfoldOrigin.y - elevation + anchor.z, 0.0);
    const AcDbObjectId box = AddRectangle(centre, scale.sx, scale.sz, L"SUN-SHADOW");
    SetColour(box, 6);
    if (label->textString().empty()) {
        delete label;
        return;
    }
    label->setRotation(0.0);
    label->setPosition(AcGePoint3d(centre.x, centre.y, 0.0));
    label->setAlignmentPoint(AcGePoint3d(centre.x, centre.y, 0.0));
    Add(label, L"SUN-SHADOW");
}

bool CSunSpreadWall::ComputeAndDraw(const SolxBuildingEx& buildingsEx,
                                    const SolxCalSetting& setting,
                                    const std::vector<double>& levels,
                                    const EqualHourParams& params) {
    const long rows = samples.GetRowCount(), columns = samples.GetColumnCount();
    if (rows < 2 || columns < 2) {
        acutPrintf(L"%s", VxUtLangText(L"\n墙长或墙高不足网格的十分之一，此墙只画轮廓和窗。"));
        return true;
    }
    {
        SolxProgress progress(VxUtLangText(L"立面多点计算"), static_cast<int>(rows));
        for (long r = 0; r < rows; ++r) {
            if (!progress.Continue(static_cast<int>(r))) return false;
            for (long c = 0; c < columns; ++c) {
                SolxTimeList times({}, 0.0, 0.0, 0.0);
                buildingsEx.CalSinglePoint(setting, samples[r][c], times);
                const double minutes =
                    params.evaluationMode ? times.GetMaxContinueTime() : times.GetTotalTime();
                values[r][c].z = minutes / 60.0;
            }
        }
    }
    VxGeCurveFitGraph graph;
    if (!PrepareFit(values, graph)) return true;
    const AcDbObjectId layer = VxDtInitStdLayer(L"SUN-SHADOW");
    for (double level : levels) {
        graph.Fit(level, -1.0);
        VxGeObjList curves;
        graph.CreateCurve(curves);
        for (const VxGePolyline2d& curve : curves.Curves()) {
            if (!curve.IsValid()) continue;
            auto* unfolded = new AcDbPolyline();
            AcGePoint3dArray facade;
            for (const VxGePoint& p : curve.Points()) {
                unfolded->addVertexAt(unfolded->numVerts(), AcGePoint2d(p.x, p.y));
                const VxGePointDir2d s = MapToFacade(p);
                facade.append(AcGePoint3d(s.x, s.y, s.z));
            }
            unfolded->setClosed(curve.IsClosed());
            TagEqualHourEntity(unfolded, level, params.evaluationMode, layer);
            AddEqualHourCurve(unfolded, params.smoothing != 0);

            auto* line3d = new AcDb3dPolyline(AcDb::k3dSimplePoly, facade, curve.IsClosed());
            TagEqualHourEntity(line3d, level, params.evaluationMode, layer);
            if (params.smoothing) line3d->convertToPolyType(AcDb::k3dCubicSplinePoly);
            const AcDbObjectId id = AddToModelSpace(line3d, 1);
            if (id.isNull())
                delete line3d;
            else
                lineEntities += VxAdsEnt(id);
        }
        graph.Reset();
    }
    return true;
}

void CSunSpreadWall::DrawNumberGrid(int labelSpacing, int evaluationMode) {
    if (!wall || values.GetRowCount() == 0) return;
    const double length = wall->Length(), g = gridSize;
    const int spacing = std::max(labelSpacing, 1);
    // Grid lines in grey, as the plan number grid, so that the lines of the levels stand out.
    auto gridLine = [](const VxGePoint& from, const VxGePoint& to) {
        SetColour(AddLine(from, to, L"SUN-SHADOW"), 8);
    };
    for (int k = 1; k < m_rows; ++k)
        gridLine(VxGePoint(unfoldOrigin.x, unfoldOrigin.y + k * g, 0.0),
                 VxGePoint(unfoldOrigin.x + length, unfoldOrigin.y + k * g, 0.0));
    for (int k = 1; k < m_columns; ++k)
        gridLine(VxGePoint(unfoldOrigin.x + k * g, unfoldOrigin.y, 0.0),
                 VxGePoint(unfoldOrigin.x + k * g, unfoldOrigin.y + height, 0.0));
    const AcDbObjectId layer = VxDtInitStdLayer(L"SUN-SHADOW");
    const AcDbObjectId style = VxDtInitTextStyle(L"TS_DIM");
    auto label = [&](const AcGePoint3d& at, double value) {
        auto* text = new AcDbText(at, SolxDegree(value).TimeFormat(false).c_str(), style, 0.1 * g);
        text->setHorizontalMode(AcDb::kTextMid);
        text->setAlignmentPoint(at);
        TagEqualHourEntity(text, value, evaluationMode, layer);
        return text;
    };
    for (int r = 0; r <= m_rows; r += spacing)
        for (int c = 0; c <= m_columns; c += spacing) {
            const VxGePoint& v = values[r][c];
            Add(label(AcGePoint3d(v.x, v.y, 0.0), v.z), nullptr);
        }
    // The same grid and labels on the real facade.
    VxAdsEntSet facade;
    facade.IncludeBegin();
    for (int r = 1; r < m_rows; ++r) {
        const VxGePointDir2d& a = samples[r][0];
        const VxGePointDir2d& b = samples[r][m_columns];
        if (wall->IsArc()) {
            const double lo = std::min(wall->StartAngle(), wall->StartAngle() + wall->Sweep());
            const double hi = std::max(wall->StartAngle(), wall->StartAngle() + wall->Sweep());
            const double radius = wall->Radius() + (wall->Sweep() > 0 ? offset : -offset);
            const VxGePoint& ctr = wall->Centre();
            auto* arc = new AcDbArc(AcGePoint3d(ctr.x, ctr.y, a.z), radius, lo, hi);
            arc->setColorIndex(8);
            Add(arc, L"SUN-SHADOW");
        } else {
            gridLine(a.Point(), b.Point());
        }
    }
    for (int c = 1; c < m_columns; ++c) gridLine(samples[m_rows][c].Point(), samples[0][c].Point());
    for (int r = 0; r <= m_rows; r += spacing)
        for (int c = 0; c <= m_columns; c += spacing) {
            const VxGePointDir2d& s = samples[r][c];
            AcDbText* text = label(AcGePoint3d(s.x, s.y, s.z), values[r][c].z);
            text->setNormal(AcGeVector3d(std::cos(s.direction), std::sin(s.direction), 0.0));
            Add(text, nullptr);
        }
    facade.IncludeEnd();
    lineEntities += facade;
}
