#include "driver.h"
#include "passes.h"

namespace txcl {

PassSet RealPasses() {
    return PassSet{{{
        {"Txpp.dll", PP_CmpFil},
        {"Txsc.dll", SC_CmpFil},
        {"Txcg.dll", CG_CmpFil},
    }}};
}

}  // namespace txcl

int main(int argc, char **argv) {
    txcl::Console console;
    return txcl::TxclMain(argc, argv, txcl::RealPasses(), console);
}
