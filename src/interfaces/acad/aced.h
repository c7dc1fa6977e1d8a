#pragma once
// The host's editor: prompts, cursor tracking, break test, progress meter, command-line output,
// system variables and the drawing view. Every input function returns a host status code:
// RTNORM (value given), RTNONE (Enter on an empty line), RTKWORD (a keyword, read it with
// acedGetInput), RTCAN (cancelled, or end of input), RTERROR (the answer did not fit and the
// front end stopped the run). Answers come from the current front end ("acad/AcEdFrontEnd.h").

#include <cstddef>
#include <string>
#include <vector>

#include "acad/AcEdFrontEnd.h"
#include "acad/adsdef.h"

// acedInitGet flags.
#define RSG_NONULL 0x01  // Enter is not an answer
#define RSG_NOZERO 0x02  // zero is not an answer
#define RSG_NONEG 0x04   // negative numbers are not answers
#define RSG_NOLIM 0x08
#define RSG_GETZ 0x10
#define RSG_DASH 0x20
#define RSG_2D 0x40
#define RSG_OTHER 0x80  // any other text is returned as a keyword

// Sets the flags and the space-separated keywords of the next input call only. A keyword is
// answered by itself or by its capital letters, without regard to case: "Height" by "h".
int acedInitGet(int flags, const wchar_t* keywords);

// A point; base (may be null) is the rubber-band start. "x,y" gives z = 0. With a base point a
// single number d means the point d units from base along +x.
int acedGetPoint(const ads_point base, const wchar_t* prompt, ads_point result);
// A distance: a number, or two points (only the second when base is given).
int acedGetDist(const ads_point base, const wchar_t* prompt, ads_real* result);
int acedGetReal(const wchar_t* prompt, ads_real* result);
int acedGetInt(const wchar_t* prompt, int* result);
// A text; with cronly 0 the answer ends at the first space.
int acedGetString(int cronly, const wchar_t* prompt, wchar_t* result, size_t bufLen);
int acedGetKword(const wchar_t* prompt, wchar_t* result, size_t bufLen);
// The keyword of the last input call that returned RTKWORD (the keyword as declared).
int acedGetInput(wchar_t* result, size_t bufLen);
template <size_t N>
int acedGetInput(wchar_t (&result)[N]) {
    return acedGetInput(result, N);
}
template <size_t N>
int acedGetString(int cronly, const wchar_t* prompt, wchar_t (&result)[N]) {
    return acedGetString(cronly, prompt, result, N);
}

// One tracking event. type: 5 pointer moved (RTPOINT), 3 point picked (RTPOINT), 2 key
// (RTSHORT character code). RTCAN on a cancel; track flags are accepted and not needed here.
int acedGrRead(int track, int* type, struct resbuf* result);
// 1 when the user asked for a break since the last test (the break is consumed).
int acedUsrBrk();

// Formats with the Windows meaning of %s (wide) and prints on the command line.
int acutPrintf(const wchar_t* format, ...);
ads_real acutDistance(const ads_point a, const ads_point b);

// System variables of the working drawing. acedGetVar fills result (a caller-owned buffer; a
// text value is allocated with new[] and belongs to the caller, as in every result buffer).
// RTERROR for an unknown name, a value of the wrong type, or no open drawing.
int acedSetVar(const wchar_t* name, const struct resbuf* value);
int acedGetVar(const wchar_t* name, struct resbuf* result);

// The status-bar progress meter.
int acedSetStatusBarProgressMeter(const wchar_t* label, int minPos, int maxPos);
int acedSetStatusBarProgressMeterPos(int pos);
void acedRestoreStatusBar();

// World to pixel coordinates of the drawing view (viewport numbers are accepted and ignored:
// one view). Pixel y grows downwards. Returns true.
bool acedCoordFromWorldToPixel(int viewport, const ads_point world, int& px, int& py);
template <class PointT>
bool acedCoordFromWorldToPixel(int viewport, const ads_point world, PointT& pixel) {
    int x = 0, y = 0;
    const bool ok = acedCoordFromWorldToPixel(viewport, world, x, y);
    pixel.x = x;
    pixel.y = y;
    return ok;
}
void acedCoordFromPixelToWorld(int px, int py, ads_point world);

namespace solx::editor {

// The drawing view: the world point at the centre of the window, the world height the window
// shows, and the window size in pixels.
struct ViewModel {
    double centerX = 0.0;
    double centerY = 0.0;
    double height = 1000.0;
    int widthPixels = 1280;
    int heightPixels = 800;
};
void SetView(const ViewModel& view);
const ViewModel& CurrentView();

// The progress meter as the front end last showed it, for tests: label and position.
struct ProgressState {
    bool active = false;
    std::wstring label;
    int minPos = 0, maxPos = 0, pos = 0;
};
const ProgressState& CurrentProgress();

// The pending acedInitGet set-up. TakeInitGet hands it to one input call and clears it.
struct InitGet {
    int flags = 0;
    std::vector<std::wstring> keywords;
};
InitGet TakeInitGet();
// The declared keyword that text answers, or empty; SetLastKeyword makes it the answer
// acedGetInput reports.
std::wstring MatchKeyword(const std::wstring& text, const std::vector<std::wstring>& keywords);
void SetLastKeyword(std::wstring keyword);

// Reads and parses answers for the given prompt kind; shared by every prompt function.
// Exposed for the selection prompts of the product-line library.
int ReadRaw(const wchar_t* prompt, InputLine& line);
bool RejectLine(const InputLine& line, const wchar_t* prompt, const HostMessage& expected);
// Parses "x,y" or "x,y,z"; false when text is not a point.
bool ParsePoint(const std::wstring& text, ads_point result);
bool ParseNumber(const std::wstring& text, double& value);

}  // namespace solx::editor
