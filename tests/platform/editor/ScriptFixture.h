#pragma once
// Runs editor calls against a script front end whose transcript is kept.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "acad/aced.h"
#include "mfc/Utf8.h"

class ScriptFixture : public ::testing::Test {
protected:
    void Script(const std::string& text) {
        m_out.str("");
        m_frontEnd = solx::editor::MakeScriptFrontEnd(L"test.scr", text, m_out);
        solx::editor::SetFrontEnd(m_frontEnd.get());
    }
    void TearDown() override {
        solx::editor::SetFrontEnd(nullptr);
        solx::editor::TakeInitGet();
    }
    std::string Output() const { return m_out.str(); }
    std::string StopMessage() const { return solx::win::WideToUtf8(m_frontEnd->StopMessage()); }
    bool Stopped() const { return m_frontEnd->Stopped(); }

    std::ostringstream m_out;
    std::unique_ptr<solx::editor::FrontEnd> m_frontEnd;
};
