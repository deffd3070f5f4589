#include "SkinReader.h"

#include <initializer_list>
#include <optional>

#include "EditStyle.h"
#include "FaceReader.h"
#include "FileValues.h"

namespace {

FileError Bad(int line, const QString& what) {
    return FileError{FileProblem::Malformed, line, what};
}

std::optional<FileError> OnlyKeys(const FileSection& section,
                                  std::initializer_list<QStringView> keys) {
    for (const FileEntry& entry : section.entries) {
        if (std::find(keys.begin(), keys.end(), entry.key) == keys.end()) {
            return Bad(entry.line, entry.key + " is not a key of [" + section.kind + ']');
        }
    }
    return std::nullopt;
}

std::optional<FileError> ReadHeader(const FileSection& section, Skin& skin) {
    if (const auto error = OnlyKeys(section, {u"format", u"name"}))
        return error;
    const FileEntry* format = section.Find(u"format");
    if (!format || format->value != u"1")
        return Bad(section.line, "format = 1 expected");
    if (const FileEntry* name = section.Find(u"name"))
        skin.name = name->value;
    return std::nullopt;
}

std::optional<FileError> ReadWindow(const FileSection& section, Skin& skin) {
    if (const auto error = OnlyKeys(section, {u"color", u"art", u"label", u"description"}))
        return error;
    const FileEntry* color = section.Find(u"color");
    const FileEntry* art = section.Find(u"art");
    if (!color || !art)
        return Bad(section.line, "[window] needs color and art");
    const auto windowColor = ReadColor(color->value);
    if (!windowColor)
        return Bad(color->line, "color: a colour expected");
    if (!IsDrawableSvg(art->value))
        return Bad(art->line, "art: not an SVG image");
    skin.windowColor = *windowColor;
    skin.windowArt = art->value;
    if (const FileEntry* label = section.Find(u"label"))
        skin.windowLabel = label->value;
    if (const FileEntry* description = section.Find(u"description"))
        skin.windowDescription = description->value;
    return std::nullopt;
}

Loaded<SkinElement> ReadElement(const FileSection& section,
                                const std::vector<std::pair<QString, Face>>& faces) {
    if (const auto error = OnlyKeys(section, {u"face", u"label", u"icon", u"tooltip",
                                              u"selected-with", u"accessible-name"})) {
        return *error;
    }
    SkinElement element;
    element.name = section.name;
    const FileEntry* faceEntry = section.Find(u"face");
    if (!faceEntry)
        return Bad(section.line, "an element needs a face");
    const auto face = std::find_if(faces.begin(), faces.end(), [&](const auto& named) {
        return named.first == faceEntry->value;
    });
    if (face == faces.end())
        return Bad(faceEntry->line, "no face named " + faceEntry->value);
    element.face = face->second;

    const auto text = [&](QStringView key) {
        const FileEntry* entry = section.Find(key);
        return entry ? entry->value : QString();
    };
    element.label = text(u"label");
    element.icon = text(u"icon");
    element.tooltip = text(u"tooltip");
    element.selectedWith = text(u"selected-with");
    element.accessibleName = text(u"accessible-name");
    if (element.label.isEmpty() && element.icon.isEmpty()) {
        return Bad(section.line, "an element needs a label or an icon");
    }
    if (!element.icon.isEmpty() && !IsDrawableSvg(element.icon)) {
        return Bad(section.Find(u"icon")->line, "icon: not an SVG image");
    }
    return element;
}

}  // namespace

Loaded<Skin> BuildSkin(const SectionList& sections) {
    Skin skin;
    bool hasHeader = false;
    bool hasWindow = false;
    std::vector<std::pair<QString, Face>> faces;

    // Faces first, so that an element may come before the face it uses.
    for (const FileSection& section : sections) {
        if (section.kind != u"face")
            continue;
        if (section.name.isEmpty())
            return Bad(section.line, "a face needs a name");
        Loaded<Face> face = ReadFace(section);
        if (auto* error = std::get_if<FileError>(&face))
            return *error;
        faces.emplace_back(section.name, std::get<Face>(std::move(face)));
    }

    for (const FileSection& section : sections) {
        const bool named = !section.name.isEmpty();
        std::optional<FileError> error;
        if (section.kind == u"skin" && !named) {
            hasHeader = true;
            error = ReadHeader(section, skin);
        } else if (section.kind == u"window" && !named) {
            hasWindow = true;
            error = ReadWindow(section, skin);
        } else if (section.kind == u"edit" && !named) {
            Loaded<QString> sheet = ReadEditStyle(section);
            if (auto* failure = std::get_if<FileError>(&sheet))
                return *failure;
            skin.editStyleSheet = std::get<QString>(std::move(sheet));
        } else if (section.kind == u"element" && named) {
            Loaded<SkinElement> element = ReadElement(section, faces);
            if (auto* failure = std::get_if<FileError>(&element))
                return *failure;
            skin.elements.push_back(std::get<SkinElement>(std::move(element)));
        } else if (section.kind != u"face") {
            error = Bad(section.line, "not a section of a skin");
        }
        if (error)
            return *error;
    }

    if (!hasHeader)
        return Bad(0, "no [skin] section");
    if (!hasWindow)
        return Bad(0, "no [window] section");
    for (const SkinElement& element : skin.elements) {
        if (!element.selectedWith.isEmpty() && !skin.FindElement(element.selectedWith)) {
            return Bad(0, element.name + ": selected-with names no element");
        }
    }
    return skin;
}

Loaded<Skin> ReadSkinFile(const QString& path) {
    Loaded<SectionList> sections = ReadSectionFile(path);
    if (auto* error = std::get_if<FileError>(&sections))
        return *error;
    return BuildSkin(std::get<SectionList>(sections));
}
