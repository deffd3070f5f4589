// Reads arbitrary bytes as a skin file and as a splash file. Numbers out of
// range, NaN among them, must be refused rather than converted.
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "FuzzSupport.h"
#include "SectionFile.h"
#include "SkinReader.h"
#include "SplashFile.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Fonts and SVG art need the application object, kept for the whole run.
    static const std::unique_ptr<QGuiApplication> application =
        std::make_unique<QGuiApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Loaded<SectionList> sections =
        ParseSectionText(QByteArrayView(data, static_cast<qsizetype>(size)));
    if (const auto* list = std::get_if<SectionList>(&sections)) {
        (void)BuildSkin(*list);
        const Loaded<SplashArt> splash = BuildSplash(*list);
        if (const auto* art = std::get_if<SplashArt>(&splash)) {
            Require(art->duration.count() >= 200 && art->duration.count() <= 10000);
        }
    }
    return 0;
}
