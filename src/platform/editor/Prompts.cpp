// The prompt functions: each reads one answer line through the current front end and parses it
// for its kind. A line that fits nothing is rejected: the terminal asks again, a script stops.
#include <cmath>
#include <cwchar>

#include "acad/aced.h"
#include "editor/InputState.h"

namespace solx::editor {

int ReadRaw(const wchar_t* prompt, InputLine& line) {
    FrontEnd& fe = CurrentFrontEnd();
    if (fe.Stopped()) return RTCAN;
    const std::wstring text = prompt ? prompt : L"";
    fe.Print(text);
    auto answer = fe.ReadAnswer(text);
    if (!answer) return RTCAN;
    line = *answer;
    line.text = Trimmed(line.text);
    return IsEscape(line.text) ? RTCAN : RTNORM;
}

bool RejectLine(const InputLine& line, const wchar_t* prompt, const HostMessage& expected) {
    return CurrentFrontEnd().Reject(line, prompt ? prompt : L"", expected);
}

bool ParseNumber(const std::wstring& text, double& value) {
    if (text.empty()) return false;
    wchar_t* end = nullptr;
    const double v = std::wcstod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool ParsePoint(const std::wstring& text, ads_point result) {
    double v[3] = {0.0, 0.0, 0.0};
    size_t start = 0;
    int count = 0;
    for (; count < 3; ++count) {
        const size_t comma = text.find(L',', start);
        const std::wstring part = Trimmed(text.substr(start, comma - start));
        if (!ParseNumber(part, v[count])) return false;
        if (comma == std::wstring::npos) break;
        start = comma + 1;
    }
    if (count < 1 || count > 2) return false;  // two or three coordinates
    for (int i = 0; i < 3; ++i) result[i] = v[i];
    return true;
}

namespace {

// What every prompt does with an answer before its own parsing: Enter and keywords.
// Returns 0 when the kind-specific parser should take the line.
int CommonAnswer(const InputLine& line, const InitGet& init) {
    if (line.text.empty()) return (init.flags & RSG_NONULL) ? 0 : RTNONE;
    std::wstring keyword = MatchKeyword(line.text, init.keywords);
    if (!keyword.empty()) {
        SetLastKeyword(std::move(keyword));
        return RTKWORD;
    }
    return 0;
}

bool NumberAllowed(double v, int flags) {
    if ((flags & RSG_NOZERO) && v == 0.0) return false;
    if ((flags & RSG_NONEG) && v < 0.0) return false;
    return true;
}

// What a number prompt takes, with the limits acedInitGet set ("a number greater than 0").
HostMessage Expected(const HostMessage& expected, int flags) {
    if ((flags & RSG_NOZERO) && (flags & RSG_NONEG))
        return expected + HostMessage(L" greater than 0");
    if (flags & RSG_NOZERO) return expected + HostMessage(L" other than 0");
    if (flags & RSG_NONEG) return expected + HostMessage(L" not below 0");
    return expected;
}

// The loop shared by all prompts: read, try the common answers, then parse(line) which returns
// a status or 0 for "does not fit". RSG_OTHER turns any unfit text into a keyword.
template <class Parse>
int Ask(const wchar_t* prompt, const HostMessage& expected, Parse parse) {
    const InitGet init = TakeInitGet();
    for (;;) {
        InputLine line;
        if (int rc = ReadRaw(prompt, line); rc != RTNORM) return rc;
        if (int rc = CommonAnswer(line, init); rc != 0) return rc;
        if (!line.text.empty())
            if (int rc = parse(line.text, init.flags); rc != 0) return rc;
        if ((init.flags & RSG_OTHER) && !line.text.empty()) {
            SetLastKeyword(line.text);
            return RTKWORD;
        }
        if (!RejectLine(line, prompt, Expected(expected, init.flags))) return RTERROR;
    }
}

}  // namespace
}  // namespace solx::editor

using namespace solx::editor;

int acedGetPoint(const ads_point base, const wchar_t* prompt, ads_point result) {
    return Ask(prompt, HostMessage(L"a point x,y or x,y,z"), [&](const std::wstring& text, int) {
        ads_point p;
        double d = 0.0;
        if (ParsePoint(text, p)) {
            for (int i = 0; i < 3; ++i) result[i] = p[i];
            return RTNORM;
        }
        if (base && ParseNumber(text, d)) {  // a distance from the base point along +x
            result[0] = base[0] + d, result[1] = base[1], result[2] = base[2];
            return RTNORM;
        }
        return 0;
    });
}

int acedGetReal(const wchar_t* prompt, ads_real* result) {
    return Ask(prompt, HostMessage(L"a number"), [&](const std::wstring& text, int flags) {
        double v = 0.0;
        if (!ParseNumber(text, v) || !NumberAllowed(v, flags)) return 0;
        *result = v;
        return RTNORM;
    });
}

int acedGetInt(const wchar_t* prompt, int* result) {
    return Ask(prompt, HostMessage(L"a whole number"), [&](const std::wstring& text, int flags) {
        double v = 0.0;
        if (!ParseNumber(text, v) || v != std::floor(v) || std::fabs(v) > 32767.0) return 0;
        if (!NumberAllowed(v, flags)) return 0;
        *result = static_cast<int>(v);
        return RTNORM;
    });
}

int acedGetDist(const ads_point base, const wchar_t* prompt, ads_real* result) {
    return Ask(prompt, HostMessage(L"a distance or a point"),
               [&](const std::wstring& text, int flags) {
                   double v = 0.0;
                   ads_point p;
                   if (ParseNumber(text, v)) {
                       if (!NumberAllowed(v, flags)) return 0;
                       *result = v;
                       return RTNORM;
                   }
                   if (!ParsePoint(text, p)) return 0;
                   if (base) {
                       *result = acutDistance(base, p);
                       return RTNORM;
                   }
                   ads_point second;
                   const int rc = acedGetPoint(p, HostText(L"\nSecond point: "), second);
                   if (rc == RTNORM) *result = acutDistance(p, second);
                   return rc == RTNONE ? RTCAN : rc;
               });
}

int acedGetString(int cronly, const wchar_t* prompt, wchar_t* result, size_t bufLen) {
    TakeInitGet();  // keywords do not apply to texts
    InputLine line;
    const int rc = ReadRaw(prompt, line);
    if (rc != RTNORM) return rc;
    std::wstring text = line.text;
    if (!cronly) text = text.substr(0, text.find(L' '));
    CopyOut(text, result, bufLen);
    return RTNORM;
}

int acedGetKword(const wchar_t* prompt, wchar_t* result, size_t bufLen) {
    const int rc = Ask(prompt, HostMessage(L"one of the keywords"),
                       [](const std::wstring&, int) { return 0; });
    if (rc == RTKWORD) {
        CopyOut(LastKeyword(), result, bufLen);
        return RTNORM;
    }
    return rc;
}

int acedGetInput(wchar_t* result, size_t bufLen) {
    CopyOut(LastKeyword(), result, bufLen);
    return LastKeyword().empty() ? RTERROR : RTNORM;
}

ads_real acutDistance(const ads_point a, const ads_point b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                     (a[2] - b[2]) * (a[2] - b[2]));
}
