#include "CommandsFixture.h"
#include "PasswordDlg.h"

namespace {
constexpr const char* kQuitLoses =
    "The message you typed has not been hidden in a saved image. Quit and lose it?";

class QuitTest : public CommandsFixture {
protected:
    void ExpectQuitAnswered(const char* answer) {
        m_script.ExpectQuestion(kQuitLoses, {"&Yes", "&No"}, "&No", answer);
    }
};

TEST_F(QuitTest, EveryWayOutAsksWhileATypedMessageIsUnsavedAndNoStays) {
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        TypeMessage(dlg, "a long message, typed and never hidden");
        ExpectQuitAnswered("&No");
        PressKey(dlg, Qt::Key_Escape);
        ExpectQuitAnswered("&No");
        dlg.GetSafeHwnd()->close();
        ExpectQuitAnswered("&No");
        Click(dlg, IDCANCEL);
        EXPECT_TRUE(m_script.Done());
        EXPECT_FALSE(dlg.HasEnded());
        EXPECT_EQ(MessageShown(dlg), "a long message, typed and never hidden");

        ExpectQuitAnswered("&Yes");
        PressKey(dlg, Qt::Key_Escape);
        EXPECT_TRUE(dlg.HasEnded());
    });
}

TEST_F(QuitTest, EndsAtOnceWhenNoTypedWorkWouldBeLost) {
    const std::string image = Write("image.bmp", MakeBitmap(64, 64, 24));
    const std::string text = WriteFile(m_folder, "note.txt", std::string("from a file"));
    const std::string hidden =
        Write("hidden.bmp", WithHiddenMessage(MakeBitmap(64, 64, 24), "password1", "revealed"));
    const std::pair<const char*, std::function<void(CVeilnoteDlg&)>> cases[] = {
        {"nothing typed", [](CVeilnoteDlg&) {}},
        {"typed and erased", [&](CVeilnoteDlg& dlg) { TypeMessage(dlg, ""); }},
        {"typed, hidden and saved",
         [&](CVeilnoteDlg& dlg) {
             Open(dlg, image);
             TypeMessage(dlg, "kept in saved.bmp");
             Hide(dlg, "password1", PathOf("saved.bmp"));
         }},
        {"loaded from a file",
         [&](CVeilnoteDlg& dlg) {
             m_script.ExpectOpenFile(text);
             Click(dlg, IDC_MESSAGEVIEW);
             Click(dlg, IDC_LOADTEXT);
         }},
        {"revealed",
         [&](CVeilnoteDlg& dlg) {
             Open(dlg, hidden);
             ExpectPasswordGiven("password1");
             ClickReveal(dlg);
         }},
    };
    for (const auto& [name, before] : cases) {
        SCOPED_TRACE(name);
        RunMainWindow([&](CVeilnoteDlg& dlg) {
            before(dlg);
            EXPECT_TRUE(m_script.Done());
            PressKey(dlg, Qt::Key_Escape);
            EXPECT_TRUE(dlg.HasEnded());
        });
    }
}

TEST_F(QuitTest, HideWhoseSaveWasCancelledStillAsks) {
    const std::string image = Write("image.bmp", MakeBitmap(64, 64, 24));
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, image);
        TypeMessage(dlg, "not saved anywhere");
        Hide(dlg, "password1", std::nullopt);
        ExpectQuitAnswered("&No");
        PressKey(dlg, Qt::Key_Escape);
        EXPECT_TRUE(m_script.Done());
        EXPECT_FALSE(dlg.HasEnded());
    });
}
}  // namespace
