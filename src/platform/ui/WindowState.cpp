#include "mfc/WindowState.h"

namespace solx::ui {

WindowState* WindowState::Child(int childId) const {
    for (const auto& child : children) {
        if (child->id == childId) return child.get();
    }
    return nullptr;
}

const wchar_t* KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Dialog:
            return L"dialog";
        case ControlKind::Static:
            return L"static";
        case ControlKind::GroupBox:
            return L"group";
        case ControlKind::Edit:
            return L"edit";
        case ControlKind::MaskedEdit:
            return L"maskedit";
        case ControlKind::Button:
            return L"button";
        case ControlKind::CheckBox:
            return L"check";
        case ControlKind::Radio:
            return L"radio";
        case ControlKind::ComboBox:
            return L"combo";
        case ControlKind::DateTime:
            return L"date";
        case ControlKind::Spin:
            return L"spin";
        case ControlKind::Slider:
            return L"slider";
        case ControlKind::ListBox:
            return L"list";
    }
    return L"?";
}

}  // namespace solx::ui
