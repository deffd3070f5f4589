#pragma once

// The two decoders people open pictures with, as test oracles: Qt's QImage
// and ImageMagick's convert. Both give RGBA rows, top row first.

#include <unistd.h>
#include <QImage>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestBitmaps.h"

struct Decoded {
    bool ok = false;
    int width = 0;
    int height = 0;
    Bytes rgba;
};

inline Decoded DecodeWithQt(const Bytes& file) {
    const QImage image = QImage::fromData(file.data(), static_cast<int>(file.size()), "BMP")
                             .convertToFormat(QImage::Format_RGBA8888);
    if (image.isNull()) {
        return {};
    }
    Decoded decoded{true, image.width(), image.height(), {}};
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = image.constScanLine(y);
        decoded.rgba.insert(decoded.rgba.end(), line, line + 4 * image.width());
    }
    return decoded;
}

// ImageMagick's reading, as a PAM stream widened to RGBA: of a bitmap, or of
// a picture of `format` with `options` applied (as "-auto-orient").
inline Decoded DecodeWithImageMagickAs(const Bytes& file, const std::string& format,
                                       const std::string& options) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("veilnote-guard-" + std::to_string(::getpid()) + ".bmp");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    const std::string command = "convert '" + format + ":" + path.string() + "[0]' " + options +
                                " -depth 8 pam:- 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[65536];
    for (std::size_t got; pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, got);
    }
    const int status = pipe ? ::pclose(pipe) : -1;
    std::filesystem::remove(path);
    const std::size_t end = out.find("ENDHDR\n");
    if (status != 0 || end == std::string::npos) {
        return {};
    }
    std::istringstream header(out.substr(0, end));
    Decoded decoded{true, 0, 0, {}};
    int depth = 0;
    std::string tuple;
    for (std::string key; header >> key;) {
        if (key == "WIDTH")
            header >> decoded.width;
        if (key == "HEIGHT")
            header >> decoded.height;
        if (key == "DEPTH")
            header >> depth;
        if (key == "TUPLTYPE")
            header >> tuple;
    }
    const std::string_view samples = std::string_view(out).substr(end + 7);
    const bool grey = tuple.starts_with("GRAYSCALE");
    const bool alpha = tuple.ends_with("_ALPHA");
    const auto step = static_cast<std::size_t>(std::max(depth, 1));
    for (std::size_t i = 0; i + step <= samples.size(); i += step) {
        for (std::size_t c = 0; c < 3; ++c) {
            decoded.rgba.push_back(static_cast<std::uint8_t>(samples[i + (grey ? 0 : c)]));
        }
        decoded.rgba.push_back(alpha ? static_cast<std::uint8_t>(samples[i + step - 1]) : 255);
    }
    return decoded;
}

inline Decoded DecodeWithImageMagick(const Bytes& file) {
    return DecodeWithImageMagickAs(file, "BMP", "");
}

// How far the picture moved: 255 when it stops decoding or changes size.
inline int Change(const Decoded& before, const Decoded& after) {
    if (!after.ok || after.width != before.width || after.height != before.height ||
        after.rgba.size() != before.rgba.size()) {
        return 255;
    }
    int most = 0;
    for (std::size_t i = 0; i < before.rgba.size(); ++i) {
        most = std::max(most, std::abs(before.rgba[i] - after.rgba[i]));
    }
    return most;
}
