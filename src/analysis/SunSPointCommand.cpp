// "VxSunSPoint": select the obstructions, confirm the single-point dialog, then analyse one
// point after another, following the cursor (dynamic query, the result in a tip window) or at
// picked points (the result in a Yes/No box); clicks and answers leave markers.

#include <memory>
#include <string>

#include "CObjectTipWnd.h"
#include "SunSPoint.h"
#include "acad/AcEdFrame.h"
#include "acad/aced.h"
#include "acad/adsdef.h"
#include "brel/BrelDbObject.h"
#include "brel/BrelLanguageSwitch.h"
#include "host/VxUtPushResource.h"
#include "brel/VxDbPromptSymbol.h"
#include "brel/VxDtLayer.h"
#include "brel/VxPtInput.h"
#include "containers/VxPushVar.h"
#include "host/SolxCommands.h"
#include "host/SolxModule.h"
#include "host/VxUtPushResource.h"
#include "mfc/afxwin.h"
#include "ui/CSinglePointDlg.h"

namespace {

constexpr double kRest = 1e-6;  // a cursor closer than this to the last point has not moved

const wchar_t* DynamicPrompt() {
    return VxUtLangText(L"选取测试点(当前状态：动态查询)或 [输入高度(E)/状态切换(D)]<退出>:");
}

// The dialog in the module's resource scope; false on Cancel. The step read is the
// single-point step (the dialog still exists), the height is in drawing units.
bool RunSinglePointSetup(SolxSunSetting& setting, double& height, const wchar_t* title) {
    VxUtPushResource scope(g_hSolxInstance);
    CSinglePointDlg dialog(nullptr, title);  // the dialog runtime needs no owner window
    if (dialog.DoModal() != IDOK) return false;
    setting = ReadSunSetting();
    g_dSunCalHeight = dialog.m_dHeight;
    height = dialog.m_dHeight * DrawUnitScale();
    acutPrintf(L"%s", SPointHeader(setting, height).c_str());
    return true;
}

class SPointQuery {
public:
    SPointQuery(const SPointEvaluator& evaluator, double height)
        : m_eval(evaluator), m_height(height) {
        VxPtGetVar(L"PICKBOX", m_pickbox);
        m_layer = VxDtGetLayerName(L"SUN-SHADOW");
    }

    void Run() {
        if (SPointDynamicMode()) acutPrintf(L"%s", DynamicPrompt());
        while (SPointDynamicMode() ? DynamicStep() : PickStep()) {
        }
        m_tip.reset();
    }

private:
    // One cursor event; false ends the command.
    bool DynamicStep() {
        int type = 0;
        resbuf event{};
        int rc = RTERROR;
        {
            const VxPushVar<bool> hotKeys(g_bEnableHotKey, false);
            rc = acedGrRead(1 | 4 | 8, &type, &event);
        }
        if (rc != RTNORM) return false;
        if (type != 5 && type != 3 && type != 2 && type != 12) return false;
        if (type != 2 && event.restype == RTPOINT)
            for (int i = 0; i < 3; ++i) m_pointer[i] = event.resval.rpoint[i];
        m_pointer[2] = 0.0;
        if (type == 3) PlaceMarker(true);
        if (type == 2) {
            const int key = event.resval.rint;
            acutPrintf(L"%d", key);
            if (key == 'e' || key == 'E') {
                m_tip.reset();
                AskHeight(L"\n输入测试高度:");
                acutPrintf(L"\n%s", DynamicPrompt());
                m_last[0] += 1000.0;
            } else if (key == 'd' || key == 'D') {
                m_tip.reset();
                SPointDynamicMode() = false;
                return true;
            }
        }
        if (acutDistance(m_pointer, m_last) > kRest) Analyse(m_pointer);
        return true;
    }

    // One answer at the pick prompt; false ends the command.
    bool PickStep() {
        ads_point picked = {0, 0, 0};
        int rc = RTERROR;
        {
            const VxPtInitGet keywords(4, VxUtLangText(L"E D"));
            rc = acedGetPoint(nullptr,
                              VxUtLangText(L"\n选取测试点(当前状态：点选查询)或 [输入高度(E)/"
                                           L"状态切换(D)]<退出>:"),
                              picked);
        }
        if (rc == RTKWORD) {
            wchar_t keyword[32] = {};
            acedGetInput(keyword);
            const std::wstring word = keyword;
            if (word == L"D") {
                m_tip.reset();
                SPointDynamicMode() = true;
                acutPrintf(L"\n%s", DynamicPrompt());
                m_last[0] += 1000.0 * DrawUnitScale();
            } else if (word == L"E") {
                m_tip.reset();
                AskHeight(L"\n 输入测试高度");
            }
            return true;
        }
        if (rc != RTNORM) return false;
        picked[2] = 0.0;
        if (acutDistance(picked, m_last) > kRest) Analyse(picked);
        return true;
    }

    // A new test height; Enter, Esc or a height below the ground keep the old one.
    void AskHeight(const wchar_t* prompt) {
        double height = m_height;
        if (VxUtGetDist(VxUtLangText(prompt), height) != RTNORM) return;
        if (height < 0.0) {
            acutPrintf(VxUtLangText(L"\n测试高度不能低于地面，仍为 %g。"), m_height);
            return;
        }
        m_height = height;
    }

    // The point comes in user coordinates.
    void Analyse(const ads_point at) {
        for (int i = 0; i < 3; ++i) m_last[i] = at[i];
        VxGePoint world(at[0], at[1], 0.0);
        UcsToWcs(world);
        world.z = m_height;
        m_current = world;
        const SolxSunSetting& s = m_eval.Setting();
        const SPointTexts texts =
            MakeSPointTexts(m_eval.Periods(world), s.startMinute, s.endMinute);
        m_report = texts.report;
        if (SPointDynamicMode()) {
            ShowTip(texts);
            return;
        }
        if (m_eval.InsideBuilding(world))
            acutPrintf(L"%s", VxUtLangText(L"\n测试点在建筑物内部，照不到太阳。"));
        const std::wstring question = m_report + VxUtLangText(L"\n是否标注在图上?");
        const bool annotate = AfxMessageBox(question.c_str(), MB_YESNO) == IDYES;
        PlaceMarker(annotate);
    }

    void ShowTip(const SPointTexts& texts) {
        SolxObjInfoRows rows;
        for (const IObjInfoUnit& row : texts.rows) rows.Append(new IObjInfoUnit(row));
        int viewport = 2;
        VxPtGetVar(L"CVPORT", viewport);
        const ads_point world = {m_current.x, m_current.y, m_current.z};
        POINT pixel;
        acedCoordFromWorldToPixel(viewport, world, pixel);
        acedGetAcadDwgView()->ClientToScreen(&pixel);
        acedGetAcadFrame()->ScreenToClient(&pixel);
        m_tip.reset();
        m_tip = std::make_unique<CObjectTipWnd>();
        m_tip->ShowTip(rows, static_cast<int>(pixel.x) + 2 * m_pickbox,
                       static_cast<int>(pixel.y) + 2 * m_pickbox);
    }

    void PlaceMarker(bool drawText) {
        auto* marker = new VxDbPromptSymbol();
        const double size = 7.0 * PaperToDrawing();
        marker->SetTextHeight(0.0);
        marker->SetTextStyle(L"TS_DIM");
        marker->SetText(m_report.c_str());
        marker->setLayer(m_layer.c_str());
        marker->SetXSize(size);
        marker->SetYSize(size);
        marker->SetLocation(AcGePoint3d(m_current.x, m_current.y, m_current.z));
        marker->SetType(4);
        marker->SetTextDraw(drawText);
        if (AddToModelSpace(marker, 1).isNull()) delete marker;
    }

    const SPointEvaluator& m_eval;
    double m_height;
    int m_pickbox = 3;
    std::wstring m_layer;
    VxGePoint m_current;              // the last analysed point, world, z = its test height
    ads_point m_last = {0, 0, 0};     // the last analysed point, user coordinates
    ads_point m_pointer = {0, 0, 0};  // the last pointer position reported
    std::wstring m_report;
    std::unique_ptr<CObjectTipWnd> m_tip;
};

}  // namespace

void VxSunSPoint() {
    ReportAssumedDrawUnit();
    SolxBuildingList buildings;
    SolxShadowSourceList sources;
    if (SelectObstructions(buildings, sources) != RTNORM) return;
    SolxSunSetting setting;
    double height = 0.0;
    if (!RunSinglePointSetup(setting, height, VxUtLangText(L"单点分析"))) return;
    const SPointEvaluator evaluator(std::move(buildings), std::move(sources), setting);
    VxDtInitTextStyle(L"TS_DIM", nullptr);
    VxDtInitStdLayer(L"SUN-SHADOW", nullptr);
    const VxPushSysVar layer(L"CLAYER", VxDtGetLayerName(L"SUN-SHADOW").c_str());
    SPointQuery(evaluator, height).Run();
}
