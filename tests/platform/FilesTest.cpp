#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "Afx.h"

namespace {
std::string Write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName().toStdString();
}

QByteArray Read(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

TEST(CFileOpen, ReadOnlyFilesOpenAndFoldersDoNot) {
    QTemporaryDir dir;
    const std::string path = Write(dir, "image.bmp", "BM1234");
    ::chmod(path.c_str(), 0444);
    CFile file;
    std::string error;
    EXPECT_TRUE(file.Open(CString(path), CFile::modeRead | CFile::typeBinary));
    file.Close();
    EXPECT_FALSE(file.Open(CString(dir.path().toStdString()), CFile::modeRead, &error));
    EXPECT_FALSE(file.Open(CString(""), CFile::modeRead, &error));
}

TEST(CAtomicFileCommit, ReplacesTheTargetWhole) {
    QTemporaryDir dir;
    const std::string path = Write(dir, "out.bmp", "old contents");
    CAtomicFile file;
    std::string error;
    ASSERT_TRUE(file.Open(CString(path), &error));
    ASSERT_TRUE(file.Write("new", 3, &error));
    ASSERT_TRUE(file.Commit(&error));
    EXPECT_EQ(Read(path), "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(CAtomicFileCommit, FailureLeavesTargetAsItWasAndNoTemporaryFile) {
    QTemporaryDir dir;
    std::string error;
    {
        // Abandoned before commit.
        const std::string path = Write(dir, "kept.bmp", "keep me");
        CAtomicFile file;
        ASSERT_TRUE(file.Open(CString(path), &error));
        ASSERT_TRUE(file.Write("partial", 7, &error));
        EXPECT_EQ(Read(path), "keep me");
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

    CAtomicFile file;
    QDir(dir.path()).mkdir("folder.bmp");
    EXPECT_FALSE(file.Open(CString(dir.filePath("folder.bmp").toStdString()), &error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_FALSE(file.Open(CString(dir.filePath("missing/out.bmp").toStdString()), &error));
    EXPECT_EQ(error, "No such file or directory");

    const std::string readOnly = Write(dir, "locked.bmp", "locked");
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_FALSE(file.Open(CString(readOnly), &error));
    EXPECT_EQ(Read(readOnly), "locked");
}

// The same policy as the command-line tool's, which tests it in full.
TEST(CAtomicFileCommit, FollowsLinksAndLeavesSpecialFilesAlone) {
    QTemporaryDir dir;
    const std::string real = Write(dir, "real.bmp", "old");
    const std::string link = dir.filePath("link.bmp").toStdString();
    ASSERT_EQ(::symlink("real.bmp", link.c_str()), 0);
    std::string error;
    {
        CAtomicFile file;
        ASSERT_TRUE(file.Open(CString(link), &error)) << error;
        ASSERT_TRUE(file.Write("new", 3, &error));
        ASSERT_TRUE(file.Commit(&error));
    }
    EXPECT_EQ(Read(real), "new");
    EXPECT_EQ(QFileInfo(QString::fromStdString(link)).symLinkTarget(),
              QString::fromStdString(real));

    const std::string fifo = dir.filePath("fifo.bmp").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    CAtomicFile file;
    EXPECT_FALSE(file.Open(CString(fifo), &error));
    EXPECT_EQ(error, "not a regular file");
    EXPECT_EQ(QFileInfo(QString::fromStdString(fifo)).isFile(), false);
    EXPECT_EQ(QDir(dir.path())
                  .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                             QDir::Name),
              (QStringList{"fifo.bmp", "link.bmp", "real.bmp"}));
}

TEST(CFileDialogFilter, TranslatesFiltersAndAddsTheDefaultExtension) {
    CWinApp app;
    CFileDialog bitmaps(TRUE, ".bmp", "", 6, "Bitmap Files (*.bmp)|*.bmp||");
    EXPECT_EQ(bitmaps.NameFilters(), QStringList{"Bitmap Files (*.bmp)"});
    bitmaps.SetChosenPath("/tmp/picture");
    EXPECT_EQ(bitmaps.GetPathName(), "/tmp/picture.bmp");
    bitmaps.SetChosenPath("/tmp/picture.BMP");
    EXPECT_EQ(bitmaps.GetPathName(), "/tmp/picture.BMP");

    CFileDialog pictures(TRUE, nullptr, nullptr, 6, "Pictures|*.bmp;*.dib||");
    EXPECT_EQ(pictures.NameFilters(), QStringList{"Pictures (*.bmp *.dib)"});

    CFileDialog texts(TRUE, "txt", nullptr, 6, "text (*.txt)|*.txt|");
    EXPECT_EQ(texts.NameFilters(), QStringList{"text (*.txt)"});
    texts.SetChosenPath("/tmp/note");
    EXPECT_EQ(texts.GetPathName(), "/tmp/note.txt");
    texts.SetChosenPath({});
    EXPECT_TRUE(texts.GetPathName().IsEmpty()) << "a cancelled dialog holds no path";
}
}  // namespace
