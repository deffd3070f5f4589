#include "PictureModule.h"

#include <dlfcn.h>

#include <filesystem>
#include <memory>

#include "DecodedCarrier.h"
#include "Errors.h"
#include "InstallLayout.h"
#include "PictureDecoderAbi.h"
#include "PictureKind.h"

namespace {

#ifdef VEILNOTE_PICTURE_MODULE

// The loaded module, unloaded when it is no longer needed.
class LoadedDecoder {
public:
    LoadedDecoder() {
        std::error_code error;
        const std::filesystem::path program =
            std::filesystem::read_symlink("/proc/self/exe", error);
        const std::filesystem::path folder = program.parent_path();
        std::string tried;
        // Beside the tool in the build tree; in the library folder once installed.
        for (const std::filesystem::path& candidate :
             {folder / VEILNOTE_DECODER_FILE,
              (folder / install_layout::kDecoderFromBin / VEILNOTE_DECODER_FILE)
                  .lexically_normal()}) {
            m_handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (m_handle != nullptr) {
                break;
            }
            tried += std::string(tried.empty() ? "" : "; ") + dlerror();
        }
        if (m_handle == nullptr) {
            throw Refusal("the picture decoder cannot be loaded: " + tried);
        }
        const auto entry =
            reinterpret_cast<VeilnoteDecoderEntry>(dlsym(m_handle, VEILNOTE_DECODER_ENTRY));
        m_decoder = entry != nullptr ? entry() : nullptr;
        if (m_decoder == nullptr || m_decoder->version != VEILNOTE_DECODER_VERSION) {
            dlclose(m_handle);
            throw Refusal("the picture decoder found is not this tool's version");
        }
    }
    ~LoadedDecoder() { dlclose(m_handle); }
    LoadedDecoder(const LoadedDecoder&) = delete;
    LoadedDecoder& operator=(const LoadedDecoder&) = delete;

    const VeilnoteDecoder& operator*() const { return *m_decoder; }

private:
    void* m_handle = nullptr;
    const VeilnoteDecoder* m_decoder = nullptr;
};

PictureHeader HeaderOf(const VeilnotePicture& picture) {
    return {picture.kind, picture.failure, picture.width, picture.height,
            picture.mayHaveAlpha != 0};
}

#endif

}  // namespace

#ifdef VEILNOTE_PICTURE_MODULE

PictureHeader ProbePictureFile(std::span<const std::uint8_t> file) {
    const LoadedDecoder decoder;
    VeilnotePicture picture{};
    (*decoder).probe(file.data(), file.size(), &picture);
    return HeaderOf(picture);
}

bool WritePictureCarrier(std::span<const std::uint8_t> file, const ByteSink& sink,
                         PictureCarrier& made) {
    const LoadedDecoder decoder;
    VeilnotePicture picture{};
    if ((*decoder).decode(file.data(), file.size(), &picture) == 0) {
        throw Refusal("This " + std::string(picture.kind) +
                      " picture cannot be converted: " + picture.failure + ".");
    }
    const auto release = [&decoder](VeilnotePicture* p) { (*decoder).release(p); };
    const std::unique_ptr<VeilnotePicture, decltype(release)> held(&picture, release);
    const DecodedPixels pixels{picture.width, picture.height, picture.stride, picture.rgba};
    made.bits = DecodedCarrierBits(pixels);
    made.length = CarrierBitmapLength(pixels.width, pixels.height, made.bits);
    return WriteDecodedCarrier(pixels, made.bits, sink);
}

#else

namespace {

// This tool was built without the window, so without a decoder module.
std::string BitmapsOnly(std::span<const std::uint8_t> file) {
    const std::string kind = PictureKindOf(file);
    return "this veilnote-cli was built without picture decoding and takes only bitmaps (.bmp); "
           "this is " +
           (kind.empty() ? std::string("a file of unknown kind") : "a " + kind + " picture");
}

}  // namespace

PictureHeader ProbePictureFile(std::span<const std::uint8_t> file) {
    const std::string kind = PictureKindOf(file);
    return {kind.empty() ? "unknown" : kind, BitmapsOnly(file)};
}

bool WritePictureCarrier(std::span<const std::uint8_t> file, const ByteSink&, PictureCarrier&) {
    throw Refusal("The picture cannot be converted: " + BitmapsOnly(file) + ".");
}

#endif
