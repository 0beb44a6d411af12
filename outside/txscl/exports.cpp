#include "linecheck.h"
#include "tokens.h"
#include "txscl.h"

#include <atomic>

namespace {

std::atomic<int> g_calls{0};
// The record a fault of our own leaves the caller's pointer on.
thread_local unsigned char g_record[4];

}  // namespace

extern "C" TX_PASS_EXPORT int SC_EdtChk(const char *options, char *text, unsigned char **tokens) {
    ++g_calls;
    (void)options;  // "/MW" is the one form the editor sends
    g_record[0] = tok::kClsError;
    g_record[1] = tok::kErrSyntax;
    g_record[2] = g_record[3] = 0;
    if (!text || !tokens || !*tokens) {
        if (tokens)
            *tokens = g_record;
        return tok::kErrSyntax;
    }
    try {
        scl::Fault f = scl::CheckLine(text, *tokens);
        if (f.word == 0)
            return 0;
        g_record[1] = static_cast<unsigned char>(f.word);
        g_record[2] = f.column;
        g_record[3] = f.length;
        *tokens = g_record;
        return f.word;
    } catch (...) {
        *tokens = g_record;
        return tok::kErrSyntax;
    }
}

extern "C" TX_PASS_EXPORT int SC_EdtChkCount(void) { return g_calls; }
