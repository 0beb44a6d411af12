#include "errrecord.h"

#include <algorithm>
#include <cstdio>

#include "../../../compiler/common/txversion.h"

namespace tx::runner {

namespace {

constexpr char kKey[] = "HKEY_CURRENT_USER\\Software\\Veltran\\Tambrix V6.3\\RUNTIME\\ERROR";
// The runtime subset runs programs as console images.
constexpr char kMode[] = "EXE";
constexpr char kRuntime[] = TX_STR(TX_VERSION_MAJOR) "." TX_STR(TX_VERSION_MINOR) "." TX_STR(TX_VERSION_LEVEL);

std::string Quoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

// A string value; one holding a control character (a line end would start
// a line of its own) is written as its bytes, hex(1), ending with the zero.
std::string Sz(const char* name, const std::string& value) {
    const bool plain = std::none_of(value.begin(), value.end(), [](char c) { return (unsigned char)c < 0x20 || c == 0x7F; });
    if (plain) return std::string("\"") + name + "\"=" + Quoted(value) + "\r\n";
    std::string out = std::string("\"") + name + "\"=hex(1):";
    char buf[4];
    for (char c : value) {
        std::snprintf(buf, sizeof buf, "%02x,", (unsigned char)c);
        out += buf;
    }
    return out + "00\r\n";
}

std::string Dword(const char* name, uint32_t value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "\"%s\"=dword:%08x\r\n", name, value);
    return buf;
}

} // namespace

uint32_t FaultExceptionCode(const Stop& stop) {
    const std::string& d = stop.detail;
    if (d.find("(exception 0)") != std::string::npos) return 0xC0000094;
    if (d.find("(exception 6)") != std::string::npos || d == "invalid instruction") return 0xC000001D;
    if (d == "hlt instruction") return 0xC0000096;
    return 0xC0000005;
}

std::string ErrorRecordFile(const Stop& stop, const std::string& module, std::time_t when) {
    if (stop.kind != StopKind::RuntimeError && stop.kind != StopKind::Fault) return std::string();
    std::string out = "REGEDIT4\r\n\r\n[" + std::string(kKey) + "]\r\n";
    if (stop.kind == StopKind::RuntimeError) {
        char time[32] = {};
        std::tm tm{};
        localtime_r(&when, &tm);
        std::strftime(time, sizeof time, "%Y/%m/%d %H:%M:%S", &tm);
        out += Sz("MODL", module);
        out += Dword("LINE", stop.line);
        out += Dword("CODE", uint32_t(stop.basicError));
        // The subset's routines carry no routine ids.
        out += Dword("FUNC", 0);
        out += Dword("INFO", 0);
        out += Sz("TIME", time);
        out += Dword("APIERR", 0);
        out += Sz("EXPI", "");
        out += Sz("MODE", kMode);
        out += Sz("RTL", kRuntime);
    } else {
        out += Sz("XMODL", module);
        out += Dword("XLINE", stop.line);
        out += Sz("XMODE", kMode);
        out += Sz("XRTL", kRuntime);
        out += Dword("XADDR", stop.address);
        out += Dword("XCODE", FaultExceptionCode(stop));
    }
    return out;
}

} // namespace tx::runner
