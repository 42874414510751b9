// Picking from anywhere: the global shortcut, the clicks that end sampling begun from the
// keyboard without reaching any program, and the colours taken this run.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "e2e/Driver.h"
#include "colour/Wcag.h"
#include "sampler/LoupeGeometry.h"
#include "tests/CaseName.h"
#include "window/ControlIds.h"

namespace tintelo::e2e {
namespace {

constexpr RECT kBrownPlace{0, 0, 160, 160};
constexpr RECT kSkyPlace{0, 320, 160, 480};
constexpr POINT kOnBrown{37, 81};
constexpr POINT kOnSky{123, 401};

// What the readouts show at start-up, before any colour.
Readouts StartUp() {
  return {"0.0", "0", "0x000000", "0,0,0,255", "0,0,0", "#000000", "0", "0", "0", "000", "000", "000"};
}

// Waits until exactly `count` of the program's menus are open: keys sent before a menu
// has opened would go to the window instead.
bool MenusOpen(const Tintelo& app, std::size_t count) {
  return WaitUntil([&] { return VisibleWindowsOf(app.ProcessId(), L"#32768").size() == count; });
}

class Pick : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(brown_.Shown(kOnBrown));
    ASSERT_TRUE(sky_.Shown(kOnSky));
  }

  // Sampling from the keyboard: Space on the swatch, then the pointer onto `at`.
  static testing::AssertionResult SampleWithSpace(const Tintelo& app, POINT at, const Colour& colour) {
    PressKey(VK_SPACE);
    if (!WaitUntil([&] { return LoupeOf(app) != nullptr; })) return testing::AssertionFailure() << "no loupe";
    MovePointer(at);
    return ReadoutsSettleOn(app, Showing(at, colour));
  }

  ColourWindow brown_{kBrownPlace, kBrown};
  ColourWindow sky_{kSkyPlace, kSky};
};

TEST_F(Pick, ShortcutRestoresTheWindowAndALeftClickAnywherePicksWithoutReachingIt) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  RECT before{};
  GetWindowRect(app.Window(), &before);
  ShowWindow(app.Window(), SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(app.Window()) != FALSE; }));
  MovePointer(kOnBrown);

  PressShortcut();

  ASSERT_TRUE(WaitUntil([&] { return LoupeOf(app) != nullptr; })) << "the shortcut did not start sampling";
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(app.Window()) == FALSE; }));
  RECT after{};
  GetWindowRect(app.Window(), &after);
  EXPECT_TRUE(EqualRect(&before, &after) != FALSE) << "the window came back elsewhere";
  EXPECT_TRUE((GetWindowLongPtrW(app.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
  EXPECT_EQ(GetForegroundWindow(), app.Window());
  const Readouts brown = Showing(kOnBrown, kBrown);
  EXPECT_TRUE(ReadoutsSettleOn(app, brown));

  // The loupe follows the pointer onto the sky window; the click there picks it.
  MovePointer(kOnSky);
  const Readouts sky = Showing(kOnSky, kSky);
  EXPECT_TRUE(ReadoutsSettleOn(app, sky));
  PressButton(MOUSEEVENTF_LEFTDOWN);
  ReleaseButton(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(WaitUntil([&] { return LoupeOf(app) == nullptr; })) << "the click did not end sampling";
  MovePointer(kOnBrown);
  EXPECT_FALSE(WaitUntil([&] { return Snapshot(app) != sky; }, 300ms)) << "sampling went on after the click";
  EXPECT_EQ(sky_.ButtonMessages(), 0) << "the click reached the window beneath";

  // Sampling over, the hook is gone: clicks reach windows again.
  Click(kOnBrown);
  EXPECT_TRUE(WaitUntil([&] { return brown_.ButtonMessages() >= 2; })) << "a click after sampling never arrived";
}

TEST_F(Pick, RightClickCancelsAndReachesNoWindow) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  ASSERT_TRUE(SampleWithSpace(app, kOnBrown, kBrown));

  PressButton(MOUSEEVENTF_RIGHTDOWN);
  ReleaseButton(MOUSEEVENTF_RIGHTUP);

  EXPECT_TRUE(ReadoutsSettleOn(app, StartUp())) << "the right click did not cancel";
  EXPECT_EQ(LoupeOf(app), nullptr);
  EXPECT_EQ(brown_.ButtonMessages(), 0);
}

// Sampling from the keyboard ends while the left button, pressed during it, is still
// down. The press was swallowed, so its release must be too: the window beneath gets
// neither, and once the button is up the hook is gone and a click reaches it whole.
struct Ending {
  const char* name;
  void (*end)();
};
void PrintTo(const Ending& ending, std::ostream* out) { *out << ending.name; }

class PickEndedWhileHeld : public Pick, public testing::WithParamInterface<Ending> {};

TEST_P(PickEndedWhileHeld, NeitherPressNorReleaseReachesTheWindowBeneath) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  ASSERT_TRUE(SampleWithSpace(app, kOnSky, kSky));
  std::optional<HeldButton> held;
  held.emplace(kLeftButton);

  GetParam().end();
  ASSERT_TRUE(WaitUntil([&] { return LoupeOf(app) == nullptr; })) << "sampling did not end";
  held->Release();

  EXPECT_FALSE(WaitUntil([&] { return sky_.ButtonMessages() != 0; }, 500ms))
      << sky_.ButtonMessages() << " button messages reached the window beneath";
  Click(kOnSky);
  EXPECT_TRUE(WaitUntil([&] { return sky_.ButtonMessages() == 2; }))
      << "a click after sampling brought " << sky_.ButtonMessages() << " button messages, not 2";
}

INSTANTIATE_TEST_SUITE_P(Endings, PickEndedWhileHeld,
                         testing::Values(Ending{"Escape", [] { PressKey(VK_ESCAPE); }},
                                         Ending{"Shortcut", PressShortcut},
                                         Ending{"RightClick",
                                                [] {
                                                  PressButton(MOUSEEVENTF_RIGHTDOWN);
                                                  ReleaseButton(MOUSEEVENTF_RIGHTUP);
                                                }}),
                         [](const testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });

// A click is a press and a release in one sampling: a button pressed in a sampling that
// has ended, and let go in the next, ends nothing and reaches no window.
TEST_F(Pick, APressFromEndedSamplingClicksNothingInTheNext) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  ASSERT_TRUE(SampleWithSpace(app, kOnSky, kSky));
  std::optional<HeldButton> held;
  held.emplace(kLeftButton);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return LoupeOf(app) == nullptr; })) << "Escape did not end sampling";
  PressKey(VK_SPACE);
  ASSERT_TRUE(WaitUntil([&] { return LoupeOf(app) != nullptr; })) << "Space did not sample again";

  held->Release();

  EXPECT_FALSE(WaitUntil([&] { return LoupeOf(app) == nullptr; }, 500ms)) << "the release ended the new sampling";
  EXPECT_EQ(sky_.ButtonMessages(), 0);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return LoupeOf(app) == nullptr; }));
}

// Two colours taken, then each chosen back: from the swatch's menu key, and from the
// window's system menu, whose last entry the list is. Another process cannot read a
// menu here (Wine answers no item count), so the keys walk it and the readouts tell.
TEST_F(Pick, RecentColoursListTheTakenNewestFirstAndSetTheChosenOne) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  ASSERT_TRUE(SampleWithSpace(app, kOnBrown, kBrown));
  PressKey(VK_SPACE);
  ASSERT_TRUE(WaitUntil([&] { return LoupeOf(app) == nullptr; }));
  ASSERT_TRUE(SampleWithSpace(app, kOnSky, kSky));
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return LoupeOf(app) == nullptr; }));
  const std::string position = PositionText(kOnSky);
  SetClipboardTextForTest(L"before the choice");

  // The second entry is the older colour.
  PressKey(VK_APPS);
  ASSERT_TRUE(MenusOpen(app, 1)) << "the menu key opened no menu";
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  Readouts brown = Showing(kOnBrown, kBrown);
  brown[0] = position;  // choosing sets the colour, not the position it came from
  EXPECT_TRUE(ReadoutsSettleOn(app, brown)) << "the menu key's list";
  EXPECT_EQ(ClipboardText(), std::optional<std::wstring>(L"before the choice")) << "choosing copied";

  // Alt+Space, the system menu; Up wraps round to its last entry, the list.
  ASSERT_TRUE(MenusOpen(app, 0));
  PressChord({VK_MENU, VK_SPACE});
  ASSERT_TRUE(MenusOpen(app, 1)) << "Alt+Space opened no menu";
  PressKey(VK_UP);
  PressKey(VK_RIGHT);
  ASSERT_TRUE(MenusOpen(app, 2)) << "the list did not open from the system menu";
  PressKey(VK_RETURN);
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(kOnSky, kSky))) << "the system menu's list";
}

// The shortcut pressed while the system menu is open: the menu closes first, and only then
// does sampling begin, with the keys its own. Under Wine the Alt of the combination ends
// the menu as well, a moment after the handler has run, so the menu and the loupe are
// watched together: they are never both on screen.
TEST_F(Pick, ShortcutInTheSystemMenuClosesItBeforeSampling) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  MovePointer(kOnBrown);
  PressChord({VK_MENU, VK_SPACE});
  ASSERT_TRUE(MenusOpen(app, 1)) << "Alt+Space opened no menu";

  PressShortcut();

  bool together = false;
  ASSERT_TRUE(WaitUntil([&] {
    const bool loupe = LoupeOf(app) != nullptr;
    together = together || (loupe && !VisibleWindowsOf(app.ProcessId(), L"#32768").empty());
    return loupe;
  })) << "the shortcut did not start sampling";
  EXPECT_FALSE(together) << "sampling began inside the menu";
  EXPECT_TRUE(MenusOpen(app, 0));
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(kOnBrown, kBrown)));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return LoupeOf(app) == nullptr; })) << "Escape went to the menu, not to sampling";
}

// F freezes the screen: the readouts, the arrows and the averaged area read the still
// while the window beneath turns from brown to sky; F again, and they read it live.
TEST_F(Pick, FreezeKeepsWhatTheScreenShowedUntilFAgain) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  ASSERT_TRUE(SampleWithSpace(app, kOnBrown, kBrown));
  PressKey('F');
  // Taken in the order they came: the step reads the still.
  PressKey(VK_RIGHT);
  POINT at{kOnBrown.x + 1, kOnBrown.y};
  ASSERT_TRUE(ReadoutsSettleOn(app, Showing(at, kBrown)));
  if (UnderWine()) {
    // Copies show the loupe here: its border says it is frozen.
    RECT loupe{};
    GetWindowRect(LoupeOf(app), &loupe);
    EXPECT_EQ(ScreenPixel(POINT{loupe.left, loupe.top}), Rgb(Colour{0x0A, 0x5A, 0xD2, "", "", "", "", ""}));
  }
  brown_.Repaint(kSky);
  EXPECT_FALSE(WaitUntil([&] { return Snapshot(app) != Showing(at, kBrown); }, 500ms)) << "the live screen was read";
  PressKey(VK_RIGHT);
  at.x += 1;
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(at, kBrown)));
  Type('+');
  PressKey(VK_DOWN);
  at.y += 1;
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(at, kBrown))) << "the averaged area read the live screen";

  PressKey('F');
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(at, kSky))) << "F again did not go back to the live screen";
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return LoupeOf(app) == nullptr; }));
}

// Shift with the shortcut starts sampling on a still taken at the press; again, and it
// reads the live screen; the wheel with Ctrl, taken by the hook, zooms the loupe.
TEST_F(Pick, ShiftWithTheShortcutStartsFrozen) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  MovePointer(kOnBrown);
  const auto shiftShortcut = [] {
    PressChord({VK_SHIFT, VK_LWIN, VK_MENU, static_cast<WORD>(ids::kPickShortcutKey)});
  };
  shiftShortcut();
  ASSERT_TRUE(WaitUntil([&] { return LoupeOf(app) != nullptr; })) << "the shortcut did not start sampling";
  ASSERT_TRUE(ReadoutsSettleOn(app, Showing(kOnBrown, kBrown)));
  brown_.Repaint(kSky);
  EXPECT_FALSE(WaitUntil([&] { return Snapshot(app) != Showing(kOnBrown, kBrown); }, 500ms))
      << "the live screen was read";

  const auto width = [&] {
    RECT r{};
    GetWindowRect(LoupeOf(app), &r);
    return r.right - r.left;
  };
  INPUT wheel[3]{};
  for (INPUT& input : wheel) input.type = INPUT_KEYBOARD;
  wheel[0].ki.wVk = VK_CONTROL;
  wheel[1].type = INPUT_MOUSE;
  wheel[1].mi.dwFlags = MOUSEEVENTF_WHEEL;
  wheel[1].mi.mouseData = WHEEL_DELTA;
  wheel[2].ki.wVk = VK_CONTROL;
  wheel[2].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(3, wheel, sizeof(INPUT));
  const int zoomed = LoupeGeometry::ForDpi(96, 9).Size();
  EXPECT_TRUE(WaitUntil([&] { return width() == zoomed; })) << "Ctrl with the wheel: " << width() << " wide";

  shiftShortcut();
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(kOnBrown, kSky))) << "Shift with the shortcut did not thaw";
  PressShortcut();
  EXPECT_TRUE(WaitUntil([&] { return LoupeOf(app) == nullptr; })) << "the shortcut did not end sampling";
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(kOnBrown, kSky)));
}

// Ctrl+1 to Ctrl+5 while sampling: one key ends sampling keeping the colour and copies its
// CSS text (colorjs.io's coordinates for the sky's colour, rounded), as a click on a
// notation copies, minimising the window.
struct CssKey {
  const char* name;
  WORD key;
  const wchar_t* text;
};
void PrintTo(const CssKey& key, std::ostream* out) { *out << key.name; }

class PickCss : public Pick, public testing::WithParamInterface<CssKey> {};

TEST_P(PickCss, KeyWhileSamplingPicksAndCopiesTheText) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  ASSERT_TRUE(SampleWithSpace(app, kOnSky, kSky));
  SetClipboardTextForTest(L"untouched");
  PressChord({VK_CONTROL, GetParam().key});
  EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == std::optional<std::wstring>(GetParam().text); }))
      << Narrow(ClipboardText().value_or(L"(none)"));
  EXPECT_TRUE(WaitUntil([&] { return LoupeOf(app) == nullptr && IsIconic(app.Window()) != FALSE; }));
  EXPECT_TRUE(ReadoutsSettleOn(app, Showing(kOnSky, kSky)));
}

INSTANTIATE_TEST_SUITE_P(Keys, PickCss,
                         testing::Values(CssKey{"Hex", '1', L"#20a0e0"}, CssKey{"Rgb", '2', L"rgb(32 160 224)"},
                                         CssKey{"Hsl", '3', L"hsl(200 75.6% 50.2%)"},
                                         CssKey{"Oklch", '4', L"oklch(67.03% 0.13954 237.57)"},
                                         CssKey{"Lab", '5', L"lab(61.69 -16.75 -42.5)"}),
                         testing_support::CaseName<CssKey>);

// Ctrl+K after two colours taken: the lines compare the current one with the one taken
// before it, the window growing to hold them; Ctrl+K again, and it is as it was.
TEST_F(Pick, ContrastLinesCompareTheLastTwoColoursTaken) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  for (const auto& [at, colour] : {std::pair{kOnBrown, kBrown}, std::pair{kOnSky, kSky}}) {
    ASSERT_TRUE(SampleWithSpace(app, at, colour));
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return LoupeOf(app) == nullptr; }));
  }
  RECT before{};
  GetWindowRect(app.Window(), &before);
  const auto lines = [&] {
    std::pair<HWND, std::string> found{nullptr, {}};
    EnumChildWindows(
        app.Window(),
        [](HWND child, LPARAM data) -> BOOL {
          auto& f = *reinterpret_cast<std::pair<HWND, std::string>*>(data);
          const std::string text = WindowText(child);
          if (text.rfind("Contraste avec", 0) != 0 || !IsWindowVisible(child)) return TRUE;
          f = {child, text};
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.second;
  };
  const std::string expected = ContrastLines(ComposeColour(kSky.red, kSky.green, kSky.blue),
                                             ComposeColour(kBrown.red, kBrown.green, kBrown.blue));
  PressChord({VK_CONTROL, 'K'});
  EXPECT_TRUE(WaitUntil([&] { return lines() == expected; })) << lines();
  RECT grown{};
  GetWindowRect(app.Window(), &grown);
  EXPECT_GT(grown.bottom - grown.top, before.bottom - before.top);
  PressChord({VK_CONTROL, 'K'});
  EXPECT_TRUE(WaitUntil([&] { return lines().empty(); }));
  RECT back{};
  GetWindowRect(app.Window(), &back);
  EXPECT_EQ(back.bottom - back.top, before.bottom - before.top);
}

TEST(PickShortcut, TakenByAnotherProgramIsSaidAndTheKeysStillSample) {
  ASSERT_TRUE(RegisterHotKey(nullptr, 1, ids::kPickShortcutModifiers | MOD_NOREPEAT, ids::kPickShortcutKey))
      << "the combination is not free for this test: " << GetLastError();
  ASSERT_TRUE(
      RegisterHotKey(nullptr, 2, ids::kPickShortcutModifiers | MOD_SHIFT | MOD_NOREPEAT, ids::kPickShortcutKey))
      << "the combination with Shift is not free for this test: " << GetLastError();
  struct Unregister {
    ~Unregister() {
      UnregisterHotKey(nullptr, 1);
      UnregisterHotKey(nullptr, 2);
    }
  } unregister;
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);

  std::string notice;
  EXPECT_TRUE(WaitUntil([&] {
    notice = WindowText(VisibleWindowOf(app.ProcessId(), L"tooltips_class32"));
    return notice.find("Win+Alt+C") != std::string::npos;
  })) << "no notice of the taken shortcut, only \""
      << notice << '"';
  EXPECT_NE(notice.find("Le raccourci Win+Alt+C est déjà utilisé\u00A0: Tintelo fonctionne sans lui.\r\n"
                        "Le raccourci Maj+Win+Alt+C est déjà utilisé\u00A0: Tintelo fonctionne sans lui."),
            std::string::npos)
      << notice;

  PressShortcut();  // this process's now
  EXPECT_FALSE(WaitUntil([&] { return LoupeOf(app) != nullptr; }, 500ms));
  PressKey(VK_SPACE);
  EXPECT_TRUE(WaitUntil([&] { return LoupeOf(app) != nullptr; })) << "Space no longer samples";
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return LoupeOf(app) == nullptr; }));
}

}  // namespace
}  // namespace tintelo::e2e
