// The frame's scoped pieces: system variable, progress meter, elapsed-time report.

#include <memory>

#include "SolxFrame.h"
#include "acad/aced.h"
#include "acad/adsdef.h"
#include "host/VxUtPushResource.h"

VxPushSysVar::VxPushSysVar(const wchar_t* name, const wchar_t* value) : m_name(name) {
    resbuf current;
    if (acedGetVar(name, &current) != RTNORM) return;
    if (current.restype == RTSTR && current.resval.rstring) m_saved = current.resval.rstring;
    delete[](current.restype == RTSTR ? current.resval.rstring : nullptr);
    if (current.restype != RTSTR) return;
    resbuf* wanted = acutBuildList(RTSTR, value, 0);
    m_restore = wanted && acedSetVar(name, wanted) == RTNORM;
    acutRelRb(wanted);
}

VxPushSysVar::~VxPushSysVar() {
    if (!m_restore) return;
    resbuf* saved = acutBuildList(RTSTR, m_saved.c_str(), 0);
    acedSetVar(m_name.c_str(), saved);
    acutRelRb(saved);
}

SolxProgress::SolxProgress(const wchar_t* label, int count) : m_count(count) {
    acedSetStatusBarProgressMeter(label, 0, count);
}

// Not broken off: every item was done, so the meter shows its end before it goes.
SolxProgress::~SolxProgress() {
    if (!m_shown) return;
    acedSetStatusBarProgressMeterPos(m_count);
    acedRestoreStatusBar();
}

bool SolxProgress::Continue(int item) {
    if (!m_shown) return false;
    if (acedUsrBrk()) {
        acedRestoreStatusBar();
        m_shown = false;
        return false;
    }
    acedSetStatusBarProgressMeterPos(item);
    return true;
}

int SolxStopwatch::Seconds(std::clock_t from, std::clock_t to) {
    const long long milliseconds = static_cast<long long>(to - from) * 1000 / CLOCKS_PER_SEC;
    return static_cast<int>(milliseconds / 1000);
}

void SolxStopwatch::Report() const {
    acutPrintf(L"%s", VxUtLangText(L"\n共耗时"));
    acutPrintf(L"%d", Seconds(m_start, std::clock()));
    acutPrintf(L"%s", VxUtLangText(L"秒；"));
}
