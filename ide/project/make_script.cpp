#include "make_script.h"

#include <cstdio>
#include <deque>

#include "project_texts.h"
#include "sjis_path.h"

namespace prj {

namespace {

constexpr char kCompiler[] = "TXCL";
constexpr char kResourceCompiler[] = "RC";
constexpr char kLinker[] = "LINK";
constexpr char kLineEnd[] = "\r\n";
constexpr char kContinue[] = "\\\r\n\t";   // backslash, line end, TAB
constexpr char kRule[] = "################################################\r\n";

// The runtime libraries and default resources, as the string table holds
// them (ids 210-251 and 220).
constexpr char kLibLN[] = "TQ70LN63.LIB";    // 210, run model 0
constexpr char kLibLW[] = "TQ70LW63.LIB";    // 211, run model 0
constexpr char kLibLM[] = "TQ70LM63.LIB";    // 250, run model 0
constexpr char kLibRN[] = "TQ70RN63.LIB";    // 212
constexpr char kLibRW[] = "TQ70RW63.LIB";    // 213
constexpr char kLibRM[] = "TQ70RM63.LIB";    // 251
constexpr char kLibMS[] = "TQ70MS63.LIB";    // 216, always
constexpr char kLibLF[] = "TQ70LF63.LIB";    // 214, always
constexpr char kLibRO[] = "TQ70RO63.LIB";    // 215
constexpr char kLibRI[] = "TQ70RI63.LIB";    // 221
constexpr char kDefaultRes[] = "TQ70DFLT.RES";  // 220

// The text with its first "%s" replaced.
std::string Format1(const char *fmt, const std::string &arg) {
    std::string f(fmt);
    std::size_t i = f.find("%s");
    return i == std::string::npos ? f : f.substr(0, i) + arg + f.substr(i + 2);
}

// A path as NMAKE must read it between double quotes: a trailing backslash
// would escape the closing quote for the tool's command line (a root keeps
// its meaning as "X:\."), '#' would start a comment and '$' a macro.
std::string NmakePath(const std::string &path) {
    std::string p = path;
    if (!p.empty() && FindLastSb(p, '\\') == p.size() - 1) {
        if (p.size() == 1 || (p.size() == 3 && p[1] == ':'))
            p += '.';
        else
            p.pop_back();
    }
    std::string out;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        if (IsSjisLead(c) && i + 1 < p.size()) {
            out.append(p, i, 2);
            ++i;
        } else if (c == '#') {
            out += "^#";
        } else if (c == '$') {
            out += "$$";
        } else {
            out += p[i];
        }
    }
    return out;
}

std::string Quoted(const std::string &s) { return "\"" + NmakePath(s) + "\""; }

std::string NonEmptyMachineValue(Settings &settings, const char *name) {
    return settings.MachineEnvString(name).value_or(std::string());
}

// A main module has the extension "BAS" or "bas", or none. Only the file's
// own extension counts: a dot in a folder name says nothing.
bool IsMainModule(const std::string &path) {
    if (!HasExtension(path))
        return true;
    const std::string ext = ExtensionOf(path);
    return ext == "BAS" || ext == "bas";
}

std::string TwoDigits(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string FormatTime(const LocalTime &t) {
    char year[16];
    std::snprintf(year, sizeof year, "%04d", t.year);
    return std::string(year) + "/" + TwoDigits(t.month) + "/" + TwoDigits(t.day) + " " +
           TwoDigits(t.hour) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second);
}

std::string ProgramName(const ProjectData &doc) {
    return doc.exe_name.empty() ? ReplaceExtension(doc.project_file_name, "exe") : doc.exe_name;
}

}  // namespace

std::string MakeScriptPath(const ProjectData &doc) {
    const std::string name = ReplaceExtension(BareName(ProgramName(doc)), "mk2");
    const std::string letter = doc.drive > 0 ? std::string(1, static_cast<char>('@' + doc.drive)) + ":" : "";
    if (doc.project_folder == "\\" || doc.project_folder.empty())
        return letter.empty() ? name : letter + "\\" + name;
    return letter + doc.project_folder + "\\" + name;
}

std::string CompilerOptionText(const ModuleOptions &o, const ProjectData &doc, Settings &settings) {
    std::string t = "/nologo /Yu /MW /CLe ";
    // The compiler takes its arguments split at blanks: paths go in quotes.
    if (!doc.bet_path.empty())
        t += "\"/S:" + NmakePath(doc.bet_path) + "\" ";
    t += (o.flags & kOptInterruptCheck) ? "/CIe " : "/CId ";
    t += (o.flags & kOptOverflowCheck) ? "/COe " : "/COd ";
    t += (o.flags & kOptForNextQv) ? "/CFF " : "/CFI ";
    if (doc.run_model == 3)
        t += "/Zi ";
    if (o.flags & kOptSourceListing)
        t += "/Fs ";
    if (o.flags & kOptCrossReference)
        t += "/Fx ";
    if (o.flags & kOptNoDefaultVars)
        t += "/CV ";
    const std::string include = o.IncludePath();
    if (!include.empty())
        t += "\"/I" + NmakePath(include) + "\" ";
    const std::string extra = NonEmptyMachineValue(settings, "TXCL");
    if (!extra.empty())
        t += extra + " ";
    return t;
}

namespace {

// The linker's settings: program, options and libraries.
std::string LinkSection(const ProjectData &doc, ProjectEnv &env) {
    std::string s;
    s += text::kScriptLink;
    s += "EXE=" + Quoted(ProgramName(doc)) + kLineEnd;
    s += "LINKOPT=/nologo /subsystem:windows /machine:IX86 /nodefaultlib ";
    if (doc.run_model == 3)
        s += "/DEBUG /DEBUGTYPE:COFF ";
    s += "/out:$(EXE) ";
    const std::string link_extra = NonEmptyMachineValue(env.settings, "LINK");
    if (!link_extra.empty())
        s += link_extra + " ";
    s += kLineEnd;

    s += std::string("LIBS=") + kContinue;
    const bool model0 = doc.run_model == 0;
    s += model0 ? std::string(" ") + kLibLN + " " + kLibLM + " " + kLibLW
                : std::string(" ") + kLibRN + " " + kLibRW + " " + kLibRM;
    s += std::string(" ") + kLibMS;
    s += model0 ? std::string(" ") + kLibLF + "  " : std::string(" ") + kLibLF + " " + kLibRO + " " + kLibRI;
    s += kContinue;
    for (const std::string &o : doc.objects)
        s += Quoted(o) + kContinue;
    for (const std::string &l : doc.libraries)
        s += Quoted(l) + kContinue;
    s += "\r\n\r\n";
    return s;
}

// One rule per module: its object from its source, dependencies and options.
std::string ModuleRules(const ProjectData &doc, ProjectEnv &env) {
    std::string s;
    const std::string project_folder = doc.GetProjectFileFolder();
    for (const auto &m : doc.modules) {
        if (m->dep_flag == 1) {
            s += std::string("DEP_FILE=") + kContinue;
            for (const std::string &d : m->deps)
                s += Quoted(d) + kContinue;
            s += "\r\n\r\n";
        } else {
            s += "DEP_FILE=\r\n";
        }
        s += Quoted(doc.GetProjectFileName(ReplaceExtension(m->full_path, "obj"))) + " : " +
             Quoted(doc.GetProjectFileName(m->full_path)) + " $(DEP_FILE) $(BETNAME)\r\n";
        std::string source = m->stored_path;
        if (!EqualNoCase(FolderOf(m->full_path), project_folder) && !HasFolder(m->stored_path))
            source = m->full_path;
        s += Format1("\t%s ", kCompiler);
        s += m->own_options == 1 ? CompilerOptionText(m->options, doc, env.settings) : "$(BOPTS) ";
        s += "/Fo" + Quoted(ReplaceExtension(source, "obj")) + " " + Quoted(source) + "\r\n\r\n";
    }
    return s;
}

}  // namespace

int WriteMakeScript(ProjectData &doc, ProjectEnv &env) {
    const std::string path = MakeScriptPath(doc);
    doc.make_script_path = path;
    if (!env.fs.WriteFile(path, {}))
        return 0;
    auto refuse = [&](uint32_t id) {
        env.messages.Show(id, kMbIconHand, nullptr);
        env.fs.DeleteFile(path);
        doc.make_script_path.clear();
        return 0;
    };

    std::string s;
    const bool has_rc = !doc.rc_path.empty();

    s += Format1(text::kScriptTitle, text::kProductVersion);
    s += Format1(text::kScriptProject, doc.project_file_name);
    s += text::kScriptDate + FormatTime(env.clock.Now()) + "\r\n\r\n\r\n";

    s += Format1(text::kScriptDefaults, kCompiler);
    s += ".SUFFIXES:.bas .sub\r\n";
    s += "DEP_FILE=\r\n";
    s += "BOPTS=" + CompilerOptionText(doc.default_options, doc, env.settings) + "\r\n\r\n";

    s += text::kScriptObjects;
    s += std::string("OBJS=") + kContinue;
    std::deque<const CBasData *> order;
    std::vector<std::string> object_keys;
    bool any_main = false;
    for (const auto &m : doc.modules) {
        std::string key = UpperSb(ReplaceExtension(m->full_path, "OBJ"));
        for (const std::string &k : object_keys)
            if (k == key)
                return refuse(kMsgSameObjectName);
        object_keys.push_back(key);
        if (IsMainModule(m->full_path)) {
            order.push_front(m.get());
            any_main = true;
        } else {
            order.push_back(m.get());
        }
    }
    if (!doc.modules.empty()) {
        if (!any_main)
            return refuse(kMsgNoMainModule);
        for (const CBasData *m : order)
            s += Quoted(doc.GetProjectFileName(ReplaceExtension(m->full_path, "obj"))) + kContinue;
        s += "\r\n\r\n";
    }

    s += text::kScriptResources;
    const std::string resname = has_rc ? ReplaceExtension(doc.rc_path, "res")
                                       : env.ide.ProgramFolder() + "\\" + kDefaultRes;
    s += "RESNAME=" + Quoted(resname) + "\r\n\r\n";
    if (has_rc)
        s += "RCOPT=/l 0x411 /fo $(RESNAME)\r\n\r\n";

    s += text::kScriptEnvironment;
    s += doc.bet_path.empty() ? std::string("BETNAME=\r\n\r\n") : "BETNAME=" + Quoted(doc.bet_path) + "\r\n\r\n";

    s += LinkSection(doc, env);

    s += kRule;
    s += Format1(".bas.obj:\r\n\t%s $(BOPTS) /Fo$*.obj $*.bas\r\n\r\n", kCompiler);
    s += Format1(".sub.obj:\r\n\t%s $(BOPTS) /Fo$*.obj $*.sub\r\n\r\n", kCompiler);

    s += "$(EXE) : $(OBJS)";
    if (has_rc)
        s += " $(RESNAME)";
    if (!doc.is_frame_project && !doc.project_file_name.empty())
        s += " " + Quoted(doc.project_file_name);
    s += kLineEnd;
    s += Format1("\t%s @<<\r\n$(LINKOPT) $(OBJS) $(RESNAME) $(LIBS)\r\n<<\r\n\r\n", kLinker);
    s += kRule;

    s += ModuleRules(doc, env);

    if (has_rc) {
        s += "$(RESNAME) : " + Quoted(doc.rc_path) + kLineEnd;
        s += Format1("\t%s $(RCOPT) ", kResourceCompiler) + Quoted(doc.rc_path) + " \r\n\r\n";
    }

    if (!env.fs.WriteFile(path, std::vector<uint8_t>(s.begin(), s.end())))
        return 0;
    return 1;
}

}  // namespace prj
