// The palette picture opens the system colour dialog: expanded, modal, and its confirmed
// colour (or the previous one after a cancel) lands in every readout and slider.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <ostream>
#include <string>

#include "e2e/Driver.h"
#include "tests/CaseName.h"
#include "window/ControlIds.h"

namespace tintelo::e2e {
namespace {

// The red, green and blue edits and the add-to-custom-colours button of the dialog's
// custom-colour section.
constexpr std::array<int, 3> kRgbEdits{706, 707, 708};
constexpr int kAddCustomButton = 712;

// Ends the dialog with OK or Cancel; true once it has gone.
bool CloseDialog(const Tintelo& app, HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  return WaitUntil([&] { return ColourDialogOf(app.ProcessId()) == nullptr; });
}

bool ChooseColour(const Tintelo& app, int red, int green, int blue) {
  HWND dialog = OpenColourDialog(app);
  return dialog != nullptr && TypeColour(dialog, red, green, blue) && CloseDialog(app, dialog, IDOK);
}

std::array<std::string, 5> Readouts(const Tintelo& app) {
  std::array<std::string, 5> texts;
  for (int i = 0; i < 5; ++i) texts[static_cast<std::size_t>(i)] = app.Text(ids::kText1 + 1 + i);
  return texts;
}

std::array<std::string, 5> AsStrings(const std::array<const char*, 5>& texts) {
  std::array<std::string, 5> strings;
  for (std::size_t i = 0; i < texts.size(); ++i) strings[i] = texts[i];
  return strings;
}

constexpr std::array<const char*, 5> kBlack{"0", "0x000000", "0,0,0,255", "0,0,0", "#000000"};

struct Chosen {
  const char* name;
  int red, green, blue;
  std::array<const char*, 5> readouts;  // Text1(1..5)
  std::array<int, 3> sliders;
  std::array<const char*, 3> labels;  // Label2(3..5)
};

const std::array<Chosen, 3> kChosen{{
    {"PureBlue",
     0,
     0,
     255,
     {"16711680", "0x0000FF", "255,255,0,0", "0,0,255", "#0000FF"},
     {0, 0, -255},
     {"0", "0", "255"}},
    {"Brown",
     153,
     102,
     51,
     {"3368601", "0x996633", "0,51,102,102", "153,102,51", "#996633"},
     {-153, -102, -51},
     {"153", "102", "51"}},
    {"DarkSlate",
     10,
     20,
     30,
     {"1971210", "0x0A141E", "20,10,0,225", "10,20,30", "#0A141E"},
     {-10, -20, -30},
     {"10", "20", "30"}},
}};

void PrintTo(const Chosen& c, std::ostream* out) { *out << c.red << ',' << c.green << ',' << c.blue; }

class ConfirmedColour : public testing::TestWithParam<Chosen> {};

TEST_P(ConfirmedColour, FillsEveryReadoutSliderAndLabel) {
  const Chosen& c = GetParam();
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  ASSERT_TRUE(ChooseColour(app, c.red, c.green, c.blue));

  const auto expected = AsStrings(c.readouts);
  EXPECT_TRUE(WaitUntil([&] { return Readouts(app) == expected; }));
  EXPECT_EQ(Readouts(app), expected);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ScrollInfo(app.Control(ids::kHScroll1 + i)).nPos, c.sliders[static_cast<std::size_t>(i)]);
    EXPECT_EQ(app.Text(ids::kLabel2 + 3 + i), c.labels[static_cast<std::size_t>(i)]);
  }
  EXPECT_EQ(app.Text(ids::kText1 + 0), "0.0") << "the dialog does not sample the screen";
}

INSTANTIATE_TEST_SUITE_P(Dialog, ConfirmedColour, testing::ValuesIn(kChosen), testing_support::CaseName<Chosen>);

TEST(ColourDialog, OpensExpandedAndHidesThePaletteHelp) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  HWND palettePanel = app.Control(ids::kTool1 + 1);
  MovePointer(CentreOnScreen(app.Control(ids::kImage1)));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(palettePanel) != FALSE; }));

  HWND dialog = OpenColourDialog(app);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsWindowVisible(palettePanel));
  RECT frame{};
  GetWindowRect(dialog, &frame);
  for (const int id : {kRgbEdits[0], kRgbEdits[1], kRgbEdits[2], kAddCustomButton}) {
    SCOPED_TRACE(id);
    HWND control = GetDlgItem(dialog, id);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(IsWindowVisible(control));
    RECT r{};
    GetWindowRect(control, &r);
    // Collapsed, the custom section lies beyond the dialog's right edge.
    EXPECT_LE(r.right, frame.right);
    EXPECT_GE(r.left, frame.left);
  }
  EXPECT_TRUE(CloseDialog(app, dialog, IDCANCEL));
}

TEST(ColourDialog, IsModalOverTheWindow) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(app.Window()));
  HWND dialog = OpenColourDialog(app);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsWindowEnabled(app.Window()));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), app.Window());
  PressShortcut();
  EXPECT_FALSE(WaitUntil([&] { return LoupeOf(app) != nullptr; }, 500ms)) << "the shortcut sampled behind the dialog";
  ASSERT_TRUE(CloseDialog(app, dialog, IDCANCEL));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app.Window()) != FALSE; }));
}

// Clicks the red slider's up arrow, and waits until black has become #010000.
bool RedOneUp(const Tintelo& app) {
  RECT bar{};
  GetWindowRect(app.Control(ids::kHScroll1 + 0), &bar);
  Click(POINT{(bar.left + bar.right) / 2, bar.top + GetSystemMetrics(SM_CYVSCROLL) / 2});
  return WaitUntil([&] { return app.Text(ids::kText1 + 5) == "#010000"; });
}

TEST(ColourDialog, CancelBeforeAnyConfirmedColourGivesBlack) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  // Make the readouts non-black first: the cancel must put the dialog's black back.
  ASSERT_TRUE(RedOneUp(app));
  HWND redBar = app.Control(ids::kHScroll1 + 0);

  HWND dialog = OpenColourDialog(app);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(TypeColour(dialog, 200, 100, 50));
  ASSERT_TRUE(CloseDialog(app, dialog, IDCANCEL));

  const auto expected = AsStrings(kBlack);
  EXPECT_TRUE(WaitUntil([&] { return Readouts(app) == expected; }));
  EXPECT_EQ(Readouts(app), expected);
  EXPECT_EQ(ScrollInfo(redBar).nPos, 0);
}

TEST(ColourDialog, CancelKeepsThePreviouslyConfirmedColour) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  ASSERT_TRUE(ChooseColour(app, 153, 102, 51));
  const auto brown = AsStrings(kChosen[1].readouts);
  ASSERT_TRUE(WaitUntil([&] { return Readouts(app) == brown; }));

  HWND dialog = OpenColourDialog(app);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(TypeColour(dialog, 0, 0, 255));
  ASSERT_TRUE(CloseDialog(app, dialog, IDCANCEL));

  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app.Window()) != FALSE; }));
  // The readouts are rewritten after the dialog closes: watch them for a while.
  EXPECT_FALSE(WaitUntil([&] { return Readouts(app) != brown; }, 1s)) << "now " << Readouts(app)[4];
  EXPECT_EQ(Readouts(app), brown);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(ScrollInfo(app.Control(ids::kHScroll1 + i)).nPos, kChosen[1].sliders[static_cast<std::size_t>(i)]) << i;
  }
}

// Without its library the palette picture opens nothing and the colour stays (a cancel
// would have brought back the dialog's black); the failed load is not remembered, so
// once the library can be had the next click opens the dialog. Wine is told to load no
// comdlg32 for the program while the first click is handled.
TEST(ColourDialog, LibraryThatWouldNotLoadIsTriedAgainAtTheNextClick) {
  if (!UnderWine()) {
    GTEST_SKIP() << "the library is kept from the program through Wine's DllOverrides, which Windows ignores; on "
                    "Windows comdlg32 is a KnownDLL, always loaded from System32, so its load cannot be made to fail";
  }
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  ASSERT_TRUE(RedOneUp(app));
  {
    const WineDllOverride noLibrary(L"Tintelo.exe", L"comdlg32", L"");
    // The palette picture holds the pointer from the press to the release, and lets it
    // go just before it acts on the click; once it has, the window answers only after
    // the click has been handled.
    HWND palette = app.Control(ids::kImage1);
    MovePointer(CentreOnScreen(palette));
    PressButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitUntil([&] { return CaptureOf(app) == palette; }));
    ReleaseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitUntil([&] { return CaptureOf(app) != palette; }));
    ASSERT_TRUE(SendAndWait(app.Window(), WM_NULL, 0, 0));
    EXPECT_EQ(ColourDialogOf(app.ProcessId()), nullptr);
    EXPECT_TRUE(IsWindowEnabled(app.Window()));
    EXPECT_EQ(app.Text(ids::kText1 + 5), "#010000");
  }
  HWND dialog = OpenColourDialog(app);
  ASSERT_NE(dialog, nullptr) << "the failed load was remembered";
  EXPECT_TRUE(CloseDialog(app, dialog, IDCANCEL));
}

}  // namespace
}  // namespace tintelo::e2e
