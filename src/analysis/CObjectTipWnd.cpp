#include "CObjectTipWnd.h"

#include <algorithm>

#include "acad/AcEdFrame.h"
#include "mfc/TipView.h"
#include "mfc/WindowState.h"

CObjectTipWnd::~CObjectTipWnd() {
    if (m_hWnd) DestroyWindow();
}

RECT CObjectTipWnd::PlaceTip(SIZE label, SIZE value, int rowCount, int x, int y,
                             const RECT& client) {
    const long h = std::max(label.cy, value.cy);
    RECT r;
    r.left = x;
    r.top = y;
    r.right = x + label.cx + value.cx + 4 * kMargin;
    r.bottom = y + (h + kMargin) * rowCount + kMargin;
    if (r.bottom > client.bottom) {
        const long up = r.bottom - client.bottom;
        r.top -= up;
        r.bottom -= up;
    }
    if (r.right > client.right) {
        const long left = r.right - client.right;
        r.left -= left;
        r.right -= left;
    }
    return r;
}

int CObjectTipWnd::ShowTip(const SolxObjInfoRows& rows, int x, int y) {
    if (m_hWnd) return 0;
    m_items.Reset();
    m_labelExtent = SIZE{};
    m_valueExtent = SIZE{};
    int count = 0;
    for (auto* const* p = rows.GetFirst(); p; p = rows.GetNext(p)) {
        if (!*p) continue;
        m_items.Append(new IObjInfoUnit(**p));
        ++count;
        const SIZE name = solx::ui::MenuFontTextExtent((*p)->name);
        const SIZE value = solx::ui::MenuFontTextExtent((*p)->value);
        m_labelExtent.cx = std::max(m_labelExtent.cx, name.cx);
        m_labelExtent.cy = std::max(m_labelExtent.cy, name.cy);
        m_valueExtent.cx = std::max(m_valueExtent.cx, value.cx);
        m_valueExtent.cy = std::max(m_valueExtent.cy, value.cy);
    }
    m_labelExtent.cx = std::min<long>(m_labelExtent.cx, kMaxColumn);
    m_valueExtent.cx = std::min<long>(m_valueExtent.cx, kMaxColumn);
    CWnd* frame = acedGetAcadFrame();
    RECT client;
    frame->GetClientRect(&client);
    const RECT rect = PlaceTip(m_labelExtent, m_valueExtent, count, x, y, client);
    const BOOL made = CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, frame, 0);
    if (made) SetTimer(kTimerId, kTimerMs);
    return made;
}

// The view a toolkit draws: the frame rectangle with the tooltip colours, the dotted separator
// at margin + label column + margin, labels right-aligned before it and values left-aligned
// 2 margins after it, one row of max(label, value) height after each margin.
void CObjectTipWnd::OnPaint() {
    if (!m_hWnd || m_items.GetFirst() == nullptr) return;
    solx::ui::TipView view;
    view.rect = m_hWnd->pixels;
    view.labelWidth = static_cast<int>(m_labelExtent.cx);
    view.valueWidth = static_cast<int>(m_valueExtent.cx);
    view.rowHeight = static_cast<int>(std::max(m_labelExtent.cy, m_valueExtent.cy));
    view.margin = kMargin;
    for (auto* const* p = m_items.GetFirst(); p; p = m_items.GetNext(p))
        if (*p) view.rows.push_back({(*p)->name, (*p)->value});
    solx::ui::PaintTipView(m_hWnd, view);
}

void CObjectTipWnd::OnTimer(UINT_PTR id) {
    CWnd::OnTimer(id);
    KillTimer(kTimerId);
    Invalidate(TRUE);
}
