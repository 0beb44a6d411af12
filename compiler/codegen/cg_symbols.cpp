#include "cg_symbols.h"

#include <string>

#include "cg_emit.h"
#include "cg_object.h"

namespace txcg {

namespace {

uint32_t DefineFunctionOfClass(CgState &st, std::string_view name, uint32_t offset,
                               uint8_t storageClass) {
    const uint8_t aux = st.opt.debugInfo ? 1 : 0;
    return AddSymbol(st, name, offset, int16_t(st.sec[kSecText].number), kSymTypeFunction,
                     storageClass, aux);
}

} // namespace

uint32_t DefineFunction(CgState &st, std::string_view name, uint32_t offset) {
    return DefineFunctionOfClass(st, name, offset, kClassExternal);
}

uint32_t DefineStaticFunction(CgState &st, std::string_view name, uint32_t offset) {
    return DefineFunctionOfClass(st, name, offset, kClassStatic);
}

uint32_t DefinePublicData(CgState &st, std::string_view name, SectionId sec) {
    return AddSymbol(st, name, 0, int16_t(st.sec[sec].number), kSymTypeNone, kClassExternal, 0);
}

uint32_t RefRuntimeSymbol(CgState &st, std::string_view name) {
    auto &recent = st.runtimeRecent[(uintptr_t(name.data()) >> 3) % st.runtimeRecent.size()];
    if (recent && recent->first == name)
        return recent->second;
    auto found = st.runtimeSymbols.find(name);
    if (found != st.runtimeSymbols.end()) {
        recent = &*found;
        return found->second;
    }
    uint32_t index = AddSymbol(st, name, 0, kSymUndefined, kSymTypeNone, kClassExternal, 0);
    recent = &*st.runtimeSymbols.emplace(std::string(name), index).first;
    return index;
}

void AddExportDirective(CgState &st, std::string_view name) {
    std::string text = "-export:";
    const std::string_view rest = name.empty() ? name : name.substr(1);
    if (rest.starts_with("TX$") || rest.starts_with("TV$")) {
        // "_TX$Name@8" is exported as "TX$Name", bound to the decorated name.
        std::string_view alias = rest.substr(0, rest.rfind('@'));
        text.append(alias).append("=").append(name);
    } else {
        text.append(name);
    }
    text += ' ';
    auto &d = st.sec[kSecDrectve].image;
    d.insert(d.end(), text.begin(), text.end());
}

void AddLineMark(CgState &st, uint32_t symbol) {
    if (st.opt.debugInfo)
        st.sec[kSecText].lines.push_back(LineEntry{symbol, 0});
}

void AddLineEntry(CgState &st, uint16_t line) {
    if (st.opt.debugInfo)
        st.sec[kSecText].lines.push_back(LineEntry{CurrentCodeOffset(st), line});
}

// The debugger starts each routine by pointing the stopped thread at it and
// takes control back at the int3 after each call; none of them returns.
void GenDebugEntries(CgState &st) {
    DefineFunction(st, "$BAS_DBGINIT", CurrentCodeOffset(st));
    EmitCallRuntime(st, "_$PdDbgGetMmfNameAdr@0");
    EmitBreakpoint(st);
    EmitCallRuntime(st, "_$PdDbgInit@0");
    EmitBreakpoint(st);

    DefineFunction(st, "$BAS_DBGVALUECALC", CurrentCodeOffset(st));
    EmitCallRuntime(st, "_$PdDbgValueCalc@0");
    EmitBreakpoint(st);

    DefineFunction(st, "$BAS_DBGREDRAW", CurrentCodeOffset(st));
    EmitPushReg(st, kEax);
    EmitCallRuntime(st, "_$PdDbgRedraw@4");
    EmitBreakpoint(st);

    DefineFunction(st, "$BAS_DBGEND", CurrentCodeOffset(st));
    EmitPushImm(st, 1);
    EmitCallRuntime(st, "_$PdDbgEnd@4");
    EmitBreakpoint(st);
}

} // namespace txcg
