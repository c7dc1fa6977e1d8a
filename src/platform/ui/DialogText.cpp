// The dialog as text, for a person answering it at the terminal: the caption, then one line per
// control a user can act on (id, label, kind, value, state), the items of lists, and the group
// boxes as headings.
#include <cstdio>
#include <string>

#include "acad/AcEdHostText.h"
#include "mfc/CDialog.h"
#include "mfc/DialogPresenter.h"
#include "mfc/WindowState.h"

namespace solx::ui {
namespace {

using editor::HostText;
using editor::HostTextf;

bool SameRow(const DialogRect& a, const DialogRect& b) {
    return a.y < b.y + b.height && b.y < a.y + a.height;
}

bool Inside(const DialogRect& inner, const DialogRect& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x < outer.x + outer.width &&
           inner.y < outer.y + outer.height;
}

// The group box around a control, or null.
const WindowState* GroupOf(const WindowState& control) {
    for (const auto& other : control.parent->children)
        if (other->kind == ControlKind::GroupBox && Inside(control.rect, other->rect))
            return other.get();
    return nullptr;
}

// A control without its own text is named by the nearest static text of its group box left of
// it on its row, else by the nearest one just above it.
std::wstring LabelOf(const WindowState& control) {
    if (!control.text.empty() && control.kind != ControlKind::Edit &&
        control.kind != ControlKind::MaskedEdit && control.kind != ControlKind::ComboBox)
        return control.text;
    const WindowState* group = GroupOf(control);
    const WindowState* left = nullptr;
    const WindowState* above = nullptr;
    for (const auto& other : control.parent->children) {
        if (other->kind != ControlKind::Static || GroupOf(*other) != group) continue;
        const DialogRect& r = other->rect;
        if (SameRow(r, control.rect) && r.x < control.rect.x) {
            if (!left || r.x > left->rect.x) left = other.get();
        } else if (r.y + r.height <= control.rect.y && control.rect.y - r.y <= 16 &&
                   r.x <= control.rect.x + control.rect.width && control.rect.x <= r.x + r.width) {
            if (!above || r.y > above->rect.y) above = other.get();
        }
    }
    const WindowState* label = left ? left : above;
    return label ? label->text : std::wstring();
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring DateText(const SYSTEMTIME& t) {
    const std::wstring month = (t.wMonth < 10 ? L"0" : L"") + std::to_wstring(t.wMonth);
    const std::wstring day = (t.wDay < 10 ? L"0" : L"") + std::to_wstring(t.wDay);
    return std::to_wstring(t.wYear) + L"-" + month + L"-" + day;
}

std::wstring ValueOf(const WindowState& c) {
    switch (c.kind) {
        case ControlKind::Edit:
        case ControlKind::MaskedEdit:
        case ControlKind::ComboBox:
            return L" = " + Quoted(c.text);
        case ControlKind::CheckBox:
        case ControlKind::Radio:
            return c.check ? HostText(L" = 1 (on)") : HostText(L" = 0 (off)");
        case ControlKind::DateTime:
            return L" = " + DateText(c.time);
        case ControlKind::Spin:
            // The buddy edit shows the number; the spin only moves it within its range.
            if (c.buddyId)
                return HostTextf(L" (moves %d, %d..%d)", c.buddyId, c.rangeMin, c.rangeMax);
            [[fallthrough]];
        case ControlKind::Slider:
            return L" = " + std::to_wstring(c.pos) + L" (" + std::to_wstring(c.rangeMin) + L".." +
                   std::to_wstring(c.rangeMax) + L")";
        default:
            return L"";
    }
}

std::wstring StateOf(const WindowState& c) {
    std::wstring state;
    if (!c.cue.empty()) state += HostTextf(L"  takes %s", c.cue.c_str());
    if (c.readOnly) state += HostText(L"  read-only");
    if (!c.enabled) state += HostText(L"  disabled");
    if (!c.visible) state += HostText(L"  hidden");
    return state;
}

// Columns a text takes at the terminal: East Asian wide characters take two.
std::size_t Columns(const std::wstring& text) {
    std::size_t columns = 0;
    for (wchar_t ch : text) columns += ch >= 0x2E80 && ch < 0xFF61 ? 2 : 1;
    return columns;
}

// The items with their indexes, wrapped at about 90 columns.
std::wstring ItemsOf(const WindowState& c) {
    const std::wstring indent = L"\n          ";
    std::wstring items;
    std::size_t line = 0;
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        const std::wstring item = std::to_wstring(i) + L" " + c.items[i];
        if (i == 0 || line + 2 + Columns(item) > 80) {
            items += indent;
            line = 0;
        } else {
            items += L"  ";
            line += 2;
        }
        items += item;
        line += Columns(item);
    }
    return items;
}

std::wstring Padded(std::wstring text, std::size_t width) {
    const std::size_t columns = Columns(text);
    if (columns < width) text.append(width - columns, L' ');
    return text;
}

}  // namespace

std::wstring DescribeDialog(const CDialog& dialog) {
    const WindowState* window = dialog.m_hWnd;
    std::wstring text =
        HostTextf(L"\n[%s] dialog %u", window ? window->text.c_str() : L"", dialog.TemplateId());
    if (!window) return text + L"\n";
    for (const auto& child : window->children) {
        const WindowState& c = *child;
        if (c.kind == ControlKind::GroupBox) {
            if (!c.text.empty()) text += L"\n  -- " + c.text + L" --";
            continue;
        }
        if (c.kind == ControlKind::Static && c.id <= 0) continue;
        text += L"\n  " + Padded(std::to_wstring(c.id), 6) + Padded(LabelOf(c), 16) + L" " +
                KindName(c.kind) + ValueOf(c) + StateOf(c) + ItemsOf(c);
    }
    return text + HostText(
                      L"\n  Type ID=VALUE to set, ID to click, ok, cancel, or ? to show the "
                      L"dialog again.\n");
}

}  // namespace solx::ui
