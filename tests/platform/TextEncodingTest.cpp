#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "Afx.h"
#include "TextEncoding.h"

namespace {
TEST(TextEncoding, ShowsUtf8AsSuchAndOtherBytesAsWindows1252) {
    EXPECT_EQ(BytesToDisplayText("caf\xc3\xa9"), QString::fromUtf8("café"));
    EXPECT_EQ(BytesToDisplayText("caf\xe9"), QString::fromUtf8("café"));
    EXPECT_EQ(BytesToDisplayText("\x80 \x93quoted\x94"), QString::fromUtf8("€ “quoted”"));
    // Bytes the code page leaves undefined still show as something.
    EXPECT_EQ(BytesToDisplayText("\x81\x8d").size(), 2);
}

TEST(TextEncoding, TextTheUserDidNotEditGoesBackByteForByte) {
    CWinApp app;
    QPlainTextEdit edit;
    CWnd control(&edit);
    for (const std::string bytes : {"caf\xe9 \x80", "line one\r\nline two\r\n", "plain"}) {
        control.SetWindowText(CString(bytes));
        EXPECT_EQ(control.GetWindowText().Bytes(), bytes);
    }
    control.SetWindowText(CString("caf\xe9"));
    edit.appendPlainText("!");
    EXPECT_EQ(control.GetWindowText().Bytes(), "caf\xc3\xa9\n!") << "edited text is UTF-8";
}

TEST(CStringBytes, LengthsAndCutsCountBytes) {
    const CString text(
        "\xd0\xbf\xd0\xb0\xd1\x80\xd0\xbe\xd0\xbb\xd1\x8c");  // six letters, 12 bytes
    EXPECT_EQ(text.GetLength(), 12);
    EXPECT_EQ(text.Left(8).GetLength(), 8);
    EXPECT_EQ(CString("/usr/bin/veilnote").ReverseFind('/'), 8);
    EXPECT_EQ(CString("veilnote").ReverseFind('/'), -1);
}
}  // namespace
