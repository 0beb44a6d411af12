// Icon, cursor and bitmap files as resources.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rc {

// An .ico (icon) or .cur (cursor) file: one image resource per image, the
// images numbered from `first_id`, and the group resource that lists them.
bool IconResources(const std::string &file, bool icon, std::uint16_t first_id,
                   std::vector<std::string> &images, std::string &group, std::string &problem);

// A .bmp file: the bitmap without its file header.
bool BitmapResource(const std::string &file, std::string &dib, std::string &problem);

}  // namespace rc
