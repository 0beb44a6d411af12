#include <cstdarg>
#include <cstdio>

#include "driver.h"

namespace txcl {

// On Windows standard output stays in text mode, so each "\n" reaches the
// file or pipe as CR LF: what Windows users, their editors and the IDE's
// build-output reader expect of a console tool. The native build writes LF.
// The bytes between the line ends are the same on both.
void Console::Write(std::string_view bytes) {
    if (capture_)
        capture_->append(bytes);
    else
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void Console::Printf(const char *format, ...) {
    char buf[512];
    va_list ap;
    va_start(ap, format);
    int n = std::vsnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    if (n < 0)
        return;
    if (static_cast<std::size_t>(n) < sizeof buf) {
        Write(std::string_view(buf, n));
        return;
    }
    std::string big(n + 1, '\0');
    va_start(ap, format);
    std::vsnprintf(big.data(), big.size(), format, ap);
    va_end(ap);
    big.resize(n);
    Write(big);
}

void Console::Flush() {
    if (!capture_)
        std::fflush(stdout);
}

}  // namespace txcl
