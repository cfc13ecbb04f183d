// Add a text at the start or the end of a name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "transforms/path_style.h"

namespace vb {

std::optional<std::string> addAtStart(std::string_view name, std::string_view text);
// Between base name and extension; skipped when the base name is empty (".profile").
std::optional<std::string> addAtEndOfFile(std::string_view name, std::string_view text,
                                          const PathStyle& paths);
std::optional<std::string> addAtEndOfFolder(std::string_view name, std::string_view text);

}  // namespace vb
