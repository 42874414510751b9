// The window as it opens and after a scale change: layout at two scales, start-up texts,
// tooltips, topmost, the single instance, colour schemes and closing.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "colour/Contrast.h"
#include "e2e/Driver.h"
#include "resources/resource.h"
#include "tests/CaseName.h"
#include "window/ControlIds.h"
#include "window/Layout.h"
#include "window/win32/base/Dib.h"

#include <commctrl.h>  // after <windows.h>, which the driver brings

namespace tintelo::e2e {
namespace {

struct Expected {
  const char* name;
  int id;
  int left, top, width, height;
  const char* text;  // nullptr: not checked
};

// Where each control must stand, in twips, and what it reads at start-up.
constexpr std::array<Expected, 27> kExpected{{
    {"Picture1", ids::kPicture1, 240, 240, 555, 975, nullptr},
    {"Text1(0)", ids::kText1 + 0, 1740, 240, 1380, 195, "0.0"},
    {"Text1(1)", ids::kText1 + 1, 1740, 540, 1380, 195, "0"},
    {"Text1(2)", ids::kText1 + 2, 1740, 840, 1380, 195, "0x000000"},
    {"Text1(3)", ids::kText1 + 3, 1740, 1140, 1380, 195, "0,0,0,255"},
    {"Text1(4)", ids::kText1 + 4, 1740, 1440, 1380, 195, "0,0,0"},
    {"Text1(5)", ids::kText1 + 5, 1740, 1740, 1380, 195, "#000000"},
    {"hScroll1(0)", ids::kHScroll1 + 0, 3480, 480, 195, 1215, nullptr},
    {"hScroll1(1)", ids::kHScroll1 + 1, 3900, 480, 195, 1215, nullptr},
    {"hScroll1(2)", ids::kHScroll1 + 2, 4320, 480, 195, 1215, nullptr},
    {"Image1", ids::kImage1, 300, 1440, 480, 480, nullptr},
    {"Label2(0)", ids::kLabel2 + 0, 3420, 240, 330, 195, "R"},
    {"Label2(1)", ids::kLabel2 + 1, 3840, 240, 330, 195, "G"},
    {"Label2(2)", ids::kLabel2 + 2, 4260, 240, 330, 195, "B"},
    {"Label2(3)", ids::kLabel2 + 3, 3420, 1740, 330, 195, "000"},
    {"Label2(4)", ids::kLabel2 + 4, 3840, 1740, 330, 195, "000"},
    {"Label2(5)", ids::kLabel2 + 5, 4260, 1740, 330, 195, "000"},
    {"Label1(0)", ids::kLabel1 + 0, 1260, 540, 435, 195, "Déc. :"},
    {"Label1(2)", ids::kLabel1 + 2, 1080, 840, 600, 195, "Hexa. :"},
    {"Label1(4)", ids::kLabel1 + 4, 1260, 1440, 435, 195, "RGB :"},
    {"Label1(6)", ids::kLabel1 + 6, 1080, 1740, 600, 195, "HTML :"},
    {"Label1(9)", ids::kLabel1 + 9, 1080, 240, 615, 195, "Pos XY :"},
    {"Label1(11)", ids::kLabel1 + 11, 1080, 1140, 615, 195, "CMYK :"},
    {"Tool1(0)", ids::kTool1 + 0, 960, -480, 2655, 555, nullptr},
    {"Tool1(1)", ids::kTool1 + 1, 960, -480, 2415, 555, nullptr},
    {"Label4(0)", ids::kLabel4 + 0, 60, 60, 2580, 435,
     "Cliquez pour analyser un point, puis relâchez le bouton une fois terminé."},
    {"Label4(1)", ids::kLabel4 + 1, 60, 60, 2280, 435, "Cliquez pour choisir une couleur sur la palette système."},
}};

int Px(int twips, int dpi) { return layout::Pixels(twips, static_cast<unsigned>(dpi)); }

// The program's tooltip window; it has no owner, so it is found by process and class.
HWND ToolTipOf(const Tintelo& app) {
  for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == app.ProcessId() && std::wstring(name) == L"tooltips_class32") return w;
  }
  return nullptr;
}

// The client area exactly the layout's size, every control in its place with its
// start-up text, and the tooltip wrapping at 400 pixels of 96 DPI.
void ExpectLayoutAt(const Tintelo& app, int dpi) {
  const RECT client = ClientRect(app.Window());
  EXPECT_EQ(client.right, Px(4785, dpi));
  EXPECT_EQ(client.bottom, Px(2175, dpi));

  for (const auto& e : kExpected) {
    SCOPED_TRACE(e.name);
    HWND control = app.Control(e.id);
    ASSERT_NE(control, nullptr);
    const RECT r = RectInParent(control);
    EXPECT_EQ(r.left, Px(e.left, dpi));
    EXPECT_EQ(r.top, Px(e.top, dpi));
    EXPECT_EQ(r.right - r.left, Px(e.width, dpi));
    EXPECT_EQ(r.bottom - r.top, Px(e.height, dpi));
    if (e.text != nullptr) EXPECT_EQ(WindowText(control), e.text);
  }
  for (const int missing : {1, 3, 5, 7, 8, 10, 12}) EXPECT_EQ(app.Control(ids::kLabel1 + missing), nullptr) << missing;
  DWORD_PTR tipWidth = 0;
  ASSERT_TRUE(SendAndWait(ToolTipOf(app), TTM_GETMAXTIPWIDTH, 0, 0, &tipWidth));
  EXPECT_EQ(static_cast<int>(tipWidth), MulDiv(400, dpi, 96));
}

class AtScale : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (!SetScreenDpi(GetParam())) GTEST_SKIP() << kScaleNeedsWine;
  }
  void TearDown() override { SetScreenDpi(96); }
};

TEST_P(AtScale, EveryControlStandsInPlaceWithItsStartUpText) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr) << "the window never appeared";
  EXPECT_EQ(WindowText(app.Window()), "Tintelo v.1.0");
  ExpectLayoutAt(app, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Dpi, AtScale, testing::Values(96, 144));

// What Windows sends when the window is moved to a monitor of another scale: the new
// scale and a suggested frame, here the present one scaled in proportion, as a system
// that does not first ask the window for its size suggests it. Wine cannot move a window
// between scales, so the message is made here and put in the program's own memory.
bool SendScaleChange(const Tintelo& app, int from, int to) {
  RECT now{};
  GetWindowRect(app.Window(), &now);
  const RECT suggested{now.left, now.top, now.left + MulDiv(now.right - now.left, to, from),
                       now.top + MulDiv(now.bottom - now.top, to, from)};
  void* remote = VirtualAllocEx(app.Process(), nullptr, sizeof(suggested), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (remote == nullptr) return false;
  const bool sent = WriteProcessMemory(app.Process(), remote, &suggested, sizeof(suggested), nullptr) &&
                    SendAndWait(app.Window(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(remote));
  VirtualFreeEx(app.Process(), remote, 0, MEM_RELEASE);
  return sent;
}

// The client area as the screen shows it, the sliders left out: their arrows are drawn
// at the system's scale, which a scale change does not alter under Wine. A screen that
// could not be read gives no pixels, and blanking the sliders then throws: two failed
// reads never pass for the same picture.
std::vector<COLORREF> ClientPixels(const Tintelo& app) {
  const RECT client = ClientRect(app.Window());
  POINT origin{0, 0};
  ClientToScreen(app.Window(), &origin);
  std::vector<COLORREF> pixels =
      ScreenPixels(RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
  for (int i = 0; i < 3; ++i) {
    const RECT bar = RectInParent(app.Control(ids::kHScroll1 + i));
    for (LONG y = bar.top; y < bar.bottom; ++y) {
      for (LONG x = bar.left; x < bar.right; ++x) pixels.at(static_cast<std::size_t>(y * client.right + x)) = 0;
    }
  }
  return pixels;
}

// The pixels once two reads in a row agree: painting has settled.
std::vector<COLORREF> SettledClientPixels(const Tintelo& app) {
  std::vector<COLORREF> seen = ClientPixels(app);
  WaitUntil([&] {
    std::vector<COLORREF> again = ClientPixels(app);
    const bool settled = again == seen;
    seen = std::move(again);
    return settled;
  });
  return seen;
}

class ScaleChange : public testing::TestWithParam<std::pair<int, int>> {
 protected:
  void SetUp() override {
    if (!UnderWine()) {
      GTEST_SKIP() << "the scale change is forged for Wine, which cannot move a window between scales, and compared "
                      "with a program started at the new scale through LogPixels; on Windows, drag the window "
                      "between monitors of two scales (README, Scales)";
    }
  }
  void TearDown() override { SetScreenDpi(96); }
};

// After a move to a monitor of another scale the window is laid out and painted exactly
// as if it had started there: no control keeps pixels from the old scale.
TEST_P(ScaleChange, WindowLooksAsIfStartedAtTheNewScale) {
  const auto [from, to] = GetParam();
  SetScreenDpi(to);
  std::vector<COLORREF> expected;
  {
    Tintelo started;
    expected = SettledClientPixels(started);
  }
  SetScreenDpi(from);
  Tintelo app;
  ASSERT_TRUE(SendScaleChange(app, from, to));
  ExpectLayoutAt(app, to);
  std::vector<COLORREF> seen;
  const bool same = WaitUntil([&] {
    seen = ClientPixels(app);
    return seen == expected;
  });
  std::size_t differ = 0;
  if (seen.size() == expected.size()) {
    for (std::size_t i = 0; i < seen.size(); ++i) differ += seen[i] != expected[i] ? 1 : 0;
  }
  EXPECT_TRUE(same) << differ << " of " << expected.size() << " pixels differ (" << seen.size() << " read)";
}

INSTANTIATE_TEST_SUITE_P(Dpi, ScaleChange, testing::Values(std::pair{96, 144}, std::pair{144, 96}),
                         [](const testing::TestParamInfo<std::pair<int, int>>& param) {
                           return std::to_string(param.param.first) + "to" + std::to_string(param.param.second);
                         });

TEST(StartUp, SlidersStandAtTheBottomOfTheirRange) {
  Tintelo app;
  for (int i = 0; i < 3; ++i) {
    const SCROLLINFO info = ScrollInfo(app.Control(ids::kHScroll1 + i));
    EXPECT_EQ(info.nMin, -255) << i;
    EXPECT_EQ(info.nMax, 0) << i;
    EXPECT_EQ(info.nPos, 0) << i;
  }
}

TEST(StartUp, HelpPanelsAreHiddenAndTheSwatchHasTheFocus) {
  Tintelo app;
  EXPECT_FALSE(IsWindowVisible(app.Control(ids::kTool1 + 0)));
  EXPECT_FALSE(IsWindowVisible(app.Control(ids::kTool1 + 1)));
  GUITHREADINFO gui{};
  gui.cbSize = sizeof(gui);
  ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(app.Window(), nullptr), &gui));
  EXPECT_EQ(gui.hwndFocus, app.Control(ids::kPicture1));
  EXPECT_EQ(WindowText(app.Control(ids::kText1 + 0)), "0.0") << "focus on a field would have copied and minimised";
  EXPECT_FALSE(IsIconic(app.Window()));
}

TEST(StartUp, StaysAboveOtherWindows) {
  Tintelo app;
  EXPECT_TRUE(GetWindowLongPtrW(app.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  // Another program's window brought to the front stays below it.
  HWND other = CreateWindowExW(0, L"STATIC", L"autre", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 1024, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(other);
  SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  bool above = false;
  WaitUntil([&] {
    above = false;
    for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
      if (w == app.Window()) {
        above = true;
        break;
      }
      if (w == other) break;
    }
    return above;
  });
  EXPECT_TRUE(above);
  DestroyWindow(other);
}

// The readout fields share one tooltip, shown when the pointer rests on any of them.
TEST(StartUp, EveryReadoutFieldShowsTheCopyTooltip) {
  Tintelo app;
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    MovePointer(CentreOnScreen(app.Control(ids::kPicture1)));
    MovePointer(CentreOnScreen(app.Control(ids::kText1 + i)));
    std::string tip;
    const bool shown = WaitUntil([&] {
      HWND w = ToolTipOf(app);
      if (w == nullptr || !IsWindowVisible(w)) return false;
      tip = WindowText(w);
      return !tip.empty();
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(tip, "Cliquez pour copier la valeur dans le presse-papiers");
  }
}

// A screen reader names a field or a scroll bar after the label just before it in the
// stacking order, while the help panels stay in front of everything. Its first request
// for an accessible object sets up the sliders' values and the swatch's name and colour;
// Wine cannot hand those objects to another process, so what is checked here is that
// the request is answered and the program still closes cleanly after it.
TEST(StartUp, ScreenReadersFindEachLabelJustBeforeItsControl) {
  Tintelo app;
  constexpr std::array<std::pair<int, const char*>, 9> kLabelled{{{ids::kText1 + 0, "Pos XY :"},
                                                                  {ids::kText1 + 1, "Déc. :"},
                                                                  {ids::kText1 + 2, "Hexa. :"},
                                                                  {ids::kText1 + 3, "CMYK :"},
                                                                  {ids::kText1 + 4, "RGB :"},
                                                                  {ids::kText1 + 5, "HTML :"},
                                                                  {ids::kHScroll1 + 0, "R"},
                                                                  {ids::kHScroll1 + 1, "G"},
                                                                  {ids::kHScroll1 + 2, "B"}}};
  for (const auto& [id, label] : kLabelled) {
    SCOPED_TRACE(label);
    HWND before = GetWindow(app.Control(id), GW_HWNDPREV);
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(WindowText(before), label);
  }
  HWND front = GetWindow(app.Window(), GW_CHILD);
  const std::array<HWND, 2> panels{app.Control(ids::kTool1), app.Control(ids::kTool1 + 1)};
  EXPECT_TRUE(front == panels[0] || front == panels[1]);
  EXPECT_TRUE(GetWindow(front, GW_HWNDNEXT) == panels[0] || GetWindow(front, GW_HWNDNEXT) == panels[1]);

  for (HWND asked : {app.Control(ids::kPicture1), app.Control(ids::kHScroll1), app.Window()}) {
    EXPECT_TRUE(SendAndWait(asked, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)));
  }
  EXPECT_EQ(app.Text(ids::kText1 + 5), "#000000");
  EXPECT_TRUE(app.Close());
  DWORD code = 1;
  GetExitCodeProcess(app.Process(), &code);
  EXPECT_EQ(code, 0u);
}

// Under any colour scheme the fields and captions keep text that reads against what is
// painted behind it. The scheme is set before the program starts: Wine gives a program
// that already runs no new colours.
struct Scheme {
  const char* name;
  COLORREF window, windowText, inactiveBorder, buttonText;
};

void PrintTo(const Scheme& s, std::ostream* out) { *out << s.name; }

class UnderScheme : public testing::TestWithParam<Scheme> {
 protected:
  static constexpr std::array<int, 4> kElements{COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_INACTIVEBORDER, COLOR_BTNTEXT};
  void SetUp() override {
    for (std::size_t i = 0; i < kElements.size(); ++i) saved_[i] = GetSysColor(kElements[i]);
  }
  // The scheme is the desktop's, not the program's: put it back for the tests after.
  void TearDown() override { SetSysColors(static_cast<int>(kElements.size()), kElements.data(), saved_.data()); }

  std::array<COLORREF, 4> saved_{};
};

double Contrast(COLORREF a, COLORREF b) {
  return ContrastRatio(static_cast<ColourValue>(a), static_cast<ColourValue>(b));
}

// The colour most of the control's pixels have, and the one that contrasts most with it.
std::pair<COLORREF, COLORREF> BackgroundAndInk(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  std::map<COLORREF, int> counts;
  for (const COLORREF pixel : ScreenPixels(r)) ++counts[pixel];
  COLORREF background = 0;
  int most = 0;
  for (const auto& [colour, n] : counts) {
    if (n > most) std::tie(background, most) = std::pair{colour, n};
  }
  COLORREF ink = background;
  for (const auto& [colour, n] : counts) {
    if (Contrast(colour, background) > Contrast(ink, background)) ink = colour;
  }
  return {background, ink};
}

TEST_P(UnderScheme, FieldsAndCaptionsStayReadable) {
  const Scheme& scheme = GetParam();
  const std::array<COLORREF, 4> colours{scheme.window, scheme.windowText, scheme.inactiveBorder, scheme.buttonText};
  ASSERT_TRUE(SetSysColors(static_cast<int>(kElements.size()), kElements.data(), colours.data()));
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  for (const int id : {ids::kText1 + 5, ids::kText1 + 1, ids::kLabel1 + 11, ids::kLabel2 + 3}) {
    SCOPED_TRACE(id);
    HWND control = app.Control(id);
    const bool field = id >= ids::kText1 && id < ids::kText1 + 6;
    const COLORREF expectedBack = field ? RGB(255, 255, 255) : scheme.inactiveBorder;
    std::pair<COLORREF, COLORREF> seen{};
    const bool readable = WaitUntil([&] {
      seen = BackgroundAndInk(control);
      return seen.first == expectedBack && Contrast(seen.second, seen.first) >= 3.0;
    });
    EXPECT_TRUE(readable) << std::hex << "background " << seen.first << ", ink " << seen.second;
  }
}

// The palette picture as Windows' own bitmap reader loads it from Tintelo.exe's
// resources: 0xAARRGGBB, rows from the top, the top byte the mask. Empty if it could not.
std::vector<std::uint32_t> PaletteAsWindowsReadsIt(SIZE& size) {
  std::vector<std::uint32_t> pixels;
  HMODULE program = LoadLibraryExW(TinteloExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (program == nullptr) return pixels;
  auto* bitmap =
      static_cast<HBITMAP>(LoadImageW(program, MAKEINTRESOURCEW(IDB_PALETTE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  BITMAP described{};
  if (bitmap != nullptr && GetObjectW(bitmap, sizeof(described), &described) != 0) {
    size = SIZE{described.bmWidth, described.bmHeight};
    pixels.resize(static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy));
    BITMAPINFO info = win::TopDownDib(size.cx, size.cy);
    HDC screen = GetDC(nullptr);
    if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.cy), pixels.data(), &info, DIB_RGB_COLORS) != size.cy) {
      pixels.clear();
    }
    ReleaseDC(nullptr, screen);
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  FreeLibrary(program);
  return pixels;
}

// The palette picture shows its bitmap pixel for pixel at 100 %, the right way up, and
// its transparent pixels take the window's background under each scheme.
TEST_P(UnderScheme, PalettePictureShowsItsBitmapOnTheWindowBackground) {
  const Scheme& scheme = GetParam();
  const std::array<COLORREF, 4> colours{scheme.window, scheme.windowText, scheme.inactiveBorder, scheme.buttonText};
  ASSERT_TRUE(SetSysColors(static_cast<int>(kElements.size()), kElements.data(), colours.data()));
  SIZE size{};
  const std::vector<std::uint32_t> picture = PaletteAsWindowsReadsIt(size);
  ASSERT_FALSE(picture.empty()) << "Windows could not read the palette picture from Tintelo.exe";
  std::vector<COLORREF> expected;
  std::size_t transparent = 0;
  for (const std::uint32_t pixel : picture) {
    const bool opaque = (pixel >> 24) != 0;
    transparent += opaque ? 0 : 1;
    expected.push_back(opaque ? win::ColorRefOf(pixel) : scheme.inactiveBorder);
  }
  ASSERT_GT(transparent, 0u) << "the mask was lost on the way: nothing to see the background through";
  ASSERT_LT(transparent, picture.size());

  Tintelo app;
  HWND image = app.Control(ids::kImage1);
  RECT area = ClientRect(image);
  ASSERT_EQ(area.right, size.cx) << "one screen pixel a picture pixel only at 96 DPI";
  ASSERT_EQ(area.bottom, size.cy);
  MapWindowPoints(image, nullptr, reinterpret_cast<POINT*>(&area), 2);
  std::vector<COLORREF> seen;
  const bool shown = WaitUntil([&] {
    seen = ScreenPixels(area);
    return seen == expected;
  });
  std::size_t differ = 0;
  for (std::size_t i = 0; i < seen.size() && i < expected.size(); ++i) differ += seen[i] != expected[i] ? 1 : 0;
  EXPECT_TRUE(shown) << differ << " of " << expected.size() << " pixels differ";
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, UnderScheme,
    testing::Values(Scheme{"Ordinary", RGB(255, 255, 255), RGB(0, 0, 0), RGB(212, 208, 200), RGB(0, 0, 0)},
                    Scheme{"HighContrastBlack", RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255)},
                    // Light text on a light background, as some dark themes leave it.
                    Scheme{"LightOnLight", RGB(32, 32, 32), RGB(230, 230, 230), RGB(200, 200, 200),
                           RGB(230, 230, 230)}),
    testing_support::CaseName<Scheme>);

TEST(SingleInstance, SecondStartEndsSilentlyLeavingOneWindow) {
  Tintelo app;
  HANDLE second = StartTintelo();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(WaitForSingleObject(second, 10000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(second, &code);
  CloseHandle(second);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(CountTinteloWindows(), 1);
  EXPECT_TRUE(IsWindowVisible(app.Window())) << "the first instance is untouched";
}

TEST(Lifecycle, ClosingTheWindowEndsTheProgram) {
  Tintelo app;
  ASSERT_NE(app.Window(), nullptr);
  EXPECT_TRUE(app.Close());
  DWORD code = 1;
  GetExitCodeProcess(app.Process(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(CountTinteloWindows(), 0);
}

}  // namespace
}  // namespace tintelo::e2e
