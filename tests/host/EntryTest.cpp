// The module entry: what each host message does to the command stack, the dynamic linker and
// the MFC extension chain.
#include <gtest/gtest.h>

#include <sstream>

#include "SolxCommands.h"
#include "SolxModule.h"
#include "acad/aced.h"
#include "mfc/Utf8.h"

namespace {

int g_otherRuns = 0;
void OtherCommand() {
    ++g_otherRuns;
}

// Everything the entry point may change, to compare before and after a message.
struct HostState {
    std::vector<std::wstring> commands;
    int libraries = 0;
    bool locked = true, mdiAware = false, extension = false;
    bool operator==(const HostState&) const = default;
};

void* const kAppId = reinterpret_cast<void*>(0x5017);

HostState Snapshot() {
    HostState s;
    for (const auto& c : acedRegCmds->commands())
        s.commands.push_back(c.group + L"/" + c.globalName);
    s.libraries = solx::win::DynLinkLibraryCount();
    s.locked = acrxDynamicLinker->isApplicationLocked(kAppId);
    s.mdiAware = acrxDynamicLinker->isAppMDIAware(kAppId);
    s.extension = g_SolxExtension.bInitialized != FALSE;
    return s;
}

std::vector<const AcEdCommand*> GroupCommands(const wchar_t* group) {
    std::vector<const AcEdCommand*> out;
    for (const auto& c : acedRegCmds->commands())
        if (c.group == group) out.push_back(&c);
    return out;
}

class EntryTest : public ::testing::Test {
protected:
    void TearDown() override {
        acrxEntryPoint(AcRx::kUnloadAppMsg, kAppId);
        acedRegCmds->removeGroup(L"OTHER");
        acrxDynamicLinker->forget(kAppId);
    }
};

TEST_F(EntryTest, LibraryLoadRecordsTheModuleHandle) {
    ASSERT_NE(g_hSolxInstance, nullptr);
    wchar_t path[1024] = {};
    ASSERT_GT(GetModuleFileNameW(g_hSolxInstance, path, 1023), 0u);
    EXPECT_TRUE(std::wstring(path).ends_with(L"/SolxAnalysis.so")) << path;
    EXPECT_FALSE(g_SolxExtension.bInitialized) << "set-up must wait for the host's message";
}

TEST_F(EntryTest, InitialisationRegistersTheSixCommandsInOrderThenOurOwn) {
    EXPECT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, kAppId), 0);
    const auto cmds = GroupCommands(L"SolxAnalysis");
    const std::vector<std::pair<std::wstring, int32_t>> expected = {
        {L"VxWinSunAna", 0},  {L"VxSunMPoint", 0}, {L"VxSunSPoint", 0}, {L"VxShadow2d", 2},
        {L"VxSunEqCurve", 0}, {L"VxShadow", 0},    {L"VxSetScale", 0}};
    ASSERT_EQ(cmds.size(), expected.size());
    for (size_t i = 0; i < cmds.size(); ++i) {
        EXPECT_EQ(cmds[i]->globalName, expected[i].first);
        EXPECT_EQ(cmds[i]->flags, expected[i].second) << cmds[i]->globalName;
        EXPECT_EQ(cmds[i]->function, i < kSolxCommandCount
                                         ? g_SolxCmdTable[i].handler
                                         : g_SolxOwnCmdTable[i - kSolxCommandCount].handler);
    }
    EXPECT_FALSE(acrxDynamicLinker->isApplicationLocked(kAppId));
    EXPECT_TRUE(acrxDynamicLinker->isAppMDIAware(kAppId));
    EXPECT_EQ(solx::win::DynLinkLibraryCount(), 1);
    EXPECT_EQ(g_SolxExtension.hModule, g_hSolxInstance);
    EXPECT_EQ(g_SolxExtension.hResource, g_hSolxInstance);
}

TEST_F(EntryTest, UnloadRemovesOnlyTheModulesGroupAndEndsTheExtension) {
    acedRegCmds->addCommand(L"OTHER", L"OtherCmd", L"OtherCmd", 0, OtherCommand);
    acrxEntryPoint(AcRx::kInitAppMsg, kAppId);
    EXPECT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, kAppId), 0);
    EXPECT_TRUE(GroupCommands(L"SolxAnalysis").empty());
    EXPECT_EQ(acedRegCmds->lookupCmd(L"VxShadow"), nullptr);
    ASSERT_NE(acedRegCmds->lookupCmd(L"othercmd"), nullptr);
    EXPECT_EQ(solx::win::DynLinkLibraryCount(), 0);
    EXPECT_FALSE(g_SolxExtension.bInitialized);
}

TEST_F(EntryTest, OtherMessagesChangeNothing) {
    for (bool initialised : {false, true}) {
        if (initialised) acrxEntryPoint(AcRx::kInitAppMsg, kAppId);
        for (int code : {3, 4, 5, 0, 6, 99, -1}) {
            const HostState before = Snapshot();
            EXPECT_EQ(acrxEntryPoint(static_cast<AcRx::AppMsgCode>(code), kAppId), 0);
            EXPECT_TRUE(Snapshot() == before) << "message " << code;
        }
    }
}

TEST_F(EntryTest, FailedExtensionSetUpStillRegisters) {
    const HINSTANCE saved = g_hSolxInstance;
    g_hSolxInstance = nullptr;  // AfxInitExtensionModule fails without a module handle
    EXPECT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, kAppId), 0);
    g_hSolxInstance = saved;
    EXPECT_EQ(solx::win::DynLinkLibraryCount(), 0);
    EXPECT_EQ(GroupCommands(L"SolxAnalysis").size(), 7u);
    EXPECT_FALSE(acrxDynamicLinker->isApplicationLocked(kAppId));
}

TEST_F(EntryTest, EveryRegisteredCommandEndsQuietlyWithoutAnswers) {
    acrxEntryPoint(AcRx::kInitAppMsg, kAppId);
    std::ostringstream out;
    auto fe = solx::editor::MakeScriptFrontEnd(L"t", "", out);
    solx::editor::SetFrontEnd(fe.get());
    // Every command of the module is real: with no answers it stops at its first prompt, and
    // none of them is left saying it is not there yet.
    for (const auto* cmd : GroupCommands(L"SolxAnalysis")) {
        out.str("");
        EXPECT_NO_THROW(cmd->function()) << solx::win::WideToUtf8(cmd->globalName);
        EXPECT_EQ(out.str().find("暂不可用"), std::string::npos) << out.str();
    }
    solx::editor::SetFrontEnd(nullptr);
    EXPECT_EQ(acrxGetApiVersion(), kAcrxApiVersion);
}

}  // namespace
