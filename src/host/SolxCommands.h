#pragma once
// The module's command table and its six command handlers. Each handler is a plain function
// run by the host; the analysis folders define them.

#include "brel/VxDefineCommand.h"

void VxWinSunAna();   // window sunlight analysis
void VxSunMPoint();   // multi-point analysis
void VxSunSPoint();   // single-point analysis with dynamic query
void VxShadow2d();    // 2D shadow contours
void VxSunEqCurve();  // equal-sunlight-hour lines
void VxShadow();      // 3D shadow simulation

inline constexpr int kSolxCommandCount = 6;
extern const VxCmdTable g_SolxCmdTable[kSolxCommandCount];
// One-line descriptions of the commands, in the table's order (Chinese; translated on use).
extern const wchar_t* const g_SolxCmdHelp[kSolxCommandCount];

// Commands of our own beside the module's: settings the drawing keeps for every command.
void VxSetScale();  // the drawing scale 1:N (brel/VxDrawingScale.h)

inline constexpr int kSolxOwnCommandCount = 1;
extern const VxCmdTable g_SolxOwnCmdTable[kSolxOwnCommandCount];
extern const wchar_t* const g_SolxOwnCmdHelp[kSolxOwnCommandCount];
