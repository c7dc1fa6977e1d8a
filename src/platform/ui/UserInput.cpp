#include "mfc/UserInput.h"

#include <algorithm>

#include "WindowRegistry.h"
#include "mfc/CWnd.h"
#include "mfc/WindowState.h"

namespace solx::ui {
namespace {

using editor::HostMessagef;

bool IsEdit(HWND window) {
    return window->kind == ControlKind::Edit || window->kind == ControlKind::MaskedEdit;
}

void Notify(HWND window, UINT code) {
    CWnd::FromHandle(window)->SendNotifyToParent(code);
}

// A user can only reach a control that is shown and enabled in a shown, enabled dialog.
bool Reachable(HWND window, HostMessage& error) {
    for (HWND w = window; w; w = w->parent) {
        if (!w->visible)
            error = HostMessagef(L"control %d is hidden", window->id);
        else if (!w->enabled)
            error = HostMessagef(L"control %d is disabled", window->id);
        if (!error.empty()) return false;
    }
    return true;
}

// notKind: the refusal for a control of another kind, "control %d (%s) is not ...".
bool Expect(HWND window, bool kindOk, const HostMessage& notKind, HostMessage& error) {
    if (!window) {
        error = HostMessage(L"no such control");
        return false;
    }
    if (!kindOk) {
        error = notKind;
        return false;
    }
    return Reachable(window, error);
}

// The refusal for a control of the wrong kind; format takes the id and the kind's name.
HostMessage NotKind(const wchar_t* format, HWND window) {
    if (!window) return {};
    return HostMessagef(format, window->id, KindName(window->kind));
}

// Checks `radio` and unchecks the other radios of its group (auto radio buttons).
void CheckRadio(HWND radio) {
    const auto& siblings = radio->parent->children;
    std::size_t self = 0;
    while (siblings[self].get() != radio) ++self;
    std::size_t first = self;
    while (first > 0 && !siblings[first]->groupStart &&
           siblings[first - 1]->kind == ControlKind::Radio)
        --first;
    for (std::size_t i = first; i < siblings.size(); ++i) {
        if (siblings[i]->kind != ControlKind::Radio || (i != first && siblings[i]->groupStart))
            break;
        siblings[i]->check = i == self ? BST_CHECKED : BST_UNCHECKED;
    }
}

}  // namespace

void FocusControl(HWND window) {
    HWND old = FocusedWindow();
    if (old == window) return;
    SetFocusedWindow(window);
    if (old) {
        CWnd::FromHandle(old)->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(window));
        if (IsEdit(old)) Notify(old, EN_KILLFOCUS);
    }
    if (window) {
        CWnd::FromHandle(window)->SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(old));
        if (IsEdit(window)) Notify(window, EN_SETFOCUS);
    }
}

bool CanTypeText(HWND window, HostMessage& error) {
    const bool typable =
        window && (IsEdit(window) || (window->kind == ControlKind::ComboBox && window->editable));
    if (!Expect(window, typable,
                NotKind(editor::HostKey(L"control %d (%s) is not an edit"), window), error))
        return false;
    if (window->readOnly) {
        error = HostMessagef(L"control %d is read-only", window->id);
        return false;
    }
    return true;
}

bool TypeText(HWND window, const std::wstring& text, HostMessage& error) {
    if (!CanTypeText(window, error)) return false;
    FocusControl(window);
    if (window->kind == ControlKind::MaskedEdit) {
        const auto pasted = reinterpret_cast<LPARAM>(text.c_str());
        if (CWnd::FromHandle(window)->SendMessage(WM_PASTE, 0, pasted)) return true;
        error = window->cue.empty()
                    ? HostMessagef(L"control %d cannot hold \"%s\"", window->id, text.c_str())
                    : HostMessagef(L"control %d cannot hold \"%s\" (it takes %s)", window->id,
                                   text.c_str(), window->cue.c_str());
        return false;
    }
    window->text = text;
    window->caret = static_cast<int>(text.size());
    window->modified = true;
    if (window->kind == ControlKind::ComboBox) window->curSel = CB_ERR;
    Notify(window, window->kind == ControlKind::ComboBox ? CBN_EDITCHANGE : EN_CHANGE);
    return true;
}

bool CanClickControl(HWND window, HostMessage& error) {
    const bool clickable =
        window && (window->kind == ControlKind::Button || window->kind == ControlKind::CheckBox ||
                   window->kind == ControlKind::Radio);
    return Expect(window, clickable,
                  NotKind(editor::HostKey(L"control %d (%s) is not a button"), window), error);
}

bool ClickControl(HWND window, HostMessage& error) {
    if (!CanClickControl(window, error)) return false;
    FocusControl(window);
    if (window->kind == ControlKind::CheckBox)
        window->check = window->check ? BST_UNCHECKED : BST_CHECKED;
    if (window->kind == ControlKind::Radio) CheckRadio(window);
    Notify(window, BN_CLICKED);
    return true;
}

bool CanPickItem(HWND window, int index, HostMessage& error) {
    if (!Expect(window, window && window->kind == ControlKind::ComboBox,
                NotKind(editor::HostKey(L"control %d (%s) is not a combo box"), window), error))
        return false;
    if (index < 0 || index >= static_cast<int>(window->items.size())) {
        error = HostMessagef(L"control %d has no item %d", window->id, index);
        return false;
    }
    return true;
}

bool PickItem(HWND window, int index, HostMessage& error) {
    if (!CanPickItem(window, index, error)) return false;
    FocusControl(window);
    window->curSel = index;
    window->text = window->items[static_cast<std::size_t>(index)];
    Notify(window, CBN_SELCHANGE);
    return true;
}

bool CanPickDate(HWND window, HostMessage& error) {
    return Expect(window, window && window->kind == ControlKind::DateTime,
                  NotKind(editor::HostKey(L"control %d (%s) is not a date picker"), window), error);
}

bool PickDate(HWND window, const SYSTEMTIME& date, HostMessage& error) {
    if (!CanPickDate(window, error)) return false;
    FocusControl(window);
    window->time.wYear = date.wYear;
    window->time.wMonth = date.wMonth;
    window->time.wDay = date.wDay;
    NMDATETIMECHANGE change;
    change.nmhdr = {window, static_cast<UINT_PTR>(window->id), DTN_DATETIMECHANGE};
    change.st = window->time;
    if (CWnd* parent = CWnd::FromHandle(window->parent)) {
        parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(window->id),
                            reinterpret_cast<LPARAM>(&change));
    }
    return true;
}

bool CanMoveTo(HWND window, int pos, HostMessage& error) {
    const bool movable =
        window && (window->kind == ControlKind::Spin || window->kind == ControlKind::Slider);
    if (!Expect(window, movable,
                NotKind(editor::HostKey(L"control %d (%s) is not a spin or slider"), window),
                error))
        return false;
    const int low = std::min(window->rangeMin, window->rangeMax);
    const int high = std::max(window->rangeMin, window->rangeMax);
    if (pos < low || pos > high) {
        // A user cannot move it past its ends; a silently different position would be worse.
        error = HostMessagef(L"control %d goes from %d to %d", window->id, low, high);
        return false;
    }
    return true;
}

bool MoveTo(HWND window, int pos, HostMessage& error) {
    if (!CanMoveTo(window, pos, error)) return false;
    window->pos = pos;
    CWnd* parent = CWnd::FromHandle(window->parent);
    const auto bar = reinterpret_cast<LPARAM>(window);
    if (window->kind == ControlKind::Slider) {
        parent->SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, window->pos), bar);
        parent->SendMessage(WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), bar);
        return true;
    }
    if (HWND buddy = window->parent->Child(window->buddyId)) {
        buddy->text = std::to_wstring(window->pos);
        buddy->modified = true;
        Notify(buddy, EN_CHANGE);
    }
    parent->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, window->pos), bar);
    return true;
}

void FireTimer(HWND window, UINT_PTR id) {
    if (window && window->timers.count(id)) CWnd::FromHandle(window)->SendMessage(WM_TIMER, id);
}

}  // namespace solx::ui
