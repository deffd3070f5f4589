#pragma once

#include <string>
#include <string_view>

// The help text of the whole tool.
std::string ToolUsage();

// The help text of the command `name`, or that of the whole tool for an
// unknown one.
std::string CommandUsage(std::string_view name);
