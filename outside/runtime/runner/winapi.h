// The Windows functions a program's runtime imports (KERNEL32, USER32),
// answered by the host: every import of a loaded image is bound to a stub
// the machine runs in C++ when the program calls it, with the behaviour
// Windows documents, over the machine's files, console, clock, events,
// SHELL table, printer, module images and the debugger's shared block.
#pragma once

#include <string>

#include "machine.h"

namespace tx::runner {

struct WinApi {
    // Maps the stubs' page and hooks it; once per machine.
    static bool Install(Machine& m, std::string& error);
    // Before a run or step: a stub call that stopped the last run returns.
    static void Resume(Machine& m);
    // Fills the image's import address table with the stubs; false naming
    // the first import the host does not provide.
    static bool Bind(Machine& m, const PeImage& image, std::string& error);
};

} // namespace tx::runner
