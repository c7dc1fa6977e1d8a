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

// The sizes of the table and the note in drawing units: sizes on paper (millimetres) times the
// scale, so that one factor makes all of them readable at the scale the drawing is printed at.
struct WinTableSizes {
    double text;          // cell and note text height
    double title;         // title text height
    double titleRow;      // title row height
    double row;           // data and header row height
    double keyColumn;     // column 0, at least
    double secondColumn;  // column 1, at least
    double column;        // the other columns, at least
    double gap;           // between two stacked tables
};
WinTableSizes WinTableSizesAt(double scale);

// What shapes the table besides the windows.
struct WinTableLayout {
    int sortMode = 1;                      // 0: key column is the floor, 1: the window number
    double minHours = 1.0;                 // sunlight a window needs, hours
    int evalByTotal = 1;                   // 1: value column is the total, else the longest period
    int useValidWindow = 0;                // 1: an orientation column closes the table
    std::vector<std::wstring> groupNames;  // one per obstruction group, already translated
    double unitScale = 1.0;                // drawing units per millimetre (DrawUnitScale)
    std::wstring note;                     // the analysis conditions, written above the table
    double textScale = 1.0;                // drawing units per paper millimetre (PaperToDrawing)
};

// The building a window belongs to: the part of its label before the first "-" ("3-12": "3"),
// empty when the label has none.
std::wstring WinBuildingName(const SolxWinSunlightInfo& win);

// The title of a building's table; the plain title for an unnamed building.
std::wstring WinTableTitle(const std::wstring& building);

// Hours of a time text ("2:30"); 0 for an unreadable one.
double WinTimeHours(const std::wstring& text);

// The table of the windows in the given (sorted) order, located at p: headers, data rows with
// the key-column merges and colours, equal rows compacted into ranges, the orientation column
// merged, row heights calculated. Each window carries one period, total and longest text per
// group. The title names the building. A new object the caller owns (until it goes to the
// drawing).
VxDbSheet* MakeWinSunSheet(const std::vector<const SolxWinSunlightInfo*>& windows,
                           const WinTableLayout& layout, const AcGePoint3d& p,
                           const std::wstring& building = {});

// The texts of one written table, row by row (the title row first, then the header rows and the
// data rows); a merged range has its text in its first cell, the others are empty.
struct WinTableTexts {
    std::vector<std::vector<std::wstring>> rows;
};

// Writes the note text (layout.note, just above p) and one table per building into model space
// of the working drawing: the first at p, each next one a gap below the one before, buildings in
// label order (numbers by value), windows without a building last; the windows keep their
// order within a table. No windows at all still give one table with the headers. When texts is
// given, it receives the texts of each table written, in the order they are stacked.
void WriteWinSunTables(const std::vector<const SolxWinSunlightInfo*>& windows,
                       const WinTableLayout& layout, const AcGePoint3d& p,
                       std::vector<WinTableTexts>* texts = nullptr);

// Writes the note and the tables' texts as CSV: UTF-8 with a byte-order mark (spreadsheet
// programs then read the Chinese texts), CRLF line ends, fields quoted where they hold a comma,
// a quote or a line break; the note on the first line, then each table, one empty line between
// tables. False (with the reason in error) when the file cannot be written.
bool WriteWinTableCsv(const std::wstring& path, const std::wstring& note,
                      const std::vector<WinTableTexts>& tables, std::wstring& error);
