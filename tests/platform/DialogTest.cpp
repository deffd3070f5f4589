#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "Afx.h"
#include "DialogBuilder.h"
#include "DialogDriver.h"
#include "ScriptedInteractions.h"
#include "TestResources.h"

namespace {
// A dialog that records what reached its handlers.
class CTestDlg : public CDialog {
public:
    CTestDlg() : CDialog(kTestDialogId) {}

    CString m_strName = "initial";
    CString m_strNotes;
    std::vector<std::string> m_seen;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, kNameEditId, m_strName);
        DDX_Text(pDX, kNotesEditId, m_strNotes);
    }
    void OnDisabled() { m_seen.push_back("disabled"); }
    void OnHidden() { m_seen.push_back("hidden"); }
    BOOL OnHelpInfo(HELPINFO* info) {
        m_seen.push_back("help " + std::to_string(info->iCtrlId));
        return FALSE;
    }

    const MessageMap& GetMessageMap() const override {
        using Map = MessageMapFor<CTestDlg>;
        static const MessageMap map(&CDialog::GetMessageMap(),
                                    {Map::Clicked(kDisabledButtonId, &CTestDlg::OnDisabled),
                                     Map::Clicked(kHiddenButtonId, &CTestDlg::OnHidden),
                                     Map::HelpInfo(&CTestDlg::OnHelpInfo)});
        return map;
    }
};

class DialogTest : public ::testing::Test {
protected:
    CWinApp m_app;
    ScriptedInteractions m_script;
};

TEST_F(DialogTest, ControlsFollowTheTemplate) {
    m_script.ExpectModalRun<CTestDlg>([](CTestDlg& dlg) {
        QWidget* window = dlg.GetSafeHwnd();
        EXPECT_EQ(window->windowTitle(), "Test dialog");
        EXPECT_EQ(window->size(), DialogUnitsToPixels(0, 0, 150, 120).size());
        EXPECT_EQ(window->size(), QSize(225, 195));
        EXPECT_EQ(Control(dlg, kNameEditId)->geometry(), QRect(90, 46, 120, 23));
        EXPECT_EQ(qobject_cast<QLineEdit*>(Control(dlg, kNameEditId))->text(), "initial");
        EXPECT_NE(qobject_cast<QPlainTextEdit*>(Control(dlg, kNotesEditId)), nullptr);
        EXPECT_NE(qobject_cast<QLabel*>(Control(dlg, kLabelId)), nullptr);
        EXPECT_FALSE(IsShown(dlg, kHiddenButtonId));
        EXPECT_FALSE(IsEnabled(dlg, kDisabledButtonId));
        // The first tab stop takes the focus as the dialog starts.
        EXPECT_EQ(window->focusWidget(), Control(dlg, IDOK));
        Click(dlg, IDOK);
    });
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST_F(DialogTest, OkExchangesDataAndKeysBecomeCommands) {
    m_script.ExpectModalRun<CTestDlg>([](CTestDlg& dlg) {
        Type(dlg, kNameEditId, "Ada");
        Type(dlg, kNotesEditId, "two\nlines");
        PressKey(dlg, Qt::Key_F1);
        Click(dlg, kDisabledButtonId);  // disabled: nothing happens
        dlg.SendCommand(kHiddenButtonId);
        PressKey(dlg, Qt::Key_Return);
    });
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strName, "Ada");
    EXPECT_EQ(dlg.m_strNotes, "two\nlines");
    EXPECT_EQ(dlg.m_seen, (std::vector<std::string>{"help " + std::to_string(IDOK), "hidden"}));
}

TEST_F(DialogTest, EscapeAndCloseBoxCancelWithoutExchangingData) {
    for (const bool closeBox : {false, true}) {
        m_script.ExpectModalRun<CTestDlg>([closeBox](CTestDlg& dlg) {
            Type(dlg, kNameEditId, "changed");
            if (closeBox) {
                dlg.GetSafeHwnd()->close();
            } else {
                PressKey(dlg, Qt::Key_Escape);
            }
        });
        CTestDlg dlg;
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.m_strName, "initial");
    }
}

TEST_F(DialogTest, SystemMenuHasCloseAndTakesAppendedItems) {
    m_script.ExpectModalRun<CTestDlg>([](CTestDlg& dlg) {
        CMenu* menu = dlg.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->Items().back().id, SC_CLOSE);
        dlg.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
        EXPECT_TRUE(dlg.HasEnded());
    });
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(DialogTest, UnknownTemplateGivesNoDialog) {
    class CMissingDlg : public CDialog {
    public:
        CMissingDlg() : CDialog(999) {}
    } dlg;
    EXPECT_FALSE(dlg.CreateModalWindow());
    CString text;
    EXPECT_FALSE(text.LoadString(999));
    EXPECT_TRUE(text.LoadString(kTestStringId));
    EXPECT_EQ(text, "&Test string");
}
}  // namespace
