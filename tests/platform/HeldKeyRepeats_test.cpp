#include "HeldKeyRepeats.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <xcb/xcb.h>

namespace {

struct Step {
    char what; // 'p' press, 'r' release, 'f' focus out
    bool inGame;
    bool dropped;
};

bool feed(HeldKeyRepeats& filter, const Step& step, WId game, WId other) {
    const auto window = static_cast<xcb_window_t>(step.inGame ? game : other);
    constexpr xcb_keycode_t Space = 65;
    if (step.what == 'f') {
        xcb_focus_out_event_t e{};
        e.response_type = XCB_FOCUS_OUT;
        e.event = window;
        return filter.nativeEventFilter("xcb_generic_event_t", &e, nullptr);
    }
    xcb_key_press_event_t e{};
    e.response_type = step.what == 'p' ? XCB_KEY_PRESS : XCB_KEY_RELEASE;
    e.detail = Space;
    e.event = window;
    return filter.nativeEventFilter("xcb_generic_event_t", &e, nullptr);
}

} // namespace

// A held key's repeated presses are dropped in the game's window only; its first press and
// its release always come through, and after the focus left a press counts again.
TEST(HeldKeyRepeats, DropsOnlyRepeatsInTheChosenWindow) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const std::vector<Case> cases = {
        {"held in the game",
         {{'p', true, false},
          {'p', true, true},
          {'p', true, true},
          {'r', true, false},
          {'p', true, false}}},
        {"held in a dialog", {{'p', false, false}, {'p', false, false}, {'r', false, false}}},
        {"released elsewhere, pressed in the game",
         {{'p', true, false}, {'r', false, false}, {'p', true, false}}},
        {"focus left while held", {{'p', true, false}, {'f', true, false}, {'p', true, false}}},
    };
    QWidget game;
    QWidget other;
    const WId gameId = game.winId();
    const WId otherId = other.winId();
    ASSERT_NE(gameId, otherId);
    for (const Case& c : cases) {
        HeldKeyRepeats filter;
        filter.dropIn(&game);
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            EXPECT_EQ(feed(filter, c.steps[i], gameId, otherId), c.steps[i].dropped)
                << c.name << ", step " << i;
        }
    }

    // A window that is gone drops nothing; other kinds of events pass untouched.
    HeldKeyRepeats filter;
    auto gone = std::make_unique<QWidget>();
    const WId goneId = gone->winId();
    filter.dropIn(gone.get());
    gone.reset();
    EXPECT_FALSE(feed(filter, {'p', true, false}, goneId, otherId));
    EXPECT_FALSE(feed(filter, {'p', true, false}, goneId, otherId));
    int junk = 0;
    EXPECT_FALSE(filter.nativeEventFilter("windows_generic_MSG", &junk, nullptr));
}
