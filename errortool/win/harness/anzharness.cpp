// A test build of TXANZ60 that plays one scenario against the record that
// anz_scenario.sh seeded with reg add: it drives the tool with commands
// from timers inside its own message loop, answers every box and file
// dialog, prints on a recording device, and prints one line per check and
// a last "RESULT PASS" or "RESULT FAIL" for CTest.
//
//   TXANZ60_TEST.EXE /scenario:<nokey|complete|damaged|nolibrary>
#include "anz.h"

#include "anztexts.h"
#include "fwprint.h"
#include "fwscenario.h"
#include "resource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

std::string g_scenario;

using fwtest::Check;
using fwtest::Hex;

// ---- boxes and file dialogs -------------------------------------------------

struct BoxSeen {
    std::string text, caption;
    bool stopIcon, questionIcon;
};
std::vector<BoxSeen> g_boxes;
std::deque<int> g_answers;        // buttons for the next boxes; IDOK when empty
std::deque<std::string> g_files;  // names for the next file dialogs
std::set<HWND> g_handled;

// The box's icon: the static control of icon style it holds.
bool HasIcon(HWND box, LPCSTR which) {
    HICON want = LoadIconA(nullptr, which);
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            reinterpret_cast<HICON>(SendMessageA(c, STM_GETICON, 0, 0)) == want)
            return true;
    }
    return false;
}

std::string BoxText(HWND box) {
    std::string best;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32];
        GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0)
            continue;
        char t[1024];
        int n = GetWindowTextA(c, t, sizeof t);
        if (n > static_cast<int>(best.size()))
            best.assign(t, n);
    }
    return best;
}

BOOL CALLBACK ScanWindow(HWND h, LPARAM) {
    char cls[32];
    GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(h) || g_handled.count(h))
        return TRUE;
    g_handled.insert(h);
    char caption[256] = {};
    GetWindowTextA(h, caption, sizeof caption);
    // The file dialogs: the name box is cmb13 (explorer style) or edt1.
    HWND name = GetDlgItem(h, 1148);
    if (!name)
        name = GetDlgItem(h, 1152);
    if (name) {
        std::string file = g_files.empty() ? std::string() : g_files.front();
        if (!g_files.empty())
            g_files.pop_front();
        std::printf("     file dialog \"%s\" given \"%s\"\n", Hex(caption).c_str(), file.c_str());
        if (file.empty()) {
            PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
        } else {
            SetWindowTextA(name, file.c_str());
            PostMessageA(h, WM_COMMAND, IDOK, 0);
        }
        return TRUE;
    }
    g_boxes.push_back({BoxText(h), caption, HasIcon(h, IDI_HAND), HasIcon(h, IDI_QUESTION)});
    int answer = IDOK;
    if (!g_answers.empty()) {
        answer = g_answers.front();
        g_answers.pop_front();
    }
    std::printf("     box \"%s\" answered %d\n", Hex(g_boxes.back().text).c_str(), answer);
    PostMessageA(h, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    return TRUE;
}

void CALLBACK ScanTimer(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), ScanWindow, 0);
}

// ---- the tool -----------------------------------------------------------------

std::vector<std::string> g_printLog;

CTxeanyzrDoc* Doc() {
    auto* frame = static_cast<CFrameWnd*>(FwGetApp()->m_pMainWnd);
    return frame ? static_cast<CTxeanyzrDoc*>(frame->GetActiveDocument()) : nullptr;
}

std::string ViewText() { return Doc()->GetView()->GetText(); }

std::string Title() {
    char t[1024] = {};
    GetWindowTextA(FwGetApp()->m_pMainWnd->m_hWnd, t, sizeof t);
    return t;
}

void Command(UINT id) { SendMessageA(FwGetApp()->m_pMainWnd->m_hWnd, WM_COMMAND, id, 0); }

// A command whose boxes are answered in turn; the boxes it showed.
std::vector<BoxSeen> CommandWithBoxes(UINT id, std::initializer_list<int> answers) {
    g_answers.assign(answers);
    size_t before = g_boxes.size();
    Command(id);
    return std::vector<BoxSeen>(g_boxes.begin() + static_cast<long>(before), g_boxes.end());
}

bool Contains(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

std::string TempPath(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    return std::string(dir) + "txanz-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

std::string FileBytes(const std::string& path) { return anz::ReadReportFile(path).value_or("<none>"); }

void CheckNoRecordBox(const std::vector<BoxSeen>& boxes, const char* name) {
    bool ok = boxes.size() == 1 && boxes[0].text == anz::text::kNoRecord &&
              boxes[0].caption == anz::text::kCaption && boxes[0].stopIcon;
    Check(ok, name, boxes.empty() ? "no box" : Hex(boxes[0].caption) + " stop " + std::to_string(boxes[0].stopIcon));
}

const char kCompleteReport[] =
    "エラー発生時の状況\r\n"
    "\r\n"
    "モジュール名\t= MAIN.BAS\r\n"
    "行番号\t\t= 120\r\n"
    "エラーコード\t= (11)０で割ることはできません\r\n"
    "内部関数名\t= (4f)$PsLINE_INPUTs\r\n"
    "補足情報値\t= -1\r\n"
    "時刻\t\t= 2026/12/11 01:02:03\r\n"
    "APIエラー\t= 0\r\n"
    "付加情報\t= \r\n"
    "実行形式\t= EXE\r\n"
    "バージョン\t= 6.30\r\n"
    "\r\n"
    "例外発生時の状況\r\n"
    "\r\n"
    "最後に実行したモジュール\t= SUB1.SUB\r\n"
    "最後に実行した行\t\t= 7\r\n"
    "実行形式\t\t\t= EXE\r\n"
    "バージョン\t\t\t= 6.30\r\n"
    "例外発生アドレス\t\t= 401a2c\r\n"
    "例外コード\t\t\t= c0000094\r\n";

const char kUntitled[] = "無題 - Tambrix エラー解析ツール";

std::optional<std::string> RecordString(const char* name) {
    fw::Win32RegStore reg;
    return reg.ReadString(fw::RegRoot::CurrentUser, anz::kRecordKey, name, 1024);
}
std::optional<uint32_t> RecordDword(const char* name) {
    fw::Win32RegStore reg;
    return reg.ReadDword(fw::RegRoot::CurrentUser, anz::kRecordKey, name);
}

void Close(std::initializer_list<int> answers) {
    g_answers.assign(answers);
    PostMessageA(FwGetApp()->m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
}

void RunNoKey() {
    Check(Title() == kUntitled, "untitled title at the start", Hex(Title()));
    CheckNoRecordBox(CommandWithBoxes(ID_REG_READ, {}), "read without a key: the stop box");
    Check(ViewText().empty(), "the report stays empty");
    CheckNoRecordBox(CommandWithBoxes(ID_REG_CLEAR, {}), "clear without a key: the stop box");
    Close({});
}

void RunComplete() {
    Check(Title() == kUntitled, "untitled title at the start", Hex(Title()));
    auto boxes = CommandWithBoxes(ID_REG_READ, {});
    bool same = boxes.empty() && ViewText() == kCompleteReport;
    Check(same, "the report of a complete record", same ? "" : Hex(ViewText()));

    boxes = CommandWithBoxes(ID_REG_READ, {IDCANCEL});
    Check(boxes.size() == 1 && boxes[0].text ==
              "ファイル 無題の内容が変更されています。\n\n変更を保存しますか？" &&
              boxes[0].questionIcon && boxes[0].caption == anz::text::kCaption,
          "reading twice asks to save the untitled report");
    Check(ViewText() == kCompleteReport, "Cancel keeps the report");

    Command(FW_ID_FILE_PRINT);
    int lines = 0;
    for (const auto& e : g_printLog)
        lines += e.rfind("Line ", 0) == 0;
    Check(g_printLog.size() > 3 && g_printLog.front() == "StartDoc " + std::string(kUntitled) &&
              g_printLog[1] == "StartPage" && g_printLog.back() == "EndDoc" && lines == 21,
          "printing puts the 21 lines on the recording device", std::to_string(g_printLog.size()));
    Check(std::find(g_printLog.begin(), g_printLog.end(), "Line 2 モジュール名    = MAIN.BAS") !=
              g_printLog.end(),
          "printed lines have their tabs expanded");

    std::string path = TempPath("report.txt");
    g_files.assign({path});
    Command(FW_ID_FILE_SAVE_AS);
    Check(FileBytes(path) == kCompleteReport, "Save As writes the report byte for byte");
    Check(Title() == path + " - Tambrix エラー解析ツール", "the title names the file", Hex(Title()));

    boxes = CommandWithBoxes(ID_REG_CLEAR, {IDYES});
    Check(boxes.size() == 1 && boxes[0].text == anz::text::kAskClear && boxes[0].questionIcon,
          "clear asks first");
    bool cleared = true;
    for (const anz::RecordValue& v : anz::kRecordValues) {
        if (v.type == fw::RegType::Sz)
            cleared = cleared && RecordString(v.name) == "";
        else
            cleared = cleared && RecordDword(v.name) == 0u;
    }
    Check(cleared, "clear writes all 16 values");
    Check(ViewText() == kCompleteReport, "clear leaves the report");

    boxes = CommandWithBoxes(ID_REG_READ, {});
    Check(boxes.empty() && Contains(ViewText(), "例外コード\t\t\t= 0\r\n") &&
              Contains(ViewText(), "モジュール名\t= \r\n") && Title() == kUntitled,
          "reading after the save and the clear: zeros, untitled");
    std::remove(path.c_str());
    Close({IDNO});
}

void RunDamaged() {
    CommandWithBoxes(ID_REG_READ, {});
    std::string v = ViewText();
    Check(Contains(v, "\r\nモジュール名\t= \r\n"), "a text too long shows its label alone");
    Check(Contains(v, "\r\n行番号\t\t= \r\n"), "a two-byte number shows its label alone");
    Check(Contains(v, "\r\nエラーコード\t= (300)\r\n"), "a code without a message string");
    Check(Contains(v, "\r\n内部関数名\t= (c5)$PbPushStrStk\r\n"), "the first row of a repeated id");
    Check(Contains(v, "\r\n例外発生アドレス\t\t= \r\n"), "a missing address shows its label alone");
    Check(Contains(v, "\r\n例外コード\t\t\t= c0000005\r\n"), "the exception code in hex");
    CheckNoRecordBox(CommandWithBoxes(ID_REG_CLEAR, {}), "an incomplete record is not cleared");
    Check(RecordDword("CODE") == 300u, "the record stays");

    std::string gone = TempPath("gone.txt");
    g_files.assign({gone});
    auto boxes = CommandWithBoxes(FW_ID_FILE_OPEN, {IDNO, IDOK});
    Check(boxes.size() == 2 && ViewText() == v && Title() == kUntitled,
          "a failed open leaves the report and the title");

    std::string path = TempPath("saved.txt");
    std::string bytes = "a\tb\r\nﾃｽﾄ\r\n";
    anz::WriteReportFile(path, bytes);
    g_files.assign({path});
    boxes = CommandWithBoxes(FW_ID_FILE_OPEN, {IDNO});
    Check(boxes.size() == 1 && ViewText() == bytes &&
              Title() == path + " - Tambrix エラー解析ツール",
          "open shows the file and names it in the title");
    std::remove(path.c_str());
    Close({});
}

void RunNoLibrary() {
    CommandWithBoxes(ID_REG_READ, {});
    Check(Contains(ViewText(), "\r\nエラーコード\t= (11)?\r\n"), "no library gives ?");
    Close({IDNO});
}

class CAnzTestApp : public CTxeanyzrApp {
public:
    bool InitInstance() override {
        fw::SetPrintDeviceSource([](CWnd*, bool) {
            g_printLog.clear();
            return std::make_unique<CRecordingPrintDevice>(80, 60, &g_printLog);
        });
        SetTimer(nullptr, 0, 50, ScanTimer);
        if (!CTxeanyzrApp::InitInstance())
            return false;
        SetTimer(nullptr, 0, 200, StepTimer);
        return true;
    }

private:
    static void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (g_scenario == "nokey")
            RunNoKey();
        else if (g_scenario == "complete")
            RunComplete();
        else if (g_scenario == "damaged")
            RunDamaged();
        else if (g_scenario == "nolibrary")
            RunNoLibrary();
        else
            Check(false, "known scenario", g_scenario);
    }
};

CAnzTestApp theApp;

}  // namespace

int main() {
    const char* cmd = GetCommandLineA();
    if (const char* s = std::strstr(cmd, "/scenario:")) {
        s += 10;
        while (*s && *s != ' ' && *s != '"')
            g_scenario += *s++;
    }
    std::printf("scenario %s\n", g_scenario.c_str());
    int rc = FwWinMain(GetModuleHandleA(nullptr), SW_SHOW);
    Check(rc == 0, "the tool ends normally", std::to_string(rc));
    return fwtest::Result();
}
