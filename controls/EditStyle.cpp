#include "EditStyle.h"

#include <QColor>
#include <QFont>
#include <QStringList>
#include <array>
#include <optional>

#include "FileValues.h"

namespace {

QString Css(const QColor& color) {
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alpha());
}

FileError Bad(const FileEntry& entry, const QString& what) {
    return FileError{FileProblem::Malformed, entry.line, entry.key + ": " + what};
}

struct ColorRule {
    QStringView key;
    QStringView property;
};

// Slim scroll bars without arrows, so that the editor's always-present bar
// does not stand out from the art; %1 is the handle, %2 the handle under the
// pointer.
constexpr char16_t kScrollBarSheet[] =
    u"QScrollBar { background: transparent; border: none; }\n"
    u"QScrollBar:vertical { width: 10px; margin: 2px 2px 2px 0; }\n"
    u"QScrollBar:horizontal { height: 10px; margin: 0 2px 2px 2px; }\n"
    u"QScrollBar::handle { background-color: %1; border-radius: 3px;"
    u" min-height: 24px; min-width: 24px; }\n"
    u"QScrollBar::handle:hover { background-color: %2; }\n"
    u"QScrollBar::handle:vertical { margin: 0 1px; }\n"
    u"QScrollBar::handle:horizontal { margin: 1px 0; }\n"
    u"QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }\n"
    u"QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }\n";

}  // namespace

Loaded<QString> ReadEditStyle(const FileSection& section) {
    static constexpr std::array<ColorRule, 6> kColors = {{
        {u"base", u"background-color"},
        {u"text", u"color"},
        {u"selection", u"selection-background-color"},
        {u"selection-text", u"selection-color"},
        {u"border", u"border-color"},
        {u"focus-border", u"border-color"},
    }};

    QStringList editor;
    QStringList focused;
    std::optional<QColor> scroll;
    for (const FileEntry& entry : section.entries) {
        const auto rule = std::find_if(kColors.begin(), kColors.end(),
                                       [&](const ColorRule& r) { return r.key == entry.key; });
        if (rule != kColors.end() || entry.key == u"scroll") {
            const auto color = ReadColor(entry.value);
            if (!color)
                return Bad(entry, "a colour expected");
            if (entry.key == u"scroll") {
                scroll = color;
            } else {
                (entry.key == u"focus-border" ? focused : editor)
                    << rule->property.toString() + ": " + Css(*color);
            }
        } else if (entry.key == u"radius" || entry.key == u"padding") {
            const auto pixels = ReadNumber(entry.value, 0, 64);
            if (!pixels)
                return Bad(entry, "a number of pixels expected");
            const QString property = entry.key == u"radius" ? "border-radius" : "padding";
            editor << property + ": " + QString::number(*pixels) + "px";
        } else if (entry.key == u"font") {
            const auto font = ReadFont(entry.value);
            if (!font)
                return Bad(entry, "'Family, 12px[, bold]' expected");
            editor << "font-family: \"" + font->family() + '"'
                   << "font-size: " + QString::number(font->pixelSize()) + "px";
            if (font->bold())
                editor << QStringLiteral("font-weight: bold");
        } else {
            return Bad(entry, "not a key of [edit]");
        }
    }
    if (section.entries.empty())
        return QString();

    // A border needs a width and style; the platform's sunken frame would
    // otherwise stay and clash with the art.
    editor << QStringLiteral("border-width: 1px") << QStringLiteral("border-style: solid");
    QString sheet = "QPlainTextEdit, QTextEdit { " + editor.join("; ") + "; }\n";
    if (!focused.isEmpty()) {
        sheet += "QPlainTextEdit:focus, QTextEdit:focus { " + focused.join("; ") + "; }\n";
    }
    if (scroll) {
        sheet += QString::fromUtf16(kScrollBarSheet).arg(Css(*scroll), Css(scroll->lighter(140)));
    }
    return sheet;
}
