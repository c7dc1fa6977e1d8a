#include "CSinglePointDlg.h"

#include "analysis/SolxFrame.h"
#include "brel/BrelLanguageSwitch.h"
#include "mfc/CDataExchange.h"
#include "solx/SolxStdSet.h"

namespace {
constexpr int kHeight = 2055;
}  // namespace

int& SinglePointStep() {
    static int step = 10;
    return step;
}

CClientScopeDlg::CClientScopeDlg(UINT templateId, CWnd* parent)
    : CDlgSunSetup2(templateId, parent), m_dHeight(g_dSunCalHeight) {}

void CClientScopeDlg::DoDataExchange(CDataExchange* pDX) {
    CDlgSunSetup2::DoDataExchange(pDX);
    if (pDX->Failed()) return;
    const double scale = DrawUnitScale();
    double shown = m_dHeight * scale;
    DDX_Text(pDX, kHeight, shown);
    if (pDX->Failed()) return;
    if (pDX->m_bSaveAndValidate) m_dHeight = shown / scale;
}

CSinglePointDlg::CSinglePointDlg(CWnd* parent, const wchar_t* title)
    : CClientScopeDlg(g_strCurLanguage == L"Chs" ? 2006 : 2028, parent) {
    m_pCaption = title;
    SwapStep(SinglePointStep());
}

CSinglePointDlg::~CSinglePointDlg() {
    SwapStep(SinglePointStep());
}

BOOL CSinglePointDlg::OnInitDialog() {
    CClientScopeDlg::OnInitDialog();
    m_spinStep.SetRange(kStepMinutesMin, kStepMinutesMax);
    return TRUE;
}
