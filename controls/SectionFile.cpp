#include "SectionFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

namespace {

FileError Malformed(int line, QString message) {
    return FileError{FileProblem::Malformed, line, std::move(message)};
}

const QRegularExpression& SectionPattern() {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\[([a-z]+)(?:\s+([A-Za-z0-9_-]+))?\]$)"));
    return pattern;
}

// "key = value" or "key <<TAG"; the value part is kept as written after '='.
const QRegularExpression& EntryPattern() {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^([A-Za-z][A-Za-z0-9._-]*)\s*(?:=\s*(.*)|<<\s*([A-Za-z_]+))$)"));
    return pattern;
}

bool IsBlankOrComment(QStringView trimmed) {
    return trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.startsWith(u'#');
}

}  // namespace

const FileEntry* FileSection::Find(QStringView key) const {
    for (const FileEntry& entry : entries) {
        if (entry.key == key)
            return &entry;
    }
    return nullptr;
}

Loaded<SectionList> ParseSectionText(QByteArrayView text) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString decoded = decoder.decode(text);
    if (decoder.hasError())
        return Malformed(0, QStringLiteral("the file is not UTF-8 text"));
    if (decoded.startsWith(QChar(0xFEFF)))
        decoded.remove(0, 1);

    QStringList lines = decoded.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }

    SectionList sections;
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const int lineNumber = static_cast<int>(index + 1);
        const QString trimmed = lines[index].trimmed();
        if (IsBlankOrComment(trimmed))
            continue;

        if (trimmed.startsWith(u'[')) {
            const QRegularExpressionMatch match = SectionPattern().match(trimmed);
            if (!match.hasMatch())
                return Malformed(lineNumber, "bad section header " + trimmed);
            FileSection section{match.captured(1), match.captured(2), lineNumber, {}};
            for (const FileSection& earlier : sections) {
                if (earlier.kind == section.kind && earlier.name == section.name) {
                    return Malformed(lineNumber, "section " + trimmed + " appears twice");
                }
            }
            sections.push_back(std::move(section));
            continue;
        }

        const QRegularExpressionMatch match = EntryPattern().match(trimmed);
        if (!match.hasMatch())
            return Malformed(lineNumber, "expected 'key = value'");
        if (sections.empty())
            return Malformed(lineNumber, "a value before the first section");
        FileSection& section = sections.back();
        FileEntry entry{match.captured(1), match.captured(2).trimmed(), lineNumber};
        if (section.Find(entry.key))
            return Malformed(lineNumber, entry.key + " is given twice");

        const QString tag = match.captured(3);
        if (!tag.isEmpty()) {
            QStringList block;
            qsizetype end = index + 1;
            while (end < lines.size() && lines[end].trimmed() != tag)
                block.append(lines[end++]);
            if (end == lines.size())
                return Malformed(lineNumber, "no line " + tag + " ends it");
            entry.value = block.join(u'\n');
            index = end;
        }
        section.entries.push_back(std::move(entry));
    }
    return sections;
}

Loaded<SectionList> ReadSectionFile(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return FileError{FileProblem::Missing, 0, QStringLiteral("no such file")};
    if (!file.open(QIODevice::ReadOnly)) {
        return FileError{FileProblem::Unreadable, 0, file.errorString()};
    }
    if (file.size() > kMaxSectionFileBytes)
        return Malformed(0, QStringLiteral("file too large"));
    const QByteArray bytes = file.read(kMaxSectionFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        return FileError{FileProblem::Unreadable, 0, file.errorString()};
    }
    if (bytes.size() > kMaxSectionFileBytes)
        return Malformed(0, QStringLiteral("file too large"));
    return ParseSectionText(bytes);
}

QString Describe(const QString& path, const FileError& error) {
    const QString name = QFileInfo(path).fileName();
    const QString place = error.line > 0 ? name + u':' + QString::number(error.line) : name;
    return place + QStringLiteral(": ") + error.message;
}
