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

bool PickNamed(HWND combo, const std::wstring& value, ControlHand& hand, HostMessage& error) {
    const int index = ItemIndex(combo, value);
    if (index >= 0) return hand.Pick(combo, index, error);
    error = HostMessagef(L"control %d has no item '%s'", combo->id, value.c_str());
    return false;
}

bool SetCheck(HWND window, const std::wstring& value, ControlHand& hand, HostMessage& error) {
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
    return hand.Click(window, error);
}

bool SetControl(HWND window, const std::wstring& value, ControlHand& hand, HostMessage& error) {
    int number = 0;
    SYSTEMTIME date;
    switch (window->kind) {
        case ControlKind::Edit:
        case ControlKind::MaskedEdit:
            return hand.Type(window, value, error);
        case ControlKind::ComboBox:
            if (ExactItem(window, value) >= 0 || !window->editable)
                return PickNamed(window, value, hand, error);
            return hand.Type(window, value, error);
        case ControlKind::DateTime:
            if (ToDate(value, date)) return hand.PickDate(window, date, error);
            error = HostMessage(L"a date is written YYYY-MM-DD");
            return false;
        case ControlKind::CheckBox:
        case ControlKind::Radio:
            return SetCheck(window, value, hand, error);
        case ControlKind::Spin:
        case ControlKind::Slider:
            if (ToInt(value, number)) return hand.Move(window, number, error);
            error = HostMessage(L"a spin or slider takes a whole number");
            return false;
        default:
            error = HostMessagef(L"a %s cannot be set", KindName(window->kind));
            return false;
    }
}

// The script presenter's own hand: the runtime's user-input functions, one after the other.
class RuntimeHand : public ControlHand {
public:
    bool Type(HWND window, const std::wstring& text, HostMessage& error) override {
        if (!TypeText(window, text, error)) return false;
        FocusControl(nullptr);  // the field is left: its checks run
        return true;
    }
    bool Click(HWND window, HostMessage& error) override { return ClickControl(window, error); }
    bool Pick(HWND window, int index, HostMessage& error) override {
        return PickItem(window, index, error);
    }
    bool PickDate(HWND window, const SYSTEMTIME& date, HostMessage& error) override {
        return ui::PickDate(window, date, error);
    }
    bool Move(HWND window, int pos, HostMessage& error) override {
        return MoveTo(window, pos, error);
    }
    bool Press(CDialog& dialog, int id, HostMessage&) override {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        return true;
    }
};

}  // namespace

bool ScriptDialogPresenter::Apply(CDialog& dialog, const DialogAction& action, HostMessage& error) {
    RuntimeHand hand;
    return Apply(dialog, action, hand, error);
}

bool ScriptDialogPresenter::Apply(CDialog& dialog, const DialogAction& action, ControlHand& hand,
                                  HostMessage& error) {
    using Kind = DialogAction::Kind;
    if (action.kind == Kind::Ok || action.kind == Kind::Cancel)
        return hand.Press(dialog, action.kind == Kind::Ok ? IDOK : IDCANCEL, error);
    if (action.kind == Kind::Show) return true;
    HWND window = dialog.m_hWnd->Child(action.id);
    if (!window) {
        error = HostMessagef(L"no control %d", action.id);
        return false;
    }
    if (action.kind == Kind::Click) return hand.Click(window, error);
    if (action.kind == Kind::Select) {
        if (window->kind != ControlKind::ComboBox) {
            error = HostMessagef(L"control %d is not a combo box", action.id);
            return false;
        }
        return PickNamed(window, action.value, hand, error);
    }
    return SetControl(window, action.value, hand, error);
}

void ScriptDialogPresenter::Step(CDialog& dialog, DialogActionSource& source, ControlHand& hand) {
    std::optional<DialogAction> action = source.NextDialogAction(dialog.GetWindowTextString());
    if (dialog.IsModalEnded()) return;  // closed meanwhile (by a person, on screen)
    if (!action) {
        if (!source.Stopped())
            ReportError(L"dialog " + std::to_wstring(dialog.TemplateId()) + L" (" +
                        dialog.GetWindowTextString() + L") left open by the script: cancelled");
        dialog.EndDialog(IDCANCEL);
        return;
    }
    if (action->kind == DialogAction::Kind::Show) {
        source.Print(DescribeDialog(dialog));
        return;
    }
    HostMessage error;
    if (Apply(dialog, *action, hand, error)) return;
    const HostMessage where = HostMessagef(L"dialog %u (%s): ", dialog.TemplateId(),
                                           dialog.GetWindowTextString().c_str());
    if (source.Refuse(*action, where + error)) return;
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (!dialog.IsModalEnded()) dialog.EndDialog(IDCANCEL);
}

int ScriptDialogPresenter::RunModal(CDialog& dialog) {
    if (m_source.Interactive()) m_source.Print(DescribeDialog(dialog));
    RuntimeHand hand;
    while (!dialog.IsModalEnded()) Step(dialog, m_source, hand);
    return dialog.ModalResult();
}

}  // namespace solx::ui
