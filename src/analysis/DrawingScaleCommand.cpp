// VxSetScale: the drawing scale 1:N that texts, tables, labels and markers are sized by.
#include "host/SolxCommands.h"

#include "acad/aced.h"
#include "brel/VxDrawingScale.h"
#include "host/VxUtPushResource.h"
#include "mfc/CString.h"

void VxSetScale() {
    const double current = VxDrawingScale(nullptr);
    const std::wstring prompt = solx::win::FormatText(VxUtLangText(L"\n出图比例 1:<%s>: "),
                                                      VxDrawingScaleText(current).c_str());
    for (;;) {
        double scale = current;
        // Zero and negative numbers do not fit the prompt at all; Enter keeps the scale.
        acedInitGet(RSG_NOZERO | RSG_NONEG, nullptr);
        const int rc = acedGetReal(prompt.c_str(), &scale);
        if (rc == RTNONE)
            scale = current;
        else if (rc != RTNORM)
            return;
        if (VxSetDrawingScale(scale, nullptr) == Acad::eOk) {
            acutPrintf(VxUtLangText(L"\n出图比例：1:%s"), VxDrawingScaleText(scale).c_str());
            return;
        }
        acutPrintf(VxUtLangText(L"\n出图比例须在 1:%s 到 1:%s 之间。"),
                   VxDrawingScaleText(kVxMinDrawingScale).c_str(),
                   VxDrawingScaleText(kVxMaxDrawingScale).c_str());
    }
}
