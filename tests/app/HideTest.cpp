#include <cerrno>
#include <cstring>
#include <filesystem>

#include "../support/OldRecordOracle.h"
#include "CarrierRecords.h"
#include "CommandsFixture.h"
#include "PasswordDlg.h"
#include "PasswordRules.h"

namespace {
constexpr const char* kVerySmall = "Image is very small.";
constexpr const char* kReplaceTyped =
    "The message you typed has not been hidden in a saved image. Replace it with the revealed "
    "message?";

class HideTest : public CommandsFixture {
protected:
    // Whether `saved` differs from `opened` only in bit 0 of bytes from 68 on.
    static void ExpectOnlyLowBitsChanged(const Bytes& opened, const Bytes& saved) {
        ASSERT_EQ(saved.size(), opened.size());
        for (std::size_t i = 0; i < saved.size(); ++i) {
            const unsigned mask = i < 68 ? 0xFFu : 0xFEu;
            ASSERT_EQ(saved[i] & mask, opened[i] & mask) << "byte " << i;
        }
    }
};

TEST_F(HideTest, EmptyMessageOrCancelledPasswordStopsBeforeTheCarrier) {
    const Bytes image = MakeBitmap(64, 64, 24);
    const std::string path = Write("image.bmp", image);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        m_script.ExpectMessageBox("There is no text to curtain");
        ClickHide(dlg);
        EXPECT_TRUE(m_script.Done());

        TypeMessage(dlg, "secret");
        m_script.ExpectModalRun<CPasswordDlg>(
            [](CPasswordDlg& password) { Click(password, IDC_PASSWORD_CANCEL); });
        ClickHide(dlg);
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(Carrier(dlg), image);
    });
    EXPECT_EQ(m_script.FileDialogsSeen().size(), 1u);
}

TEST_F(HideTest, CarrierTooSmallForThePasswordRecordSavesNothing) {
    const Bytes bytes = MakeNonBitmap(1000);
    const std::string path = Write("small.bmp", bytes);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        EXPECT_EQ(dlg.m_nImageLength, 1000);
        TypeMessage(dlg, "hello");
        // Said before any password is asked for, with both sizes.
        m_script.ExpectMessageBox(std::string(kVerySmall) +
                                  " The message has 5 bytes; this picture takes at most 0.");
        ClickHide(dlg);
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(Carrier(dlg), bytes);
    });
    EXPECT_EQ(m_script.FileDialogsSeen().size(), 1u);
    EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(HideTest, MessageThatDoesNotFitLeavesTheCarrierAsItWas) {
    // Room for the 16-byte password record (1,128 bytes) but not for a
    // 24-byte message record (1,192 bytes).
    const Bytes image = WithHiddenMessage(MakeBitmapOfLength(1150), "oldpassw", "old");
    const std::string path = Write("tight.bmp", image);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, "a message of twenty bytes");
        m_script.ExpectMessageBox(std::string(kVerySmall) +
                                  " The message has 25 bytes; this picture takes at most 16.");
        ClickHide(dlg);
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(Carrier(dlg), image);

        // The old password still guards the old message.
        ExpectPasswordGiven("oldpassw");
        m_script.ExpectQuestion(kReplaceTyped, {"&Yes", "&No"}, "&No", "&Yes");
        ClickReveal(dlg);
        EXPECT_EQ(MessageShown(dlg), "old");
    });
    EXPECT_EQ(m_script.FileDialogsSeen().size(), 1u);
}

TEST_F(HideTest, SavedFileKeepsItsLengthChangesOnlyLowBitsAndRevealsTheMessage) {
    const Bytes image = MakeBitmap(64, 64, 24);
    const std::string path = Write("image.bmp", image);
    const std::string saved = PathOf("saved.bmp");
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, "Meet at noon.  ");
        Hide(dlg, "password1", saved);
        EXPECT_EQ(dlg.m_strSavePath.Bytes(), saved);
        EXPECT_EQ(dlg.m_strImagePath.Bytes(), path);
        // The window now holds what the saved file holds, and says so.
        EXPECT_EQ(dlg.GetSafeHwnd()->windowTitle(), "saved.bmp - Veil Note");
    });
    EXPECT_EQ(ReadFile(path), image);
    const Bytes written = ReadFile(saved);
    ExpectOnlyLowBitsChanged(image, written);
    EXPECT_EQ(RecordOf(written, kPasswordRecordStart), "password58203614");

    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, saved);
        ExpectPasswordGiven("password1");
        ClickReveal(dlg);
        // Trailing white space does not come back.
        EXPECT_EQ(MessageShown(dlg), "Meet at noon.");
        EXPECT_EQ(dlg.m_strMessage.Bytes(), "Meet at noon.");
    });
}

TEST_F(HideTest, MessageOfBlanksHidesAndRevealsAsAnEmptyMessage) {
    const std::string path = Write("image.bmp", MakeBitmap(64, 64, 24));
    const std::string saved = PathOf("blanks.bmp");
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, "   ");
        Hide(dlg, "password1", saved);
    });
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, saved);
        TypeMessage(dlg, "to be replaced");
        ExpectPasswordGiven("password1");
        m_script.ExpectQuestion(kReplaceTyped, {"&Yes", "&No"}, "&No", "&Yes");
        ClickReveal(dlg);
        EXPECT_EQ(MessageShown(dlg), "");
    });
}

TEST_F(HideTest, CancelledSaveLeavesTheImageAsItWasAndRevealFindsNothing) {
    const Bytes image = MakeBitmap(64, 64, 24);
    const std::string path = Write("image.bmp", image);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, "never saved");
        Hide(dlg, "password1", std::nullopt);
        EXPECT_EQ(Carrier(dlg), image);
        EXPECT_EQ(dlg.GetSafeHwnd()->windowTitle(), "image.bmp - Veil Note");
        m_script.ExpectMessageBox("Image does not contain curtained data ..");
        ClickReveal(dlg);  // and no password asked
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(MessageShown(dlg), "never saved");

        // A later Hide saves only its own message.
        TypeMessage(dlg, "saved");
        Hide(dlg, "password2", PathOf("saved.bmp"));
        ExpectOnlyLowBitsChanged(image, Carrier(dlg));
        EXPECT_EQ(Carrier(dlg), ReadFile(PathOf("saved.bmp")));
    });
    EXPECT_EQ(RecordOf(ReadFile(PathOf("saved.bmp")), kMessageRecordStart), "saved");
    EXPECT_EQ(ReadFile(path), image);
}

TEST_F(HideTest, SecondHideOverwritesBothRecordsAndSaveProposesTheOpenedImageAgain) {
    const std::string path = Write("image.bmp", MakeBitmap(64, 64, 24));
    const std::string first = PathOf("first.bmp");
    const std::string second = PathOf("second.bmp");
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, "the first, and rather longer, message");
        Hide(dlg, "firstpass", first);
        TypeMessage(dlg, "second");
        Hide(dlg, "secondpa", second);
    });
    const auto& dialogs = m_script.FileDialogsSeen();
    ASSERT_EQ(dialogs.size(), 3u);
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_FALSE(dialogs[i].open);
        EXPECT_EQ(dialogs[i].initialFileName, path);
        EXPECT_EQ(dialogs[i].defaultExtension, ".bmp");
        EXPECT_EQ(dialogs[i].filter, "Bitmap Files (*.bmp)|*.bmp||");
    }
    EXPECT_EQ(RecordOf(ReadFile(first), kMessageRecordStart),
              "the first, and rather longer, message");
    const Bytes last = ReadFile(second);
    EXPECT_EQ(RecordOf(last, kPasswordRecordStart), StoredForm("secondpa"));
    EXPECT_EQ(RecordOf(last, kMessageRecordStart), "second");
    // Nothing of the longer first message deciphers past the second.
    const std::string firstRecord("the first, and rather longer, message\0\0\0", 40);
    EXPECT_EQ(ReadableOldBlocks({reinterpret_cast<const char*>(last.data()), last.size()},
                                firstRecord, 0),
              std::vector<std::size_t>{});
}

TEST_F(HideTest, FailedSaveNamesTheReasonAndLeavesEveryFileAsItWas) {
    const Bytes image = MakeBitmap(64, 64, 24);
    const std::string path = Write("image.bmp", image);
    const std::string folder = PathOf("folder.bmp");
    std::filesystem::create_directory(folder);
    const Bytes lockedBytes = MakeNonBitmap(3000);
    const std::string locked = Write("locked.bmp", lockedBytes);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read);
    const std::string root = m_folder.path().toStdString();
    const std::vector<std::string> before = FolderEntries(root);

    struct Case {
        const char* name;
        std::string target;
        int error;
    };
    const Case cases[] = {
        {"a folder", folder, EISDIR},
        {"inside a missing folder", PathOf("missing/saved.bmp"), ENOENT},
        {"a read-only file", locked, EACCES},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        RunMainWindow([&](CVeilnoteDlg& dlg) {
            Open(dlg, path);
            TypeMessage(dlg, "not to be saved");
            ExpectPasswordChosen("password1");
            m_script.ExpectSaveFile(each.target);
            m_script.ExpectMessageBox("The image could not be saved to " + each.target + ": " +
                                      std::strerror(each.error));
            ClickHide(dlg);
            EXPECT_TRUE(m_script.Done());
            EXPECT_EQ(dlg.m_strSavePath.Bytes(), each.target);
            EXPECT_EQ(Carrier(dlg), image) << "the window's image changes with a save only";
        });
        EXPECT_EQ(FolderEntries(root), before);
        EXPECT_TRUE(FolderEntries(folder).empty());
        EXPECT_EQ(ReadFile(locked), lockedBytes);
        EXPECT_EQ(ReadFile(path), image);
    }
}

TEST_F(HideTest, SavingOverTheOpenedImageReplacesIt) {
    const Bytes image = MakeBitmap(48, 48, 32);
    const std::string path = Write("image.bmp", image);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, "in place");
        Hide(dlg, "password1", path);
    });
    EXPECT_EQ(FolderEntries(m_folder.path().toStdString()), std::vector<std::string>{"image.bmp"});
    const Bytes saved = ReadFile(path);
    ExpectOnlyLowBitsChanged(image, saved);
    EXPECT_EQ(RecordOf(saved, kMessageRecordStart), "in place");
}

TEST_F(HideTest, CarrierSavedByTheWindowRevealsWithTheCommandLineTool) {
    const std::string path = Write("image.bmp", MakeBitmap(64, 64, 8));
    const std::string saved = PathOf("saved.bmp");
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, QString::fromUtf8("Grüße from the window"));
        Hide(dlg, "windowpw1", saved);
    });
    const std::string passwordFile = WriteFile(m_folder, "pw.txt", std::string("windowpw1\n"));
    std::string out;
    EXPECT_EQ(RunCli({"reveal", QString::fromStdString(saved), "--password-file",
                      QString::fromStdString(passwordFile)},
                     out),
              0);
    EXPECT_EQ(out, "Grüße from the window");
}
}  // namespace
