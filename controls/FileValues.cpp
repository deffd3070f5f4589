#include "FileValues.h"

#include <QSvgRenderer>

namespace {

std::optional<int> HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return std::nullopt;
}

}  // namespace

std::optional<QColor> ReadColor(QStringView text) {
    if (text == u"none")
        return QColor(Qt::transparent);
    if (!text.startsWith(u'#'))
        return std::nullopt;
    const QStringView digits = text.mid(1);
    std::vector<int> values;
    for (const QChar c : digits) {
        const std::optional<int> value = HexDigit(c);
        if (!value)
            return std::nullopt;
        values.push_back(*value);
    }
    switch (values.size()) {
        case 3:
            return QColor(values[0] * 17, values[1] * 17, values[2] * 17);
        case 6:
        case 8: {
            const auto pair = [&](std::size_t at) { return values[at] * 16 + values[at + 1]; };
            return QColor(pair(0), pair(2), pair(4), values.size() == 8 ? pair(6) : 255);
        }
        default:
            return std::nullopt;
    }
}

std::optional<std::vector<QColor>> ReadColors(QStringView text) {
    std::vector<QColor> colors;
    for (const QStringView word : text.split(u' ', Qt::SkipEmptyParts)) {
        const std::optional<QColor> color = ReadColor(word);
        if (!color)
            return std::nullopt;
        colors.push_back(*color);
    }
    if (colors.empty())
        return std::nullopt;
    return colors;
}

std::optional<double> ReadNumber(QStringView text, double low, double high) {
    QStringView digits = text.trimmed();
    if (digits.endsWith(u"px"))
        digits.chop(2);
    bool ok = false;
    const double value = digits.toDouble(&ok);
    // Written so that NaN, which fails every comparison, is out of range too.
    if (!ok || !(value >= low && value <= high))
        return std::nullopt;
    return value;
}

std::optional<std::vector<double>> ReadNumbers(QStringView text, double low, double high) {
    std::vector<double> numbers;
    for (const QStringView word : text.split(u' ', Qt::SkipEmptyParts)) {
        const std::optional<double> number = ReadNumber(word, low, high);
        if (!number)
            return std::nullopt;
        numbers.push_back(*number);
    }
    if (numbers.empty())
        return std::nullopt;
    return numbers;
}

std::optional<QSize> ReadSize(QStringView text) {
    const QList<QStringView> parts = text.split(u'x');
    if (parts.size() != 2)
        return std::nullopt;
    bool okWidth = false;
    bool okHeight = false;
    const int width = parts[0].trimmed().toInt(&okWidth);
    const int height = parts[1].trimmed().toInt(&okHeight);
    if (!okWidth || !okHeight || width < 1 || height < 1 || width > 4096 || height > 4096) {
        return std::nullopt;
    }
    return QSize(width, height);
}

std::optional<QFont> ReadFont(QStringView text) {
    const QList<QStringView> parts = text.split(u',');
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    const QStringView family = parts[0].trimmed();
    const std::optional<double> size = ReadNumber(parts[1], 6, 96);
    if (family.isEmpty() || !size)
        return std::nullopt;
    QFont font(family.toString());
    font.setPixelSize(static_cast<int>(*size));
    if (parts.size() == 3) {
        for (const QStringView word : parts[2].split(u' ', Qt::SkipEmptyParts)) {
            if (word == u"bold") {
                font.setWeight(QFont::Bold);
            } else if (word == u"light") {
                font.setWeight(QFont::ExtraLight);
            } else if (word == u"condensed") {
                // A stretch rather than a family name: the font matcher then
                // picks the family's condensed face without widening it again.
                font.setStretch(QFont::SemiCondensed);
            } else if (word != u"normal") {
                return std::nullopt;
            }
        }
    }
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

bool IsDrawableSvg(const QString& svg) {
    const QSvgRenderer renderer(svg.toUtf8());
    return renderer.isValid();
}
