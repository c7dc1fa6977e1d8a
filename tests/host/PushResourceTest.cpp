// The resource scope puts back exactly what it found, on every way out.
#include <gtest/gtest.h>

#include <stdexcept>

#include "SolxModule.h"
#include "VxUtPushResource.h"

namespace {

class PushResourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedResource = AfxGetResourceHandle();
        AfxSetResourceHandle(m_hostResource);
        g_pCurModuleLang = &m_hostLang;
        g_pSolxLang = &m_moduleLang;  // already looked up
    }
    void TearDown() override {
        AfxSetResourceHandle(m_savedResource);
        g_pCurModuleLang = nullptr;
        g_pSolxLang = nullptr;
    }
    void ExpectHostState() const {
        EXPECT_EQ(AfxGetModuleState()->m_hCurrentResourceHandle, m_hostResource);
        EXPECT_EQ(g_pCurModuleLang, &m_hostLang);
    }
    HINSTANCE m_savedResource = nullptr;
    HINSTANCE m_hostResource = reinterpret_cast<HINSTANCE>(0x1000);
    VxDtDictionary m_hostLang{L"HOST"}, m_moduleLang{L"SOLXANALYSIS"};
};

TEST_F(PushResourceTest, ScopeSwitchesToTheModuleAndBack) {
    {
        VxUtPushResource scope(g_hSolxInstance);
        EXPECT_EQ(AfxGetResourceHandle(), g_hSolxInstance);
        EXPECT_EQ(g_pCurModuleLang, &m_moduleLang);
    }
    ExpectHostState();
}

TEST_F(PushResourceTest, NestedScopesUnwindInOrder) {
    HINSTANCE other = reinterpret_cast<HINSTANCE>(0x2000);
    {
        VxUtPushResource outer(other);
        {
            VxUtPushResource inner(g_hSolxInstance);
            EXPECT_EQ(AfxGetResourceHandle(), g_hSolxInstance);
        }
        EXPECT_EQ(AfxGetResourceHandle(), other);
        EXPECT_EQ(g_pCurModuleLang, &m_moduleLang);
    }
    ExpectHostState();
}

TEST_F(PushResourceTest, ExceptionThroughTheScopeRestoresBoth) {
    EXPECT_THROW(
        {
            VxUtPushResource outer(g_hSolxInstance);
            VxUtPushResource inner(g_hSolxInstance);
            throw std::runtime_error("host call failed");
        },
        std::runtime_error);
    ExpectHostState();
}

}  // namespace
