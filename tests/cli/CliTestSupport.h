#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "Errors.h"

// A fresh directory, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir() {
        std::string name = (std::filesystem::temp_directory_path() / "veilnote-XXXXXX").string();
        m_path = ::mkdtemp(name.data());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    std::string operator/(const std::string& name) const { return (m_path / name).string(); }
    std::string Path() const { return m_path.string(); }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path m_path;
};

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An uncompressed 24-bit bitmap file; its pixel bytes are `fill`, or a
// varied pattern when `fill` is negative.
inline std::string MakeBitmap(std::uint32_t width, std::uint32_t height, int fill = -1) {
    const std::uint32_t pixelBytes = (width * 3 + 3) / 4 * 4 * height;
    std::string bmp = "BM";
    const auto put = [&bmp](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            bmp.push_back(static_cast<char>(value >> (8 * i)));
        }
    };
    put(54 + pixelBytes, 4), put(0, 4), put(54, 4);                    // file header
    put(40, 4), put(width, 4), put(height, 4), put(1, 2), put(24, 2);  // info header
    put(0, 4), put(pixelBytes, 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
    for (std::uint32_t i = 0; i < pixelBytes; ++i) {
        bmp.push_back(
            static_cast<char>(fill >= 0 ? static_cast<std::uint32_t>(fill) : i * 37 + i / 7));
    }
    return bmp;
}

// The text of the Refusal that `action` throws; "no refusal" when it throws none.
inline std::string RefusalOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Refusal& refusal) {
        return refusal.what();
    }
    return "no refusal";
}

// Null-terminated pointers into `strings`, for execve's argv and envp. The
// strings must outlive the pointers.
inline std::vector<char*> ExecPointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& each : strings)
        pointers.push_back(each.data());
    pointers.push_back(nullptr);
    return pointers;
}
