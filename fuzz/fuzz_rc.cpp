// A resource script through our RC: the preprocessor, the statements and
// the .res writer. The input is the script; "tq70form.h" is the designer's
// header, any other #include reads the script again (the preprocessor must
// stop the recursion), and ICON, BITMAP and CURSOR files are the script too;
// a name ending in ".DIR" is a folder.
#include <fstream>
#include <iterator>

#include "fuzz_files.h"
#include "rc_compile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string form_header = [] {
        std::ifstream f(TX_FORM_HEADER, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }();
    std::string script(reinterpret_cast<const char *>(data), size);
    rc::CompileOptions options;
    options.script = "FUZZ.RC";
    options.include_path = "INC";
    options.read = [&](const std::string &path) -> std::optional<std::string> {
        if (path.size() >= 10 && path.compare(path.size() - 10, 10, "tq70form.h") == 0)
            return form_header;
        // A name ending in ".DIR" stands for a folder where a file is wanted.
        if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".DIR") == 0)
            throw rc::ReadRefused{path + " is a folder or a device, not a file"};
        return script;
    };
    try {
        rc::WriteResFile(rc::CompileScript(options));
    } catch (const rc::RcError &) {
    }
    return 0;
}
