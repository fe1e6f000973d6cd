#include "data/database.h"
#include "program/main_menu_window.h"
#include "support/gui_support.h"
#include "tools/about_window.h"
#include "tools/tools_menu_window.h"
#include "tools/tools_texts.h"

#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <xcb/xcb.h>

using namespace tomarina;

namespace {

// The title the X server holds for a window (_NET_WM_NAME), which window managers show; nothing
// while the window has none.
std::optional<QString> shown_title(WId id) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return std::nullopt;
    }
    auto atom = [c](const char* name) {
        auto* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        return a;
    };
    const xcb_atom_t name = atom("_NET_WM_NAME");
    const xcb_atom_t utf8 = atom("UTF8_STRING");
    auto* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, xcb_window_t(id), name, utf8, 0, 1024), nullptr);
    std::optional<QString> title;
    if (r && r->type == utf8)
        title = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(r)),
                                  xcb_get_property_value_length(r));
    std::free(r);
    xcb_disconnect(c);
    return title;
}

} // namespace

// What the window system shows, read back from a real X server.
class TestWindowTitles : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != u"xcb")
            QSKIP("needs an X server: run under xvfb-run with QT_QPA_PLATFORM=xcb");
    }

    // The About window has no caption, and its title bar shows none: not the program's name, which Qt
    // gives the window system for an empty title.
    void about_window_shows_no_title() {
        test::RunningProgram t(build_database(test::small_source()));
        QVERIFY(t.start());
        QTest::mouseClick(t.forms.loaded<MainMenuWindow>()->tools_button, Qt::LeftButton);
        auto* menu = t.forms.loaded<ToolsMenuWindow>();
        QVERIFY(menu);
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        // Read the same way, another window shows its caption.
        QTRY_COMPARE(shown_title(menu->winId()).value_or(QString()), app_title);
        QTest::mouseClick(menu->about_button, Qt::LeftButton);
        auto* about = t.forms.loaded<AboutWindow>();
        QVERIFY(about);
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QTRY_VERIFY(shown_title(about->winId()).has_value());
        QVERIFY2(shown_title(about->winId())->trimmed().isEmpty(), qPrintable(*shown_title(about->winId())));
        QCOMPARE(about->accessibleName(), tools_texts::about_caption);
    }
};

QTEST_MAIN(TestWindowTitles)
#include "test_window_titles.moc"
