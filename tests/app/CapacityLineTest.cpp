// The line under the message says how much of the picture the message takes,
// as it is typed or loaded, and against the picture open.
#include <QAccessible>
#include <QLabel>

#include "CommandsFixture.h"
#include "DamageGuard.h"
#include "Hiding.h"
#include "SealedMessage.h"

namespace {
class CapacityLineTest : public CommandsFixture {
protected:
    static QLabel* Line(CVeilnoteDlg& dlg) {
        return qobject_cast<QLabel*>(Control(dlg, IDC_CAPACITY));
    }
    static QColor Colour(CVeilnoteDlg& dlg) {
        return Line(dlg)->palette().color(QPalette::WindowText);
    }
};

// The longest message whose record `fits` says yes to, found by trying.
template <class Fits>
std::int64_t Longest(Fits fits) {
    std::int64_t length = 0;
    while (length < 100000 && fits(length + 1))
        ++length;
    return length;
}

std::string Figure(std::int64_t number) {
    std::string text = std::to_string(number);
    if (text.size() > 3)
        text.insert(text.size() - 3, ",");
    return text;
}

TEST_F(CapacityLineTest, FollowsTheMessageAgainstWhatHideWouldDo) {
    const Bytes image = MakeTwoTonePaletteBitmap(200, 60);
    const std::string path = Write("palette.bmp", image);
    // The figures, worked out by trying lengths as a Hide would judge them.
    const CDamageGuard guard(image);
    const std::int64_t size = static_cast<std::int64_t>(image.size());
    const auto fitsPlain = [&](std::int64_t n) {
        return AssessHide(image, n, Sealing::kPlain).fits;
    };
    const std::int64_t capacity = Longest(fitsPlain);
    const std::int64_t safe =
        Longest([&](std::int64_t n) { return !guard.CouldVisiblyChange(PaddedLength(n)); });
    const std::int64_t sealedSafe = Longest([&](std::int64_t n) {
        return !guard.CouldVisiblyChange(
            static_cast<std::int64_t>(SealedRecordLength(static_cast<std::size_t>(n))));
    });
    ASSERT_LT(0, safe);
    ASSERT_LT(safe, capacity) << "the picture must take more with visible changes";
    ASSERT_LT(capacity, size);
    const auto expected = [&](std::int64_t typed) {
        return QString::fromStdString(std::to_string(typed) + " of " + Figure(safe) +
                                      " bytes safely (sealed: " + Figure(sealedSafe) + "); up to " +
                                      Figure(capacity) + " with visible changes");
    };

    RunMainWindow([&](CVeilnoteDlg& dlg) {
        QLabel* line = Line(dlg);
        ASSERT_NE(line, nullptr);
        TypeMessage(dlg, "before any picture");
        EXPECT_TRUE(IsShown(dlg, IDC_CAPACITY));
        EXPECT_EQ(line->text(), "No picture open");
        Click(dlg, IDC_IMAGEVIEW);
        EXPECT_FALSE(IsShown(dlg, IDC_CAPACITY)) << "it belongs to the message view";

        Open(dlg, path);
        EXPECT_EQ(line->text(), expected(18)) << "opening a picture shows its figures";
        TypeMessage(dlg, QString(static_cast<int>(safe), 'm'));
        EXPECT_EQ(line->text(), expected(safe));
        EXPECT_EQ(Spoken(line), line->text()) << "a screen reader reads the line";
        const QColor safeColour = Colour(dlg);

        // One byte more and the Hide asks first: the line has turned.
        TypeMessage(dlg, QString(static_cast<int>(safe + 1), 'm'));
        EXPECT_EQ(line->text(), expected(safe + 1));
        const QColor askedColour = Colour(dlg);
        EXPECT_NE(askedColour, safeColour);
        EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->width())
            << "the longest form still fits on one line";
        SaveScreenshot(dlg.GetSafeHwnd(), "main-message-capacity-visible-change");
        EXPECT_TRUE(AssessHide(image, safe + 1, Sealing::kPlain).couldVisiblyChange);

        TypeMessage(dlg, QString(static_cast<int>(capacity), 'm'));
        EXPECT_EQ(Colour(dlg), askedColour);
        // Past the size rule the Hide refuses, and the line turns again.
        TypeMessage(dlg, QString(static_cast<int>(capacity + 1), 'm'));
        EXPECT_NE(Colour(dlg), askedColour);
        EXPECT_NE(Colour(dlg), safeColour);
        m_script.ExpectMessageBox(MessageTooLong(AssessHide(image, capacity + 1, Sealing::kPlain)));
        ClickHide(dlg);
        EXPECT_TRUE(m_script.Done());

        // Bytes, as Hide counts them: "é" takes two.
        TypeMessage(dlg, QString::fromUtf8("caf\u00e9"));
        EXPECT_EQ(line->text(), expected(5));
        EXPECT_EQ(Colour(dlg), safeColour);

        // Loaded text counts as typed text does.
        dlg.m_editMessage.SetModify(FALSE);
        m_script.ExpectOpenFile(WriteFile(m_folder, "note.txt", std::string(300, 'n')));
        Click(dlg, IDC_LOADTEXT);
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(line->text(), expected(300));

        // A picture that cannot be opened leaves none to measure against.
        m_script.ExpectOpenFile(PathOf("missing.bmp"))
            .ExpectMessageBox("The image could not be opened: No such file or directory");
        Click(dlg, IDC_IMAGEVIEW);
        Click(dlg, IDC_OPENIMAGE);
        EXPECT_TRUE(m_script.Done());
        Click(dlg, IDC_MESSAGEVIEW);
        EXPECT_EQ(line->text(), "No picture open");
    });
}

TEST_F(CapacityLineTest, FitsUnderTheMessageAtEveryScale) {
    const std::string path = Write("photo.bmp", MakeBitmap(640, 480, 24));
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, "Meet me by the old mill at seven.\nBring the map.");
        QLabel* line = Line(dlg);
        EXPECT_EQ(line->text().toStdString(), "48 of 115,080 bytes safely (sealed: 86,231)")
            << "every byte of a 24-bit picture is safe: there is no second figure";
        EXPECT_GT(line->geometry().top(), Control(dlg, IDC_MESSAGE)->geometry().bottom());
        EXPECT_LE(line->geometry().bottom(), dlg.GetSafeHwnd()->height());
        EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->width());
        EXPECT_LE(line->heightForWidth(line->width()), line->height());
        SaveScreenshot(dlg.GetSafeHwnd(), "main-message-capacity");
    });
}
}  // namespace
