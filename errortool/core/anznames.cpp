// The runtime's routine ids and names. Only the rows we know are here; any
// other id is an unknown routine. Ids repeat: the first row wins.
#include "anzrecord.h"

namespace anz {

namespace {

struct RoutineRow {
    uint32_t id;
    const char* name;
};

constexpr RoutineRow kRoutineNames[] = {
    {0x000001, "$PbStVarBcd"},
    {0x000002, "$PsDEF_BCD"},
    {0x00004F, "$PsLINE_INPUTs"},
    {0x00004F, "$PsLINE_INPUT23s"},
    {0x0000C5, "$PbPushStrStk"},
    {0x0000C5, "$PbMakeTmpStr"},
    {0x000107, "$PsLPRINT_TYPE"},
    {0x200001, "TX$CVD2"},
    {0x300001, "TX$INTERNETSTART"},
    {0x300052, "TX$JPEG2BMP"},
    {0x700100, "TV$FILE_OCBCDOC"},
    {0x800001, "TV$ADDSTRING"},
    {0x8000FF, "TV$SETUPPRINTERMODE"},
    {0xC00001, "TX$CHDIR"},
};

}  // namespace

const char* FindRoutineName(uint32_t id) {
    for (const RoutineRow& row : kRoutineNames) {
        if (row.id == id)
            return row.name;
    }
    return nullptr;
}

}  // namespace anz
