// The main window's size and place on a real X server: with a window manager, which frames
// the window a moment after it is shown, the stored outer geometry must come back exactly,
// start after start, neither growing nor creeping; without one, nothing keeps the window
// from being made smaller than its controls need but the window itself.
#include <QGuiApplication>
#include <QTest>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include "programfixture.h"

namespace {

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// A size the X server applies as it stands, as a tool or a tiling script may ask for it.
void resizeOnTheServer(QWidget& window, int width, int height)
{
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    const std::uint32_t size[] = {static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
    xcb_configure_window(x11->connection(), static_cast<xcb_window_t>(window.windowHandle()->winId()),
                         XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
    xcb_flush(x11->connection());
}

QRect area(QWidget& window, const char* name)
{
    QWidget& control = widgetNamed<QWidget>(window, name);
    return {control.mapTo(&window, QPoint(0, 0)), control.size()};
}

} // namespace

TEST_F(ProgramTest, TheOuterGeometryStaysTheSameOverThreeStartsUnderAWindowManager)
{
    if (!onX11())
        GTEST_SKIP() << "needs an X server with a window manager: run through under-x-server.sh";
    const QRect stored(100, 80, 780, 640);
    writeRegDb({stored.x(), stored.y(), stored.width(), stored.height(), false, {}, {}});
    for (int round = 1; round <= 3; ++round) {
        start();
        ASSERT_TRUE(QTest::qWaitFor([this] { return form().frameGeometry() != form().geometry(); }, 5000))
            << "the window manager never framed the window";
        EXPECT_TRUE(QTest::qWaitFor([&] { return form().frameGeometry() == stored; }, 5000))
            << "start " << round << ": outer geometry " << form().frameGeometry().x() << ","
            << form().frameGeometry().y() << " " << form().frameGeometry().width() << "x"
            << form().frameGeometry().height();
        stop();
        const RegValues saved = readRegDb();
        EXPECT_EQ(QRect(saved.x, saved.y, saved.dx, saved.dy), stored) << "after start " << round;
    }
}

TEST_F(ProgramTest, TheWindowCannotBeMadeSoSmallThatItsControlsOverlap)
{
    if (!onX11())
        GTEST_SKIP() << "needs an X server: run through under-x-server.sh --bare";
    writeRegDb({100, 80, 780, 640, false, {}, {}});
    start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
    resizeOnTheServer(form(), 500, 400);
    QTest::qWait(300);
    EXPECT_TRUE(QTest::qWaitFor([this] { return form().size() == form().minimumSize(); }, 3000))
        << form().width() << "x" << form().height();
    EXPECT_GT(form().minimumWidth(), 500);
    EXPECT_GT(form().minimumHeight(), 400);
    EXPECT_FALSE(area(form(), "DBMemo1").intersects(area(form(), "Edit1")));
    EXPECT_FALSE(area(form(), "DBMemo1").intersects(area(form(), "SpeedButton9")));
    EXPECT_FALSE(area(form(), "SpeedButton7").intersects(area(form(), "BitBtn1")));
    for (const char* name : {"Edit1", "SpeedButton4", "SpeedButton9", "SpeedButton7", "BitBtn1", "RzTrackBar1"}) {
        QWidget& control = widgetNamed<QWidget>(form(), name);
        EXPECT_GE(control.width(), control.minimumSizeHint().width()) << name;
        EXPECT_GE(control.height(), control.minimumSizeHint().height()) << name;
    }
}
