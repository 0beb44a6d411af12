// The resource compiler of the round-trip tests: our own RC.
#pragma once

#include <string>

namespace dsg::test {

// True when the RC program has been built.
bool HaveScriptCompiler();
// Compiles a script (in its own folder, with tq70form.h on the include
// path) into a compiled resource file; `log` gets the compiler's output.
bool CompileScript(const std::string &rcPath, const std::string &resPath, std::string &log);

}  // namespace dsg::test
