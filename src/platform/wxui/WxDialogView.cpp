#include "WxDialogView.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/datectrl.h>
#include <wx/dcclient.h>
#include <wx/dateevt.h>
#include <wx/glcanvas.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/slider.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "ArrowSpin.h"
#include "mfc/CDialog.h"
#include "mfc/UserInput.h"
#include "mfc/afxwin.h"

namespace solx::wxui {
namespace {

using ui::ControlKind;
using ui::WindowState;

wxString Wide(const std::wstring& text) {
    return wxString(text.c_str());
}

std::wstring Text(const wxString& text) {
    return text.ToStdWstring();
}

LPARAM PointParam(int x, int y) {
    return static_cast<LPARAM>((static_cast<unsigned>(x) & 0xffff) |
                               ((static_cast<unsigned>(y) & 0xffff) << 16));
}

void Send(WindowState* state, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CWnd* window = CWnd::FromHandle(state)) window->SendMessage(message, wParam, lParam);
}

WPARAM KeyFlags(const wxKeyboardState& keys) {
    return (keys.ShiftDown() ? MK_SHIFT : 0) | (keys.ControlDown() ? MK_CONTROL : 0);
}

}  // namespace

WxDialogView::WxDialogView(CDialog& dialog, wxDialog* frame, bool modal, wxGLCanvas* canvas,
                           int canvasId)
    : m_dialog(dialog), m_frame(frame), m_modal(modal), m_canvas(canvas), m_canvasId(canvasId) {
    Build();
    ShowState();
}

WxDialogView::~WxDialogView() {
    m_detached = true;
}

void WxDialogView::Build() {
    WindowState* window = m_dialog.m_hWnd;
    m_frame->SetTitle(Wide(window->text));
    m_frame->SetClientSize(
        m_frame->ConvertDialogToPixels(wxSize(window->rect.width, window->rect.height)));
    bool previousRadio = false;
    for (const auto& child : window->children) {
        const bool radioGroup =
            child->kind == ControlKind::Radio && (child->groupStart || !previousRadio);
        previousRadio = child->kind == ControlKind::Radio;
        wxWindow* widget = nullptr;
        if (m_canvas && child->id == m_canvasId) {
            widget = m_canvas;
            widget->SetSize(wxRect(
                m_frame->ConvertDialogToPixels(wxPoint(child->rect.x, child->rect.y)),
                m_frame->ConvertDialogToPixels(wxSize(child->rect.width, child->rect.height))));
            BindCanvas(*child, m_canvas);
        } else {
            widget = MakeWidget(*child, radioGroup);
            BindWidget(*child, widget);
        }
        m_bound.push_back({child.get(), widget, child->rect});
    }
    if (m_frame->HasFlag(wxRESIZE_BORDER)) {
        // Not smaller than the template: its controls would overlap.
        m_frame->SetMinClientSize(m_frame->GetClientSize());
        m_frame->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
            event.Skip();
            OnResize();
        });
    }
    m_frame->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (!event.CanVeto() || m_detached) {
            event.Skip();
            return;
        }
        event.Veto();
        m_dialog.SendMessage(WM_CLOSE);
        AfterUserAction();
    });
    m_frame->Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() != WXK_ESCAPE || !Live()) {
            event.Skip();
            return;
        }
        m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        AfterUserAction();
    });
}

wxWindow* WxDialogView::MakeWidget(WindowState& state, bool radioGroup) {
    const wxPoint at = m_frame->ConvertDialogToPixels(wxPoint(state.rect.x, state.rect.y));
    const wxSize size = m_frame->ConvertDialogToPixels(wxSize(state.rect.width, state.rect.height));
    const wxString text = Wide(state.text);
    switch (state.kind) {
        case ControlKind::GroupBox:
            return new wxStaticBox(m_frame, wxID_ANY, text, at, size);
        case ControlKind::Edit:
        case ControlKind::MaskedEdit:
            return new wxTextCtrl(
                m_frame, wxID_ANY, text, at, size,
                (state.readOnly ? wxTE_READONLY : 0) |
                    (state.kind == ControlKind::MaskedEdit ? wxTE_PROCESS_ENTER : 0));
        case ControlKind::Button:
            return new wxButton(m_frame, wxID_ANY, text, at, size);
        case ControlKind::CheckBox:
            return new wxCheckBox(m_frame, wxID_ANY, text, at, size);
        case ControlKind::Radio:
            return new wxRadioButton(m_frame, wxID_ANY, text, at, size,
                                     radioGroup ? wxRB_GROUP : 0);
        case ControlKind::ComboBox: {
            // The template's height is that of the open list; the closed box is one line.
            wxArrayString items;
            for (const auto& item : state.items) items.Add(Wide(item));
            return new wxComboBox(m_frame, wxID_ANY, text, at, wxSize(size.x, -1), items,
                                  state.editable ? wxCB_DROPDOWN : wxCB_READONLY);
        }
        case ControlKind::DateTime:
            return new wxDatePickerCtrl(m_frame, wxID_ANY, wxDefaultDateTime, at, size,
                                        wxDP_DROPDOWN | wxDP_SHOWCENTURY);
        case ControlKind::Spin:
            return new ArrowSpin(m_frame, at, size);
        case ControlKind::Slider:
            return new wxSlider(m_frame, wxID_ANY, state.pos,
                                std::min(state.rangeMin, state.rangeMax),
                                std::max(state.rangeMin, state.rangeMax), at, size);
        case ControlKind::ListBox: {
            wxArrayString items;
            for (const auto& item : state.items) items.Add(Wide(item));
            return new wxListBox(m_frame, wxID_ANY, at, size, items);
        }
        default:
            return new wxStaticText(m_frame, wxID_ANY, text, at, size, wxST_NO_AUTORESIZE);
    }
}

void WxDialogView::OnResize() {
    if (m_detached || !m_dialog.m_hWnd) return;
    const wxSize size = m_frame->GetClientSize();
    if (size.x < 1 || size.y < 1) return;
    m_dialog.SendMessage(WM_SIZE, m_frame->IsIconized() ? SIZE_MINIMIZED : SIZE_RESTORED,
                         MAKELPARAM(size.x, size.y));
    for (Bound& bound : m_bound) Place(bound);
}

void WxDialogView::Place(Bound& bound) {
    const ui::DialogRect& r = bound.state->rect;
    const ui::DialogRect& was = bound.placed;
    if (r.x == was.x && r.y == was.y && r.width == was.width && r.height == was.height) return;
    bound.placed = r;
    const wxPoint at = m_frame->ConvertDialogToPixels(wxPoint(r.x, r.y));
    // The view's canvas has the size its context took; a combo box keeps its one-line height.
    if (bound.widget == m_canvas) return bound.widget->Move(at);
    const wxSize size = m_frame->ConvertDialogToPixels(wxSize(r.width, r.height));
    const bool combo = bound.state->kind == ControlKind::ComboBox;
    bound.widget->SetSize(at.x, at.y, size.x, combo ? bound.widget->GetSize().y : size.y);
    bound.widget->Refresh();
}

void WxDialogView::BindWidget(WindowState& state, wxWindow* widget) {
    WindowState* s = &state;
    // The focus follows the user's; leaving an edit raises its EN_KILLFOCUS in the runtime.
    widget->Bind(wxEVT_SET_FOCUS, [this, s](wxFocusEvent& event) {
        event.Skip();
        if (!Live()) return;
        ui::FocusControl(s);
        AfterUserAction();
    });
    switch (state.kind) {
        case ControlKind::Edit:
            widget->Bind(wxEVT_TEXT, [this, s, widget](wxCommandEvent&) {
                if (!Live()) return;
                ui::HostMessage refused;
                ui::TypeText(s, Text(static_cast<wxTextCtrl*>(widget)->GetValue()), refused);
                Took(refused);
            });
            break;
        case ControlKind::MaskedEdit: {
            // A masked edit takes a whole text or refuses it: it is handed over when the user
            // leaves the field or presses Enter, and shows the runtime's text again if refused.
            auto commit = [this, s, widget] {
                if (!Live()) return;
                const std::wstring typed = Text(static_cast<wxTextCtrl*>(widget)->GetValue());
                if (typed == s->text) return;
                ui::HostMessage refused;
                ui::TypeText(s, typed, refused);
                Took(refused);
            };
            widget->Bind(wxEVT_KILL_FOCUS, [commit](wxFocusEvent& event) {
                event.Skip();
                commit();
            });
            widget->Bind(wxEVT_TEXT_ENTER, [commit](wxCommandEvent&) { commit(); });
            break;
        }
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::Radio: {
            auto click = [this, s](wxCommandEvent&) {
                if (!Live()) return;
                ui::HostMessage refused;
                ui::ClickControl(s, refused);
                Took(refused);
            };
            widget->Bind(wxEVT_BUTTON, click);
            widget->Bind(wxEVT_CHECKBOX, click);
            widget->Bind(wxEVT_RADIOBUTTON, click);
            break;
        }
        case ControlKind::ComboBox:
            widget->Bind(wxEVT_COMBOBOX, [this, s](wxCommandEvent& event) {
                if (!Live()) return;
                ui::HostMessage refused;
                ui::PickItem(s, event.GetSelection(), refused);
                Took(refused);
            });
            if (state.editable)
                widget->Bind(wxEVT_TEXT, [this, s, widget](wxCommandEvent&) {
                    const std::wstring typed = Text(static_cast<wxComboBox*>(widget)->GetValue());
                    if (!Live() || typed == s->text) return;
                    ui::HostMessage refused;
                    ui::TypeText(s, typed, refused);
                    Took(refused);
                });
            break;
        case ControlKind::DateTime:
            widget->Bind(wxEVT_DATE_CHANGED, [this, s](wxDateEvent& event) {
                if (!Live() || !event.GetDate().IsValid()) return;
                SYSTEMTIME date = s->time;
                date.wYear = static_cast<WORD>(event.GetDate().GetYear());
                date.wMonth = static_cast<WORD>(event.GetDate().GetMonth() + 1);
                date.wDay = static_cast<WORD>(event.GetDate().GetDay());
                ui::HostMessage refused;
                ui::PickDate(s, date, refused);
                Took(refused);
            });
            break;
        case ControlKind::Spin:
            static_cast<ArrowSpin*>(widget)->OnMove([this, s](int pos) {
                if (!Live()) return;
                ui::HostMessage refused;
                ui::MoveTo(s, pos, refused);
                Took(refused);
            });
            break;
        case ControlKind::Slider:
            widget->Bind(wxEVT_SLIDER, [this, s](wxCommandEvent& event) {
                if (!Live()) return;
                ui::HostMessage refused;
                ui::MoveTo(s, event.GetInt(), refused);
                Took(refused);
            });
            break;
        default:
            break;
    }
}

void WxDialogView::BindCanvas(WindowState& state, wxGLCanvas* canvas) {
    WindowState* s = &state;
    canvas->Bind(wxEVT_PAINT, [this, s, canvas](wxPaintEvent&) {
        wxPaintDC dc(canvas);
        if (!m_detached) Send(s, WM_PAINT, 0, 0);
    });
    auto mouse = [this, s, canvas](UINT message) {
        return [this, s, canvas, message](wxMouseEvent& event) {
            event.Skip();
            if (m_detached) return;
            if (message == WM_LBUTTONDOWN || message == WM_MBUTTONDOWN) canvas->SetFocus();
            Send(s, message, KeyFlags(event), PointParam(event.GetX(), event.GetY()));
        };
    };
    canvas->Bind(wxEVT_LEFT_DOWN, mouse(WM_LBUTTONDOWN));
    canvas->Bind(wxEVT_LEFT_UP, mouse(WM_LBUTTONUP));
    canvas->Bind(wxEVT_MIDDLE_DOWN, mouse(WM_MBUTTONDOWN));
    canvas->Bind(wxEVT_MIDDLE_UP, mouse(WM_MBUTTONUP));
    canvas->Bind(wxEVT_MOTION, mouse(WM_MOUSEMOVE));
    canvas->Bind(wxEVT_MOUSEWHEEL, [this, s](wxMouseEvent& event) {
        if (m_detached || event.GetWheelRotation() == 0) return;
        const int delta = event.GetWheelRotation() > 0 ? WHEEL_DELTA : -WHEEL_DELTA;
        Send(s, WM_MOUSEWHEEL,
             KeyFlags(event) | (static_cast<WPARAM>(static_cast<unsigned>(delta) & 0xffff) << 16),
             PointParam(event.GetX(), event.GetY()));
    });
    canvas->Bind(wxEVT_KEY_DOWN, [this, s](wxKeyEvent& event) {
        int key = 0;
        switch (event.GetKeyCode()) {
            case WXK_LEFT:
                key = 0x25;
                break;
            case WXK_UP:
                key = 0x26;
                break;
            case WXK_RIGHT:
                key = 0x27;
                break;
            case WXK_DOWN:
                key = 0x28;
                break;
            default:
                event.Skip();
                return;
        }
        if (m_detached) return;
        const LPARAM keys = static_cast<LPARAM>(KeyFlags(event) << 16) | 1;
        Send(s, WM_KEYDOWN, static_cast<WPARAM>(key), keys);
    });
}

void WxDialogView::Took(const ui::HostMessage& refused) {
    if (!refused.empty()) m_refusal = refused;
    AfterUserAction();
}

ui::HostMessage WxDialogView::TakeRefusal() {
    ui::HostMessage refused;
    std::swap(refused, m_refusal);
    return refused;
}

void WxDialogView::ShowState() {
    if (m_detached || !m_dialog.m_hWnd) return;
    m_syncing = true;
    for (const Bound& bound : m_bound) ShowOne(bound);
    m_syncing = false;
}

void WxDialogView::ShowOne(const Bound& bound) {
    const WindowState& state = *bound.state;
    wxWindow* widget = bound.widget;
    if (widget->IsEnabled() != state.enabled) widget->Enable(state.enabled);
    if (widget->IsShown() != state.visible) widget->Show(state.visible);
    switch (state.kind) {
        case ControlKind::Edit:
        case ControlKind::MaskedEdit: {
            auto* edit = static_cast<wxTextCtrl*>(widget);
            // A masked edit the user is typing in keeps what is typed until it is handed over.
            const bool typing = state.kind == ControlKind::MaskedEdit && edit->HasFocus();
            if (!typing && Text(edit->GetValue()) != state.text)
                edit->ChangeValue(Wide(state.text));
            edit->SetEditable(!state.readOnly);
            break;
        }
        case ControlKind::CheckBox:
            static_cast<wxCheckBox*>(widget)->SetValue(state.check != 0);
            if (Text(widget->GetLabel()) != state.text) widget->SetLabel(Wide(state.text));
            break;
        case ControlKind::Radio:
            if (state.check) static_cast<wxRadioButton*>(widget)->SetValue(true);
            if (Text(widget->GetLabel()) != state.text) widget->SetLabel(Wide(state.text));
            break;
        case ControlKind::ComboBox: {
            auto* combo = static_cast<wxComboBox*>(widget);
            bool same = combo->GetCount() == state.items.size();
            for (unsigned i = 0; same && i < combo->GetCount(); ++i)
                same = Text(combo->GetString(i)) == state.items[i];
            if (!same) {
                combo->Clear();
                for (const auto& item : state.items) combo->Append(Wide(item));
            }
            if (state.curSel >= 0 && state.curSel < static_cast<int>(combo->GetCount())) {
                if (combo->GetSelection() != state.curSel) combo->SetSelection(state.curSel);
            } else if (state.editable) {
                if (Text(combo->GetValue()) != state.text) combo->ChangeValue(Wide(state.text));
            } else if (combo->GetSelection() != wxNOT_FOUND) {
                combo->SetSelection(wxNOT_FOUND);
            }
            break;
        }
        case ControlKind::DateTime: {
            const SYSTEMTIME& t = state.time;
            // A date the picker cannot hold (31 February) is left as the picker shows it.
            if (t.wYear >= 1 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 &&
                t.wDay <= wxDateTime::GetNumberOfDays(static_cast<wxDateTime::Month>(t.wMonth - 1),
                                                      static_cast<int>(t.wYear))) {
                const wxDateTime date(static_cast<wxDateTime::wxDateTime_t>(t.wDay),
                                      static_cast<wxDateTime::Month>(t.wMonth - 1),
                                      static_cast<int>(t.wYear));
                auto* picker = static_cast<wxDatePickerCtrl*>(widget);
                if (!picker->GetValue().IsSameDate(date)) picker->SetValue(date);
            }
            break;
        }
        case ControlKind::Spin: {
            auto* spin = static_cast<ArrowSpin*>(widget);
            if (spin->First() != state.rangeMin || spin->Last() != state.rangeMax)
                spin->SetRange(state.rangeMin, state.rangeMax);
            if (spin->GetValue() != state.pos) spin->SetValue(state.pos);
            break;
        }
        case ControlKind::Slider: {
            auto* slider = static_cast<wxSlider*>(widget);
            const int low = std::min(state.rangeMin, state.rangeMax);
            const int high = std::max(state.rangeMin, state.rangeMax);
            if (slider->GetMin() != low || slider->GetMax() != high) slider->SetRange(low, high);
            if (slider->GetValue() != state.pos) slider->SetValue(state.pos);
            break;
        }
        case ControlKind::ListBox: {
            auto* list = static_cast<wxListBox*>(widget);
            if (list->GetCount() != state.items.size()) {
                list->Clear();
                for (const auto& item : state.items) list->Append(Wide(item));
            }
            break;
        }
        default:
            if (widget != m_canvas && Text(widget->GetLabel()) != state.text)
                widget->SetLabel(Wide(state.text));
            break;
    }
}

}  // namespace solx::wxui
