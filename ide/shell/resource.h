// Every resource, command and message id of TAMBRIX, for the resource
// script and the shell: the shell's own, and the ids the project, designer
// and debugger windows name in their folders' headers.
#pragma once

#include "shellids.h"
#include "prjids.h"
#include "dsgids.h"
#include "dbgids.h"
