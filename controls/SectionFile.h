#pragma once

// The text format of the skin and splash files. A file is a list of sections:
//
//   ; a comment (also '#')
//   [face side]              a section of kind "face" named "side"
//   radius = 7               one value on one line
//   art <<SVG                a value of several lines, up to a line "SVG"
//   <svg ...>...</svg>
//   SVG
//
// Files are UTF-8. Keys and section names are case-sensitive.

#include <QByteArrayView>
#include <QString>
#include <variant>
#include <vector>

struct FileEntry {
    QString key;
    QString value;
    int line = 0;
};

struct FileSection {
    QString kind;
    QString name;  // empty for a section such as "[skin]"
    int line = 0;
    std::vector<FileEntry> entries;

    // Null when the section has no such key.
    const FileEntry* Find(QStringView key) const;
};

using SectionList = std::vector<FileSection>;

enum class FileProblem { Missing, Unreadable, Malformed };

struct FileError {
    FileProblem problem = FileProblem::Malformed;
    int line = 0;  // 0 when the problem is not at one line
    QString message;
};

// A value read from a file, or why it could not be.
template <class T>
using Loaded = std::variant<T, FileError>;

// Files larger than this are refused: no skin or splash needs more.
inline constexpr qint64 kMaxSectionFileBytes = 4 * 1024 * 1024;

Loaded<SectionList> ParseSectionText(QByteArrayView text);
Loaded<SectionList> ReadSectionFile(const QString& path);

// "name:line: message", for the log.
QString Describe(const QString& path, const FileError& error);
