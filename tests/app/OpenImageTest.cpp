#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

#include <QAccessible>
#include <QBuffer>
#include <QImage>

#include "CommandsFixture.h"
#include "PasswordDlg.h"

namespace {

class OpenImageTest : public CommandsFixture {};

QString Title(CVeilnoteDlg& dlg) {
    return dlg.GetSafeHwnd()->windowTitle();
}

// What a screen reader hears for the picture.
QString PictureSpoken(CVeilnoteDlg& dlg) {
    QAccessibleInterface* picture =
        QAccessible::queryAccessibleInterface(Control(dlg, IDC_PICTURE));
    EXPECT_EQ(picture ? picture->role() : QAccessible::NoRole, QAccessible::Graphic);
    return picture ? picture->text(QAccessible::Name) : QString();
}

// A picture of another kind than a bitmap, as `format` writes it.
Bytes Encoded(int width, int height, const char* format) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(30, 140, 90));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return {data.begin(), data.end()};
}

TEST_F(OpenImageTest, AnyFileThatOpensBecomesTheCarrierAndEnablesHideAndReveal) {
    struct Case {
        const char* name;
        Bytes bytes;
        bool preview;
        const char* spoken;  // after the file's name
    };
    const Case cases[] = {
        {"24-bit", MakeBitmap(40, 30, 24), true, ", 40 by 30 pixels"},
        {"32-bit", MakeBitmap(33, 21, 32), true, ", 33 by 21 pixels"},
        {"8-bit palette", MakeBitmap(50, 40, 8), true, ", 50 by 40 pixels"},
        {"1-bit", MakeBitmap(70, 20, 1), true, ", 70 by 20 pixels"},
        {"PNG", Encoded(40, 30, "PNG"), true, ", PNG picture, 40 by 30 pixels"},
        {"JPEG", Encoded(36, 24, "JPEG"), true, ", JPEG picture, 36 by 24 pixels"},
        {"1,000 bytes of something else", MakeNonBitmap(1000), false, ", no preview"},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        const std::string path = Write(std::string(each.name) + ".bmp", each.bytes);
        RunMainWindow([&](CVeilnoteDlg& dlg) {
            EXPECT_FALSE(IsEnabled(dlg, IDC_HIDE));
            EXPECT_FALSE(IsEnabled(dlg, IDC_REVEAL));
            EXPECT_EQ(Title(dlg), "Veil Note");
            EXPECT_EQ(PictureSpoken(dlg), "No picture open");
            Open(dlg, path);
            const QString file = QString(each.name) + ".bmp";
            EXPECT_EQ(Title(dlg), file + " - Veil Note");
            EXPECT_EQ(PictureSpoken(dlg), file + each.spoken);
            EXPECT_TRUE(IsEnabled(dlg, IDC_HIDE));
            EXPECT_TRUE(IsEnabled(dlg, IDC_REVEAL));
            EXPECT_EQ(Carrier(dlg), each.bytes);
            EXPECT_EQ(dlg.m_nImageLength, static_cast<std::int32_t>(each.bytes.size()));
            EXPECT_EQ(dlg.m_strImagePath.Bytes(), path);
            EXPECT_EQ(dlg.m_strSavePath.Bytes(), path);
            EXPECT_EQ(dlg.m_picImage.GetBitmap() != nullptr, each.preview);
            EXPECT_TRUE(IsShown(dlg, IDC_PICTURE));
            if (&each == &cases[0])
                SaveScreenshot(dlg.GetSafeHwnd(), "main-preview");
        });
        ASSERT_EQ(m_script.FileDialogsSeen().size(), static_cast<std::size_t>(&each - cases + 1));
        const auto& dialog = m_script.FileDialogsSeen().back();
        EXPECT_TRUE(dialog.open);
        EXPECT_EQ(dialog.initialFileName, "");
        EXPECT_EQ(dialog.defaultExtension, ".bmp");
        EXPECT_EQ(dialog.filter,
                  "Pictures|*.bmp;*.png;*.jpg;*.jpeg;*.webp;*.gif;*.tif;*.tiff|Bitmap Files "
                  "(*.bmp)|*.bmp|All Files|*||");
    }
}

TEST_F(OpenImageTest, TruncatedBitmapStillBecomesTheCarrier) {
    const Bytes bytes = Truncated(MakeBitmap(64, 64, 24), 2000);
    const std::string path = Write("cut.bmp", bytes);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        EXPECT_EQ(Carrier(dlg), bytes);
        EXPECT_TRUE(IsEnabled(dlg, IDC_HIDE));
    });
}

TEST_F(OpenImageTest, CancelledOpenChangesNothingAndTheNextOneProposesTheOpenedImage) {
    const Bytes bytes = MakeBitmap(20, 20, 24);
    const std::string path = Write("first.bmp", bytes);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        Open(dlg, std::nullopt);
        EXPECT_EQ(Carrier(dlg), bytes);
        EXPECT_EQ(dlg.m_strImagePath.Bytes(), path);
        EXPECT_EQ(dlg.m_strSavePath.Bytes(), path);
        EXPECT_NE(dlg.m_picImage.GetBitmap(), nullptr);
    });
    ASSERT_EQ(m_script.FileDialogsSeen().size(), 2u);
    EXPECT_EQ(m_script.FileDialogsSeen()[1].initialFileName, path);
}

TEST_F(OpenImageTest, ReadOnlyImageBecomesTheCarrierAndRevealsItsMessage) {
    const Bytes bytes = WithHiddenMessage(MakeBitmap(30, 30, 24), "lockedpw", "from a locked file");
    const std::string path = Write("locked.bmp", bytes);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);  // and no message
        EXPECT_NE(dlg.m_picImage.GetBitmap(), nullptr);
        EXPECT_EQ(Carrier(dlg), bytes);
        EXPECT_TRUE(IsEnabled(dlg, IDC_HIDE));
        EXPECT_TRUE(IsEnabled(dlg, IDC_REVEAL));
        ExpectPasswordGiven("lockedpw");
        ClickReveal(dlg);
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(MessageShown(dlg), "from a locked file");
    });
    EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(OpenImageTest, ImageThatCannotBeOpenedSaysWhyAndLeavesNoImage) {
    const std::string good = Write("good.bmp", MakeBitmap(64, 64, 24));
    const std::string folder = PathOf("folder.bmp");
    std::filesystem::create_directory(folder);
    // Held by "another program": a lock of our own on a second opening.
    const std::string busy = Write("busy.bmp", MakeBitmap(16, 16, 24));
    const int holder = ::open(busy.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    const std::pair<std::string, std::string> cases[] = {
        {folder, "Is a directory"},
        {PathOf("gone.bmp"), "No such file or directory"},
        {busy, "it is in use by another program"},
    };
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path);
        RunMainWindow([&](CVeilnoteDlg& dlg) {
            Open(dlg, good);
            TypeMessage(dlg, "kept");
            Click(dlg, IDC_IMAGEVIEW);
            m_script.ExpectOpenFile(path).ExpectMessageBox("The image could not be opened: " +
                                                           reason);
            Click(dlg, IDC_OPENIMAGE);
            EXPECT_TRUE(m_script.Done());
            EXPECT_EQ(dlg.m_nImageLength, 0);
            EXPECT_EQ(dlg.m_pImageData, nullptr);
            EXPECT_EQ(dlg.m_picImage.GetBitmap(), nullptr) << "the old preview is gone";
            EXPECT_EQ(Title(dlg), "Veil Note");
            EXPECT_EQ(PictureSpoken(dlg), "No picture open");
            EXPECT_FALSE(IsEnabled(dlg, IDC_HIDE));
            EXPECT_FALSE(IsEnabled(dlg, IDC_REVEAL));
            EXPECT_EQ(MessageShown(dlg), "kept");
            if (&path == &cases[0].first)
                SaveScreenshot(dlg.GetSafeHwnd(), "main-open-failed");
        });
    }
    ::close(holder);
}

TEST_F(OpenImageTest, ImageOver2GiBIsRefusedWithAMessageAndLeavesNoCarrier) {
    const std::string good = Write("good.bmp", MakeBitmap(32, 32, 24));
    // A sparse file: its length is 2 GiB without the disk space.
    const std::string huge = PathOf("huge.bmp");
    Write("huge.bmp", MakeBitmap(8, 8, 24));
    std::filesystem::resize_file(huge, std::uintmax_t{1} << 31);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, good);
        m_script.ExpectOpenFile(huge).ExpectMessageBox(
            "This file is too large to hide a message in: images can be at most 2 GiB - 1 bytes.");
        Click(dlg, IDC_OPENIMAGE);
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(dlg.m_nImageLength, 0);
        EXPECT_EQ(dlg.m_pImageData, nullptr);
        EXPECT_EQ(dlg.m_picImage.GetBitmap(), nullptr);
        EXPECT_FALSE(IsEnabled(dlg, IDC_HIDE));
        EXPECT_FALSE(IsEnabled(dlg, IDC_REVEAL));
    });
}

TEST_F(OpenImageTest, OpeningAnotherImageKeepsTheTypedMessage) {
    const std::string first = Write("first.bmp", MakeBitmap(20, 20, 24));
    const std::string second = Write("second.bmp", MakeBitmap(25, 25, 8));
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, first);
        TypeMessage(dlg, "typed before the second image");
        Open(dlg, second);
        EXPECT_EQ(MessageShown(dlg), "typed before the second image");
        EXPECT_EQ(Carrier(dlg), ReadFile(second));
    });
}
}  // namespace
