// Tip views: the menu font's text extents, the "[tip]" line on the front end, the last tip.
#include "mfc/TipView.h"

#include "acad/aced.h"
#include "mfc/WindowState.h"

namespace solx::ui {
namespace {

std::optional<ShownTip>& Last() {
    static std::optional<ShownTip> last;
    return last;
}

bool IsWide(wchar_t c) {
    const unsigned u = static_cast<unsigned>(c);
    return (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
           (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
           (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
           (u >= 0xFFE0 && u <= 0xFFE6);
}

TipObserver& Observer() {
    static TipObserver observer;
    return observer;
}

}  // namespace

void SetTipObserver(TipObserver observer) {
    Observer() = std::move(observer);
}

void NotifyWindowDestroyed(HWND window) {
    if (Observer()) Observer()(window, nullptr);
}

SIZE MenuFontTextExtent(const std::wstring& text) {
    SIZE size;
    for (wchar_t c : text) size.cx += IsWide(c) ? 12 : 7;
    size.cy = 16;
    return size;
}

std::wstring TipLine(const TipView& view) {
    std::wstring line = L"[tip]";
    bool first = true;
    for (const TipRow& row : view.rows) {
        line += first ? L" " : L" | ";
        first = false;
        line += row.label + L" " + row.value;
    }
    while (!line.empty() && line.back() == L' ') line.pop_back();
    return line;
}

void PaintTipView(HWND window, const TipView& view) {
    if (!window) return;
    if (window->paints++ == 0) solx::editor::CurrentFrontEnd().Print(L"\n" + TipLine(view) + L"\n");
    ShownTip shown;
    shown.view = view;
    ads_point world = {0, 0, 0}, next = {0, 0, 0};
    acedCoordFromPixelToWorld(view.rect.left, view.rect.top, world);
    acedCoordFromPixelToWorld(view.rect.left, view.rect.top + 1, next);
    shown.worldLeft = world[0];
    shown.worldTop = world[1];
    shown.pixelSize = world[1] - next[1];
    Last() = shown;
    if (Observer()) Observer()(window, &view);
}

const std::optional<ShownTip>& LastTip() {
    return Last();
}

void ForgetLastTip() {
    Last().reset();
}

}  // namespace solx::ui
