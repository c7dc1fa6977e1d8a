#include "CDlgSunSetup2.h"

#include <utility>

#include "mfc/afxwin.h"
#include "solx/SolxDataSet.h"

void SwapStep(int& remembered) {
    std::swap(g_SunDataSet.m_nStep, remembered);
    g_SunDataSet.m_dStep = g_SunDataSet.m_nStep;
}

namespace {
// The settings' double step before the swap, restored exactly on the way back.
double g_savedStep2 = 0.0;
double g_savedStep3 = 0.0;
}  // namespace

int& SunSetup2Step() {
    static int step = 10;
    return step;
}

int& SunSetup3Step() {
    static int step = 60;
    return step;
}

CDlgSunSetup2::CDlgSunSetup2(UINT templateId, CWnd* parent) : CDlgSunSetup(templateId, parent) {
    g_savedStep2 = g_SunDataSet.m_dStep;
    SwapStep(SunSetup2Step());
}

CDlgSunSetup2::~CDlgSunSetup2() {
    SwapStep(SunSetup2Step());
    g_SunDataSet.m_dStep = g_savedStep2;
}

// The remembered step of these dialogs is their own: a new standard does not bring its step.
void CDlgSunSetup2::OnStdChanged() {
    ChangeStandard(false);
}

CDlgSunSetup3::CDlgSunSetup3(UINT templateId, CWnd* parent) : CDlgSunSetup2(templateId, parent) {
    g_savedStep3 = g_SunDataSet.m_dStep;
    SwapStep(SunSetup3Step());
}

CDlgSunSetup3::~CDlgSunSetup3() {
    SwapStep(SunSetup3Step());
    g_SunDataSet.m_dStep = g_savedStep3;
}
