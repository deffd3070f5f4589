#include "FaceReader.h"

#include <optional>
#include <string_view>

#include "FileValues.h"

namespace {

enum LookKey { kFill, kBorder, kInk, kIcon, kHighlight, kBar, kLookKeyCount };
constexpr std::array<std::u16string_view, kLookKeyCount> kLookKeys = {
    u"fill", u"border", u"ink", u"icon", u"highlight", u"bar"};
constexpr std::array<std::u16string_view, kElementStateCount> kStateNames = {
    u"normal", u"hover", u"pressed", u"selected", u"disabled"};

// The entries that give one state's look, by look key.
using LookEntries = std::array<const FileEntry*, kLookKeyCount>;

FileError Bad(const FileEntry& entry, const QString& what) {
    return FileError{FileProblem::Malformed, entry.line, entry.key + ": " + what};
}

std::optional<int> Find(QStringView name, const auto& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (name == names[i])
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<FileError> ReadLook(const LookEntries& entries, FaceLook& look) {
    for (std::size_t key = 0; key < kLookKeyCount; ++key) {
        const FileEntry* entry = entries[key];
        if (!entry)
            continue;
        if (key == kFill) {
            const auto colors = ReadColors(entry->value);
            if (!colors || colors->size() > 2)
                return Bad(*entry, "one or two colours expected");
            look.fillTop = colors->front();
            look.fillBottom = colors->back();
            continue;
        }
        const std::optional<QColor> color = ReadColor(entry->value);
        if (!color)
            return Bad(*entry, "a colour such as #1c2440 expected");
        switch (key) {
            case kBorder:
                look.border = *color;
                break;
            case kInk:
                look.ink = *color;
                break;
            case kIcon:
                look.icon = *color;
                break;
            case kHighlight:
                look.highlight = *color;
                break;
            default:
                look.bar = *color;
                break;
        }
    }
    if (!entries[kIcon])
        look.icon = look.ink;
    return std::nullopt;
}

std::optional<FileError> ReadFaceWide(const FileEntry& entry, Face& face) {
    const QString& key = entry.key;
    const QString& value = entry.value;
    if (key == u"radius") {
        const auto radii = ReadNumbers(value, 0, 64);
        if (!radii || (radii->size() != 1 && radii->size() != 4)) {
            return Bad(entry, "one radius or four expected");
        }
        for (std::size_t i = 0; i < 4; ++i)
            face.radii[i] = (*radii)[radii->size() == 1 ? 0 : i];
    } else if (key == u"font") {
        const auto font = ReadFont(value);
        if (!font)
            return Bad(entry, "'Family, 12px[, bold]' expected");
        face.font = *font;
    } else if (key == u"layout") {
        if (value == u"row") {
            face.layout = ContentLayout::Row;
        } else if (value == u"column") {
            face.layout = ContentLayout::Column;
        } else if (value == u"center") {
            face.layout = ContentLayout::Center;
        } else {
            return Bad(entry, "row, column or center expected");
        }
    } else if (key == u"bar-edge") {
        if (value == u"left") {
            face.barEdge = Qt::LeftEdge;
        } else if (value == u"top") {
            face.barEdge = Qt::TopEdge;
        } else if (value == u"right") {
            face.barEdge = Qt::RightEdge;
        } else if (value == u"bottom") {
            face.barEdge = Qt::BottomEdge;
        } else {
            return Bad(entry, "left, top, right or bottom expected");
        }
    } else if (key == u"focus") {
        const auto color = ReadColor(value);
        if (!color)
            return Bad(entry, "a colour expected");
        face.focus = *color;
    } else {
        double* target = key == u"padding"       ? &face.padding
                         : key == u"icon-size"   ? &face.iconSize
                         : key == u"gap"         ? &face.gap
                         : key == u"bar-width"   ? &face.barWidth
                         : key == u"press-shift" ? &face.pressShift
                                                 : nullptr;
        if (!target)
            return Bad(entry, "not a key of a face");
        const auto number = ReadNumber(value, 0, 256);
        if (!number)
            return Bad(entry, "a number of pixels expected");
        *target = *number;
    }
    return std::nullopt;
}

}  // namespace

Loaded<Face> ReadFace(const FileSection& section) {
    Face face;
    face.font = *ReadFont(u"DejaVu Sans, 12px");
    std::array<LookEntries, kElementStateCount> entries{};

    for (const FileEntry& entry : section.entries) {
        const QStringView key(entry.key);
        const qsizetype dot = key.indexOf(u'.');
        const QStringView stateName = dot < 0 ? QStringView(u"normal") : key.left(dot);
        const QStringView lookName = dot < 0 ? key : key.mid(dot + 1);
        const std::optional<int> state = Find(stateName, kStateNames);
        const std::optional<int> look = Find(lookName, kLookKeys);
        if (dot >= 0 && (!state || *state == 0))
            return Bad(entry, "not a state of a face");
        if (dot >= 0 && !look)
            return Bad(entry, "not a look key");
        if (look) {
            entries[static_cast<std::size_t>(*state)][static_cast<std::size_t>(*look)] = &entry;
        } else if (const auto error = ReadFaceWide(entry, face)) {
            return *error;
        }
    }

    for (std::size_t state = 0; state < kElementStateCount; ++state) {
        LookEntries merged = entries[0];
        for (std::size_t key = 0; key < kLookKeyCount; ++key) {
            if (entries[state][key])
                merged[key] = entries[state][key];
        }
        if (const auto error = ReadLook(merged, face.looks[state]))
            return *error;
    }
    return face;
}
