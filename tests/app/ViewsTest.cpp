#include <QImage>
#include <QPixmap>

#include "AppFixture.h"

namespace {
using ViewsTest = AppFixture;

struct Visibility {
    bool picture, edit, open, reveal, load, hide;
};

Visibility Seen(CVeilnoteDlg& dlg) {
    return {IsShown(dlg, IDC_PICTURE), IsShown(dlg, IDC_MESSAGE),  IsShown(dlg, IDC_OPENIMAGE),
            IsShown(dlg, IDC_REVEAL),  IsShown(dlg, IDC_LOADTEXT), IsShown(dlg, IDC_HIDE)};
}

void ExpectVisibility(CVeilnoteDlg& dlg, const Visibility& want) {
    const Visibility got = Seen(dlg);
    EXPECT_EQ(got.picture, want.picture);
    EXPECT_EQ(got.edit, want.edit);
    EXPECT_EQ(got.open, want.open);
    EXPECT_EQ(got.reveal, want.reveal);
    EXPECT_EQ(got.load, want.load);
    EXPECT_EQ(got.hide, want.hide);
}

TEST_F(ViewsTest, ButtonsSwitchViewsAndThePictureShowsOnlyWithAnImage) {
    RunMainWindow([](CVeilnoteDlg& dlg) {
        Click(dlg, IDC_IMAGEVIEW);
        ExpectVisibility(dlg, {false, false, true, true, false, false});

        Click(dlg, IDC_MESSAGEVIEW);
        ExpectVisibility(dlg, {false, true, false, false, true, true});
        EXPECT_FALSE(IsEnabled(dlg, IDC_HIDE)) << "switching views leaves enabled states alone";

        QPixmap image(10, 10);
        image.fill(Qt::red);
        dlg.m_picImage.SetBitmap(std::make_shared<const QPixmap>(image));
        Click(dlg, IDC_IMAGEVIEW);
        ExpectVisibility(dlg, {true, false, true, true, false, false});
    });
}

TEST_F(ViewsTest, TabSelectionChangeShowsTheChosenViewWithoutThePictureTest) {
    RunMainWindow([](CVeilnoteDlg& dlg) {
        // The tab control holds no tabs in use; give it two to choose from.
        dlg.m_tabViews.InsertItem(0, "Image");
        dlg.m_tabViews.InsertItem(1, "Message");
        auto* tabs = Control(dlg, IDC_VIEWS);
        QMetaObject::invokeMethod(tabs, "setCurrentIndex", Q_ARG(int, 1));
        ExpectVisibility(dlg, {false, true, false, false, true, true});
        QMetaObject::invokeMethod(tabs, "setCurrentIndex", Q_ARG(int, 0));
        ExpectVisibility(dlg, {true, false, true, true, false, false});
    });
}

TEST_F(ViewsTest, MinimisedWindowPaintsItsIconCentred) {
    RunMainWindow([](CVeilnoteDlg& dlg) {
        QWidget* window = dlg.GetSafeHwnd();
        window->setWindowState(Qt::WindowMinimized);
        ASSERT_TRUE(dlg.IsIconic());
        const QImage painted = window->grab().toImage();
        const QImage icon = dlg.m_hIcon->pixmap(32, 32).toImage();
        // (552 - 32 + 1) / 2 = 260, (447 - 32 + 1) / 2 = 208.
        const QPoint origin(260, 208);
        int matching = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QColor want = icon.pixelColor(x, y);
                if (want.alpha() == 255 && painted.pixelColor(origin + QPoint(x, y)) == want)
                    ++matching;
            }
        }
        EXPECT_GT(matching, 100) << "the icon is drawn at the centre";
        window->setWindowState(Qt::WindowNoState);
    });
}

TEST_F(ViewsTest, DraggingTheMinimisedWindowShowsTheApplicationIcon) {
    RunMainWindow([](CVeilnoteDlg& dlg) {
        MessageContext query(WM_QUERYDRAGICON);
        ASSERT_TRUE(dlg.OnWndMsg(query));
        EXPECT_EQ(query.cursor, dlg.m_hIcon);
    });
}
}  // namespace
