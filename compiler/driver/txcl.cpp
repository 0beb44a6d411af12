#include "passes.h"

int main() {
    CmpFilParam p{};
    return PP_CmpFil(&p) == 1 && SC_CmpFil(&p) == 1 && CG_CmpFil(&p) == 1 ? 0 : -1;
}
