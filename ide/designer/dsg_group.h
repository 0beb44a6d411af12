// Groups of controls, the tab-order exchange rule and the arrangement
// range: the rules on a form's control table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dsg_model.h"

namespace dsg {

// A group: its members' window keys in table order.
using Group = std::vector<uint32_t>;

// Makes the selected controls (window keys, selection order, at least two)
// one group: they follow one another in table order from the place of the
// first of them in table order; the first member gets WS_GROUP and CA_GROUP,
// the last CA_END, the control after it WS_GROUP. False when fewer than two
// are controls of the form.
bool GrpMake(Form &form, const std::vector<uint32_t> &selection);
// Undoes a group's marks (the control after it keeps WS_GROUP when it
// starts a group of its own).
void GrpDissolve(Form &form, const Group &group, const std::vector<Group> &others);
// The groups of a loaded form, from the records' marks.
std::vector<Group> GrpRebuild(const Form &form);
// The index of the group holding a control, -1 when none.
int GrpFindOfControl(const std::vector<Group> &groups, uint32_t window);

// The tab-order dialog's exchange: moving a row up is refused when it
// starts a group (WS_GROUP), moving it down when the row below does.
bool TabOrderMayMove(const std::vector<uint32_t> &rowStyles, size_t row, bool up);

// The spacing range of a map mode (2-6; modes 0 and 1 come converted
// from twips by the caller) and the message that names it.
struct GridRange {
    int32_t minimum, maximum, standard;
};
GridRange ArrangeRange(uint32_t mapMode);
std::string ArrangeRangeMessage(const GridRange &r);  // Shift-JIS
// The values the arrangement's standard button puts in: the form's own
// map mode's default (the table has no row past mode 6).
GridRange ArrangeStandard(uint32_t mapMode, const GridRange &pixelModes);

}  // namespace dsg
