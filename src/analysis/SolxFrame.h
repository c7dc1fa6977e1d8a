#pragma once
// Pieces every analysis command shares: drawing-unit scale, the remembered calculation height,
// the common parameters, the sun samples of the period, the scoped system variable, the
// progress meter with the user's break, and the elapsed-time report.

#include <ctime>
#include <string>
#include <vector>

#include "acad/acge.h"
#include "solx/SolxBuilding.h"
#include "solx/SolxShadowSource.h"
#include "solx/SolxSunSample.h"

// Drawing units per millimetre: 1.0 in a millimetre drawing, 0.1 in a centimetre drawing, 0.001
// in a metre drawing. Asked anew on every call (a drawing's unit can change between commands).
double DrawUnitScale();
// Says on the command line which unit is assumed when the drawing's INSUNITS is none of
// millimetres, centimetres and metres; silent otherwise. Called once at a command's start.
void ReportAssumedDrawUnit();
// Drawing units per millimetre on paper: the drawing scale (1:N, VxDrawingScale) times
// DrawUnitScale. Texts, tables, labels and markers are drawn at their paper size times this.
double PaperToDrawing();

// Asks for the obstructions (SolxSelUtility::SelShadowModel with the commands' `option`) and,
// when the selection holds nothing that casts a shadow, says what would. The host status.
int SelectObstructions(SolxBuildingList& buildings, SolxShadowSourceList& sources,
                       unsigned option = 0);

// The calculation height last entered in a setup dialog, millimetres; 0.0 at load.
extern double g_dSunCalHeight;

// Integer part of `value` (towards zero), snapped to the next integer away when the fraction
// lies within `tolerance` of a whole one: TruncWithTol(44.9999999, 1e-6) is 45.
int TruncWithTol(double value, double tolerance);

// The common parameters of the current settings (CDlgSunSetup::GetSunSetting).
SolxSunSetting ReadSunSetting();

// Sets a string system variable for the life of the object and puts the old value back.
class VxPushSysVar {
public:
    VxPushSysVar(const wchar_t* name, const wchar_t* value);
    ~VxPushSysVar();
    VxPushSysVar(const VxPushSysVar&) = delete;
    VxPushSysVar& operator=(const VxPushSysVar&) = delete;

private:
    std::wstring m_name;
    std::wstring m_saved;
    bool m_restore = false;
};

// The status-bar progress meter over `count` items with the user's break. Continue(i) at the
// top of item i answers false once the user asked for a break (the meter is then already
// restored). The meter is restored when the object goes, on every exit.
class SolxProgress {
public:
    SolxProgress(const wchar_t* label, int count);
    ~SolxProgress();
    SolxProgress(const SolxProgress&) = delete;
    SolxProgress& operator=(const SolxProgress&) = delete;
    bool Continue(int item);

private:
    bool m_shown = true;
    int m_count = 0;
};

// Elapsed time of a computation, reported in whole seconds on the command line.
class SolxStopwatch {
public:
    SolxStopwatch() : m_start(std::clock()) {}
    // Prints "共耗时" N "秒；" (through the language switch) on one line.
    void Report() const;
    // Whole seconds between two clock readings (truncated).
    static int Seconds(std::clock_t from, std::clock_t to);

private:
    std::clock_t m_start;
};
