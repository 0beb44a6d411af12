#include "build_env.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes.h"
#include "wizard_check.h"

namespace prj::test {
namespace {

class FakeVars : public EnvironmentVars {
public:
    std::optional<std::string> Get(const char *name) override {
        auto it = vars.find(name);
        if (it == vars.end())
            return std::nullopt;
        return it->second;
    }
    void Set(const char *name, const std::optional<std::string> &value) override {
        if (value)
            vars[name] = *value;
        else
            vars.erase(name);
    }
    std::map<std::string, std::string> vars;
};

TEST(BuildEnv, ProgramPathComesFromTheProjectFolder) {
    struct Case {
        const char *name;
        int drive;
        const char *folder, *exe, *project;
        const char *want;
    };
    const std::vector<Case> cases = {
        {"exe name", 3, "\\PROJ", "APP.EXE", "SAMPLE.MAK", "C:\\PROJ\\APP.EXE"},
        {"project name", 4, "\\A B\\C", "", "SAMPLE.MAK", "D:\\A B\\C\\SAMPLE.exe"},
        {"root folder", 3, "\\", "", "X.MAK", "C:\\X.exe"},
        {"no drive", -1, "\\\\SRV\\SHARE", "", "X.MAK", "\\\\SRV\\SHARE\\X.exe"},
        {"whole exe path", 3, "\\PROJ", "E:\\OUT\\APP.EXE", "X.MAK", "E:\\OUT\\APP.EXE"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Host h;
        ProjectData doc(h.settings);
        doc.drive = c.drive;
        doc.project_folder = c.folder;
        doc.exe_name = c.exe;
        doc.project_file_name = c.project;
        EXPECT_EQ(TargetProgramPath(doc), c.want);
    }
}

TEST(BuildEnv, NmakeCommandLine) {
    EXPECT_EQ(NmakeCommandLine("C:\\P\\A.mk2", false), "NMAKE /nologo /f \"C:\\P\\A.mk2\"");
    EXPECT_EQ(NmakeCommandLine("C:\\P\\A.mk2", true), "NMAKE /nologo /a /f \"C:\\P\\A.mk2\"");
}

// Long values are taken whole and given back byte for byte; a variable that
// was not set is not set afterwards either.
TEST(BuildEnv, VariablesAreRestoredExactly) {
    FakeVars env;
    std::string long_path;
    for (int i = 0; long_path.size() < 2000; ++i)
        long_path += "C:\\TOOLS\\DIR" + std::to_string(i) + ";";
    env.vars["PATH"] = long_path;
    env.vars["INCLUDE"] = "";
    const std::map<std::string, std::string> before = env.vars;

    BuildFolders f{"C:\\TX\\Bin", "C:\\TX\\Lib", "C:\\TX\\Include", "S1", "S2", "S3"};
    BuildVariables v;
    v.Apply(env, f);
    EXPECT_EQ(env.vars["PATH"], "C:\\TX\\Bin;" + long_path);
    EXPECT_EQ(env.vars["LIB"], "C:\\TX\\Lib;S2");
    EXPECT_EQ(env.vars["INCLUDE"], "C:\\TX\\Include;");
    v.Restore(env);
    EXPECT_EQ(env.vars, before);
    v.Restore(env);  // a second restore changes nothing
    EXPECT_EQ(env.vars, before);
}

TEST(BuildEnv, LogFallsBackToTheTemporaryFolder) {
    std::vector<std::string> tried;
    auto make = [&tried](bool ide_ok, bool temp_ok) {
        return [&tried, ide_ok, temp_ok](const std::string &folder) -> std::optional<std::string> {
            tried.push_back(folder);
            if ((folder == "C:\\TX\\BIN" && ide_ok) || (folder == "C:\\TEMP" && temp_ok))
                return folder + "\\TV1.tmp";
            return std::nullopt;
        };
    };
    EXPECT_EQ(CreateBuildLog(make(true, true), "C:\\TX\\BIN", "C:\\TEMP"), "C:\\TX\\BIN\\TV1.tmp");
    EXPECT_EQ(tried.size(), 1u);
    EXPECT_EQ(CreateBuildLog(make(false, true), "C:\\TX\\BIN", "C:\\TEMP"), "C:\\TEMP\\TV1.tmp");
    EXPECT_EQ(CreateBuildLog(make(false, false), "C:\\TX\\BIN", "C:\\TEMP"), std::nullopt);
}

TEST(Wizard, FieldsAndFolder) {
    using F = std::array<std::string, 5>;
    struct Case {
        const char *name;
        F fields;
        uint32_t want;
    };
    const std::vector<Case> cases = {
        {"all given", F{"C:\\P", "A.MAK", "MAIN.BAS", "FORM.SUB", "A.RC"}, 0},
        {"same base name", F{"C:\\P", "A.MAK", "MAIN.BAS", "main.sub", "A.RC"}, kMsgSameModuleNames},
        {"no extensions", F{"C:\\P", "A.MAK", "Main", "MAIN", "A.RC"}, kMsgSameModuleNames},
        {"dot in the name only", F{"C:\\P", "A.MAK", "M.X.BAS", "M.SUB", "A.RC"}, 0},
        {"empty field", F{"C:\\P", "", "MAIN.BAS", "main.sub", "A.RC"}, kMsgFillAllFields},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CheckWizardFields(c.fields, 2, 3), c.want);
    }
    EXPECT_EQ(WizardFolder(""), ".");
    EXPECT_EQ(WizardFolder("C:\\WORK\\"), "C:\\WORK");
    EXPECT_EQ(WizardFolder("C:\\WORK\\\\"), "C:\\WORK\\");
    EXPECT_EQ(WizardFolder("C:\\\x95\x5C"), "C:\\\x95\x5C");
}

}  // namespace
}  // namespace prj::test
