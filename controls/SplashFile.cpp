#include "SplashFile.h"

#include "FileValues.h"

namespace {

FileError Bad(int line, const QString& what) {
    return FileError{FileProblem::Malformed, line, what};
}

}  // namespace

Loaded<SplashArt> BuildSplash(const SectionList& sections) {
    if (sections.size() != 1 || sections.front().kind != u"splash" ||
        !sections.front().name.isEmpty()) {
        return Bad(sections.empty() ? 0 : sections.front().line, "one [splash] section expected");
    }
    const FileSection& section = sections.front();
    SplashArt splash;
    bool hasFormat = false;
    for (const FileEntry& entry : section.entries) {
        if (entry.key == u"format") {
            if (entry.value != u"1")
                return Bad(entry.line, "format = 1 expected");
            hasFormat = true;
        } else if (entry.key == u"size") {
            const auto size = ReadSize(entry.value);
            if (!size)
                return Bad(entry.line, "size: WIDTHxHEIGHT expected");
            splash.size = *size;
        } else if (entry.key == u"duration") {
            const auto milliseconds = ReadNumber(entry.value, 200, 10000);
            if (!milliseconds)
                return Bad(entry.line, "duration: 200 to 10000 milliseconds");
            splash.duration = std::chrono::milliseconds(static_cast<int>(*milliseconds));
        } else if (entry.key == u"art" || entry.key == u"badge") {
            if (!IsDrawableSvg(entry.value))
                return Bad(entry.line, entry.key + ": not an SVG image");
            (entry.key == u"art" ? splash.art : splash.badge) = entry.value;
        } else if (entry.key == u"badge-label") {
            splash.badgeLabel = entry.value;
        } else if (entry.key == u"badge-focus") {
            splash.badgeFocus = ReadColor(entry.value);
            if (!splash.badgeFocus)
                return Bad(entry.line, "badge-focus: a colour expected");
        } else {
            return Bad(entry.line, entry.key + " is not a key of [splash]");
        }
    }
    if (!hasFormat || splash.size.isEmpty() || splash.art.isEmpty()) {
        return Bad(section.line, "[splash] needs format, size and art");
    }
    return splash;
}

Loaded<SplashArt> ReadSplashFile(const QString& path) {
    Loaded<SectionList> sections = ReadSectionFile(path);
    if (auto* error = std::get_if<FileError>(&sections))
        return *error;
    return BuildSplash(std::get<SectionList>(sections));
}
