// Drawings made by an independent DXF library (modern entities and objects, GBK-encoded old
// versions, binary DXF) load with the content they hold, round-trip tag for tag, and what we
// write is accepted and audited clean by that library.
#include <gtest/gtest.h>

#include <algorithm>

#include "DxfTestSupport.h"
#include "dxf/DxfHeader.h"
#include "dxf/DxfReader.h"
#include "dxf/DxfWriter.h"

namespace solx::dxf {
namespace {

class DxfEzdxf : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!test::haveEzdxf()) return;
        dir_ = new test::TempDir;
        status_ = test::runPython("make_ezdxf_samples.py", {dir_->path()}, output_);
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        if (!dir_) GTEST_SKIP() << "/usr/bin/python3 cannot import ezdxf";
        ASSERT_EQ(status_, 0) << output_;
    }
    static std::string sample(const std::string& name) { return dir_->file(name); }

    static test::TempDir* dir_;
    static int status_;
    static std::string output_;
};

test::TempDir* DxfEzdxf::dir_ = nullptr;
int DxfEzdxf::status_ = -1;
std::string DxfEzdxf::output_;

const char* const kSamples[] = {"modern_r2018.dxf", "gbk_r12.dxf", "gbk_r2000.dxf",
                                "binary_r2010.dxf"};

const Entity* findEntity(const Document& doc, const std::string& type) {
    auto it = std::find_if(doc.entities.begin(), doc.entities.end(),
                           [&](const Entity& e) { return e.record.type == type; });
    return it == doc.entities.end() ? nullptr : &*it;
}

std::string valueOf(const Record& r, int code) {
    for (const Tag& t : r.tags) {
        if (t.code == code) return t.value;
    }
    return {};
}

TEST_F(DxfEzdxf, SamplesRoundTripTagForTag) {
    for (const char* name : kSamples) {
        Document first = readDocument(sample(name));
        Document second = parseDocument(serializeDocument(first), name);
        EXPECT_EQ(test::flatten(first), test::flatten(second)) << name;
    }
}

TEST_F(DxfEzdxf, ModernSampleHoldsWhatWasDrawn) {
    Document doc = readDocument(sample("modern_r2018.dxf"));
    EXPECT_EQ(headerValue(doc, "$ACADVER"), "AC1032");
    const Entity* mtext = findEntity(doc, "MTEXT");
    ASSERT_NE(mtext, nullptr);
    EXPECT_EQ(valueOf(mtext->record, 1).substr(0, 9), "第一行");
    EXPECT_NE(findEntity(doc, "SPLINE"), nullptr);
    EXPECT_NE(findEntity(doc, "DIMENSION"), nullptr);
    const Entity* insert = findEntity(doc, "INSERT");
    ASSERT_NE(insert, nullptr);
    ASSERT_EQ(insert->children.size(), 2u);  // ATTRIB, SEQEND
    EXPECT_EQ(valueOf(insert->children[0], 1), "3");
    auto xrecord = std::find_if(doc.objects.begin(), doc.objects.end(),
                                [](const Record& r) { return r.type == "XRECORD"; });
    ASSERT_NE(xrecord, doc.objects.end());
    EXPECT_EQ(valueOf(*xrecord, 310).substr(0, 8), "0001FEFF");
    EXPECT_NE(std::find(doc.sectionOrder.begin(), doc.sectionOrder.end(), "CLASSES"),
              doc.sectionOrder.end());
}

TEST_F(DxfEzdxf, GbkSamplesDecodeChineseText) {
    for (const char* name : {"gbk_r12.dxf", "gbk_r2000.dxf"}) {
        Document doc = readDocument(sample(name));
        const Entity* text = findEntity(doc, "TEXT");
        ASSERT_NE(text, nullptr) << name;
        EXPECT_EQ(valueOf(text->record, 1), "中文文字") << name;
        EXPECT_EQ(valueOf(text->record, 8), "日照窗") << name;
        // Saved unchanged, the old version keeps its code page: the same bytes come back.
        EXPECT_NE(serializeDocument(doc).find("\xd6\xd0\xce\xc4\xce\xc4\xd7\xd6"),
                  std::string::npos)
            << name;
    }
}

TEST_F(DxfEzdxf, BinarySampleReadsLikeText) {
    Document doc = readDocument(sample("binary_r2010.dxf"));
    const Entity* text = findEntity(doc, "TEXT");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(valueOf(text->record, 1), "binary 二进制");
    const Entity* line = findEntity(doc, "LINE");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(valueOf(line->record, 10), "0.1");
    EXPECT_EQ(valueOf(line->record, 21), "-123456.789");
    EXPECT_EQ(std::stod(valueOf(line->record, 11)), 1e-9);
}

TEST_F(DxfEzdxf, IndependentReaderAcceptsOurOutput) {
    std::vector<std::string> written;
    for (const char* name : kSamples) {
        std::string out = dir_->file(std::string("ours_") + name);
        writeDocument(readDocument(sample(name)), out);
        written.push_back(out);
    }
    std::string report;
    EXPECT_EQ(test::runPython("ezdxf_check.py", written, report), 0) << report;
}

}  // namespace
}  // namespace solx::dxf
