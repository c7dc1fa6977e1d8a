#include "CMultiPointDlg.h"

#include "analysis/SolxFrame.h"
#include "brel/BrelLanguageSwitch.h"
#include "mfc/CDataExchange.h"
#include "solx/SolxDataSet.h"

namespace {
constexpr int kHeight = 2055;
constexpr int kDetailed = 2056;
constexpr int kGridSize = 2057;
// The accepted grid sizes, millimetres (times DrawUnitScale in the field).
constexpr double kGridMinMm = 0.0001;
constexpr double kGridMaxMm = 10000000.0;
}  // namespace

MultiPointOptions& MultiPointRemembered() {
    static MultiPointOptions options;
    return options;
}

CMultiPointDlg::CMultiPointDlg(CWnd* parent)
    : CDlgSunSetup(g_strCurLanguage == L"Chs" ? 2005 : 2030, parent),
      m_dHeight(g_dSunCalHeight * DrawUnitScale()),
      m_bDetailed(g_bMAOutputDetail) {}

void CMultiPointDlg::DoDataExchange(CDataExchange* pDX) {
    CDlgSunSetup::DoDataExchange(pDX);
    if (pDX->Failed()) return;
    DDX_Text(pDX, kHeight, m_dHeight);
    if (pDX->Failed()) return;
    const double scale = DrawUnitScale();
    MultiPointOptions& options = MultiPointRemembered();
    double shown = options.gridSizeMm * scale;
    DDX_Text(pDX, kGridSize, shown);
    if (pDX->Failed()) return;
    if (pDX->m_bSaveAndValidate) {
        // Stored as typed, then checked: a refused size stays until a valid one is confirmed.
        options.gridSizeMm = shown / scale;
        DDV_MinMaxDouble(pDX, shown, kGridMinMm * scale, kGridMaxMm * scale);
        if (pDX->Failed()) return;
    }
    DDX_Check(pDX, kDetailed, m_bDetailed);
}
