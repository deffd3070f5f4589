#pragma once

#include <cstdint>
#include <string>
#include <vector>

class QTemporaryDir;

// Real files for the window tests to open: bitmaps the platform can preview,
// and files that are something else.
using Bytes = std::vector<std::uint8_t>;

// An uncompressed bottom-up bitmap of 1, 8, 24 or 32 bits per pixel, with a
// grey palette where one is needed and a pixel pattern that varies from
// byte to byte.
Bytes MakeBitmap(int width, int height, int bitsPerPixel);
// An 8-bit bitmap whose palette alternates black and white: the records'
// bits show in no palette entry, but in every pixel they reach, so it takes
// only short messages safely.
Bytes MakeTwoTonePaletteBitmap(int width, int height);
// A 24-bit bitmap whose file is exactly `length` bytes (at least 54 + 12):
// the rows are sized to fit and the rest is trailing data.
Bytes MakeBitmapOfLength(std::size_t length);
// `length` bytes that are no bitmap.
Bytes MakeNonBitmap(std::size_t length);
// `bitmap` cut short: its header promises more pixels than follow.
Bytes Truncated(Bytes bitmap, std::size_t keep);
// Bit 0 cleared in bytes [first, last]: the length word there reads as 0.
Bytes WithEvenBytes(Bytes bytes, std::size_t first, std::size_t last);

// Writes `bytes` as `name` under `folder`; the full path.
std::string WriteFile(const QTemporaryDir& folder, const std::string& name, const Bytes& bytes);
std::string WriteFile(const QTemporaryDir& folder, const std::string& name,
                      const std::string& bytes);
// The whole file; empty when it cannot be read.
Bytes ReadFile(const std::string& path);
// Names of the entries of `folder`, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);
