#include <cwchar>
#include <cwctype>

#include "mfc/CDialog.h"
#include "mfc/DialogPresenter.h"
#include "mfc/DialogTemplate.h"
#include "mfc/UserInput.h"
#include "mfc/WindowState.h"
#include "mfc/afxwin.h"

namespace solx::ui {
namespace {

using editor::HostMessagef;

bool ToInt(const std::wstring& text, int& value) {
    wchar_t* end = nullptr;
    const long parsed = std::wcstol(text.c_str(), &end, 10);
    value = static_cast<int>(parsed);
    return !text.empty() && *end == 0;
}

bool ToDate(const std::wstring& text, SYSTEMTIME& date) {
    unsigned year = 0, month = 0, day = 0;
    if (std::swscanf(text.c_str(), L"%u-%u-%u", &year, &month, &day) != 3) return false;
    if (month < 1 || month > 12 || day < 1 || day > 31) return false;
    date.wYear = static_cast<WORD>(year);
    date.wMonth = static_cast<WORD>(month);
    date.wDay = static_cast<WORD>(day);
    return true;
}

int ExactItem(HWND combo, const std::wstring& value) {
    for (std::size_t i = 0; i < combo->items.size(); ++i) {
        if (combo->items[i] == value) return static_cast<int>(i);
    }
    return -1;
}

// The item whose text is `value`; else `value` read as an index.
int ItemIndex(HWND combo, const std::wstring& value) {
    if (const int exact = ExactItem(combo, value); exact >= 0) return exact;
    int index = -1;
    return ToInt(value, index) ? index : -1;
}

bool PickNamed(HWND combo, const std::wstring& value, HostMessage& error) {
    const int index = ItemIndex(combo, value);
    if (index >= 0) return PickItem(combo, index, error);
    error = HostMessagef(L"control %d has no item '%s'", combo->id, value.c_str());
    return false;
}

bool SetCheck(HWND window, const std::wstring& value, HostMessage& error) {
    int wanted = 0;
    if (!ToInt(value, wanted) || wanted < 0 || wanted > 1) {
        error = HostMessage(L"a check box or radio takes 0 or 1");
        return false;
    }
    if (window->check == wanted) return true;
    if (window->kind == ControlKind::Radio && wanted == 0) {
        error = HostMessage(L"a radio is cleared by setting another radio of its group");
        return false;
    }
    return ClickControl(window, error);
}

bool SetControl(HWND window, const std::wstring& value, HostMessage& error) {
    int number = 0;
    SYSTEMTIME date;
    switch (window->kind) {
        case ControlKind::Edit:
        case ControlKind::MaskedEdit:
            if (!TypeText(window, value, error)) return false;
            FocusControl(nullptr);
            return true;
        case ControlKind::ComboBox: {
            if (ExactItem(window, value) >= 0 || !window->editable)
                return PickNamed(window, value, error);
            if (!TypeText(window, value, error)) return false;
            FocusControl(nullptr);
            return true;
        }
        case ControlKind::DateTime:
            if (ToDate(value, date)) return PickDate(window, date, error);
            error = HostMessage(L"a date is written YYYY-MM-DD");
            return false;
        case ControlKind::CheckBox:
        case ControlKind::Radio:
            return SetCheck(window, value, error);
        case ControlKind::Spin:
        case ControlKind::Slider:
            if (ToInt(value, number)) return MoveTo(window, number, error);
            error = HostMessage(L"a spin or slider takes a whole number");
            return false;
        default:
            error = HostMessagef(L"a %s cannot be set", KindName(window->kind));
            return false;
    }
}

}  // namespace

bool ScriptDialogPresenter::Apply(CDialog& dialog, const DialogAction& action, HostMessage& error) {
    using Kind = DialogAction::Kind;
    if (action.kind == Kind::Ok || action.kind == Kind::Cancel) {
        const int id = action.kind == Kind::Ok ? IDOK : IDCANCEL;
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        return true;
    }
    if (action.kind == Kind::Show) return true;
    HWND window = dialog.m_hWnd->Child(action.id);
    if (!window) {
        error = HostMessagef(L"no control %d", action.id);
        return false;
    }
    if (action.kind == Kind::Click) return ClickControl(window, error);
    if (action.kind == Kind::Select) {
        if (window->kind != ControlKind::ComboBox) {
            error = HostMessagef(L"control %d is not a combo box", action.id);
            return false;
        }
        return PickNamed(window, action.value, error);
    }
    return SetControl(window, action.value, error);
}

int ScriptDialogPresenter::RunModal(CDialog& dialog) {
    const std::wstring name = L"dialog " + std::to_wstring(dialog.TemplateId());
    if (m_source.Interactive()) m_source.Print(DescribeDialog(dialog));
    while (!dialog.IsModalEnded()) {
        std::optional<DialogAction> action =
            m_source.NextDialogAction(dialog.GetWindowTextString());
        if (!action) {
            if (!m_source.Stopped())
                ReportError(name + L" (" + dialog.GetWindowTextString() +
                            L") left open by the script: cancelled");
            dialog.EndDialog(IDCANCEL);
            break;
        }
        if (action->kind == DialogAction::Kind::Show) {
            m_source.Print(DescribeDialog(dialog));
            continue;
        }
        HostMessage error;
        if (Apply(dialog, *action, error)) continue;
        const HostMessage where = HostMessagef(L"dialog %u (%s): ", dialog.TemplateId(),
                                               dialog.GetWindowTextString().c_str());
        if (m_source.Refuse(*action, where + error)) continue;
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (!dialog.IsModalEnded()) dialog.EndDialog(IDCANCEL);
    }
    return dialog.ModalResult();
}

}  // namespace solx::ui
