// Hide asks before it would visibly change the picture: after the empty
// message check, before the password dialog.
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "CarrierRecords.h"
#include "CommandsFixture.h"
#include "Hiding.h"
#include "PasswordDlg.h"

namespace {

constexpr const char* kOneBitQuestion =
    "This is a 1-bit bitmap: hiding a message will visibly change some of its pixels. No message "
    "can be hidden in it safely.\n\nHide the message anyway? Convert makes a 24-bit copy of the "
    "picture that looks the same and takes the message safely; it is saved under a new name.";
const std::vector<std::string> kAnswers = {"&Yes", "&No", "&Convert"};

class DamageQuestionTest : public CommandsFixture {
protected:
    // The most any channel of any pixel moves between two pictures; 255 when
    // one does not decode or their sizes differ.
    static int Change(const Bytes& before, const Bytes& after) {
        const auto decode = [](const Bytes& file) {
            return QImage::fromData(file.data(), static_cast<int>(file.size()), "BMP")
                .convertToFormat(QImage::Format_ARGB32);
        };
        const QImage a = decode(before);
        const QImage b = decode(after);
        if (a.isNull() || b.isNull() || a.size() != b.size())
            return 255;
        int most = 0;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                for (int shift = 0; shift < 32; shift += 8) {
                    const int p = static_cast<int>(a.pixel(x, y) >> shift & 0xFF);
                    const int q = static_cast<int>(b.pixel(x, y) >> shift & 0xFF);
                    most = std::max(most, std::abs(p - q));
                }
            }
        }
        return most;
    }
};

TEST_F(DamageQuestionTest, NoStopsBeforeThePasswordAndChangesNothing) {
    const Bytes image = MakeBitmap(200, 60, 1);
    const std::string path = Write("drawing.bmp", image);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, "secret");
        m_script.ExpectQuestion(kOneBitQuestion, kAnswers, "&No", "&No");
        ClickHide(dlg);  // a password dialog now would fail the script
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(Carrier(dlg), image);
    });
    EXPECT_EQ(m_script.FileDialogsSeen().size(), 1u) << "only the Open dialog";
    EXPECT_EQ(FolderEntries(m_folder.path().toStdString()),
              std::vector<std::string>{"drawing.bmp"});
}

TEST_F(DamageQuestionTest, YesGoesOnAsBefore) {
    const Bytes image = MakeBitmap(200, 60, 1);
    const std::string path = Write("drawing.bmp", image);
    const std::string saved = PathOf("saved.bmp");
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, "secret");
        m_script.ExpectQuestion(kOneBitQuestion, kAnswers, "&No", "&Yes");
        Hide(dlg, "password1", saved);
        EXPECT_TRUE(m_script.Done());
    });
    EXPECT_EQ(ReadFile(saved), WithHiddenMessage(image, "password1", "secret"));
}

TEST_F(DamageQuestionTest, AnEarlierMessageThatCannotBeWipedIsToldOfBeforeThePassword) {
    // Seal is not chosen yet: the note says when a sealed record, longer than
    // any 40-byte one, would cover what the plain one leaves.
    for (const std::size_t old : {std::size_t{1080}, std::size_t{40}}) {
        const Bytes image =
            WithHiddenMessage(MakeBitmap(640, 240, 1), "password1", std::string(old, 'e'));
        const std::string path = Write("drawing.bmp", image);
        const std::string saved = PathOf("saved.bmp");
        const bool sealedCovers = old == 40;
        RunMainWindow([&](CVeilnoteDlg& dlg) {
            Open(dlg, path);
            TypeMessage(dlg, "secret");
            m_script.ExpectQuestion(kOneBitQuestion, kAnswers, "&No", "&Yes");
            const auto length = static_cast<std::int64_t>(old);
            m_script.ExpectMessageBox(WipeShortfall(length, length - 8) +
                                      (sealedCovers ? " " + std::string(kSealedLeavesNone) : ""));
            Hide(dlg, "password1", saved);
            EXPECT_TRUE(m_script.Done());
        });
        EXPECT_EQ(ReadFile(saved), WithHiddenMessage(image, "password1", "secret"));
    }
}

// A 16-bit bitmap with a version 4 header, 5 bits a colour and one of alpha,
// every other pixel transparent: a Hide shows. With a hole in the blue mask
// no copy can say what decoders make of it.
Bytes SixteenBitWithAlpha(std::uint32_t blueMask) {
    const std::uint32_t width = 64;
    const std::uint32_t height = 32;
    Bytes file = {'B', 'M'};
    const auto put = [&file](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    const std::uint32_t pixels = width * 2 * height;
    put(14 + 108 + pixels, 4), put(0, 4), put(14 + 108, 4);
    put(108, 4), put(width, 4), put(height, 4), put(1, 2), put(16, 2), put(3, 4), put(pixels, 4);
    put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
    put(0x7C00, 4), put(0x03E0, 4), put(blueMask, 4), put(0x8000, 4);
    file.resize(14 + 108, 0);
    for (std::uint32_t i = 0; i < pixels / 2; ++i)
        put((i * 2654435761u >> 8 & 0x7FFF) | (i % 2 == 0 ? 0x8000u : 0u), 2);
    return file;
}

// Convert hides in a copy that looks the same, alpha included, saved under
// a name that says its depth: 32 bits where the picture shows transparency.
TEST_F(DamageQuestionTest, ConvertHidesInACopyThatLooksTheSameNamedByItsDepth) {
    const struct {
        const char* name;
        Bytes image;
        const char* saved;
        std::uint8_t depth;
        int change;  // from Qt's reading of the picture
        const char* question;
    } cases[] = {
        {"photo.bmp", MakeBitmap(200, 60, 4) /* 16 greys, 17 apart */, "photo-24bit.bmp", 24, 1,
         "This is a 4-bit bitmap: hiding a message will visibly change some of its pixels. No "
         "message can be hidden in it safely.\n\nHide the message anyway? Convert makes a 24-bit "
         "copy of the picture that looks the same and takes the message safely; it is saved under "
         "a new name."},
        {"icon.bmp", SixteenBitWithAlpha(0x001F), "icon-32bit.bmp", 32,
         7 /* 5-bit channels: between Qt's and ImageMagick's readings, up to 7 apart */,
         "This is a 16-bit bitmap: hiding a message will visibly change some of its pixels. No "
         "message can be hidden in it safely.\n\nHide the message anyway? Convert makes a 32-bit "
         "copy of the picture that looks the same and takes the message safely; it is saved under "
         "a new name."},
    };
    const std::string message(200, 'm');
    for (const auto& c : cases) {
        const std::string path = Write(c.name, c.image);
        const std::string saved = PathOf(c.saved);
        const std::size_t seen = m_script.FileDialogsSeen().size();
        RunMainWindow([&](CVeilnoteDlg& dlg) {
            Open(dlg, path);
            TypeMessage(dlg, QString::fromStdString(message));
            m_script.ExpectQuestion(c.question, kAnswers, "&No", "&Convert");
            Hide(dlg, "password1", saved);
            EXPECT_TRUE(m_script.Done());
        });
        ASSERT_EQ(m_script.FileDialogsSeen().size(), seen + 2) << c.name;
        EXPECT_EQ(m_script.FileDialogsSeen().back().initialFileName, saved);
        EXPECT_EQ(ReadFile(path), c.image);
        const Bytes written = ReadFile(saved);
        ASSERT_GT(written.size(), 28u);
        EXPECT_EQ(written[28], c.depth) << c.name << ": bits per pixel";
        EXPECT_LE(Change(c.image, written), c.change) << c.name << ", alpha included";
        EXPECT_EQ(RecordOf(written, kMessageRecordStart), message);
    }
}

TEST_F(DamageQuestionTest, SafeHidesAreNeverAskedAboutAndFilesThatCannotBeConvertedGetYesNo) {
    const std::string photo = Write("photo.bmp", MakeBitmap(64, 64, 24));
    const std::string other = Write("other.bmp", MakeNonBitmap(5000));
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, photo);
        TypeMessage(dlg, "secret");
        Hide(dlg, "password1", std::nullopt);
        EXPECT_TRUE(m_script.Done());

        Open(dlg, other);
        TypeMessage(dlg, "secret");
        m_script.ExpectQuestion(
            "This file is not a bitmap: hiding a message may break it. No message can be hidden "
            "in it safely.\n\nHide the message anyway?",
            {"&Yes", "&No"}, "&No", "&No");
        ClickHide(dlg);
        EXPECT_TRUE(m_script.Done());
    });
}

TEST_F(DamageQuestionTest, ConvertThatCannotBeDoneSaysSoAndChangesNothing) {
    const Bytes image = SixteenBitWithAlpha(0x0015);
    const std::string path = Write("icon.bmp", image);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, "secret");
        m_script
            .ExpectQuestion(
                "This is a 16-bit bitmap: hiding a message will visibly change some of its "
                "pixels. No message can be hidden in it safely.\n\nHide the message anyway? "
                "Convert makes a 24-bit copy of the picture that looks the same and takes the "
                "message safely; it is saved under a new name.",
                kAnswers, "&No", "&Convert")
            .ExpectMessageBox(
                "The picture cannot be converted: its channel masks are not contiguous.");
        ClickHide(dlg);
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(Carrier(dlg), image);
    });
    EXPECT_EQ(FolderEntries(m_folder.path().toStdString()), std::vector<std::string>{"icon.bmp"});
}

// A picture of the real question for people to look at, answered No.
TEST_F(DamageQuestionTest, ScreenshotOfTheRealQuestion) {
    const std::string path = Write("drawing.bmp", MakeBitmap(200, 60, 1));
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, "secret");
        Interactions* script = AfxGetApp()->SetInteractions(nullptr);
        bool shown = false;
        QTimer::singleShot(0, [&shown] {
            static_cast<void>(QTest::qWaitFor(
                [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); },
                2000));
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shown = true;
            SaveScreenshot(box, "hide-question");
            QTest::keyClick(box, Qt::Key_Escape);
        });
        ClickHide(dlg);
        AfxGetApp()->SetInteractions(script);
        EXPECT_TRUE(shown);
    });
}

}  // namespace
