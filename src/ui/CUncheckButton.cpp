#include "CUncheckButton.h"

void CUncheckButton::OnSetFocus(CWnd*) {}
