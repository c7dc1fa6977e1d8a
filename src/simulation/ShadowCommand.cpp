// "VxShadow": asks for the observer and the direction of view, then opens the simulation
// window (one at a time) and leaves it open while the command prompt goes on.
#include <exception>
#include <string>

#include "SolxRenderDlg.h"
#include "acad/aced.h"
#include "acad/adsdef.h"
#include "analysis/SolxFrame.h"
#include "brel/BrelLanguageSwitch.h"
#include "brel/VxPtInput.h"
#include "host/SolxCommands.h"
#include "host/SolxModule.h"
#include "host/VxUtPushResource.h"
#include "mfc/Utf8.h"

namespace {

constexpr double kEyeHeightMm = 1600.0;

}  // namespace

void VxShadow() {
    if (SolxRenderDlg* open = SolxRenderDlg::Instance()) {
        VxUtPushResource scope(g_hSolxInstance);
        open->SetFocus();
        return;
    }
    ads_point eye{}, target{};
    if (acedGetPoint(nullptr, VxUtLangText(L"\n初始观察位置: "), eye) != RTNORM) return;
    if (acedGetPoint(eye, VxUtLangText(L"\n初始观察方向: "), target) != RTNORM) return;
    UcsToWcs(eye);
    UcsToWcs(target);
    // The eye and the target stand 1.6 m above height 0, in metres.
    const double f = DrawUnitScale();
    const double toMetres = 1.0 / (1000.0 * f);
    const VxGePoint eyeM{eye[0] * toMetres, eye[1] * toMetres, kEyeHeightMm * f * toMetres};
    const VxGePoint targetM{target[0] * toMetres, target[1] * toMetres,
                            kEyeHeightMm * f * toMetres};
    SolxRenderDlg* dialog = nullptr;
    try {
        VxUtPushResource scope(g_hSolxInstance);
        dialog = new SolxRenderDlg;
        dialog->View().SetCamera(eyeM, targetM);
        std::string error;
        if (!dialog->Open(true, error)) {
            acutPrintf(L"\n%s", solx::win::Utf8ToWide(error).c_str());
            throw std::runtime_error(error);
        }
        dialog->SetFocus();
    } catch (const std::exception&) {
        acutPrintf(L"%s", VxUtLangText(L"\n发生异常!"));
        if (dialog && dialog->m_hWnd) dialog->DestroyWindow();
        delete dialog;
    }
}
