#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "Afx.h"

namespace {
// What the user saw in the real message box, and the button they pressed.
struct SeenBox {
    std::vector<std::string> labels;
    std::string defaultLabel;
};

// Answers the next real message box the way a user would: with a key, or by
// clicking the button labelled `click`. Records what the box showed.
void AnswerNextBox(SeenBox& seen, std::optional<std::string> click) {
    QTimer::singleShot(0, [&seen, click] {
        static_cast<void>(QTest::qWaitFor(
            [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }, 2000));
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QAbstractButton* toClick = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            seen.labels.push_back(button->text().toStdString());
            if (click && button->text().toStdString() == *click)
                toClick = button;
        }
        if (box->defaultButton())
            seen.defaultLabel = box->defaultButton()->text().toStdString();
        if (toClick)
            toClick->click();
        else
            QTest::keyClick(box, Qt::Key_Escape);
    });
}

class MessageBoxTest : public ::testing::Test {
protected:
    CWinApp m_app{"Box test"};
};

TEST_F(MessageBoxTest, YesNoQuestionShowsItsButtonsAndEscapeMeansTheSafeAnswer) {
    SeenBox seen;
    AnswerNextBox(seen, std::nullopt);
    EXPECT_EQ(AfxMessageBox("Go on?", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(seen.labels, (std::vector<std::string>{"&Yes", "&No"}));
    EXPECT_EQ(seen.defaultLabel, "&No");

    SeenBox yes;
    AnswerNextBox(yes, "&Yes");
    EXPECT_EQ(AfxMessageBox("Go on?", MB_YESNO | MB_DEFBUTTON2), IDYES);
}

TEST_F(MessageBoxTest, QuestionWithAnswersOfOurOwnGivesTheChosenOne) {
    constexpr int kConvert = 100;
    SeenBox seen;
    AnswerNextBox(seen, "&Convert");
    EXPECT_EQ(AfxAskQuestion("Hide anyway?",
                             {{IDYES, "&Yes"}, {IDNO, "&No"}, {kConvert, "&Convert"}}, IDNO),
              kConvert);
    // The desktop's own button order applies; every answer is there.
    std::sort(seen.labels.begin(), seen.labels.end());
    EXPECT_EQ(seen.labels, (std::vector<std::string>{"&Convert", "&No", "&Yes"}));
    EXPECT_EQ(seen.defaultLabel, "&No");

    SeenBox escaped;
    AnswerNextBox(escaped, std::nullopt);
    EXPECT_EQ(AfxAskQuestion("Hide anyway?",
                             {{IDYES, "&Yes"}, {IDNO, "&No"}, {kConvert, "&Convert"}}, IDNO),
              IDNO);
}

TEST_F(MessageBoxTest, PlainMessageHasOneOkButton) {
    SeenBox seen;
    AnswerNextBox(seen, std::nullopt);
    EXPECT_EQ(AfxMessageBox("Done."), IDOK);
    EXPECT_EQ(seen.labels, (std::vector<std::string>{"OK"}));
}
}  // namespace
