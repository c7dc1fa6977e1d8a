#pragma once
// The host's application registry: entry-point messages, the system registry with its dynamic
// linker and command stack, and the command registration the module's command table uses.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace AcRx {
// Messages the host sends to a module's acrxEntryPoint.
enum AppMsgCode {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
}  // namespace AcRx

// A module's exported entry point and version handshake, as the host looks them up.
using AcRxEntryPointFn = AcRx::AppRetCode (*)(AcRx::AppMsgCode msg, void* appId);
using AcRxApiVersionFn = int (*)();

// The API version a module and the host agree on (release 18).
constexpr int kAcrxApiVersion = 18;

// Keys of the system registry.
#define ACRX_DYNAMIC_LINKER L"DynamicLinker"
#define ACRX_COMMAND_DOCK L"ACAD_REGISTERED_COMMANDS"

// Command flags: the low bits say whether a command may run transparently / modally.
constexpr int32_t ACRX_CMD_MODAL = 0;
constexpr int32_t ACRX_CMD_TRANSPARENT = 1;
constexpr int32_t ACRX_CMD_USEPICKSET = 2;

using AcRxFunctionPtr = void (*)();

class AcRxObject {
public:
    virtual ~AcRxObject() = default;
};

// A keyed store of host objects. The registry owns nothing: the objects it names live as long
// as the host program.
class AcRxDictionary : public AcRxObject {
public:
    AcRxObject* at(const wchar_t* key) const;
    AcRxObject* atPut(const wchar_t* key, AcRxObject* object);  // returns the previous object

private:
    std::map<std::wstring, AcRxObject*> m_entries;
};

AcRxDictionary* acrxSysRegistry();

// Loaded applications, their lock state and their MDI awareness. appId is the package pointer
// the host passes to acrxEntryPoint.
class AcRxDynamicLinker : public AcRxObject {
public:
    bool registerAppMDIAware(void* appId);
    bool isAppMDIAware(void* appId) const;
    bool unlockApplication(void* appId);
    bool lockApplication(void* appId);
    bool isApplicationLocked(void* appId) const;
    void forget(void* appId);  // the host calls this after unloading a module

private:
    std::map<void*, bool> m_mdiAware;
    std::map<void*, bool> m_locked;
};

bool acrxUnlockApplication(void* appId);
bool acrxLockApplication(void* appId);

// One registered command.
struct AcEdCommand {
    std::wstring group;
    std::wstring globalName;
    std::wstring localName;
    int32_t flags = 0;
    AcRxFunctionPtr function = nullptr;
    std::wstring description;  // one line for the command list (HELP)
};

// Commands by group. Names are matched without regard to case, as typed at the command line.
class AcEdCommandStack : public AcRxObject {
public:
    // 0 on success, non-zero when the name is empty or already taken in another group.
    int addCommand(const wchar_t* group, const wchar_t* globalName, const wchar_t* localName,
                   int32_t flags, AcRxFunctionPtr function);
    // Removes every command of the group; 0 when the group existed.
    int removeGroup(const wchar_t* group);
    const AcEdCommand* lookupCmd(const wchar_t* name) const;
    // Sets the one-line description the command list shows; 0 when the command exists.
    int setDescription(const wchar_t* globalName, const wchar_t* description);
    // The commands in registration order.
    const std::vector<AcEdCommand>& commands() const { return m_commands; }

private:
    std::vector<AcEdCommand> m_commands;
};

#define acrxDynamicLinker \
    (static_cast<AcRxDynamicLinker*>(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER)))
#define acedRegCmds (static_cast<AcEdCommandStack*>(acrxSysRegistry()->at(ACRX_COMMAND_DOCK)))
