#include "PictureDecoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QColorSpace>
#include <QImageReader>
#include <QPixelFormat>
#include <new>

#include "DecodedCarrier.h"
#include "PictureKind.h"
#include "RecordGeometry.h"

namespace {

// Qt's reader refuses images above 256 MB by default, about 33 megapixels at
// 8 bits a channel: ordinary camera photos. Every picture's size is checked
// against the carrier's own limit before it is decoded, so the reader may
// take what a 16-bit picture of the largest carrier needs.
constexpr int kAllocationLimitMegabytes = 8192;

const char* KindName(const QByteArray& format) {
    if (format == "jpeg" || format == "jpg")
        return "JPEG";
    if (format == "png")
        return "PNG";
    if (format == "webp")
        return "WebP";
    if (format == "gif")
        return "GIF";
    if (format == "tiff" || format == "tif")
        return "TIFF";
    return nullptr;
}

bool MayHaveAlpha(QImage::Format format) {
    if (format == QImage::Format_Invalid || format == QImage::Format_Indexed8 ||
        format == QImage::Format_Mono || format == QImage::Format_MonoLSB) {
        return true;  // a palette may hold transparency
    }
    return QImage::toPixelFormat(format).alphaUsage() == QPixelFormat::UsesAlpha;
}

// Qt's reader over the picture's bytes in place, never copied; `file` must
// outlive it.
class PictureReader {
public:
    explicit PictureReader(std::span<const std::uint8_t> file)
        : m_bytes(QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()),
                                          static_cast<qsizetype>(file.size()))),
          m_buffer(&m_bytes) {
        QImageReader::setAllocationLimit(kAllocationLimitMegabytes);
        m_buffer.open(QIODevice::ReadOnly);
        m_reader.setDevice(&m_buffer);
        m_reader.setDecideFormatFromContent(true);
        m_reader.setAutoTransform(true);  // photos' orientation tags, so they come out upright
    }
    QImageReader& Reader() { return m_reader; }

private:
    QByteArray m_bytes;
    QBuffer m_buffer;
    QImageReader m_reader;
};

PictureHeader ReadHeader(QImageReader& reader, std::span<const std::uint8_t> file,
                         const DecodeLimits& limits) {
    PictureHeader header;
    const char* const kind = KindName(reader.format());
    if (kind == nullptr) {
        const std::string named = PictureKindOf(file);
        header.kind = named.empty() ? "unknown" : named;
        header.failure = named.empty() ? "it is not a picture Veilnote reads"
                                       : "Veilnote does not read " + named + " pictures";
        return header;
    }
    header.kind = kind;
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) {
        header.failure = "its size cannot be read";
        return header;
    }
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    header.width = turned ? size.height() : size.width();
    header.height = turned ? size.width() : size.height();
    header.mayHaveAlpha = MayHaveAlpha(reader.imageFormat());
    const int bits = header.mayHaveAlpha ? 32 : 24;
    if (!CarrierBitmapFits(header.width, header.height, bits) ||
        CarrierBitmapLength(header.width, header.height, bits) > limits.maxCarrierBytes) {
        header.failure = "its " + std::to_string(header.width) + "x" +
                         std::to_string(header.height) + " pixels would make a carrier too large";
    }
    return header;
}

// 8 bits a channel in sRGB, converted where more bits are at hand so that
// the colour change rounds only once.
QImage ToSrgb8(QImage image) {
    const bool deep = image.depth() > 32 || image.format() == QImage::Format_Grayscale16;
    image.convertTo(deep ? QImage::Format_RGBA64 : QImage::Format_RGBA8888);
    const QColorSpace srgb(QColorSpace::SRgb);
    if (image.colorSpace().isValid() && image.colorSpace() != srgb) {
        image.convertToColorSpace(srgb);
    }
    image.convertTo(QImage::Format_RGBA8888);
    return image;
}

}  // namespace

DecodeLimits DefaultDecodeLimits() {
    return {kMaxCarrierLength};
}

PictureHeader ProbePicture(std::span<const std::uint8_t> file, const DecodeLimits& limits) {
    PictureReader reading(file);
    return ReadHeader(reading.Reader(), file, limits);
}

DecodedPicture DecodePicture(std::span<const std::uint8_t> file, const DecodeLimits& limits) {
    PictureReader reading(file);
    QImageReader& reader = reading.Reader();
    DecodedPicture decoded{ReadHeader(reader, file, limits), {}};
    if (!decoded.header.failure.empty()) {
        return decoded;
    }
    QImage image;
    if (!reader.read(&image)) {
        decoded.header.failure = "it cannot be decoded: " + reader.errorString().toStdString();
        return decoded;
    }
    // The orientation was applied while reading; only a picture that
    // disagrees with its own headers could differ from them now.
    image = ToSrgb8(std::move(image));
    if (image.isNull() || image.width() != decoded.header.width ||
        image.height() != decoded.header.height) {
        decoded.header.failure = "its pixels do not match its headers";
        return decoded;
    }
    decoded.image = std::move(image);
    return decoded;
}

ConvertedBitmap ConvertPicture(std::span<const std::uint8_t> file) {
    try {
        const DecodedPicture decoded = DecodePicture(file);
        if (!decoded.header.failure.empty()) {
            return {{}, decoded.header.failure};
        }
        const QImage& image = decoded.image;
        const DecodedPixels pixels{image.width(), image.height(), image.bytesPerLine(),
                                   image.constBits()};
        const int bits = DecodedCarrierBits(pixels);
        std::vector<std::uint8_t> out;
        out.reserve(
            static_cast<std::size_t>(CarrierBitmapLength(pixels.width, pixels.height, bits)));
        WriteDecodedCarrier(pixels, bits, [&out](std::span<const std::uint8_t> piece) {
            out.insert(out.end(), piece.begin(), piece.end());
            return true;
        });
        return {std::move(out), {}, bits};
    } catch (const std::bad_alloc&) {
        return {{}, "there is not enough memory to convert it"};
    }
}
