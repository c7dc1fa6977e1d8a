// The host's system registry with its dynamic linker and command stack. Both live as long as
// the program; the registry names them and owns nothing.
#include <cwctype>
#include <utility>

#include "acad/acrx.h"

namespace {

std::wstring Upper(const wchar_t* text) {
    std::wstring out = text ? text : L"";
    for (auto& ch : out) ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    return out;
}

}  // namespace

AcRxObject* AcRxDictionary::at(const wchar_t* key) const {
    const auto it = m_entries.find(key ? key : L"");
    return it == m_entries.end() ? nullptr : it->second;
}

AcRxObject* AcRxDictionary::atPut(const wchar_t* key, AcRxObject* object) {
    AcRxObject*& slot = m_entries[key ? key : L""];
    return std::exchange(slot, object);
}

AcRxDictionary* acrxSysRegistry() {
    static AcRxDynamicLinker linker;
    static AcEdCommandStack commands;
    static AcRxDictionary registry = [] {
        AcRxDictionary r;
        r.atPut(ACRX_DYNAMIC_LINKER, &linker);
        r.atPut(ACRX_COMMAND_DOCK, &commands);
        return r;
    }();
    return &registry;
}

bool AcRxDynamicLinker::registerAppMDIAware(void* appId) {
    if (!appId) return false;
    m_mdiAware[appId] = true;
    return true;
}

bool AcRxDynamicLinker::isAppMDIAware(void* appId) const {
    const auto it = m_mdiAware.find(appId);
    return it != m_mdiAware.end() && it->second;
}

bool AcRxDynamicLinker::unlockApplication(void* appId) {
    if (!appId) return false;
    m_locked[appId] = false;
    return true;
}

bool AcRxDynamicLinker::lockApplication(void* appId) {
    if (!appId) return false;
    m_locked[appId] = true;
    return true;
}

// Applications start locked: the host may not unload them until they say so.
bool AcRxDynamicLinker::isApplicationLocked(void* appId) const {
    const auto it = m_locked.find(appId);
    return it == m_locked.end() || it->second;
}

void AcRxDynamicLinker::forget(void* appId) {
    m_mdiAware.erase(appId);
    m_locked.erase(appId);
}

bool acrxUnlockApplication(void* appId) {
    return acrxDynamicLinker->unlockApplication(appId);
}
bool acrxLockApplication(void* appId) {
    return acrxDynamicLinker->lockApplication(appId);
}

int AcEdCommandStack::addCommand(const wchar_t* group, const wchar_t* globalName,
                                 const wchar_t* localName, int32_t flags,
                                 AcRxFunctionPtr function) {
    if (!globalName || !*globalName || !function) return 1;
    const std::wstring groupName = group ? group : L"";
    if (const AcEdCommand* existing = lookupCmd(globalName))
        if (existing->group != groupName) return 2;
    for (auto& cmd : m_commands)
        if (Upper(cmd.globalName.c_str()) == Upper(globalName)) {
            cmd = AcEdCommand{groupName, globalName, localName ? localName : globalName,
                              flags,     function,   {}};
            return 0;
        }
    m_commands.push_back(AcEdCommand{
        groupName, globalName, localName ? localName : globalName, flags, function, {}});
    return 0;
}

int AcEdCommandStack::removeGroup(const wchar_t* group) {
    if (!group) return 1;
    const auto removed =
        std::erase_if(m_commands, [&](const AcEdCommand& c) { return c.group == group; });
    return removed > 0 ? 0 : 1;
}

const AcEdCommand* AcEdCommandStack::lookupCmd(const wchar_t* name) const {
    const std::wstring wanted = Upper(name);
    for (const auto& cmd : m_commands)
        if (Upper(cmd.globalName.c_str()) == wanted || Upper(cmd.localName.c_str()) == wanted)
            return &cmd;
    return nullptr;
}

int AcEdCommandStack::setDescription(const wchar_t* globalName, const wchar_t* description) {
    const std::wstring wanted = Upper(globalName);
    for (auto& cmd : m_commands)
        if (Upper(cmd.globalName.c_str()) == wanted) {
            cmd.description = description ? description : L"";
            return 0;
        }
    return 1;
}
