// The process-wide store of shared names (AcDbSharedName).
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "acad/AcDbCore.h"
#include "acad/AcDbDxfFiler.h"

namespace {

template <typename Char>
struct ViewHash {
    using is_transparent = void;
    size_t operator()(std::basic_string_view<Char> s) const {
        return std::hash<std::basic_string_view<Char>>()(s);
    }
};
template <typename Char>
struct ViewEqual {
    using is_transparent = void;
    bool operator()(std::basic_string_view<Char> a, std::basic_string_view<Char> b) const {
        return a == b;
    }
};

// Never destroyed: objects that live until the process ends may still hold names.
struct Store {
    std::mutex mutex;
    // Node containers: a name's address never changes once stored.
    std::unordered_set<std::wstring, ViewHash<wchar_t>, ViewEqual<wchar_t>> names;
    std::unordered_map<std::string, const std::wstring*, ViewHash<char>, ViewEqual<char>> byUtf8;
    const std::wstring* empty = &*names.emplace().first;

    const std::wstring* intern(std::wstring_view text) {
        auto it = names.find(text);
        if (it == names.end()) it = names.emplace(text).first;
        return &*it;
    }
};

Store& store() {
    static Store* s = new Store;
    return *s;
}

}  // namespace

AcDbSharedName::AcDbSharedName() : text_(store().empty) {}

AcDbSharedName::AcDbSharedName(const std::wstring& text) {
    Store& s = store();
    if (text.empty()) {
        text_ = s.empty;
        return;
    }
    std::lock_guard<std::mutex> lock(s.mutex);
    text_ = s.intern(text);
}

AcDbSharedName::AcDbSharedName(const wchar_t* text) {
    Store& s = store();
    if (!text || !*text) {
        text_ = s.empty;
        return;
    }
    std::lock_guard<std::mutex> lock(s.mutex);
    text_ = s.intern(text);
}

AcDbSharedName AcDbSharedName::fromUtf8(std::string_view text) {
    Store& s = store();
    if (text.empty()) return AcDbSharedName(s.empty);
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.byUtf8.find(text);
    if (it == s.byUtf8.end())
        it = s.byUtf8.emplace(std::string(text), s.intern(acdbWide(std::string(text)))).first;
    return AcDbSharedName(it->second);
}
