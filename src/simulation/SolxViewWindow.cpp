#include "SolxViewWindow.h"

#include <cstdint>

namespace {

int SignedWord(WORD word) {
    return static_cast<std::int16_t>(word);
}

}  // namespace

LRESULT SolxViewWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = SignedWord(LOWORD(static_cast<WPARAM>(lParam)));
    const int y = SignedWord(HIWORD(static_cast<WPARAM>(lParam)));
    switch (message) {
        case WM_PAINT:
            m_view.Paint();
            return 0;
        case WM_LBUTTONDOWN:
            m_view.OnLeftButtonDown(x, y);
            break;
        case WM_LBUTTONUP:
            m_view.OnLeftButtonUp(x, y);
            break;
        case WM_MBUTTONDOWN:
            m_view.OnMiddleButtonDown(x, y);
            break;
        case WM_MBUTTONUP:
            m_view.OnMiddleButtonUp(x, y);
            break;
        case WM_MOUSEMOVE:
            m_view.OnMouseMove(x, y);
            break;
        case WM_MOUSEWHEEL:
            m_view.OnMouseWheel(SignedWord(HIWORD(wParam)));
            break;
        case WM_KEYDOWN: {
            const WPARAM keys = HIWORD(static_cast<WPARAM>(lParam));
            m_view.OnKeyDown(static_cast<int>(wParam), LOWORD(static_cast<WPARAM>(lParam)),
                             (keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0);
            break;
        }
        default:
            return CStatic::WindowProc(message, wParam, lParam);
    }
    // What the message changed shows at once rather than at the next poll.
    if (m_view.NeedsPaint()) m_view.Paint();
    return 0;
}
