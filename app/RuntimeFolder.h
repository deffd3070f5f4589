#pragma once

#include <filesystem>

// The folder of the run-time files (skin, splash, help page, icon) for a
// program whose executable lies in `programFolder`: "res" beside it when it
// runs from its build tree, else the installed data folder relative to it
// (../share/veilnote for an installed bin/veilnote).
std::filesystem::path FindRuntimeFolder(const std::filesystem::path& programFolder);
