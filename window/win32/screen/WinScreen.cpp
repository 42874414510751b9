// The pointer position, the monitors and copies of the screen on Win32.
#include "window/win32/screen/WinScreen.h"

#include <algorithm>
#include <cwchar>
#include <string_view>
#include <utility>
#include <vector>

#include "sampler/Capture.h"
#include "sampler/DisplaySettings.h"
#include "window/win32/base/Compat.h"
#include "window/win32/screen/Duplication.h"
#include "window/win32/screen/HdrDisplays.h"
#include "window/win32/screen/RoadChoice.h"

namespace tintelo::win {

namespace {

// wtsapi32 is loaded only once a duplication exists: an SDR desktop never needs it.
using RegisterSessionFn = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterSessionFn = BOOL(WINAPI*)(HWND);
constexpr DWORD kThisSession = 0;  // NOTIFY_FOR_THIS_SESSION

HMODULE SessionLibrary() {
  static const HMODULE library = LoadSystemLibrary(L"wtsapi32.dll");
  return library;
}

struct Listing {
  std::vector<Display>* displays;
  std::vector<HdrSource> hdr;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  Listing& listing = *reinterpret_cast<Listing*>(data);
  MONITORINFOEXW info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    // The refresh rate of the display mode the monitor shows; 0 and 1 both mean the
    // hardware's default, which says nothing ("DEVMODEW", dmDisplayFrequency).
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    const unsigned hz = EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1
                            ? mode.dmDisplayFrequency
                            : 0;
    const auto hdr = std::find_if(listing.hdr.begin(), listing.hdr.end(), [&](const HdrSource& source) {
      return std::wcscmp(source.device.data(), info.szDevice) == 0;
    });
    Display& display = listing.displays->emplace_back();
    display.monitor = Monitor{ScreenRect{r.left, r.top, r.right, r.bottom}, DpiOfMonitor(monitor), hz};
    std::wcsncpy(display.device.data(), info.szDevice, display.device.size() - 1);
    display.sdrWhiteLevel = hdr != listing.hdr.end() ? hdr->sdrWhiteLevel : 0;
  }
  return TRUE;
}

}  // namespace

std::vector<Display> ReadDisplays() {
  std::vector<Display> displays;
  Listing listing{&displays, HdrSources()};
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&listing));
  return displays;
}

WinScreen::WinScreen() noexcept = default;
WinScreen::~WinScreen() = default;

bool WinScreen::CursorPos(ScreenPoint& point) {
  POINT p{};
  if (!GetCursorPos(&p)) return false;
  point = ScreenPoint{p.x, p.y};
  return true;
}

void WinScreen::MoveCursor(ScreenPoint point) {
  // Physical pixels: the program is aware of every monitor's scale.
  SetCursorPos(point.x, point.y);
}

const std::vector<Display>& WinScreen::Displays() {
  if (!displaysRead_) ReadDisplaysAgain();
  return displays_;
}

void WinScreen::ReadDisplaysAgain() {
  std::vector<Display> now = ReadDisplays();
  if (displaysRead_ && duplication_) {
    const Restarts restarts = RestartsAfterSettingChange<Display>(displays_, now, [](const Display& display) {
      return DisplayState{std::wstring_view(display.device.data()), display.monitor.area, display.sdrWhiteLevel != 0};
    });
    if (restarts.every) {
      duplication_.reset();
    } else {
      for (std::size_t i = 0; i < now.size(); ++i) {
        if ((restarts.which >> i & 1U) != 0) duplication_->Forget(now[i].device.data());
      }
    }
  }
  displays_ = std::move(now);
  displaysRead_ = true;
}

void WinScreen::Monitors(std::vector<Monitor>& monitors) {
  ReadDisplaysAgain();
  for (const Display& display : displays_) monitors.push_back(display.monitor);
}

Captured WinScreen::Capture(const ScreenRect& area, std::span<Pixel> pixels) {
  const auto count = static_cast<std::size_t>(area.Width()) * static_cast<std::size_t>(area.Height());
  if (pixels.size() < count) return Captured::kFailed;
  // One copy per refresh, through a DC of the screen taken and given back at once, so
  // nothing accumulates however long sampling runs; or a still's copy of a whole monitor.
  const bool still = count > Capture::kPixels;
  capturing_ = true;
  const RECT whole{area.left, area.top, area.right, area.bottom};
  if (!CopyScreen(whole, copy_)) return Captured::kFailed;
  const std::span<const std::uint32_t> copied = copy_.Pixels();
  std::copy(copied.begin(), copied.end(), pixels.begin());
  // A still's copy of a whole monitor is not kept: its pixels are the caller's now.
  if (still) copy_.Release();
  for (const Display& display : Displays()) {
    // The one choice of road: the part of the area on a monitor that takes the second
    // one is read again through Desktop Duplication. Where that road cannot serve the
    // monitor, GDI's pixels stay, as they do on every other monitor; where the GPU is too
    // busy this time, the refresh changes nothing rather than show GDI's colours.
    if (!ReadsThroughDuplication(display.sdrWhiteLevel)) continue;
    const ScreenRect& on = display.monitor.area;
    RECT part{};
    const RECT monitor{on.left, on.top, on.right, on.bottom};
    if (!IntersectRect(&part, &whole, &monitor)) continue;
    if (!duplication_) {
      duplication_ = std::make_unique<DesktopDuplication>();
      WatchSession();
    }
    const auto width = static_cast<std::size_t>(area.Width());
    const auto first =
        static_cast<std::size_t>(part.top - area.top) * width + static_cast<std::size_t>(part.left - area.left);
    const auto read = [&] {
      return duplication_->Read(display.device.data(), part, WhiteLevelRead(display.sdrWhiteLevel),
                                pixels.subspan(first), width);
    };
    AreaRead got = read();
    // A still has no next refresh to bring a duplication's first desktop image: it waits
    // a few frames for one, and rather than hold GDI's colours, gives nothing this time.
    for (int wait = 0; still && got == AreaRead::kNotYet && wait < kStillFrameWaits; ++wait) {
      Sleep(kStillFrameWaitMs);
      got = read();
    }
    if (got == AreaRead::kUnchanged || (still && got == AreaRead::kNotYet)) return Captured::kUnchanged;
  }
  return Captured::kRead;
}

void WinScreen::DisplaysChanged() {
  // New modes or monitors: a duplication made for the old ones is lost or wrong, and one
  // refused may now be possible.
  displaysRead_ = false;
  duplication_.reset();
}

void WinScreen::DisplaySettingsChanged() {
  // The HDR states and SDR white levels, read again: each copy takes the white level from
  // the displays as last read.
  ReadDisplaysAgain();
}

void WinScreen::EndCaptures() {
  // Sampling has ended: the frames held go back; the duplications and their devices stay
  // warm for the next press, for a quiet while.
  capturing_ = false;
  if (!duplication_) return;
  duplication_->EndReads();
  letGo_.Start(owner_, kQuietMs);
}

void WinScreen::WatchSession() noexcept {
  // A locked session's desktop cannot be duplicated, and what was duplicated before is
  // lost ("DXGI_ERROR_ACCESS_LOST"): the notification lets the duplications go at once
  // rather than at the next read ("WTSRegisterSessionNotification").
  if (watchingSession_ || owner_ == nullptr) return;
  const auto watch = ProcAddress<RegisterSessionFn>(SessionLibrary(), "WTSRegisterSessionNotification");
  watchingSession_ = watch != nullptr && watch(owner_, kThisSession) != FALSE;
}

void WinScreen::StopWatchingSession() noexcept {
  if (!watchingSession_) return;
  const auto stop = ProcAddress<UnregisterSessionFn>(SessionLibrary(), "WTSUnRegisterSessionNotification");
  if (stop != nullptr) stop(owner_);
  watchingSession_ = false;
}

void WinScreen::OnSessionChange(WPARAM event) noexcept {
  switch (event) {
    case WTS_SESSION_LOCK:
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT:
      // Sampling has ended with the focus; whatever is held goes.
      if (!capturing_) duplication_.reset();
      break;
    default: break;
  }
}

void WinScreen::LetGo() noexcept {
  letGo_.Stop();
  if (!capturing_) duplication_.reset();
}

}  // namespace tintelo::win
