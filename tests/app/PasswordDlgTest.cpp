#include <QTest>

#include "AppFixture.h"
#include "PasswordDlg.h"
#include "PasswordRules.h"

namespace {
constexpr const char* kTooShort = "password  must be at least 8 chars";
constexpr const char* kTooLong = "password is to long it must at most 16 chars";
constexpr const char* kMismatch = "Password & Confirm Pw not match";
constexpr const char* kInvalid = "Invalid password try again";
constexpr BYTE kChoose = 1;
constexpr BYTE kVerify = 0;

class PasswordDlgTest : public AppFixture {
protected:
    struct Outcome {
        INT_PTR result;
        std::string stored;
        std::string password, confirm;  // what is left of the entry for the caller
    };

    // One modal run of the real dialog in `mode`, handed `stored`; `drive`
    // acts as the user.
    Outcome Run(BYTE mode, const std::string& stored, std::function<void(CPasswordDlg&)> drive) {
        CPasswordDlg dlg;
        dlg.m_bChooseMode = mode;
        dlg.m_strStored = stored;
        m_script.ExpectModalRun<CPasswordDlg>(std::move(drive));
        const INT_PTR result = dlg.DoModal();
        EXPECT_TRUE(m_script.Done());
        return {result, dlg.m_strStored.Bytes(), dlg.m_strPassword.Bytes(),
                dlg.m_strConfirm.Bytes()};
    }
};

TEST_F(PasswordDlgTest, ChooseRefusesLengthFirstThenConfirmationKeepingBothEdits) {
    struct Case {
        const char* name;
        QString password, confirmation;
        const char* message;
    };
    const Case cases[] = {
        {"seven", "abcdefg", "abcdefg", kTooShort},
        {"empty pair", "", "", kTooShort},
        {"short and unconfirmed", "abc", "xyz", kTooShort},
        {"seventeen", "abcdefghijklmnopq", "abcdefghijklmnopq", kTooLong},
        {"too long and unconfirmed", "abcdefghijklmnopq", "x", kTooLong},
        {"one letter in another case", "Password12", "password12", kMismatch},
        {"confirmation longer", "abcdefgh", "abcdefgh1", kMismatch},
        {"nine two-byte letters are 18 bytes", QString::fromUtf8("абвгдежзи"),
         QString::fromUtf8("абвгдежзи"), kTooLong},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        const Outcome outcome = Run(kChoose, "", [&](CPasswordDlg& dlg) {
            Type(dlg, IDC_PASSWORD, each.password);
            Type(dlg, IDC_CONFIRM, each.confirmation);
            m_script.ExpectMessageBox(each.message);
            Click(dlg, IDOK);
            EXPECT_TRUE(m_script.Done());
            EXPECT_FALSE(dlg.HasEnded());
            EXPECT_EQ(TextOf(dlg, IDC_PASSWORD), each.password);
            EXPECT_EQ(TextOf(dlg, IDC_CONFIRM), each.confirmation);
            Click(dlg, IDC_PASSWORD_CANCEL);
        });
        EXPECT_EQ(outcome.result, IDCANCEL);
        EXPECT_EQ(outcome.stored, "");
    }
}

TEST_F(PasswordDlgTest, ChooseAcceptsEightToSixteenBytesAndKeepsTheFirstEight) {
    struct Case {
        const char* name;
        QString password;
        std::string stored;
    };
    const Case cases[] = {
        {"eight", "abcdefgh", "abcdefgh58203614"},
        {"ten", "abcdefghij", "abcdefgh58203614"},
        {"sixteen", "Abcdefghijklmnop", "Abcdefgh58203614"},
        // Lengths and the cut count bytes, not letters.
        {"seven letters, thirteen bytes", QString::fromUtf8("пароль1"),
         std::string("\xd0\xbf\xd0\xb0\xd1\x80\xd0\xbe") + "58203614"},
        {"eight letters, fourteen bytes", QString::fromUtf8("пароль12"), StoredForm("пароль12")},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        const Outcome outcome = Run(kChoose, "", [&](CPasswordDlg& dlg) {
            Type(dlg, IDC_PASSWORD, each.password);
            Type(dlg, IDC_CONFIRM, each.password);
            Click(dlg, IDOK);
            EXPECT_TRUE(dlg.HasEnded());
            EXPECT_EQ(TextOf(dlg, IDC_PASSWORD), "");
            EXPECT_EQ(TextOf(dlg, IDC_CONFIRM), "");
        });
        EXPECT_EQ(outcome.result, IDOK);
        EXPECT_EQ(outcome.stored, each.stored);
        EXPECT_EQ(outcome.stored.size(), 16u);
        EXPECT_EQ(outcome.password, "");
        EXPECT_EQ(outcome.confirm, "");
    }
    const Outcome byEnter = Run(kChoose, "", [](CPasswordDlg& dlg) {
        Type(dlg, IDC_PASSWORD, "enterkey1");
        Type(dlg, IDC_CONFIRM, "enterkey1");
        PressKey(dlg, Qt::Key_Return);
    });
    EXPECT_EQ(byEnter.result, IDOK);
    EXPECT_EQ(byEnter.stored, "enterkey58203614");
}

TEST_F(PasswordDlgTest, VerifyAcceptsEveryEntryAgreeingInItsFirstEightBytes) {
    const std::string stored = StoredForm("Secret99xyz");
    const QString entries[] = {"Secret99", "Secret99xyz", "Secret99-something-else",
                               "Secret99" + QString(60, 'z')};
    for (const QString& entry : entries) {
        SCOPED_TRACE(entry.toStdString());
        const Outcome outcome = Run(kVerify, stored, [&](CPasswordDlg& dlg) {
            Type(dlg, IDC_PASSWORD, entry);
            Click(dlg, IDOK);
            EXPECT_TRUE(dlg.HasEnded());
            EXPECT_EQ(TextOf(dlg, IDC_PASSWORD), "");
        });
        EXPECT_EQ(outcome.result, IDOK);
        EXPECT_EQ(outcome.stored, stored);
        EXPECT_EQ(outcome.password, "");
    }

    // A stored password made from a password of two-byte letters.
    const Outcome multiByte = Run(kVerify, StoredForm("пароль12"), [](CPasswordDlg& dlg) {
        Type(dlg, IDC_PASSWORD, QString::fromUtf8("пароль99"));
        Click(dlg, IDOK);
    });
    EXPECT_EQ(multiByte.result, IDOK);
}

TEST_F(PasswordDlgTest, VerifyRefusesWrongEntriesAsOftenAsTriedEmptyingTheEdit) {
    const std::string stored = StoredForm("Secret99xyz");
    const Outcome outcome = Run(kVerify, stored, [&](CPasswordDlg& dlg) {
        const QString wrong[] = {"", "Secret9", "secret99", "Secret98", "Secret9", ""};
        for (const QString& entry : wrong) {
            SCOPED_TRACE(entry.toStdString());
            Type(dlg, IDC_PASSWORD, entry);
            m_script.ExpectMessageBox(kInvalid);
            Click(dlg, IDOK);
            EXPECT_TRUE(m_script.Done());
            EXPECT_FALSE(dlg.HasEnded());
            EXPECT_EQ(TextOf(dlg, IDC_PASSWORD), "");
        }
        Type(dlg, IDC_PASSWORD, "Secret99");
        Click(dlg, IDOK);
    });
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(outcome.stored, stored);
}

TEST_F(PasswordDlgTest, ConfirmationRowShowsInChooseModeOnly) {
    struct Case {
        BYTE mode;
        bool shown;
        const char* screenshot;
    };
    const Case cases[] = {{kChoose, true, "password-choose"},
                          {kVerify, false, "password-verify"},
                          {2, false, nullptr}};
    for (const Case& each : cases) {
        SCOPED_TRACE(int{each.mode});
        Run(each.mode, "abcdefgh58203614", [&](CPasswordDlg& dlg) {
            EXPECT_EQ(IsShown(dlg, IDC_CONFIRM), each.shown);
            EXPECT_EQ(IsShown(dlg, IDC_CONFIRM_LABEL), each.shown);
            EXPECT_TRUE(IsShown(dlg, IDC_PASSWORD));
            EXPECT_TRUE(IsShown(dlg, IDC_PASSWORD_LABEL));
            EXPECT_EQ(dlg.GetSafeHwnd()->windowTitle(), "Password");
            if (each.screenshot) {
                Type(dlg, IDC_PASSWORD, "secret12");
                if (each.shown)
                    Type(dlg, IDC_CONFIRM, "secret12");
                SaveScreenshot(dlg.GetSafeHwnd(), each.screenshot);
            }
            Click(dlg, IDC_PASSWORD_CANCEL);
        });
    }
}

TEST_F(PasswordDlgTest, CancelButtonEscapeAndCloseBoxLeaveTheStoredPasswordAsItWas) {
    const std::pair<const char*, std::function<void(CPasswordDlg&)>> cancels[] = {
        {"Cancel", [](CPasswordDlg& dlg) { Click(dlg, IDC_PASSWORD_CANCEL); }},
        {"Escape", [](CPasswordDlg& dlg) { PressKey(dlg, Qt::Key_Escape); }},
        {"close box", [](CPasswordDlg& dlg) { dlg.GetSafeHwnd()->close(); }},
    };
    const std::pair<BYTE, std::string> modes[] = {{kChoose, ""}, {kVerify, "Secret9958203614"}};
    for (const auto& [how, cancel] : cancels) {
        for (const auto& [mode, stored] : modes) {
            SCOPED_TRACE(std::string(how) + (mode == kChoose ? " choosing" : " verifying"));
            const Outcome outcome = Run(mode, stored, [&](CPasswordDlg& dlg) {
                // A complete, acceptable entry that the user then abandons.
                Type(dlg, IDC_PASSWORD, "Secret99");
                if (mode == kChoose)
                    Type(dlg, IDC_CONFIRM, "Secret99");
                cancel(dlg);
                EXPECT_TRUE(dlg.HasEnded());
                EXPECT_EQ(TextOf(dlg, IDC_PASSWORD), "");
                EXPECT_EQ(TextOf(dlg, IDC_CONFIRM), "");
            });
            EXPECT_EQ(outcome.result, IDCANCEL);
            EXPECT_EQ(outcome.stored, stored);
            EXPECT_EQ(outcome.password, "");
            EXPECT_EQ(outcome.confirm, "");
        }
    }
}
TEST_F(PasswordDlgTest, WrongPasswordLeavesTheFocusInTheEmptiedFieldForTheNextTry) {
    const std::string stored = StoredForm("Secret99");
    const Outcome outcome = Run(kVerify, stored, [&](CPasswordDlg& dlg) {
        QWidget* window = dlg.GetSafeHwnd();
        Type(dlg, IDC_PASSWORD, "Wrong999");
        Control(dlg, IDOK)->setFocus();  // as a click with the mouse leaves it
        m_script.ExpectMessageBox(kInvalid);
        Click(dlg, IDOK);
        EXPECT_TRUE(m_script.Done());
        ASSERT_EQ(window->focusWidget(), Control(dlg, IDC_PASSWORD));
        // The next keys reach the field without the mouse.
        QTest::keyClicks(window->focusWidget(), "Secret99");
        PressKey(dlg, Qt::Key_Return);
    });
    EXPECT_EQ(outcome.result, IDOK);
}

TEST_F(PasswordDlgTest, EnterPressesTheFocusedButtonElseTheDefaultOk) {
    const std::string stored = StoredForm("Secret99");
    const std::pair<int, INT_PTR> cases[] = {
        {IDC_PASSWORD, IDOK}, {IDOK, IDOK}, {IDC_PASSWORD_CANCEL, IDCANCEL}};
    for (const auto& [focus, result] : cases) {
        SCOPED_TRACE(focus);
        const Outcome outcome = Run(kVerify, stored, [&](CPasswordDlg& dlg) {
            Type(dlg, IDC_PASSWORD, "Secret99");
            Control(dlg, focus)->setFocus();
            PressKey(dlg, Qt::Key_Return);
            EXPECT_TRUE(dlg.HasEnded());
        });
        EXPECT_EQ(outcome.result, result);
    }
}
}  // namespace
