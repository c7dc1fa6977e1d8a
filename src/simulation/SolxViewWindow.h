#pragma once
// The control that holds the simulation view. A desktop window sends it the messages of its
// on-screen canvas (paint, mouse buttons and moves, the wheel, keys); they reach the view
// as its On... calls. The host program sends none, so offscreen nothing changes.

#include "SolxSample.h"
#include "mfc/afxcmn.h"

class SolxViewWindow : public CStatic {
public:
    explicit SolxViewWindow(SolxSample& view) : m_view(view) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SolxSample& m_view;
};
