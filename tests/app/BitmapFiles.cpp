#include "BitmapFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <QTemporaryDir>

#include "BitmapFormat.h"

namespace {
void PutLE(Bytes& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

constexpr auto kFileHeader = static_cast<std::size_t>(kFileHeaderSize);
constexpr auto kInfoHeader = static_cast<std::size_t>(kInfoHeaderSize);

std::size_t RowSize(int width, int bitsPerPixel) {
    return static_cast<std::size_t>(RowStride(width, bitsPerPixel));
}

Bytes Header(int width, int height, int bitsPerPixel, std::size_t pixelBytes, std::size_t extra) {
    const std::size_t colours = bitsPerPixel <= 8 ? (std::size_t{1} << bitsPerPixel) : 0;
    const std::size_t offset = kFileHeader + kInfoHeader + 4 * colours;
    Bytes bytes(offset + pixelBytes + extra, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLE(bytes, 2, static_cast<std::uint32_t>(bytes.size()), 4);
    PutLE(bytes, 10, static_cast<std::uint32_t>(offset), 4);
    PutLE(bytes, 14, kInfoHeader, 4);
    PutLE(bytes, 18, static_cast<std::uint32_t>(width), 4);
    PutLE(bytes, 22, static_cast<std::uint32_t>(height), 4);
    PutLE(bytes, 26, 1, 2);
    PutLE(bytes, 28, static_cast<std::uint32_t>(bitsPerPixel), 2);
    PutLE(bytes, 34, static_cast<std::uint32_t>(pixelBytes), 4);
    PutLE(bytes, 38, 2835, 4);
    PutLE(bytes, 42, 2835, 4);
    PutLE(bytes, 46, static_cast<std::uint32_t>(colours), 4);
    for (std::size_t c = 0; c < colours; ++c) {
        const auto grey = static_cast<std::uint8_t>(c * 255 / (colours - 1));
        const std::size_t at = kFileHeader + kInfoHeader + 4 * c;
        bytes[at] = bytes[at + 1] = bytes[at + 2] = grey;
    }
    return bytes;
}

void FillPattern(Bytes& bytes, std::size_t from) {
    for (std::size_t i = from; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 37 + i / 253) & 0xFF);
    }
}
}  // namespace

Bytes MakeBitmap(int width, int height, int bitsPerPixel) {
    const std::size_t pixelBytes = RowSize(width, bitsPerPixel) * static_cast<std::size_t>(height);
    Bytes bytes = Header(width, height, bitsPerPixel, pixelBytes, 0);
    FillPattern(bytes, bytes.size() - pixelBytes);
    return bytes;
}

Bytes MakeTwoTonePaletteBitmap(int width, int height) {
    Bytes image = MakeBitmap(width, height, 8);
    constexpr std::size_t kPalette = 14 + 40;
    for (std::size_t i = 0; i < 256; ++i) {
        const auto grey = static_cast<std::uint8_t>(i % 2 == 0 ? 0 : 255);
        std::fill_n(image.begin() + static_cast<std::ptrdiff_t>(kPalette + 4 * i), 3, grey);
        image[kPalette + 4 * i + 3] = 0;
    }
    return image;
}

Bytes MakeBitmapOfLength(std::size_t length) {
    // Rows of 4 pixels (12 bytes, no padding); whatever is left over trails.
    const std::size_t rows = (length - kFileHeader - kInfoHeader) / 12;
    const std::size_t pixelBytes = rows * 12;
    Bytes bytes = Header(4, static_cast<int>(rows), 24, pixelBytes,
                         length - kFileHeader - kInfoHeader - pixelBytes);
    FillPattern(bytes, kFileHeader + kInfoHeader);
    return bytes;
}

Bytes MakeNonBitmap(std::size_t length) {
    Bytes bytes(length);
    FillPattern(bytes, 0);
    bytes[0] = 'N';
    bytes[1] = 'O';
    return bytes;
}

Bytes Truncated(Bytes bitmap, std::size_t keep) {
    bitmap.resize(std::min(keep, bitmap.size()));
    return bitmap;
}

Bytes WithEvenBytes(Bytes bytes, std::size_t first, std::size_t last) {
    for (std::size_t i = first; i <= last && i < bytes.size(); ++i)
        bytes[i] &= 0xFE;
    return bytes;
}

std::string WriteFile(const QTemporaryDir& folder, const std::string& name, const Bytes& bytes) {
    const std::string path = folder.filePath(QString::fromStdString(name)).toStdString();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string WriteFile(const QTemporaryDir& folder, const std::string& name,
                      const std::string& bytes) {
    return WriteFile(folder, name, Bytes(bytes.begin(), bytes.end()));
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
