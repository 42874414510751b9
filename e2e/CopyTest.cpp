// A readout field taking the focus copies its text and minimises the window; coming
// back gives the focus to the swatch, and a busy clipboard keeps the window up.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <ostream>
#include <string>
#include <thread>

#include "e2e/Driver.h"
#include "window/ControlIds.h"

namespace tintelo::e2e {
namespace {

constexpr wchar_t kSentinel[] = L"avant la copie";

// Confirms a colour in the system colour dialog the palette picture opens.
bool ChooseColour(const Tintelo& app, int red, int green, int blue) {
  return ConfirmColour(OpenColourDialog(app), red, green, blue);
}

HWND FocusOf(const Tintelo& app) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof(gui);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(app.Window(), nullptr), &gui)) return nullptr;
  return gui.hwndFocus;
}

bool ClipboardHolds(const std::wstring& text) { return ClipboardText() == text; }

struct Field {
  int index;
  const char* text;  // with #996633 chosen and nothing sampled yet
};

constexpr std::array<Field, 6> kFields{{
    {0, "0.0"},
    {1, "3368601"},
    {2, "0x996633"},
    {3, "0,51,102,102"},
    {4, "153,102,51"},
    {5, "#996633"},
}};

void PrintTo(const Field& f, std::ostream* out) { *out << "Text1(" << f.index << ") \"" << f.text << '"'; }

class ClickedField : public testing::TestWithParam<Field> {};

TEST_P(ClickedField, CopiesItsExactTextAndMinimises) {
  const Field& f = GetParam();
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  ASSERT_TRUE(ChooseColour(app, 153, 102, 51));
  HWND field = app.Control(ids::kText1 + f.index);
  ASSERT_TRUE(WaitUntil([&] { return app.Text(ids::kText1 + 5) == "#996633"; }));
  ASSERT_EQ(WindowText(field), f.text);

  SetClipboardTextForTest(kSentinel);
  ASSERT_TRUE(ClipboardHolds(kSentinel));
  Click(CentreOnScreen(field));
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(app.Window()) != FALSE; })) << "not minimised";
  EXPECT_TRUE(WaitUntil([&] { return ClipboardHolds(Widen(f.text)); }))
      << "clipboard: " << Narrow(ClipboardText().value_or(L"(none)"));
  EXPECT_EQ(WindowText(field), f.text) << "copying leaves the field as it was";
}

INSTANTIATE_TEST_SUITE_P(Copy, ClickedField, testing::ValuesIn(kFields),
                         [](const testing::TestParamInfo<Field>& param) {
                           return "Text1_" + std::to_string(param.param.index);
                         });

TEST(Copy, RestoringFocusesTheSwatchWithoutCopyingThenTabCopiesTheHtmlCode) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  ASSERT_TRUE(ChooseColour(app, 153, 102, 51));
  ASSERT_TRUE(WaitUntil([&] { return app.Text(ids::kText1 + 5) == "#996633"; }));
  Click(CentreOnScreen(app.Control(ids::kText1 + 2)));
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(app.Window()) != FALSE; }));
  ASSERT_TRUE(WaitUntil([&] { return ClipboardHolds(L"0x996633"); }));

  SetClipboardTextForTest(kSentinel);
  ShowWindow(app.Window(), SW_RESTORE);
  EXPECT_TRUE(WaitUntil([&] { return !IsIconic(app.Window()) && FocusOf(app) == app.Control(ids::kPicture1); }))
      << "focus on " << FocusOf(app);
  // Nothing must follow the restore: watch for a late copy for a while.
  EXPECT_FALSE(WaitUntil([&] { return IsIconic(app.Window()) || !ClipboardHolds(kSentinel); }, 1s));
  EXPECT_TRUE(ClipboardHolds(kSentinel));

  // Tab goes from the swatch to the HTML field, which copies as a click does.
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == app.Window(); }));
  PressKey(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(app.Window()) != FALSE; })) << "not minimised";
  EXPECT_TRUE(WaitUntil([&] { return ClipboardHolds(L"#996633"); }))
      << "clipboard: " << Narrow(ClipboardText().value_or(L"(none)"));
}

TEST(Copy, TabFromTheSwatchAtStartCopiesTheHtmlCode) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  ASSERT_EQ(FocusOf(app), app.Control(ids::kPicture1));
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == app.Window(); }));
  SetClipboardTextForTest(kSentinel);
  PressKey(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(app.Window()) != FALSE; })) << "not minimised";
  EXPECT_TRUE(WaitUntil([&] { return ClipboardHolds(L"#000000"); }))
      << "clipboard: " << Narrow(ClipboardText().value_or(L"(none)"));
}

// Keeps the clipboard open from a window of this process, as another program may.
class ClipboardHolder {
 public:
  ClipboardHolder()
      : window_(CreateWindowExW(0, L"STATIC", L"presse-papiers", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr)),
        open_(window_ != nullptr && OpenClipboard(window_)) {}
  ~ClipboardHolder() {
    Release();
    if (window_ != nullptr) DestroyWindow(window_);
  }
  ClipboardHolder(const ClipboardHolder&) = delete;
  ClipboardHolder& operator=(const ClipboardHolder&) = delete;

  [[nodiscard]] bool Holding() const { return open_; }
  void Release() {
    if (open_) CloseClipboard();
    open_ = false;
  }

 private:
  HWND window_;
  bool open_;
};

TEST(Copy, BusyClipboardKeepsTheWindowUpAndResponsive) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  HWND html = app.Control(ids::kText1 + 5);
  HWND swatchPanel = app.Control(ids::kTool1 + 0);
  SetClipboardTextForTest(kSentinel);

  ClipboardHolder holder;
  ASSERT_TRUE(holder.Holding());
  MovePointer(CentreOnScreen(html));
  ASSERT_FALSE(IsWindowVisible(swatchPanel));
  Click(CentreOnScreen(html));
  // Input is handled in order: once the move onto the swatch shows its help panel, the
  // click before it (and every copy attempt) is over.
  MovePointer(CentreOnScreen(app.Control(ids::kPicture1)));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(swatchPanel) != FALSE; }));
  EXPECT_FALSE(IsIconic(app.Window()));
  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutW(app.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result), 0)
      << "the window stopped answering";
  holder.Release();
  EXPECT_TRUE(ClipboardHolds(kSentinel));

  // A clipboard history keeps the clipboard a moment after each change; the copy waits.
  ClipboardHolder history;
  ASSERT_TRUE(history.Holding());
  Click(CentreOnScreen(html));
  std::this_thread::sleep_for(200ms);
  history.Release();
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(app.Window()) != FALSE; })) << "not minimised";
  EXPECT_TRUE(WaitUntil([&] { return ClipboardHolds(L"#000000"); }))
      << "clipboard: " << Narrow(ClipboardText().value_or(L"(none)"));
}

}  // namespace
}  // namespace tintelo::e2e
