// Selection prompts: the answers a user (or a script) gives while building a selection.
#include <cwctype>
#include <sstream>

#include "SelectionQuery.h"
#include "acad/acdb.h"
#include "acad/aced.h"
#include "acad/acedFilter.h"
#include "brel/VxPtInput.h"

using namespace solx::selection;
using solx::editor::InputLine;

namespace {

std::vector<std::wstring> Words(const std::wstring& text) {
    std::wistringstream in(text);
    std::vector<std::wstring> words;
    for (std::wstring w; in >> w;) words.push_back(w);
    return words;
}

std::wstring Upper(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return s;
}

bool ParsePoints(const std::vector<std::wstring>& words, size_t from, std::vector<Point2>& pts) {
    for (size_t i = from; i < words.size(); ++i) {
        ads_point p;
        if (!solx::editor::ParsePoint(words[i], p)) return false;
        pts.push_back({p[0], p[1]});
    }
    return true;
}

// Applies one answer line to the set; false when the line is not a selection answer.
bool ApplyAnswer(const std::wstring& text, const resbuf* filter, VxAdsEntSet& set) {
    const auto words = Words(text);
    const std::wstring verb = Upper(words.front());
    std::vector<Point2> pts;
    std::function<bool(const HitShape&)> test;
    if (verb == L"ALL" && words.size() == 1) {
        test = nullptr;
    } else if ((verb == L"W" || verb == L"C") && words.size() == 3 && ParsePoints(words, 1, pts)) {
        const Point2 a = pts[0], b = pts[1];
        if (verb == L"W")
            test = [a, b](const HitShape& s) { return InsideWindow(s, a, b); };
        else
            test = [a, b](const HitShape& s) { return CrossesWindow(s, a, b); };
    } else if (verb == L"F" && words.size() >= 3 && ParsePoints(words, 1, pts)) {
        test = [pts](const HitShape& s) { return CrossesFence(s, pts); };
    } else if (verb == L"L" && words.size() == 1) {
        return set += VxAdsEnt(LastEntity(filter)), true;
    } else if (verb[0] == L'#') {
        for (const auto& w : words) {
            if (w.size() < 2 || w[0] != L'#') return false;
            set += VxAdsEnt(ByHandle(w.substr(1), filter));
        }
        return true;
    } else if (words.size() == 1 && ParsePoints(words, 0, pts)) {
        return set += VxAdsEnt(PickNearest(filter, pts[0], PickAperture())), true;
    } else {
        return false;
    }
    for (const AcDbObjectId& id : Query(filter, test).ids) set += VxAdsEnt(id);
    return true;
}

// What the user has selected shows highlighted in the drawing's views until the command ends.
void HighlightMembers(const VxAdsEntSet& set) {
    for (const AcDbObjectId& id : set.Ids())
        if (auto* entity = dynamic_cast<AcDbEntity*>(id.object()); entity && !entity->isErased())
            entity->highlight();
}

int FinishSelection(const VxAdsEntSet& set) {
    return set.GetLength() > 0 ? RTNORM : RTNONE;
}

}  // namespace

int VxPtSelectEntities(const wchar_t* prompt, VxAdsEntSet& set, const resbuf* filter) {
    set.Delete();
    const solx::editor::SelectionFilter parsed(filter);
    if (!parsed.ok()) return acutPrintf(L"\n%s\n", parsed.error().c_str()), RTERROR;
    const wchar_t* ask = prompt ? prompt : solx::editor::HostText(L"\nSelect objects: ");
    // Keywords of a pending VxPtInitGet apply to the first answer only.
    solx::editor::InitGet init = solx::editor::TakeInitGet();
    for (;; init.keywords.clear()) {
        InputLine line;
        if (int rc = solx::editor::ReadRaw(ask, line); rc != RTNORM) return set.Delete(), rc;
        if (line.text.empty()) return FinishSelection(set);
        if (std::wstring kw = solx::editor::MatchKeyword(line.text, init.keywords); !kw.empty())
            return solx::editor::SetLastKeyword(std::move(kw)), RTKWORD;
        const int before = set.GetLength();
        if (ApplyAnswer(line.text, filter, set)) {
            HighlightMembers(set);
            acutPrintf(solx::editor::HostText(L"\n%d found, %d total"), set.GetLength() - before,
                       set.GetLength());
            continue;
        }
        const auto expected = solx::editor::HostMessage(
            L"ALL, W p1 p2, C p1 p2, F p1 p2 ..., L, a point x,y, #HANDLE or an empty line");
        if (!solx::editor::RejectLine(line, ask, expected)) return set.Delete(), RTERROR;
    }
}
