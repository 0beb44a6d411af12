#include "watch_rows.h"

#include <string>

namespace txwatch {

size_t WatchRows::Add(WatchVar& var) {
  rows_.push_back(MainRow(var, errorText_));
  size_t at = rows_.size() - 1;
  rows_[at].expanded = false;
  if (var.hex) Expand(at, var);
  return at;
}

void WatchRows::Expand(size_t index, WatchVar& var) {
  Collapse(index);
  if (rows_[index].error) return;
  std::vector<WatchRow> dump = BuildDumpRows(var.number, var.type, var.size, var.value);
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(index + 1), dump.begin(), dump.end());
  rows_[index].expanded = true;
  var.hex = true;
}

void WatchRows::Collapse(size_t index) {
  size_t end = index + 1;
  while (end < rows_.size() && rows_[end].number == rows_[index].number && rows_[end].dumpIndex != 0) ++end;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index + 1), rows_.begin() + static_cast<std::ptrdiff_t>(end));
  rows_[index].expanded = false;
}

bool WatchRows::Toggle(size_t index, WatchVar& var) {
  if (index >= rows_.size() || rows_[index].dumpIndex != 0 || rows_[index].error) return false;
  if (rows_[index].expanded) {
    Collapse(index);
    var.hex = false;
  } else {
    Expand(index, var);
  }
  return true;
}

void WatchRows::Refresh(const Lookup& lookup) {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].dumpIndex != 0) continue;
    WatchVar* var = lookup(rows_[i].number);
    if (!var) break;
    WatchRow fresh = MainRow(*var, errorText_);
    rows_[i].text = fresh.text;
    rows_[i].error = fresh.error;
    // An expanded watch keeps its expansion through an error value and
    // shows its dump again once the value is back.
    if (var->hex && !fresh.error)
      Expand(i, *var);
    else
      Collapse(i);
  }
}

void WatchRows::Remove(uint32_t number) {
  std::erase_if(rows_, [number](const WatchRow& r) { return r.number == number; });
}

bool WatchRows::ClosesBlock(const WatchRow& row) {
  return (row.dumpIndex == 0 && !row.expanded) || row.expression == kDumpDoneMarker;
}

}  // namespace txwatch
