// What the runtime leaves in the registry when a program stops on a BASIC
// error or an exception: the values of HKCU "...\RUNTIME\ERROR", written as
// a registry file (REGEDIT4) that can be imported or read back.
#pragma once

#include <ctime>
#include <string>

#include "machine.h"

namespace tx::runner {

// The record of a stop: the error block (MODL .. RTL) for a BASIC error,
// the exception block (XMODL .. XCODE) for a fault; empty for any other
// stop. when gives TIME ("YYYY/MM/DD hh:mm:ss", local time).
std::string ErrorRecordFile(const Stop& stop, const std::string& module, std::time_t when);

// The platform's exception code of a fault: access violation, integer
// division by zero, illegal or privileged instruction.
uint32_t FaultExceptionCode(const Stop& stop);

} // namespace tx::runner
