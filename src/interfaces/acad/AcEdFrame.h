#pragma once
// The host's main frame window and its drawing view as windows of the window layer. The host
// program has no screen: the frame sits at the screen's origin and its client area is the
// drawing view, both as large as the view model of "acad/aced.h" says (the pixels of
// acedCoordFromWorldToPixel), so a point of the view's client area is the same point of the
// frame's client area.

class CWnd;

CWnd* acedGetAcadFrame();
CWnd* acedGetAcadDwgView();
