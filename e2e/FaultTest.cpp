// Starts in a crowd, hostile window messages, sliders moved from outside, and a second
// start in the middle of sampling: the program keeps one window and stays consistent.
#include <gtest/gtest.h>

#include <vector>

#include "e2e/Driver.h"
#include "window/ControlIds.h"

namespace tintelo::e2e {
namespace {

// Sent, not posted: the call returns once the program has handled the message.
void Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) { SendAndWait(window, message, wParam, lParam); }

bool Responsive(HWND window) { return SendAndWait(window, WM_NULL, 0, 0); }

TEST(Faults, TwentyStartsAtOnceLeaveExactlyOneWindow) {
  std::vector<HANDLE> started;
  for (int i = 0; i < 20; ++i) {
    HANDLE process = StartTintelo();
    ASSERT_NE(process, nullptr);
    started.push_back(process);
  }
  // All but one end by themselves; the survivor shows its window.
  std::vector<HANDLE> running;
  ASSERT_TRUE(WaitUntil(
      [&] {
        running.clear();
        for (HANDLE p : started) {
          if (WaitForSingleObject(p, 0) == WAIT_TIMEOUT) running.push_back(p);
        }
        return running.size() == 1 && CountTinteloWindows() == 1;
      },
      30s))
      << running.size() << " still running, " << CountTinteloWindows() << " windows";

  HWND window = FindWindowW(ids::kWindowClass, nullptr);
  ASSERT_NE(window, nullptr);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(running.front(), 10000), WAIT_OBJECT_0);
  for (HANDLE p : started) {
    if (WaitForSingleObject(p, 0) == WAIT_TIMEOUT) TerminateProcess(p, 1);
    CloseHandle(p);
  }
}

// Coordinates at the ends of the 16-bit range, negative ones included, as a mouse
// message can carry them (captured pointer on a far monitor, or a program posting junk).
TEST(Faults, ExtremeMouseCoordinatesAreTakenInStride) {
  Tintelo app;
  const int points[][2] = {{-32768, -32768}, {32767, 32767}, {-32768, 32767}, {0, -1}, {-1, 0}};
  for (const auto& p : points) {
    const LPARAM at = MAKELPARAM(static_cast<WORD>(p[0]), static_cast<WORD>(p[1]));
    for (const int id : {ids::kPicture1, ids::kImage1, ids::kText1 + 3, ids::kLabel1 + 9}) {
      Deliver(app.Control(id), WM_MOUSEMOVE, 0, at);
    }
    Deliver(app.Window(), WM_MOUSEMOVE, 0, at);
    Deliver(app.Control(ids::kPicture1), WM_MOUSEMOVE, 0, at);
    ASSERT_TRUE(Responsive(app.Window())) << p[0] << ',' << p[1];
    // The last message put the swatch's help panel beside that point, far outside the window.
    const RECT panel = RectInParent(app.Control(ids::kTool1));
    EXPECT_TRUE(IsWindowVisible(app.Control(ids::kTool1)));
    EXPECT_EQ(panel.left < 0, p[0] < -20) << p[0];
  }
  Deliver(app.Window(), WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(app.Window()));
  Deliver(app.Window(), WM_TIMER, 12345, 0);
  ASSERT_TRUE(Responsive(app.Window()));
  EXPECT_EQ(app.Text(ids::kText1 + 5), "#000000") << "junk messages changed the colour";
}

// Another program can set a scroll bar's position to anything; the control keeps it in
// range and the next slider action puts the bar back in step with the colour.
TEST(Faults, SliderPositionsSetFromOutsideStayInRangeAndResync) {
  Tintelo app;
  HWND bar = app.Control(ids::kHScroll1);
  SetScrollPos(bar, SB_CTL, -1000, TRUE);
  EXPECT_GE(ScrollInfo(bar).nPos, -255);
  SetScrollPos(bar, SB_CTL, 1000, TRUE);
  EXPECT_LE(ScrollInfo(bar).nPos, 0);
  SetScrollPos(bar, SB_CTL, -100, TRUE);
  // The colour did not follow a position it never heard of; a step down at the bottom
  // changes nothing, and the bar shows the real position again.
  PostMessageW(app.Window(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar));
  EXPECT_TRUE(WaitUntil([&] { return ScrollInfo(bar).nPos == 0; }));
  EXPECT_EQ(app.Text(ids::kText1 + 4), "0,0,0");
  PostMessageW(app.Window(), WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(bar));
  EXPECT_TRUE(WaitUntil([&] { return app.Text(ids::kText1 + 4) == "1,0,0"; }));
  EXPECT_EQ(ScrollInfo(bar).nPos, -1);
}

TEST(Faults, SecondStartWhileSamplingLeavesTheSamplingUntouched) {
  Tintelo app;
  const POINT swatch = CentreOnScreen(app.Control(ids::kPicture1));
  MovePointer(swatch);
  PressButton(MOUSEEVENTF_LEFTDOWN);
  MovePointer(POINT{5, 7});
  EXPECT_TRUE(WaitUntil([&] { return app.Text(ids::kText1) == "5.7"; }));

  HANDLE second = StartTintelo();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(WaitForSingleObject(second, 10000), WAIT_OBJECT_0);
  CloseHandle(second);
  EXPECT_EQ(CountTinteloWindows(), 1);

  MovePointer(POINT{9, 11});
  EXPECT_TRUE(WaitUntil([&] { return app.Text(ids::kText1) == "9.11"; })) << "sampling stopped";
  ReleaseButton(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(Responsive(app.Window()));
}

}  // namespace
}  // namespace tintelo::e2e
