// Files that reach the window from outside its dialogs: named on the command
// line, or dropped on it. Both open as Open image and Load text would.
#include <filesystem>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QUrl>

#include "CommandsFixture.h"

namespace {
class OpenFromOutsideTest : public CommandsFixture {
protected:
    // Drags `mime` onto `target` and drops it there, through Qt's own event
    // delivery; whether the drop was taken.
    static bool DropOn(QWidget* target, QMimeData& mime) {
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }
    static bool DropFiles(QWidget* target, const std::vector<std::string>& paths) {
        QList<QUrl> urls;
        for (const std::string& path : paths)
            urls << QUrl::fromLocalFile(QString::fromStdString(path));
        QMimeData mime;
        mime.setUrls(urls);
        return DropOn(target, mime);
    }
    static QWidget* MessageEdit(CVeilnoteDlg& dlg) {
        return qobject_cast<QPlainTextEdit*>(Control(dlg, IDC_MESSAGE))->viewport();
    }
    static bool WaitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }
};

TEST_F(OpenFromOutsideTest, FileNamedAtStartOpensAsOpenImageAndRevealAsksForThePasswordAtOnce) {
    const Bytes carrier =
        WithHiddenMessage(MakeBitmap(64, 64, 24), "lanterns9", "Meet by the mill at seven.");
    const std::string path = Write("carrier.bmp", carrier);
    // A name relative to the working folder.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_folder.path()));
    m_app.m_arguments = {"carrier.bmp"};
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        ASSERT_TRUE(WaitFor([&] { return IsEnabled(dlg, IDC_REVEAL); }));
        EXPECT_TRUE(std::filesystem::equivalent(dlg.m_strImagePath.Bytes(), path));
        EXPECT_EQ(dlg.m_strImagePath.Bytes().front(), '/');
        EXPECT_EQ(Carrier(dlg), carrier);
        EXPECT_TRUE(IsShown(dlg, IDC_PICTURE));
        EXPECT_NE(dlg.m_picImage.GetBitmap(), nullptr);
        ExpectPasswordGiven("lanterns9");
        ClickReveal(dlg);
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(MessageShown(dlg), "Meet by the mill at seven.");
    });
    QDir::setCurrent(previous);

    // After "--" a name may begin with "-"; one that cannot be opened is
    // reported as Open image reports it, over the window, which stays up.
    m_app.m_arguments = {"--", "-gone.bmp"};
    m_script.ExpectModalRun<CVeilnoteDlg>([&](CVeilnoteDlg& dlg) {
        EXPECT_TRUE(WaitFor([&] { return m_script.Done(); }));
        EXPECT_FALSE(dlg.HasEnded());
        EXPECT_EQ(dlg.m_strImagePath.Bytes(), QDir::current().filePath("-gone.bmp").toStdString());
        EXPECT_EQ(dlg.m_nImageLength, 0);
        EXPECT_FALSE(IsEnabled(dlg, IDC_REVEAL));
        dlg.EndDialog(IDCANCEL);
    });
    m_script.ExpectMessageBox("The image could not be opened: No such file or directory");
    EXPECT_EQ(m_app.InitInstance(), FALSE);
}

TEST_F(OpenFromOutsideTest, DroppedPictureOpensAndDroppedTextLoadsOnTheWindowAndOnTheMessageEdit) {
    const Bytes picture = MakeBitmap(64, 64, 24);
    const Bytes other = MakeBitmap(32, 16, 8);
    const std::string picturePath = Write("picture.bmp", picture);
    const std::string otherPath = Write("other.bmp", other);
    const std::string notePath = WriteFile(m_folder, "note.TXT", std::string("Bring the map."));
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        QWidget* window = dlg.GetSafeHwnd();
        // Of two files dropped on the window the first opens, as Open image
        // would open it.
        EXPECT_TRUE(DropFiles(window, {picturePath, notePath}));
        ASSERT_TRUE(WaitFor([&] { return IsEnabled(dlg, IDC_REVEAL); }));
        EXPECT_EQ(Carrier(dlg), picture);
        EXPECT_EQ(dlg.m_strImagePath.Bytes(), picturePath);
        EXPECT_TRUE(IsShown(dlg, IDC_PICTURE));

        // Text dragged from elsewhere still goes into the edit as text.
        TypeMessage(dlg, "draft");
        QMimeData text;
        text.setText(" and more");
        EXPECT_TRUE(DropOn(MessageEdit(dlg), text));
        EXPECT_TRUE(MessageShown(dlg).contains("and more"));

        // A text file dropped on the message edit loads as Load text would,
        // in place of the message, rather than going in as its address; over
        // a typed message it asks first, as Load text does.
        m_script.ExpectQuestion(kReplaceWithLoadedText, {"&Yes", "&No"}, "&No", "&No");
        EXPECT_TRUE(DropFiles(MessageEdit(dlg), {notePath}));
        ASSERT_TRUE(WaitFor([&] { return m_script.Done(); }));
        EXPECT_TRUE(MessageShown(dlg).contains("and more"));
        m_script.ExpectQuestion(kReplaceWithLoadedText, {"&Yes", "&No"}, "&No", "&Yes");
        EXPECT_TRUE(DropFiles(MessageEdit(dlg), {notePath}));
        ASSERT_TRUE(WaitFor([&] { return MessageShown(dlg) == "Bring the map."; }))
            << MessageShown(dlg).toStdString();
        EXPECT_TRUE(IsShown(dlg, IDC_MESSAGE));

        // A picture dropped on the message edit opens and shows on the image
        // view; the message stays.
        EXPECT_TRUE(DropFiles(MessageEdit(dlg), {otherPath}));
        ASSERT_TRUE(WaitFor([&] { return Carrier(dlg) == other; }));
        EXPECT_EQ(MessageShown(dlg), "Bring the map.");
        EXPECT_TRUE(IsShown(dlg, IDC_PICTURE));
        EXPECT_FALSE(IsShown(dlg, IDC_MESSAGE));

        // A file that cannot be opened is reported as Open image reports it.
        m_script.ExpectMessageBox("The image could not be opened: No such file or directory");
        EXPECT_TRUE(DropFiles(window, {PathOf("gone.bmp")}));
        ASSERT_TRUE(WaitFor([&] { return m_script.Done(); }));
        EXPECT_EQ(dlg.m_nImageLength, 0);
        EXPECT_FALSE(IsEnabled(dlg, IDC_HIDE));

        // While another window is modal over it, nothing is taken: a command
        // that runs a dialog is never cut into.
        QDialog blocker(window);
        blocker.setModal(true);
        blocker.show();
        EXPECT_FALSE(DropFiles(window, {picturePath}));
        EXPECT_FALSE(DropFiles(MessageEdit(dlg), {picturePath}));
        blocker.close();
        EXPECT_EQ(dlg.m_nImageLength, 0);
        EXPECT_FALSE(MessageShown(dlg).contains("file:"));
    });
}
}  // namespace
