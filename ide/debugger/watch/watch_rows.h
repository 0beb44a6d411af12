// The rows of the watch window: a main row per watch, and for an expanded
// watch its type row and dump rows right after it. The window's list box
// mirrors these rows; the rules live here so they run without a window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "watch_block.h"

namespace txwatch {

class WatchRows {
public:
  using Lookup = std::function<WatchVar*(uint32_t number)>;

  explicit WatchRows(ErrorTextFn errorText) : errorText_(std::move(errorText)) {}

  // Appends the watch's main row, expanded at once when its hexadecimal
  // flag is set. Returns the main row's index.
  size_t Add(WatchVar& var);
  // A double click or an icon click on a row: only a main row without an
  // error toggles. True when the rows changed.
  bool Toggle(size_t index, WatchVar& var);
  // After every evaluation: values and error flags renewed, the dumps of
  // expanded watches rebuilt. A watch that is gone ends the walk.
  void Refresh(const Lookup& lookup);
  // Every row of the watch.
  void Remove(uint32_t number);

  const std::vector<WatchRow>& Rows() const { return rows_; }
  // A line closes each watch's block: under a collapsed main row and
  // under the row marked "Done".
  static bool ClosesBlock(const WatchRow& row);

private:
  void Expand(size_t index, WatchVar& var);
  void Collapse(size_t index);

  ErrorTextFn errorText_;
  std::vector<WatchRow> rows_;
};

}  // namespace txwatch
