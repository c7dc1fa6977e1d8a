#pragma once
// The product line's dialog base of all setup dialogs (over the host's CAcUiDialog). It adds
// nothing the analysis dialogs rely on beyond CDialog, so it is CDialog under its own name.

#include "mfc/CDialog.h"

class VxUiDialog : public CDialog {
public:
    explicit VxUiDialog(UINT templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}
};
