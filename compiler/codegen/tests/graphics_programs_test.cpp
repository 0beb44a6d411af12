// Graphics programs through the whole chain (basrun compiles them with txcl,
// links and runs them, and writes the screen with --screen). The picture is
// read back by an independent decoder (graphics/png_probe.py, Python's own
// zlib) at probe points: a line's end points, a circle's extreme points, a
// painted inside, PUT@ in each action, the VIEW and WINDOW mappings; a
// checksum covers the whole screen. The call traces check the argument
// words of every graphics statement.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "program_kit.h"
#include "trace_calls.h"
#include "tx_scratch.h"

namespace txcg::test {
namespace {

namespace fs = std::filesystem;

std::string Q(const std::string &s) { return "'" + s + "'"; }

fs::path Dir() {
    static const txtest::ScratchDir dir("txcg_graphics");
    return dir.path();
}

std::string GraphicsDir() { return TX_GRAPHICS_DIR; }
std::string EventsDir() { return TX_EVENTS_DIR; }

struct Outcome {
    int status = -1;
    std::string out, err, trace;
    std::map<std::string, std::string> probes; // "x,y" -> RRGGBB
    std::string crc;
};

// Runs NAME.BAS (ASCII source) with --screen and --trace (and further
// basrun options), then probes the picture at the given points.
Outcome RunGraphics(const std::string &name, const std::string &source, const std::vector<std::string> &points = {},
                    const std::string &options = "") {
    Outcome r;
    const fs::path dir = Dir();
    std::ofstream(dir / (name + ".BAS"), std::ios::binary) << source;
    const std::string cmd = "cd " + Q(dir.string()) + " && " + Q(Runner()) + " --screen " + Q(name + ".png") +
                            " --trace " + Q(name + ".trace") + " " + options + " " + Q(name + ".BAS") + " > " + Q(name + ".out") +
                            " 2> " + Q(name + ".err") + " < /dev/null";
    const int rc = std::system(cmd.c_str());
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    r.out = Slurp((dir / (name + ".out")).string());
    r.err = Slurp((dir / (name + ".err")).string());
    r.trace = Slurp((dir / (name + ".trace")).string());
    std::string probe = "python3 " + Q(GraphicsDir() + "/png_probe.py") + " " + Q((dir / (name + ".png")).string());
    for (const std::string &p : points)
        probe += " " + p;
    probe += " > " + Q((dir / (name + ".probe")).string()) + " 2>&1";
    if (std::system(probe.c_str()) != 0) {
        r.err += "png_probe failed: " + Slurp((dir / (name + ".probe")).string());
        return r;
    }
    std::istringstream in(Slurp((dir / (name + ".probe")).string()));
    std::string a, b;
    while (in >> a >> b) {
        if (a == "crc")
            r.crc = b;
        else
            r.probes[a] = b;
    }
    return r;
}

struct Probe {
    const char *at;
    const char *rgb;
};

void ExpectProbes(const Outcome &r, const std::vector<Probe> &probes) {
    for (const Probe &p : probes) {
        SCOPED_TRACE(p.at);
        auto it = r.probes.find(p.at);
        ASSERT_NE(it, r.probes.end()) << r.err;
        EXPECT_EQ(it->second, p.rgb);
    }
}

std::vector<std::string> Points(const std::vector<Probe> &probes) {
    std::vector<std::string> v;
    for (const Probe &p : probes)
        v.push_back(p.at);
    return v;
}

constexpr const char *kBlack = "000000", *kBlue = "0000FF", *kRed = "FF0000", *kMagenta = "FF00FF",
                     *kGreen = "00FF00", *kCyan = "00FFFF", *kYellow = "FFFF00", *kWhite = "FFFFFF";

#define REQUIRE_RUNNER()                                                                           \
    if (!CanRun())                                                                                 \
    GTEST_SKIP() << "no runtime library or runner in this build"

// Lines (end points, STEP from the last point, a style), boxes, circles
// (the four extreme points, an ellipse, an arc), PAINT inside a circle,
// CONNECT, PSET and PRESET, CLS 2; POINT reads the same screen back.
TEST(GraphicsPrograms, LinesCirclesPaintAndConnect) {
    REQUIRE_RUNNER();
    const std::vector<Probe> probes = {
        {"10,10", kGreen},   {"100,50", kGreen},   {"100,51", kBlack},   {"9,10", kBlack},    // a line's ends
        {"100,55", kRed},    {"120,55", kRed},     {"121,55", kBlack},                       // STEP, STEP
        {"5,5", kWhite},     {"6,5", kBlack},                                                // PSET, PRESET
        {"200,10", kBlue},   {"260,40", kBlue},    {"230,25", kBlack},                       // B
        {"270,10", kYellow}, {"300,25", kYellow},  {"330,40", kYellow},                      // BF
        {"340,10", kYellow}, {"370,25", kBlue},                                              // BF, edge and inside
        {"10,60", kWhite},   {"13,60", kWhite},    {"14,60", kBlack},    {"18,60", kWhite},  // style &HF0F0
        {"370,200", kRed},   {"270,200", kRed},    {"320,150", kRed},    {"320,250", kRed},  // circle
        {"320,200", kYellow}, {"350,220", kYellow}, {"371,200", kBlack},                     // painted inside
        {"140,200", kCyan},  {"100,180", kCyan},   {"100,179", kBlack},                      // aspect 0.5
        {"540,200", kGreen}, {"500,160", kGreen},  {"500,240", kBlack},                      // upper half arc
        {"60,300", kWhite},  {"60,340", kWhite},   {"35,300", kWhite},   {"61,341", kBlack},
        {"639,399", kBlack},                                                                 // CLS 2
    };
    const Outcome r = RunGraphics("DRAW", Slurp(GraphicsDir() + "/draw.bas"), Points(probes));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, " 4  4  0  6 -1 \n 60  340 \n");
    ExpectProbes(r, probes);
    EXPECT_EQ(r.crc, "3176D6A2");
}

// PUT@ in each action over colour 5 (0101) with a block of 3 (0011) and 0;
// with a colour, the set pixels take it; GET@ into an array too small is
// error 5.
TEST(GraphicsPrograms, PutInEachAction) {
    REQUIRE_RUNNER();
    const std::vector<Probe> probes = {
        {"10,10", kMagenta}, {"11,10", kBlack},   // PSET (the default): 3, 0
        {"50,10", "008000"}, {"51,10", "C0C0C0"}, // PRESET: 12, 15
        {"70,10", kWhite},   {"71,10", kCyan},    // OR: 7, 5
        {"90,10", kBlue},    {"91,10", kBlack},   // AND: 1, 0
        {"110,10", kWhite},  {"111,10", kCyan},   // XOR with colour 2: 5 ^ 2, 5 ^ 0
    };
    const Outcome r = RunGraphics("PUTAT", Slurp(GraphicsDir() + "/put.bas"), Points(probes));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, " 3  0 \n 3  0 \n 12  15 \n 7  5 \n 1  0 \n 7  5 \n 2  1 \nerror 5 \n");
    ExpectProbes(r, probes);
}

// VIEW with its frame, WINDOW with y upwards and WINDOW SCREEN, VIEW
// SCREEN, AXIS, both PALETTE forms, COLOR's drawing colour and SYMBOL.
TEST(GraphicsPrograms, ViewWindowPaletteAndSymbol) {
    REQUIRE_RUNNER();
    const std::vector<Probe> probes = {
        {"99,99", kWhite},    {"300,200", kWhite},  {"100,100", "FFFF00"}, // the frame, WINDOW SCREEN's (0, 0)
        {"200,149", kGreen},  {"100,199", kRed},    {"299,100", kBlue},    // WINDOW (-1, -1)-(1, 1)
        {"105,105", kMagenta}, {"150,150", kMagenta}, {"10,10", kBlack},   // pixels in the view, clipped
        {"0,399", kCyan},                                                  // AXIS 1
        {"600,390", kRed},    {"601,390", "0A141E"}, {"602,390", kYellow}, // PALETTE, COLOR
        {"400,300", kBlue},   {"401,302", kBlue},   {"402,300", kBlack},   // SYMBOL "HI", 2 x 3 dots
    };
    const Outcome r = RunGraphics("VIEWS", Slurp(GraphicsDir() + "/view.bas"), Points(probes));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "-1  1  1  1 \n 249  125  1  1 \n 100  100  299  199  105  105 \n 1  0  1  0 \n");
    ExpectProbes(r, probes);
}

// Statements the analyzer refuses, each with its error: a box word that is
// neither B nor BF, a point without parentheses, CIRCLE without a radius,
// PUT@ of an array never declared, LINE without its second point, a switch
// that is not ON, OFF or STOP, ON KEY without a number, an operand too many,
// GET@ into an element, PALETTE with one operand, WINDOW SCREEN alone.
TEST(GraphicsPrograms, AnalyzerRefusesMalformedStatements) {
    REQUIRE_RUNNER();
    const char *lines[] = {
        "LINE (1, 1)-(2, 2), 3, X", "PSET 1, 2", "CIRCLE (1, 1)", "PUT@ (1, 1), NOARRAY", "LINE (1, 1)",
        "KEY(1) MAYBE", "ON KEY GOSUB *A", "VIEW (1, 1)-(2, 2), 1, 2, 3", "GET@ (1, 1)-(2, 2), A%(1)",
        "PALETTE 1", "WINDOW SCREEN",
    };
    std::string source = "DIM A%(4)\n";
    for (const char *l : lines)
        source += std::string(l) + "\n";
    source += "*A\nRETURN\n";
    const fs::path dir = Dir();
    std::ofstream(dir / "BADSYN.BAS", std::ios::binary) << source;
    const std::string cmd = "cd " + Q(dir.string()) + " && " + Q(TX_TXCL_EXE) + " /nologo BADSYN.BAS > BADSYN.LOG";
    EXPECT_NE(std::system(cmd.c_str()), 0);
    std::istringstream in(Slurp((dir / "BADSYN.LOG").string()));
    std::vector<std::string> errors;
    for (std::string line; std::getline(in, line);) {
        const size_t at = line.find(" [");
        if (at != std::string::npos)
            errors.push_back(line.substr(at + 2, 2));
    }
    const std::vector<std::string> want = {"02", "02", "02", "29", "02", "02", "02", "02", "02", "02", "02"};
    EXPECT_EQ(errors, want);
}

// Values out of range are run-time error 5, a point past 16 bits of pixels
// overflow 6 (so no line or circle runs on for ever); trapped, one program.
TEST(GraphicsPrograms, BadOperandsAreIllegalFunctionCalls) {
    REQUIRE_RUNNER();
    const struct {
        const char *line;
        int error;
    } cases[] = {
        {"PSET (1, 1), , 16", 5}, {"LINE (0, 0)-(1, 1), -2", 5}, {"PALETTE 16, 1", 5},
        {"PALETTE 1, 1, 256, 0", 5}, {"AXIS 2", 5}, {"WINDOW (0, 0)-(0, 1)", 5},
        {"VIEW (0, 0)-(640, 10)", 5}, {"CIRCLE (1, 1), -1", 5}, {"PUT@ (0, 0), A%, 7", 5},
        {"SYMBOL (0, 0), \"A\", 0", 5}, {"GET@ (0, 0)-(9, 9), A%", 5},
        {"LINE (0, 0)-(1E+09, 0)", 6}, {"CIRCLE (0, 0), 1E+30", 6}, {"WINDOW (0, 0)-(1E-30, 1): PSET (1, 1)", 6},
    };
    std::string source = "DIM A%(4)\nON ERROR GOTO *E\n", want;
    for (const auto &c : cases) {
        source += std::string(c.line) + "\nPRINT \"-\"\n";
        want += " " + std::to_string(c.error) + " \n-\n";
    }
    source += "END\n*E\nPRINT ERR\nRESUME NEXT\n";
    const Outcome r = RunGraphics("BAD", source);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, want);
}

// The argument words of each graphics statement and function, as basrun's
// call trace lists them ("*" for an address, "F:x" a single's bits).
TEST(GraphicsPrograms, CallTraceOfEveryGraphicsStatement) {
    REQUIRE_RUNNER();
    const struct {
        const char *line;
        std::vector<std::string> calls;
    } table[] = {
        {"PSET (1, 2)", {"_$PsPSET@28 0 0 F:1 F:2 0 -1 0"}},
        {"PSET STEP(1, 2), 3, 4", {"_$PsPSET@28 0 1 F:1 F:2 3 4 1"}},
        {"PRESET (3, 4)", {"_$PsPRESET@16 0 0 F:3 F:4"}},
        {"POINT STEP(1, 1)", {"_$PsPOINT@16 0 1 F:1 F:1"}},
        {"LINE (1, 2)-(3, 4)", {"_$PsLINE@52 0 0 F:1 F:2 0 F:3 F:4 -1 0 0 0 -1 54"}},
        {"LINE -STEP(3, 4), 5, BF, , , 6", {"_$PsLINE@52 0 0 0 0 1 F:3 F:4 5 2 0 0 6 1272"}},
        {"LINE (1, 2)-(3, 4), , B, &H0F0F, 4", {"_$PsLINE@52 0 0 F:1 F:2 0 F:3 F:4 -1 1 3855 4 -1 950"}},
        {"CIRCLE (1, 2), 3", {"_$PsCIRCLE@52 0 0 F:1 F:2 F:3 -1 0 0 0 0 0 0 14"}},
        {"CIRCLE STEP(1, 2), 3, 4, , 1.5", {"_$PsCIRCLE@52 0 1 F:1 F:2 F:3 4 0 0 0 1073217536 0 0 95"}},
        {"PAINT (1, 2), 3", {"_$PsPAINT@4 *"}},
        {"CONNECT (1, 2)-(3, 4)-(5, 6), 7", {"_$PsCONNECT@4 *"}},
        {"AXIS 1", {"_$PsAXIS@8 0 1"}},
        {"PALETTE 1, 2", {"_$PsPALETTE@12 0 1 2"}},
        {"PALETTE 1, 2, 3, 4", {"_$PsPALETTE_RGB@20 0 1 2 3 4"}},
        {"SYMBOL (1, 2), \"A\", , 2", {"_$PsSYMBOL40@40 0 0 F:1 F:2 0 2 -1 0 0 22"}},
        {"GET@ (1, 2)-STEP(3, 4), G%", {"_$PsGET40G@28 0 F:1 F:2 F:3 F:4 * 2"}},
        {"PUT@ STEP(1, 2), G%, AND", {"_$PsPUT40G@32 0 1 F:1 F:2 * 3 -1 0"}},
        {"PUT@ (1, 2), G%(), , 7", {"_$PsPUT40G@32 0 0 F:1 F:2 * 0 7 1"}},
        {"COLOR@ (1, 2)-(3, 4), 5", {"_$PsCOLOR40@32 0 0 F:1 F:2 0 F:3 F:4 5"}},
        {"VIEW SCREEN (1, 2)-(3, 4), 5", {"_$PsVIEW1@32 0 1 F:1 F:2 F:3 F:4 5 0"}},
        {"VIEW", {"_$PsVIEW@4 0"}},
        {"WINDOW (1, 2)-(3, 4)", {"_$PsWINDOW1@28 0 0 F:1 F:2 F:3 F:4 0"}},
        {"WINDOW", {"_$PsWINDOW@4 0"}},
        {"N% = POINT(1, 2) + POINT(0) + VIEW(1) + WINDOW(1) + MAP(1, 2)",
         {"_$PfPOINT1@16 0 0 F:1 F:2", "_$PfPOINT2@8 0 0", "_$PfVIEW@8 0 1", "_$PfWINDOW@8 0 1",
          "_$PfMAP@12 0 F:1 2"}},
    };
    std::string source = "DIM G%(40)\n";
    for (const auto &t : table)
        source += std::string(t.line) + "\n";
    const Outcome r = RunGraphics("TRACE", source);
    ASSERT_EQ(r.status, 0) << r.err;
    auto byLine = CallsByLine(r.trace);
    auto word = [](const std::string &w) {
        if (w.rfind("F:", 0) != 0)
            return w;
        const float f = std::stof(w.substr(2));
        int32_t bits;
        std::memcpy(&bits, &f, 4);
        return std::to_string(bits);
    };
    for (size_t i = 0; i < std::size(table); ++i) {
        SCOPED_TRACE(table[i].line);
        const auto &got = byLine[int(i) + 2];
        ASSERT_EQ(got.size(), table[i].calls.size()) << ::testing::PrintToString(got);
        for (size_t k = 0; k < got.size(); ++k)
            EXPECT_TRUE(CallMatches(table[i].calls[k], got[k], word)) << table[i].calls[k] << " / " << got[k];
    }
}

// ON INTERVAL / KEY / MOUSE / COM / TIME GOSUB on the simulated clock with
// the event script: a trap switched STOP remembers its event until ON, one
// switched OFF loses it; a trap due during a handler of another runs inside
// it; MOUSE() gives the click.
TEST(EventPrograms, TrapsRunBetweenStatements) {
    REQUIRE_RUNNER();
    const std::string options =
        "--clock '2026-12-11 12:00:00' --events " + Q(EventsDir() + "/traps.events");
    // The second time ON ERROR GOTO makes the check between statements the
    // one that also keeps the resume points.
    for (const char *first : {"", "ON ERROR GOTO 0\n"}) {
        SCOPED_TRACE(first);
        const Outcome r = RunGraphics("TRAPS", first + Slurp(EventsDir() + "/traps.bas"), {}, options);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, Slurp(EventsDir() + "/traps.out"));
        EXPECT_NE(r.trace.find(*first ? "$PbCheckAll" : "$PbCheckTrapMsg"), std::string::npos);
    }
}

// A trap set in the main module waits while a procedure runs (its label
// is no place to jump to from the procedure's frame) and runs after it.
TEST(EventPrograms, TrapsWaitForTheirActivation) {
    REQUIRE_RUNNER();
    const Outcome r = RunGraphics("EVSUB", "DECLARE SUB WORK()\nON INTERVAL GOSUB *TICK\nINTERVAL 10\n"
                                           "INTERVAL ON\nCALL WORK\nPRINT \"back\"\nEND\n*TICK\nPRINT \"tick\"\n"
                                           "RETURN\nSUB WORK\n  FOR I% = 1 TO 2\n    WAIT 20\n"
                                           "    PRINT \"work\"; I%\n  NEXT\nEND SUB\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "work 1 \nwork 2 \ntick\nback\n");
}

// The argument words of the event statements.
TEST(EventPrograms, CallTraceOfTheEventStatements) {
    REQUIRE_RUNNER();
    const struct {
        const char *line;
        const char *call;
    } table[] = {
        {"ON INTERVAL GOSUB *T", "_$PsON_INTERVAL_GOSUB@4 *"},
        {"INTERVAL 20", "_$PsINTERVAL@4 20"},
        {"INTERVAL STOP", "_$PsINTERVAL_ON_OFF_STOP@4 2"},
        {"ON TIME GOSUB *T", "_$PsON_TIME_GOSUB@4 *"},
        {"TIME = \"10:11:12\"", "_$PsTIME@0"},
        {"TIME OFF", "_$PsTIME_ON_OFF_STOP@4 0"},
        {"ON KEY(2) GOSUB *T", "_$PsON_KEY_GOSUB@8 2 *"},
        {"KEY 2, \"ab\"", "_$PsKEY@4 2"},
        {"KEY(2) ON", "_$PsKEY_ON_OFF_STOP@8 2 1"},
        {"ON COM(1) GOSUB *T", "_$PsON_COM_GOSUB@8 1 *"},
        {"COM(1) STOP", "_$PsCOM_ON_OFF_STOP@8 1 2"},
        {"ON MOUSE(2) GOSUB *T", "_$PsON_MOUSE_GOSUB@8 2 *"},
        {"MOUSE(2) ON", "_$PsMOUSE_ON_OFF_STOP@8 2 1"},
        {"MOUSE OFF", "_$PsMOUSE_ON_OFF_STOP@8 0 0"},
        {"STOP ON", "_$PsSTOP_ON_OFF@4 1"},
        {"BAUD 1, 2400", "_$PsBAUD@8 1 2400"},
        {"N% = MOUSE(0) + MOUSE(2, 1)", "_$PfMOUSE1@8 0 0"},
    };
    std::string source;
    for (const auto &t : table)
        source += std::string(t.line) + "\n";
    source += "END\n*T\nRETURN\n";
    const Outcome r = RunGraphics("EVTRACE", source);
    ASSERT_EQ(r.status, 0) << r.err;
    auto byLine = CallsByLine(r.trace);
    for (size_t i = 0; i < std::size(table); ++i) {
        SCOPED_TRACE(table[i].line);
        const auto &calls = byLine[int(i) + 1];
        ASSERT_FALSE(calls.empty());
        EXPECT_TRUE(CallMatches(table[i].call, calls.front())) << calls.front();
    }
    EXPECT_NE(r.trace.find("_$PfMOUSE2@12 0 2 1"), std::string::npos);
}

} // namespace
} // namespace txcg::test
