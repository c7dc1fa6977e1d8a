#pragma once
// The output of the window sunlight analysis: a note with the analysis conditions and the table
// of the windows (one row per window or per run of equal windows, windows below the minimum in
// colour), both at the point the user picked.

#include <string>
#include <vector>

#include "acad/acge.h"
#include "brel/VxDbSheet.h"
#include "solx/SolxWinSunlightInfo.h"

// The geometry library's zero tolerance, used to compare sunlight hours with the minimum.
inline constexpr double kWinDistZero = 1e-6;

// What shapes the table besides the windows.
struct WinTableLayout {
    int sortMode = 1;                      // 0: key column is the floor, 1: the window number
    double minHours = 1.0;                 // sunlight a window needs, hours
    int evalByTotal = 1;                   // 1: value column is the total, else the longest period
    int useValidWindow = 0;                // 1: an orientation column closes the table
    std::vector<std::wstring> groupNames;  // one per obstruction group, already translated
    double unitScale = 1.0;                // drawing units per millimetre (DrawUnitScale)
    std::wstring note;                     // the analysis conditions, written above the table
};

// Hours of a time text ("2:30"); 0 for an unreadable one.
double WinTimeHours(const std::wstring& text);

// The table of the windows in the given (sorted) order, located at p: headers, data rows with
// the key-column merges and colours, equal rows compacted into ranges, the orientation column
// merged, row heights calculated. Each window carries one period, total and longest text per
// group. A new object the caller owns (until it goes to the drawing).
VxDbSheet* MakeWinSunSheet(const std::vector<const SolxWinSunlightInfo*>& windows,
                           const WinTableLayout& layout, const AcGePoint3d& p);

// Writes the note text (layout.note, just above p) and the table at p
// into model space of the working drawing.
void WriteWinSunTables(const std::vector<const SolxWinSunlightInfo*>& windows,
                       const WinTableLayout& layout, const AcGePoint3d& p);
