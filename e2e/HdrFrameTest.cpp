// The road from a frame of an HDR desktop to the screen's pixels, exactly as Tintelo takes
// it once AcquireNextFrame has handed a frame over (HdrFrame: an area of the frame copied
// on the GPU into a staging texture, mapped without waiting and converted). The
// frames are made here, in FP16, holding what Windows composes for SDR programs' colours
// at five SDR white levels. Each case runs on a hardware device and on WARP, Direct3D's
// software rasteriser; under Wine both are wined3d's. The duplication of a real HDR
// desktop can only run on Windows, with an HDR monitor.
#include <gtest/gtest.h>

#include <windows.h>

#include <d3d11.h>
#include <dxgi1_6.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "sampler/ScRgb.h"
#include "tests/SdrOnHdr.h"
#include "window/win32/base/Text.h"
#include "window/win32/screen/Duplication.h"
#include "window/win32/screen/HdrFrame.h"

namespace tintelo::win {
namespace {

using testing_support::ComposedAt;

constexpr std::array<unsigned, 5> kNits{80, 120, 200, 240, 480};
constexpr LONG kSide = 16;  // 256 pixels: byte v at (v % 16, v / 16)
constexpr UINT kWidth = kSide;
constexpr UINT kHeight = kSide * kNits.size();  // one square per white level, from the top
constexpr Pixel kUntouched = 0xDEADBEEF;

// Three different bytes in each pixel, each channel through all 256 of them.
Pixel Drawn(UINT x, UINT y) {
  const auto v = static_cast<int>((y % kWidth) * kWidth + x);
  return static_cast<Pixel>((v << 16) | ((255 - v) << 8) | ((v + 85) % 256));
}

std::vector<std::uint16_t> HdrDesktop() {
  std::vector<std::uint16_t> halves;
  for (UINT y = 0; y < kHeight; ++y) {
    const unsigned nits = kNits.at(y / kWidth);
    for (UINT x = 0; x < kWidth; ++x) {
      const Pixel p = Drawn(x, y);
      halves.insert(halves.end(),
                    {ComposedAt(static_cast<int>(p >> 16), nits), ComposedAt(static_cast<int>((p >> 8) & 0xFF), nits),
                     ComposedAt(static_cast<int>(p & 0xFF), nits), 0x3C00});
    }
  }
  return halves;
}

enum class Driver { kHardware, kWarp };

void PrintTo(Driver driver, std::ostream* os) { *os << (driver == Driver::kHardware ? "Hardware" : "Warp"); }
std::string DriverName(const testing::TestParamInfo<Driver>& info) {
  return info.param == Driver::kHardware ? "Hardware" : "Warp";
}

class HdrFrameRoad : public testing::TestWithParam<Driver> {
 protected:
  void SetUp() override {
    const D3D_DRIVER_TYPE type = GetParam() == Driver::kHardware ? D3D_DRIVER_TYPE_HARDWARE : D3D_DRIVER_TYPE_WARP;
    const HRESULT made = D3D11CreateDevice(nullptr, type, nullptr, 0, nullptr, 0, D3D11_SDK_VERSION, device_.Put(),
                                           nullptr, context_.Put());
    ASSERT_TRUE(SUCCEEDED(made)) << "D3D11CreateDevice: 0x" << std::hex << made;
  }

  // A texture as Desktop Duplication hands a frame over: on the GPU, bound for drawing.
  [[nodiscard]] UniqueCom<ID3D11Texture2D> Frame(DXGI_FORMAT format, const void* pixels, UINT bytesPerPixel) {
    D3D11_TEXTURE2D_DESC desc{};
    desc.Width = kWidth;
    desc.Height = kHeight;
    desc.MipLevels = 1;
    desc.ArraySize = 1;
    desc.Format = format;
    desc.SampleDesc.Count = 1;
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE;
    const D3D11_SUBRESOURCE_DATA data{pixels, kWidth * bytesPerPixel, 0};
    UniqueCom<ID3D11Texture2D> texture;
    const HRESULT made = device_.Get()->CreateTexture2D(&desc, &data, texture.Put());
    EXPECT_TRUE(SUCCEEDED(made)) << "CreateTexture2D: 0x" << std::hex << made;
    return texture;
  }

  // Reads `area` of the frame into the middle of a capture `stride` pixels across,
  // from `first`, the way WinScreen reads a monitor's part of its area; checks every
  // pixel read and that none around it was written.
  void ExpectRead(HdrFrame& frame, ID3D11Texture2D* texture, const RECT& area, std::size_t stride, std::size_t first) {
    std::vector<Pixel> capture(stride * stride, kUntouched);
    const unsigned nits = kNits.at(static_cast<std::size_t>(area.top / kSide));
    // The GPU here is idle: the copy is done within the road's budget.
    ASSERT_EQ(
        frame.ReadArea(texture, area, ScRgbOfWhiteLevel(nits * 1000 / 80), std::span(capture).subspan(first), stride),
        HdrFrame::Read::kDone);
    for (std::size_t i = 0; i < capture.size(); ++i) {
      const std::size_t at = i - first;
      const auto x = static_cast<LONG>(at % stride);
      const auto y = static_cast<LONG>(at / stride);
      const bool inside = i >= first && x < area.right - area.left && y < area.bottom - area.top;
      const Pixel expected =
          inside ? Drawn(static_cast<UINT>(area.left + x), static_cast<UINT>(area.top + y)) : kUntouched;
      ASSERT_EQ(capture[i], expected) << std::hex << "capture pixel " << std::dec << i << " reading (" << area.left
                                      << ',' << area.top << ")-(" << area.right << ',' << area.bottom << ") at " << nits
                                      << " nits";
    }
  }

  // Reads `area` of the kept image, which must hold HdrDesktop()'s pixels there.
  void ExpectKeptRead(HdrFrame& frame, const RECT& area) {
    std::vector<Pixel> capture(std::size_t{kWidth} * kWidth, kUntouched);
    const unsigned nits = kNits.at(static_cast<std::size_t>(area.top / kSide));
    ASSERT_EQ(frame.ReadKept(area, ScRgbOfWhiteLevel(nits * 1000 / 80), capture, kWidth), HdrFrame::Read::kDone);
    for (std::size_t i = 0; i < capture.size(); ++i) {
      const auto x = static_cast<UINT>(i % kWidth);
      const auto y = static_cast<UINT>(area.top) + static_cast<UINT>(i / kWidth);
      ASSERT_EQ(capture[i], Drawn(x, y)) << "kept pixel " << i << " at " << nits << " nits";
    }
  }

  UniqueCom<ID3D11Device> device_;
  UniqueCom<ID3D11DeviceContext> context_;
};

// Every byte of every channel, at each white level, comes back through the copy, the
// staging texture and the conversion; areas of every size land where the capture wants
// them.
TEST_P(HdrFrameRoad, ReadsBackTheBytesSdrProgramsDrewAtEveryWhiteLevel) {
  const std::vector<std::uint16_t> desktop = HdrDesktop();
  UniqueCom<ID3D11Texture2D> texture = Frame(DXGI_FORMAT_R16G16B16A16_FLOAT, desktop.data(), 8);
  ASSERT_TRUE(texture);
  HdrFrame frame(device_.Get());
  for (LONG top = 0; top < static_cast<LONG>(kHeight); top += kSide) {
    ExpectRead(frame, texture.Get(), RECT{0, top, kSide, top + kSide}, kWidth, 0);       // all 256 bytes
    ExpectRead(frame, texture.Get(), RECT{1, top + 1, 16, top + 16}, 15, 0);             // a whole capture
    ExpectRead(frame, texture.Get(), RECT{13, top + 14, 16, top + 16}, 15, 4 * 15 + 5);  // a corner of one
  }
}

// The kept image is the frame as it was when kept: a frame written over afterwards, as
// Desktop Duplication reuses its surface, changes nothing read until it is kept again;
// a frame of another size is kept in a texture of its own size.
TEST_P(HdrFrameRoad, ReadsTheKeptImageUntilTheNextIsKept) {
  const std::vector<std::uint16_t> desktop = HdrDesktop();
  UniqueCom<ID3D11Texture2D> texture = Frame(DXGI_FORMAT_R16G16B16A16_FLOAT, desktop.data(), 8);
  ASSERT_TRUE(texture);
  HdrFrame frame(device_.Get());
  std::vector<Pixel> capture(kWidth * kWidth, kUntouched);
  EXPECT_EQ(frame.ReadKept(RECT{0, 0, kSide, kSide}, 1.0F, capture, kWidth), HdrFrame::Read::kRefused)
      << "read with nothing kept";
  ASSERT_TRUE(frame.Keep(texture.Get()));
  // Every white level's square becomes white (scRGB 1.0 at 80 nits is byte 255).
  const std::vector<std::uint16_t> white(desktop.size(), 0x3C00);
  context_.Get()->UpdateSubresource(texture.Get(), 0, nullptr, white.data(), kWidth * 8, 0);
  for (LONG top = 0; top < static_cast<LONG>(kHeight); top += kSide) {
    ExpectKeptRead(frame, RECT{0, top, kSide, top + kSide});
  }
  ASSERT_TRUE(frame.Keep(texture.Get()));
  capture.assign(capture.size(), kUntouched);
  ASSERT_EQ(frame.ReadKept(RECT{0, 0, kSide, kSide}, 1.0F, capture, kWidth), HdrFrame::Read::kDone);
  EXPECT_EQ(capture, std::vector<Pixel>(capture.size(), 0xFFFFFF));

  D3D11_TEXTURE2D_DESC smaller{};
  texture.Get()->GetDesc(&smaller);
  smaller.Height = kSide;
  UniqueCom<ID3D11Texture2D> small;
  const D3D11_SUBRESOURCE_DATA data{desktop.data(), kWidth * 8, 0};
  ASSERT_TRUE(SUCCEEDED(device_.Get()->CreateTexture2D(&smaller, &data, small.Put())));
  ASSERT_TRUE(frame.Keep(small.Get()));
  ExpectKeptRead(frame, RECT{0, 0, kSide, kSide});
  EXPECT_EQ(frame.ReadKept(RECT{0, kSide, kSide, 2 * kSide}, 1.0F, capture, kWidth), HdrFrame::Read::kRefused)
      << "read past the kept frame";
}

// An 8-bit frame is not scRGB: it is refused, and nothing is read from it.
TEST_P(HdrFrameRoad, RefusesAFrameOfAnotherFormat) {
  const std::vector<std::uint32_t> bgra(std::size_t{kWidth} * kHeight, 0xFF808080);
  UniqueCom<ID3D11Texture2D> texture = Frame(DXGI_FORMAT_B8G8R8A8_UNORM, bgra.data(), 4);
  ASSERT_TRUE(texture);
  HdrFrame frame(device_.Get());
  std::vector<Pixel> capture(kWidth * kWidth, kUntouched);
  EXPECT_EQ(frame.ReadArea(texture.Get(), RECT{0, 0, kSide, kSide}, 1.0F, capture, kWidth), HdrFrame::Read::kRefused);
  EXPECT_EQ(capture, std::vector<Pixel>(kWidth * kWidth, kUntouched));
}

INSTANTIATE_TEST_SUITE_P(Devices, HdrFrameRoad, testing::Values(Driver::kHardware, Driver::kWarp), DriverName);

}  // namespace
}  // namespace tintelo::win

namespace tintelo::win {
namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) reinterpret_cast<std::vector<MONITORINFOEXW>*>(data)->push_back(info);
  return TRUE;
}

// What Desktop Duplication does on this desktop, through Tintelo's own DesktopDuplication
// and with its manifest, said in the test's output: either it is refused with one of the
// answers IDXGIOutput5::DuplicateOutput1 documents for a system that cannot duplicate
// (Wine answers E_NOTIMPL), or left to GDI for a desktop that is not composed in scRGB,
// or it reads a capture's area of each monitor within a second of being made.
TEST(ThisDesktop, DuplicationReadsOrIsRefusedAsDocumented) {
  std::vector<MONITORINFOEXW> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  ASSERT_FALSE(monitors.empty());
  for (const MONITORINFOEXW& monitor : monitors) {
    DesktopDuplication duplication;
    const RECT& m = monitor.rcMonitor;
    const RECT part{m.left, m.top, m.left + 15, m.top + 15};
    std::vector<Pixel> pixels(15 * 15, kUntouched);
    bool read = false;
    const ULONGLONG start = GetTickCount64();
    // A new duplication's first frame may take a few refreshes to come, and a GPU busy
    // elsewhere may not copy the area in time.
    AreaRead answer = AreaRead::kFallBack;
    while (!(read = (answer = duplication.Read(monitor.szDevice, part, 1000, pixels, 15)) == AreaRead::kRead) &&
           (answer == AreaRead::kUnchanged || duplication.LastAnswer().result == DXGI_ERROR_WAIT_TIMEOUT) &&
           GetTickCount64() - start < 1000) {
      Sleep(16);
    }
    const HRESULT result = duplication.LastAnswer().result;
    const auto space = static_cast<int>(duplication.LastAnswer().colourSpace);
    const std::string name = Narrow(monitor.szDevice);
    if (read) {
      EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kUntouched), 0) << name;
      std::printf("%s: duplication reads FP16 frames, colour space %d: Tintelo converts them\n", name.c_str(), space);
    } else if (result == S_FALSE) {
      std::printf("%s: duplication made, colour space %d: Tintelo leaves it to GDI\n", name.c_str(), space);
    } else {
      EXPECT_TRUE(result == E_NOTIMPL || result == E_NOINTERFACE || result == DXGI_ERROR_UNSUPPORTED ||
                  result == DXGI_ERROR_NOT_CURRENTLY_AVAILABLE || result == E_ACCESSDENIED ||
                  result == DXGI_ERROR_SESSION_DISCONNECTED)
          << name << ": 0x" << std::hex << result;
      std::printf("%s: duplication refused (0x%08lx): Tintelo reads it through GDI\n", name.c_str(),
                  static_cast<unsigned long>(result));
    }
  }
}

}  // namespace
}  // namespace tintelo::win
