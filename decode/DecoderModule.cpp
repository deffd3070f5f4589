// The module's C entry point, loaded by the command-line tool on demand.
#include <fcntl.h>
#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <memory>
#include <span>
#include <string>

#include "PictureDecoder.h"
#include "PictureDecoderAbi.h"

namespace {

// The tool says in its own words why a picture cannot be read. The reader
// and the format libraries under it write their own complaints about a
// broken file to standard error, some straight to the descriptor; while they
// read, that goes nowhere. The tool is single-threaded: nothing else writes
// meanwhile.
class QuietStandardError {
public:
    QuietStandardError() : m_saved(dup(STDERR_FILENO)) {
        const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (m_saved >= 0 && nowhere >= 0) {
            dup2(nowhere, STDERR_FILENO);
        }
        if (nowhere >= 0) {
            close(nowhere);
        }
    }
    ~QuietStandardError() {
        if (m_saved >= 0) {
            dup2(m_saved, STDERR_FILENO);
            close(m_saved);
        }
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int m_saved;
};

template <std::size_t N>
void CopyText(char (&target)[N], const std::string& text) {
    const std::size_t length = std::min(text.size(), N - 1);
    std::copy_n(text.data(), length, target);
    target[length] = '\0';
}

void FillHeader(const PictureHeader& header, VeilnotePicture* picture) {
    *picture = VeilnotePicture{};
    picture->width = header.width;
    picture->height = header.height;
    picture->mayHaveAlpha = header.mayHaveAlpha ? 1 : 0;
    CopyText(picture->kind, header.kind);
    CopyText(picture->failure, header.failure);
}

int Probe(const uint8_t* data, size_t size, VeilnotePicture* picture) {
    const QuietStandardError quiet;
    const PictureHeader header = ProbePicture({data, size});
    FillHeader(header, picture);
    return header.failure.empty() ? 1 : 0;
}

int Decode(const uint8_t* data, size_t size, VeilnotePicture* picture) {
    const QuietStandardError quiet;
    try {
        DecodedPicture decoded = DecodePicture({data, size});
        FillHeader(decoded.header, picture);
        if (!decoded.header.failure.empty()) {
            return 0;
        }
        auto image = std::make_unique<QImage>(std::move(decoded.image));
        picture->rgba = image->constBits();
        picture->stride = image->bytesPerLine();
        picture->owner = image.release();  // the caller hands it back to Release
        return 1;
    } catch (const std::bad_alloc&) {
        CopyText(picture->failure, "there is not enough memory to decode it");
        return 0;
    }
}

void Release(VeilnotePicture* picture) {
    std::unique_ptr<QImage>(static_cast<QImage*>(picture->owner)).reset();
    picture->owner = nullptr;
    picture->rgba = nullptr;
}

constexpr VeilnoteDecoder kDecoder{VEILNOTE_DECODER_VERSION, Probe, Decode, Release};

}  // namespace

extern "C" __attribute__((visibility("default"))) const VeilnoteDecoder*
veilnote_picture_decoder() {
    return &kDecoder;
}
