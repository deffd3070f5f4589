#include "CommandsFixture.h"

#include <iostream>

#include <QProcess>

#include "CarrierRecords.h"
#include "PasswordDlg.h"
#include "PasswordRules.h"

void CommandsFixture::Open(CVeilnoteDlg& dlg, const std::optional<std::string>& path) {
    m_script.ExpectOpenFile(path);
    Click(dlg, IDC_IMAGEVIEW);
    Click(dlg, IDC_OPENIMAGE);
    EXPECT_TRUE(m_script.Done());
}

void CommandsFixture::TypeMessage(CVeilnoteDlg& dlg, const QString& text) {
    Click(dlg, IDC_MESSAGEVIEW);
    Type(dlg, IDC_MESSAGE, text);
}

void CommandsFixture::ExpectPasswordChosen(const QString& password) {
    m_script.ExpectModalRun<CPasswordDlg>([password](CPasswordDlg& dlg) {
        EXPECT_EQ(dlg.m_bChooseMode, 1);
        Type(dlg, IDC_PASSWORD, password);
        Type(dlg, IDC_CONFIRM, password);
        Click(dlg, IDOK);
    });
}

void CommandsFixture::ExpectPasswordGiven(const QString& password) {
    m_script.ExpectModalRun<CPasswordDlg>([password](CPasswordDlg& dlg) {
        EXPECT_NE(dlg.m_bChooseMode, 1);
        Type(dlg, IDC_PASSWORD, password);
        Click(dlg, IDOK);
    });
}

void CommandsFixture::Hide(CVeilnoteDlg& dlg, const QString& password,
                           const std::optional<std::string>& savePath) {
    ExpectPasswordChosen(password);
    m_script.ExpectSaveFile(savePath);
    ClickHide(dlg);
    EXPECT_TRUE(m_script.Done());
}

void CommandsFixture::ClickHide(CVeilnoteDlg& dlg) {
    Click(dlg, IDC_MESSAGEVIEW);
    Click(dlg, IDC_HIDE);
}

void CommandsFixture::ClickReveal(CVeilnoteDlg& dlg) {
    Click(dlg, IDC_IMAGEVIEW);
    Click(dlg, IDC_REVEAL);
}

Bytes CommandsFixture::Carrier(const CVeilnoteDlg& dlg) {
    if (!dlg.m_pImageData)
        return {};
    return Bytes(dlg.m_pImageData.get(), dlg.m_pImageData.get() + dlg.m_nImageLength);
}

std::string RecordOf(const Bytes& carrier, int start) {
    SilentReporter reporter;
    return ReadCurtainedString(carrier.data(), static_cast<std::int32_t>(carrier.size()), start,
                               reporter);
}

Bytes WithHiddenMessage(Bytes carrier, const std::string& password, const std::string& message) {
    SilentReporter reporter;
    const auto length = static_cast<std::int32_t>(carrier.size());
    EXPECT_EQ(
        CurtainString(carrier.data(), length, kPasswordRecordStart, StoredForm(password), reporter),
        1);
    EXPECT_EQ(CurtainString(carrier.data(), length, kMessageRecordStart, message, reporter), 1);
    return carrier;
}

int RunCli(const QStringList& arguments, std::string& out) {
    QProcess cli;
    cli.setProgram(QStringLiteral(VEILNOTE_CLI));
    cli.setArguments(arguments);
    cli.setProcessChannelMode(QProcess::SeparateChannels);
    cli.start();
    if (!cli.waitForStarted(10000) || !cli.waitForFinished(20000)) {
        cli.kill();
        cli.waitForFinished(5000);
        ADD_FAILURE() << "veilnote-cli did not run to its end";
        return -1;
    }
    out = cli.readAllStandardOutput().toStdString();
    const QByteArray errors = cli.readAllStandardError();
    if (!errors.isEmpty())
        std::cerr << "veilnote-cli: " << errors.toStdString();
    return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
}
