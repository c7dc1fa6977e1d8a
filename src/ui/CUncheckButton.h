#pragma once
// A push button that never takes the focus look: it swallows the set-focus notification. The
// simulation window's play button is one, so the view keeps the keyboard.

#include "mfc/afxcmn.h"

class CUncheckButton : public CButton {
protected:
    void OnSetFocus(CWnd* oldWnd) override;
};
