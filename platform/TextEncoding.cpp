#include "TextEncoding.h"

#include <array>

#include <QByteArray>
#include <QStringDecoder>
#include <QVariant>
#include <QWidget>

namespace {
// Windows-1252 differs from Latin-1 in 0x80-0x9F only. The five bytes that
// code page leaves undefined map to the C1 controls of the same value, so
// every byte shows as something and nothing is lost.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

bool IsValidUtf8(const std::string& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded =
        decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return !decoder.hasError();
}

QString BytesToDisplayText(const std::string& bytes) {
    if (IsValidUtf8(bytes)) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        text.append(byte >= 0x80 && byte < 0xA0 ? QChar(kCp1252High[byte - 0x80u]) : QChar(byte));
    }
    return text;
}

std::string DisplayTextToBytes(const QString& text) {
    return text.toStdString();
}

namespace {
constexpr const char* kShownBytes = "veilnote.shownBytes";
constexpr const char* kShownText = "veilnote.shownText";
}  // namespace

void RememberShownBytes(QWidget* control, const std::string& bytes, const QString& shown) {
    control->setProperty(kShownBytes,
                         QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    control->setProperty(kShownText, shown);
}

std::string BytesForShownText(const QWidget* control, const QString& shown) {
    const QVariant remembered = control->property(kShownText);
    if (remembered.isValid() && remembered.toString() == shown) {
        return control->property(kShownBytes).toByteArray().toStdString();
    }
    return DisplayTextToBytes(shown);
}
