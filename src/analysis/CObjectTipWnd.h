#pragma once
// The result tip: a borderless child of the host's main frame showing label/value rows in the
// look of a tooltip, sized to its text, placed at a point and kept inside the frame's client
// area at the bottom and right, repainting on paint and once on its timer, taking no input.
// It paints a toolkit-neutral view (rows and rectangle, "mfc/TipView.h").

#include "mfc/CWnd.h"
#include "solx/SolxObjInfo.h"

class CObjectTipWnd : public CWnd {
public:
    static constexpr int kMargin = 4;
    static constexpr int kMaxColumn = 300;
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTimerMs = 200;

    CObjectTipWnd() = default;
    ~CObjectTipWnd() override;

    // Copies the rows, measures them and shows the window with its top-left corner at (x, y)
    // in client pixels of the host's main frame (moved up and left when it would leave it).
    // Non-zero when the window was made. Once per object.
    virtual int ShowTip(const SolxObjInfoRows& rows, int x, int y);

    SIZE LabelExtent() const { return m_labelExtent; }
    SIZE ValueExtent() const { return m_valueExtent; }

    // Where a tip of this many rows and these column extents goes when asked for at (x, y)
    // inside a parent client area `client`: the rectangle, in the parent's client pixels.
    static RECT PlaceTip(SIZE label, SIZE value, int rowCount, int x, int y, const RECT& client);

protected:
    void OnPaint() override;
    void OnTimer(UINT_PTR id) override;

private:
    SIZE m_labelExtent;
    SIZE m_valueExtent;
    SolxObjInfoRows m_items;
};
