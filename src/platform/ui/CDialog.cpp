#include "mfc/CDialog.h"

#include "WindowRegistry.h"
#include "mfc/CDataExchange.h"
#include "mfc/DialogPresenter.h"
#include "mfc/DialogTemplate.h"
#include "mfc/UserInput.h"
#include "mfc/afxwin.h"

using solx::ui::ControlTemplate;
using solx::ui::WindowState;

namespace {

std::unique_ptr<WindowState> StateFromTemplate(const ControlTemplate& control,
                                               WindowState* parent) {
    auto state = std::make_unique<WindowState>();
    state->id = control.id;
    state->kind = control.kind;
    state->rect = control.rect;
    state->text = control.text;
    state->readOnly = control.readOnly;
    state->visible = !control.hidden;
    state->enabled = !control.disabled;
    state->groupStart = control.groupStart;
    state->editable = control.editable;
    state->buddyId = control.buddyId;
    state->rangeMin = control.rangeMin;
    state->rangeMax = control.rangeMax;
    state->items = control.items;
    state->parent = parent;
    return state;
}

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_pParentWnd(parent), m_templateId(templateId) {}

CDialog::~CDialog() {
    if (m_hWnd) DestroyWindow();
}

bool CDialog::CreateFromTemplate() {
    const solx::ui::DialogTemplate* dialogTemplate =
        solx::ui::FindDialogTemplate(static_cast<int>(m_templateId));
    if (!dialogTemplate) return false;
    WindowState* window = solx::ui::NewTopLevelWindow();
    window->id = dialogTemplate->id;
    window->kind = solx::ui::ControlKind::Dialog;
    window->text = dialogTemplate->caption;
    window->rect = dialogTemplate->rect;
    for (const ControlTemplate& control : dialogTemplate->controls) {
        window->children.push_back(StateFromTemplate(control, window));
    }
    Attach(window);
    return true;
}

std::intptr_t CDialog::DoModal() {
    if (!CreateFromTemplate()) return -1;
    m_ended = false;
    m_modalResult = -1;
    SendMessage(WM_INITDIALOG);
    const int result = m_ended ? m_modalResult : solx::ui::GetDialogPresenter()->RunModal(*this);
    DestroyWindow();
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    if (m_hWnd) return FALSE;
    if (templateId) m_templateId = templateId;
    if (parent) m_pParentWnd = parent;
    if (!CreateFromTemplate()) return FALSE;
    SendMessage(WM_INITDIALOG);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::EndDialog(int result) {
    m_modalResult = result;
    m_ended = true;
}

BOOL CDialog::UpdateData(BOOL save) {
    CDataExchange exchange(this, save);
    DoDataExchange(&exchange);
    if (!exchange.Failed()) return TRUE;
    if (CWnd* control = GetDlgItem(exchange.FailedControl())) control->SetFocus();
    return FALSE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DeclareMessageMap(CMessageMap& map) {
    map.OnCommand(BN_CLICKED, IDOK, [this] { OnOK(); });
    map.OnCommand(BN_CLICKED, IDCANCEL, [this] { OnCancel(); });
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog();
    if (message == WM_CLOSE) {
        OnCancel();
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}
