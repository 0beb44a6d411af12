// The cross reference of a small module set up by hand, with its reference
// records written into the work file as the statement handlers write them.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "tx_scratch.h"
#include "sc_listing.h"
#include "sc_pass.h"
#include "sc_workfile.h"

using namespace txsc;

namespace {

struct Xref : testing::Test {
    std::unique_ptr<ScPass> p = std::make_unique<ScPass>();
    WorkFile refs{kDetailXrefWork};

    void SetUp() override {
        refs.Create();
        refs.WriteU32(0);
    }

    uint32_t Sym(const char *name, uint8_t kind, uint8_t type, uint16_t owner = 0, uint8_t dims = 0) {
        SymTemplate tp;
        tp.name = name;
        tp.kind = kind;
        tp.type = type;
        tp.owner = owner;
        tp.dims = dims;
        return p->tab.Enter(tp, 40, ScopeInfo{});
    }
    // Appends reference records and links them as one list.
    void Refs(uint32_t chain[2], std::initializer_list<std::pair<uint16_t, uint8_t>> list) {
        for (auto [line, flag] : list) {
            refs.SeekEnd();
            uint32_t pos = refs.Tell();
            if (chain[1]) refs.PatchU32(chain[1], pos);
            else chain[0] = pos;
            chain[1] = pos;
            uint8_t rec[8] = {0, 0, 0, 0, uint8_t(line), uint8_t(line >> 8), flag, 0};
            refs.Write(rec, 8);
        }
    }
    std::string Run() {
        FILE *out = txtest::ScratchFile();
        if (!out) {
            ADD_FAILURE() << "no temporary file";
            return {};
        }
        WriteXref(*p, out, refs);
        std::string s;
        std::rewind(out);
        int c;
        while ((c = std::fgetc(out)) != EOF) s += char(c);
        std::fclose(out);
        return s;
    }
};

const std::string kBlank18(18, ' ');
const std::string kBlank14(14, ' ');

}  // namespace

TEST_F(Xref, ModuleVariablesLabelsAndProcedures) {
    uint32_t a = Sym("A", 1, 0);
    Refs(p->tab.sym(a).xref, {{3, 0}, {5, 1}, {42, 1}});
    Sym("ARR", 1, 1, 0, 1);
    Sym("t0001", 1, 0);  // a temporary: not listed
    uint32_t d = Sym("D", 2, 3);
    Refs(p->tab.sym(d).xref, {{42, 0}});
    Sym("LONGNAME_VARIABLE", 1, 16);
    uint32_t s = Sym("SUBX", 6, 0, 1);
    Refs(p->tab.sym(s).xref, {{10, 0}, {20, 1}});
    Sym("P", 4, 0, 1);
    Sym("Q", 3, 2, 1);
    Sym("R", 3, 0, 2);  // belongs to another procedure
    uint32_t f = Sym("FNC", 5, 1);
    Refs(p->tab.sym(f).xref, {{12, 1}});
    Sym("UNUSED", 6, 0, 3);  // no references: not listed
    uint32_t l1 = p->tab.SearchLabel("L1", 0);
    Refs(p->tab.label(l1).xref, {{7, 0}});
    p->tab.SearchLabel("100", 0);
    p->tab.SearchLabel("INNER", 1);

    std::string want;
    // Module variables, by name.
    want += "A\t\t" + std::string(XrefTypeName(0)) + kBlank18 + "     #3      5     42\n";
    want += "ARR()\t\t" + std::string(XrefTypeName(1)) + kBlank18 + "\n";
    want += "D\t\t" + std::string(XrefTypeName(3)) + XrefKindName(2) + "    #42\n";
    want += "LONGNAME_VARIABLE\n\t\t" + std::string(XrefTypeName(16)) + kBlank18 + "\n";
    want += "\n";
    // Module labels: a line number as it is, a name with its star.
    want += "100\t\t\n";
    want += "*L1\t\t     #7\n";
    want += "\n";
    // Procedures with references; FNC has no scope of its own here.
    want += "FNC\t\t" + std::string(XrefKindName(5)) + XrefTypeName(1) + "     12\n";
    want += "\n\n";
    want += "SUBX\t\t" + std::string(XrefKindName(6)) + kBlank14 + "    #10     20\n";
    want += "\tP\t\t" + std::string(XrefTypeName(0)) + XrefKindName(4) + "\n";
    want += "\tQ\t\t" + std::string(XrefTypeName(2)) + kBlank18 + "\n";
    want += "\n";
    want += "\t*INNER\t\t\n";
    want += "\n";
    EXPECT_EQ(Run(), want);
}

TEST_F(Xref, ModuleWithoutProceduresEndsAfterTheLabels) {
    Sym("A", 1, 0);
    EXPECT_EQ(Run(), "A\t\t" + std::string(XrefTypeName(0)) + kBlank18 + "\n\n\n");
}
