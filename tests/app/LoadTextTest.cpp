#include "CarrierRecords.h"
#include "CommandsFixture.h"

namespace {
class LoadTextTest : public CommandsFixture {
protected:
    // Load text with `path` chosen (nullopt: cancelled); `replaceAnswer`
    // answers the question asked before a typed message is replaced.
    void Load(CVeilnoteDlg& dlg, const std::optional<std::string>& path,
              const std::optional<std::string>& replaceAnswer = std::nullopt) {
        m_script.ExpectOpenFile(path);
        if (replaceAnswer)
            m_script.ExpectQuestion(kReplaceWithLoadedText, {"&Yes", "&No"}, "&No", *replaceAnswer);
        Click(dlg, IDC_MESSAGEVIEW);
        Click(dlg, IDC_LOADTEXT);
        EXPECT_TRUE(m_script.Done());
    }
};

TEST_F(LoadTextTest, ReplacesTheMessageWithTheFileAndRefusesAFileWithAZeroByte) {
    struct Case {
        const char* name;
        std::string bytes;
        QString shown;
        std::size_t zeroAt = std::string::npos;  // refused, before anything is asked
    };
    const Case cases[] = {
        {"plain", "a loaded message", "a loaded message"},
        {"zero byte", std::string("before\0after", 12), "typed before", 6},
        {"zero byte first", std::string("\0after", 6), "typed before", 0},
        {"empty file", "", ""},
    };
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        for (const Case& each : cases) {
            SCOPED_TRACE(each.name);
            TypeMessage(dlg, "typed before");
            const std::string path =
                WriteFile(m_folder, std::string(each.name) + ".txt", each.bytes);
            if (each.zeroAt != std::string::npos) {
                m_script.ExpectOpenFile(path).ExpectMessageBox(
                    "This file is not text: it holds a zero byte (at offset " +
                    std::to_string(each.zeroAt) +
                    "), and the message would be cut there. Seal it with veilnote-cli hide --seal "
                    "to hide any bytes exactly.");
                Click(dlg, IDC_MESSAGEVIEW);
                Click(dlg, IDC_LOADTEXT);
                EXPECT_TRUE(m_script.Done());
            } else {
                Load(dlg, path, "&Yes");
            }
            EXPECT_EQ(MessageShown(dlg), each.shown);
            if (each.zeroAt == std::string::npos) {
                EXPECT_EQ(dlg.m_strMessage.Bytes(), each.shown.toStdString());
            }
        }
    });
    for (const auto& dialog : m_script.FileDialogsSeen()) {
        EXPECT_TRUE(dialog.open);
        EXPECT_EQ(dialog.initialFileName, "");
        EXPECT_EQ(dialog.defaultExtension, "txt");
        EXPECT_EQ(dialog.filter, "text (*.txt)|*.txt|");
    }
}

TEST_F(LoadTextTest, ReplacingATypedMessageAsksAndNoKeepsItButLoadedTextIsReplacedAtOnce) {
    const std::string first = WriteFile(m_folder, "first.txt", std::string("first file"));
    const std::string second = WriteFile(m_folder, "second.txt", std::string("second file"));
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        TypeMessage(dlg, "typed by hand");
        Load(dlg, first, "&No");
        EXPECT_EQ(MessageShown(dlg), "typed by hand");
        Load(dlg, first, "&Yes");
        EXPECT_EQ(MessageShown(dlg), "first file");
        // Text from a file is in that file still: nothing to lose.
        Load(dlg, second);
        EXPECT_EQ(MessageShown(dlg), "second file");
    });
}

TEST_F(LoadTextTest, CancelOrAMissingFileChangesNothing) {
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        TypeMessage(dlg, "typed");
        Load(dlg, std::nullopt);
        EXPECT_EQ(MessageShown(dlg), "typed");
        Load(dlg, PathOf("missing.txt"));
        EXPECT_EQ(MessageShown(dlg), "typed");
    });
}

TEST_F(LoadTextTest, Windows1252TextShowsItsAccentsAndHidesByteForByte) {
    const std::string image = Write("image.bmp", MakeBitmap(64, 64, 24));
    const std::string saved = PathOf("saved.bmp");
    const std::string text = "caf\xe9 cr\xe8me \x80 5";
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, image);
        Load(dlg, WriteFile(m_folder, "western.txt", text));
        EXPECT_EQ(MessageShown(dlg), QString::fromUtf8("café crème € 5"));
        Hide(dlg, "password1", saved);
        EXPECT_EQ(RecordOf(Carrier(dlg), kMessageRecordStart), text);

        TypeMessage(dlg, "");
        ExpectPasswordGiven("password1");
        ClickReveal(dlg);
        EXPECT_EQ(MessageShown(dlg), QString::fromUtf8("café crème € 5"));
        EXPECT_EQ(dlg.m_strMessage.Bytes(), text);
    });
    EXPECT_EQ(RecordOf(ReadFile(saved), kMessageRecordStart), text);
}
}  // namespace
