#pragma once
// Setup dialog families with a time step of their own. While a CDlgSunSetup2 (or CDlgSunSetup3)
// exists, the settings' step is the family's remembered step; the constructor swaps them and
// the destructor swaps back, so the family keeps what was last edited in it and the settings'
// own step is unchanged after the dialog closes, and is what OK writes to the drawing. A change of
// standard leaves the step alone.

#include "CDlgSunSetup.h"

class CDlgSunSetup2 : public CDlgSunSetup {
public:
    CDlgSunSetup2(UINT templateId, CWnd* parent = nullptr);
    ~CDlgSunSetup2() override;

protected:
    void OnStdChanged() override;
    bool HasOwnStep() const override { return true; }
};

class CDlgSunSetup3 : public CDlgSunSetup2 {
public:
    CDlgSunSetup3(UINT templateId, CWnd* parent = nullptr);
    ~CDlgSunSetup3() override;
};

// Exchanges the settings' step (both its integer and double forms) with a remembered one.
void SwapStep(int& remembered);

// The remembered steps (minutes) of the two families: 10 and 60 at load.
int& SunSetup2Step();
int& SunSetup3Step();
