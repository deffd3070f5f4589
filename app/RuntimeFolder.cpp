#include "RuntimeFolder.h"

#include "InstallLayout.h"

std::filesystem::path FindRuntimeFolder(const std::filesystem::path& programFolder) {
    std::error_code error;
    const std::filesystem::path beside = programFolder / "res";
    if (std::filesystem::is_directory(beside, error))
        return beside;
    return (programFolder / install_layout::kDataFromBin).lexically_normal();
}
