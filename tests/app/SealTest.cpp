// Sealed messages in the window: the seal check box of the password dialog,
// a sealed Hide, and a Reveal that needs the whole password.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>

#include "CarrierRecords.h"
#include "CommandsFixture.h"
#include "DamageGuard.h"
#include "DialogBuilder.h"
#include "PasswordDlg.h"
#include "SealedMessage.h"

namespace {
constexpr const char* kSealText =
    "Seal the message with the whole password (only Veilnote can then read it)";
constexpr const char* kInvalid = "Invalid password try again";
constexpr const char* kTooLong = "password is to long it must at most 16 chars";
// 40 characters, strong enough that sealing asks nothing.
const QString kPassphrase = "lantern meadow copper violin quietly run";

class SealTest : public CommandsFixture {
protected:
    // The password dialog comes up in choose mode; the user types `password`
    // twice, ticks Seal and clicks OK.
    void ExpectPasswordChosenSealed(const QString& password = kPassphrase) {
        m_script.ExpectModalRun<CPasswordDlg>([password](CPasswordDlg& dlg) {
            Type(dlg, IDC_PASSWORD, password);
            Type(dlg, IDC_CONFIRM, password);
            Click(dlg, IDC_SEAL);
            Click(dlg, IDOK);
        });
    }
};

// The busy statuses windows show while key derivations run, in order.
class BusyStatusesShown : public QObject {
public:
    BusyStatusesShown() { qApp->installEventFilter(this); }
    ~BusyStatusesShown() override { qApp->removeEventFilter(this); }
    BusyStatusesShown(const BusyStatusesShown&) = delete;
    BusyStatusesShown& operator=(const BusyStatusesShown&) = delete;
    QStringList seen;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() == QEvent::Show && receiver->objectName() == "busyStatus")
            seen << static_cast<QLabel*>(receiver)->text();
        return false;
    }
};

QRect Geometry(CPasswordDlg& dlg, int id) {
    return Control(dlg, id)->geometry();
}

TEST_F(SealTest, SealBoxGrowsTheChooseDialogAndVerifyHasNoEmptyRow) {
    int chooseMarginBelow = 0;
    CPasswordDlg choose;
    choose.m_bChooseMode = 1;
    m_script.ExpectModalRun<CPasswordDlg>([&](CPasswordDlg& dlg) {
        auto* seal = qobject_cast<QCheckBox*>(Control(dlg, IDC_SEAL));
        ASSERT_NE(seal, nullptr);
        EXPECT_TRUE(IsShown(dlg, IDC_SEAL));
        EXPECT_FALSE(seal->isChecked()) << "off by default";
        EXPECT_EQ(seal->text().simplified(), kSealText);
        // Its lines are even: none is left holding one stranded word.
        for (const QString& line : seal->text().split('\n'))
            EXPECT_GT(line.split(' ').size(), 1) << seal->text().toStdString();
        // The whole text fits, between the password rows and the buttons, all
        // inside the dialog.
        const QRect box = seal->geometry();
        EXPECT_LE(seal->sizeHint().width(), box.width());
        EXPECT_LE(seal->sizeHint().height(), box.height());
        EXPECT_GT(box.top(), Geometry(dlg, IDC_CONFIRM).bottom());
        EXPECT_GT(Geometry(dlg, IDOK).top(), box.bottom());
        // Unticked, no empty row stands where the strength line would be.
        EXPECT_LT(Geometry(dlg, IDOK).top() - box.bottom(), Geometry(dlg, IDOK).height());
        EXPECT_TRUE(dlg.GetSafeHwnd()->rect().contains(Geometry(dlg, IDC_PASSWORD_CANCEL)));
        chooseMarginBelow = dlg.GetSafeHwnd()->height() - Geometry(dlg, IDOK).bottom();
        Type(dlg, IDC_PASSWORD, "secret12");
        Type(dlg, IDC_CONFIRM, "secret12");
        Click(dlg, IDC_SEAL);
        SaveScreenshot(dlg.GetSafeHwnd(), "password-choose-seal");
        Click(dlg, IDC_PASSWORD_CANCEL);
    });
    EXPECT_EQ(choose.DoModal(), IDCANCEL);

    // Verifying has one row: the buttons follow it with no empty row
    // between, and the dialog ends as far below them as when choosing.
    CPasswordDlg verify;
    verify.m_bChooseMode = 0;
    m_script.ExpectModalRun<CPasswordDlg>([&](CPasswordDlg& dlg) {
        EXPECT_FALSE(IsShown(dlg, IDC_SEAL));
        EXPECT_FALSE(IsShown(dlg, IDC_CONFIRM));
        const QRect password = Geometry(dlg, IDC_PASSWORD);
        EXPECT_EQ(password, DialogUnitsToPixels(52, 6, 85, 14));
        const QRect ok = Geometry(dlg, IDOK);
        EXPECT_GT(ok.top(), password.bottom());
        EXPECT_LT(ok.top() - password.bottom(), password.height());
        EXPECT_EQ(Geometry(dlg, IDC_PASSWORD_CANCEL).top(), ok.top());
        EXPECT_EQ(dlg.GetSafeHwnd()->height() - ok.bottom(), chooseMarginBelow);
        EXPECT_EQ(dlg.GetSafeHwnd()->width(), DialogUnitsToPixels(0, 0, 145, 0).width());
        EXPECT_FALSE(IsShown(dlg, IDC_STRENGTH));
        Type(dlg, IDC_PASSWORD, "password1234");
        EXPECT_FALSE(IsShown(dlg, IDC_STRENGTH)) << "an entry to verify is not estimated";
        Click(dlg, IDC_PASSWORD_CANCEL);
    });
    EXPECT_EQ(verify.DoModal(), IDCANCEL);
    EXPECT_TRUE(m_script.Done());
}

TEST_F(SealTest, SealedHideOpensOnlyWithTheWholePasswordInTheWindowAndTheTool) {
    const Bytes image = MakeBitmap(64, 64, 24);
    const std::string path = Write("image.bmp", image);
    const std::string saved = PathOf("sealed.bmp");
    const std::string message = "Meet at noon by the mill.  ";
    const BusyStatusesShown statuses;
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, QString::fromStdString(message));
        // Unsealed, the password rule is as it always was; sealed, the whole
        // passphrase is taken.
        m_script.ExpectModalRun<CPasswordDlg>([&](CPasswordDlg& chooser) {
            Type(chooser, IDC_PASSWORD, kPassphrase.left(17));
            Type(chooser, IDC_CONFIRM, kPassphrase.left(17));
            m_script.ExpectMessageBox(kTooLong);
            Click(chooser, IDOK);
            EXPECT_TRUE(m_script.Done());
            EXPECT_FALSE(chooser.HasEnded());
            Type(chooser, IDC_PASSWORD, kPassphrase);
            Type(chooser, IDC_CONFIRM, kPassphrase);
            Click(chooser, IDC_SEAL);
            m_script.ExpectSaveFile(saved);
            Click(chooser, IDOK);
        });
        ClickHide(dlg);
        EXPECT_TRUE(m_script.Done());
    });
    EXPECT_EQ(statuses.seen, QStringList{"Sealing..."});
    const Bytes written = ReadFile(saved);
    ASSERT_EQ(written.size(), image.size());
    EXPECT_EQ(RecordOf(written, kPasswordRecordStart), SealedStoredForm());
    const std::string record = RecordOf(written, kMessageRecordStart);
    EXPECT_TRUE(record.starts_with(kSealMarker));
    EXPECT_EQ(record.find("noon"), std::string::npos);

    // The command-line tool reads it with the whole password only.
    const std::string passwordFile = WriteFile(m_folder, "pw.txt", kPassphrase.toStdString());
    const std::string prefixFile =
        WriteFile(m_folder, "pw16.txt", kPassphrase.left(16).toStdString());
    std::string out;
    EXPECT_EQ(RunCli({"reveal", QString::fromStdString(saved), "--password-file",
                      QString::fromStdString(passwordFile)},
                     out),
              0);
    EXPECT_EQ(out, message) << "trailing white space comes back";
    EXPECT_EQ(RunCli({"reveal", QString::fromStdString(saved), "--password-file",
                      QString::fromStdString(prefixFile)},
                     out),
              3)
        << "a wrong password";

    RunMainWindow([&](CVeilnoteDlg& main) {
        Open(main, saved);
        TypeMessage(main, "draft");
        m_script.ExpectModalRun<CPasswordDlg>([&](CPasswordDlg& dlg) {
            EXPECT_FALSE(IsShown(dlg, IDC_SEAL));
            for (const QString& wrong :
                 {kPassphrase.left(8), kPassphrase.left(16), kPassphrase + " "}) {
                SCOPED_TRACE(wrong.toStdString());
                Type(dlg, IDC_PASSWORD, wrong);
                m_script.ExpectMessageBox(kInvalid);
                Click(dlg, IDOK);
                EXPECT_TRUE(m_script.Done());
                EXPECT_FALSE(dlg.HasEnded());
                EXPECT_EQ(TextOf(dlg, IDC_PASSWORD), "");
                EXPECT_EQ(MessageShown(main), "draft");
            }
            Type(dlg, IDC_PASSWORD, kPassphrase);
            // The typed draft is about to be replaced: the user is asked.
            m_script.ExpectQuestion(
                "The message you typed has not been hidden in a saved image. "
                "Replace it with the revealed message?",
                {"&Yes", "&No"}, "&No", "&Yes");
            Click(dlg, IDOK);
        });
        ClickReveal(main);
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(main.m_strMessage.Bytes(), message);
    });
    EXPECT_EQ(statuses.seen,
              (QStringList{"Sealing...", "Opening...", "Opening...", "Opening...", "Opening..."}))
        << "each try at the whole password";
}

TEST_F(SealTest, StrengthLineFollowsThePassphraseWhileSealTickedAndAWeakOneIsAsked) {
    CPasswordDlg choose;
    choose.m_bChooseMode = 1;
    m_script.ExpectModalRun<CPasswordDlg>([this](CPasswordDlg& dlg) {
        auto* line = qobject_cast<QLabel*>(Control(dlg, IDC_STRENGTH));
        ASSERT_NE(line, nullptr);
        Type(dlg, IDC_PASSWORD, "password1234");
        EXPECT_FALSE(IsShown(dlg, IDC_STRENGTH)) << "plain passwords get no estimate";
        Click(dlg, IDC_SEAL);
        EXPECT_TRUE(IsShown(dlg, IDC_STRENGTH));
        EXPECT_EQ(Spoken(line), "Weak: less than a second for a thousand computers");
        // The line sits under the seal box, above the buttons, and is not cut.
        EXPECT_GT(line->geometry().top(), Geometry(dlg, IDC_SEAL).bottom());
        EXPECT_GT(Geometry(dlg, IDOK).top(), line->geometry().bottom());
        EXPECT_TRUE(dlg.GetSafeHwnd()->rect().contains(Geometry(dlg, IDC_PASSWORD_CANCEL)));
        EXPECT_LE(line->heightForWidth(line->width()), line->height());
        Type(dlg, IDC_PASSWORD, kPassphrase);
        EXPECT_TRUE(Spoken(line).startsWith("Strong: ")) << Spoken(line).toStdString();
        SaveScreenshot(dlg.GetSafeHwnd(), "password-choose-strength");
        Type(dlg, IDC_PASSWORD, "");
        EXPECT_EQ(Spoken(line), "") << "nothing typed is no estimate";
        Click(dlg, IDC_SEAL);
        EXPECT_FALSE(IsShown(dlg, IDC_STRENGTH));
        Click(dlg, IDC_SEAL);

        // A weak passphrase is asked about, No first; No leaves the dialog
        // open for another one.
        Type(dlg, IDC_PASSWORD, "password1234");
        Type(dlg, IDC_CONFIRM, "password1234");
        const std::string question =
            "Weak: less than a second for a thousand computers to guess this passphrase. Four "
            "or more random words make a strong one.\n\nSeal the message with this passphrase "
            "anyway?";
        m_script.ExpectQuestion(question, {"&Yes", "&No"}, "&No", "&No");
        Click(dlg, IDOK);
        EXPECT_TRUE(m_script.Done());
        EXPECT_FALSE(dlg.HasEnded());
        m_script.ExpectQuestion(question, {"&Yes", "&No"}, "&No", "&Yes");
        Click(dlg, IDOK);
        EXPECT_TRUE(dlg.HasEnded());
    });
    EXPECT_EQ(choose.DoModal(), IDOK);
    EXPECT_EQ(choose.m_strStored.Bytes(), SealedStoredForm());
    EXPECT_EQ(choose.m_strPassword.Bytes(), "password1234");
    EXPECT_TRUE(m_script.Done());
}

// The shortest message a picture takes safely plain but not sealed; 0 when
// there is none.
std::size_t SafePlainButNotSealed(const CDamageGuard& guard) {
    for (std::size_t length = 8; length < 4096; length += 8) {
        if (!guard.CouldVisiblyChange(PaddedLength(static_cast<std::int64_t>(length))) &&
            guard.CouldVisiblyChange(static_cast<std::int64_t>(SealedRecordLength(length))))
            return length;
    }
    return 0;
}

TEST_F(SealTest, ALongerSealedRecordThatWouldShowIsAskedAboutAfterThePassword) {
    // An 8-bit picture takes a plain message up to its safe capacity without
    // a question; sealed, the same message needs a longer record.
    const Bytes image = MakeTwoTonePaletteBitmap(200, 60);
    const CDamageGuard guard(image);
    const std::size_t length = SafePlainButNotSealed(guard);
    ASSERT_GT(length, 0u) << "no message is safe plain but not sealed";
    const auto sealedLength = static_cast<std::int64_t>(SealedRecordLength(length));
    const std::string path = Write("palette.bmp", image);
    const std::string question =
        "Sealed, the message takes more room in the picture than it does plain. " +
        guard.Warning(sealedLength) + "\n\nHide the message anyway? " + ConvertOffer(24);
    const std::vector<std::string> answers = {"&Yes", "&No", "&Convert"};
    const std::string saved = PathOf("palette-24bit.bmp");
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, QString(static_cast<int>(length), 'm'));
        ExpectPasswordChosenSealed();
        m_script.ExpectQuestion(question, answers, "&No", "&No");
        ClickHide(dlg);
        EXPECT_TRUE(m_script.Done()) << "No ends the Hide: no Save dialog";

        // Convert, as in the question before the password, seals the message
        // into a 24-bit copy saved under its own name.
        ExpectPasswordChosenSealed();
        m_script.ExpectQuestion(question, answers, "&No", "&Convert").ExpectSaveFile(saved);
        ClickHide(dlg);
        EXPECT_TRUE(m_script.Done());
    });
    EXPECT_EQ(ReadFile(path), image);
    ASSERT_EQ(m_script.FileDialogsSeen().size(), 2u);
    EXPECT_EQ(m_script.FileDialogsSeen()[1].initialFileName, saved);
    const Bytes written = ReadFile(saved);
    ASSERT_GT(written.size(), 30u);
    EXPECT_EQ(written[28], 24) << "bits per pixel of the copy";
    const CarrierReading reading(written.data(), static_cast<std::int32_t>(written.size()));
    EXPECT_EQ(reading.GetKind(), CarrierReading::Kind::kSealed);
}

}  // namespace
