// The sectioned text format shared by skin and splash files.

#include "SectionFile.h"

#include <gtest/gtest.h>

#include <QDir>

#include "TestFiles.h"

namespace {

SectionList Parsed(QByteArrayView text) {
    Loaded<SectionList> result = ParseSectionText(text);
    if (auto* error = std::get_if<FileError>(&result)) {
        ADD_FAILURE() << error->line << ": " << error->message.toStdString();
        return {};
    }
    return std::get<SectionList>(std::move(result));
}

FileError Refused(QByteArrayView text) {
    Loaded<SectionList> result = ParseSectionText(text);
    EXPECT_TRUE(std::holds_alternative<FileError>(result));
    return std::holds_alternative<FileError>(result) ? std::get<FileError>(result) : FileError{};
}

TEST(SectionFile, ReadsSectionsValuesAndBlocks) {
    const SectionList sections = Parsed(
        "\xEF\xBB\xBF; comment\r\n"
        "[skin]\r\n"
        "format = 1\r\n"
        "  # indented comment\r\n"
        "[face side]\n"
        "fill =  #112233 #445566  \n"
        "empty =\n"
        "art <<SVG\n"
        "  <svg>\n"
        "\n"
        "  </svg>\n"
        "  SVG\n"
        "after = yes\n");
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].kind, "skin");
    EXPECT_TRUE(sections[0].name.isEmpty());
    EXPECT_EQ(sections[0].Find(u"format")->value, "1");
    const FileSection& face = sections[1];
    EXPECT_EQ(face.kind, "face");
    EXPECT_EQ(face.name, "side");
    EXPECT_EQ(face.line, 5);
    EXPECT_EQ(face.Find(u"fill")->value, "#112233 #445566");
    EXPECT_EQ(face.Find(u"empty")->value, "");
    // A block keeps its lines as written, blank ones included.
    EXPECT_EQ(face.Find(u"art")->value, "  <svg>\n\n  </svg>");
    EXPECT_EQ(face.Find(u"after")->line, 13);
    EXPECT_EQ(face.Find(u"missing"), nullptr);
}

TEST(SectionFile, RefusesMistakesAtTheirLine) {
    EXPECT_EQ(Refused("key = 1\n").line, 1);                    // before any section
    EXPECT_EQ(Refused("[skin]\na = 1\na = 2\n").line, 3);       // key twice
    EXPECT_EQ(Refused("[face x]\n[face x]\n").line, 2);         // section twice
    EXPECT_EQ(Refused("[skin]\nart <<SVG\n<svg/>\n").line, 2);  // block never ends
    EXPECT_EQ(Refused("[skin]\n[Face]\n").line, 2);             // bad header
    EXPECT_EQ(Refused("[skin]\n[face two words]\n").line, 2);
    EXPECT_EQ(Refused("[skin]\njust words\n").line, 2);  // neither value nor block
    EXPECT_EQ(Refused("[skin]\nname = \xC3\x28\n").problem, FileProblem::Malformed);  // not UTF-8
}

TEST(SectionFile, TellsMissingFromUnreadableFromMalformed) {
    const TestFolder folder;
    const auto problemOf = [](const QString& path) {
        const Loaded<SectionList> result = ReadSectionFile(path);
        return std::holds_alternative<FileError>(result) ? std::get<FileError>(result).problem
                                                         : std::optional<FileProblem>();
    };
    EXPECT_EQ(problemOf(folder.PathOf("absent.skn")), FileProblem::Missing);
    QDir().mkpath(folder.PathOf("folder.skn"));
    EXPECT_EQ(problemOf(folder.PathOf("folder.skn")), FileProblem::Unreadable);
    EXPECT_EQ(problemOf(folder.Write("bad.skn", "[skin\n")), FileProblem::Malformed);
    const QByteArray huge(static_cast<qsizetype>(kMaxSectionFileBytes + 1), ';');
    EXPECT_EQ(problemOf(folder.Write("huge.skn", huge)), FileProblem::Malformed);
    EXPECT_EQ(problemOf(folder.Write("good.skn", "[skin]\n")), std::nullopt);
}

}  // namespace
