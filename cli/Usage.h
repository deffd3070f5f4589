#pragma once

#include <string_view>

// The help text of the whole tool.
std::string_view ToolUsage();

// The help text of one command, or that of the whole tool for an unknown one.
std::string_view CommandUsage(std::string_view command);
