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

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "sampler/ScRgb.h"
#include "tests/SdrOnHdr.h"
#include "window/win32/HdrFrame.h"

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

// What Desktop Duplication does on this desktop, said in the test's output: either it is
// refused with one of the answers IDXGIOutput5::DuplicateOutput1 documents for a system
// that cannot duplicate (Wine answers E_NOTIMPL), or it hands out a first frame, in FP16
// or in 8 bits, within a second of being made. Tintelo falls back to GDI for the first,
// and for a frame that is not FP16.
TEST(ThisDesktop, DuplicationHandsOutAFrameOrIsRefusedAsDocumented) {
  UniqueCom<IDXGIFactory1> factory;
  ASSERT_TRUE(SUCCEEDED(CreateDXGIFactory1(__uuidof(IDXGIFactory1), reinterpret_cast<void**>(factory.Put()))));
  UniqueCom<IDXGIAdapter1> adapter;
  int outputs = 0;
  for (UINT a = 0; factory.Get()->EnumAdapters1(a, adapter.Put()) == S_OK; ++a) {
    UniqueCom<IDXGIOutput> output;
    for (UINT o = 0; adapter.Get()->EnumOutputs(o, output.Put()) == S_OK; ++o) {
      ++outputs;
      DXGI_OUTPUT_DESC desc{};
      output.Get()->GetDesc(&desc);
      const std::string name = "adapter " + std::to_string(a) + " output " + std::to_string(o);
      UniqueCom<IDXGIOutput6> output6;
      DXGI_OUTPUT_DESC1 described{};
      if (SUCCEEDED(output.Get()->QueryInterface(__uuidof(IDXGIOutput6), reinterpret_cast<void**>(output6.Put())))) {
        output6.Get()->GetDesc1(&described);
      }
      UniqueCom<ID3D11Device> device;
      ASSERT_TRUE(SUCCEEDED(D3D11CreateDevice(adapter.Get(), D3D_DRIVER_TYPE_UNKNOWN, nullptr, 0, nullptr, 0,
                                              D3D11_SDK_VERSION, device.Put(), nullptr, nullptr)))
          << name;
      UniqueCom<IDXGIOutput5> output5;
      UniqueCom<IDXGIOutputDuplication> duplication;
      constexpr std::array<DXGI_FORMAT, 2> kFormats{DXGI_FORMAT_R16G16B16A16_FLOAT, DXGI_FORMAT_B8G8R8A8_UNORM};
      HRESULT made = output.Get()->QueryInterface(__uuidof(IDXGIOutput5), reinterpret_cast<void**>(output5.Put()));
      if (SUCCEEDED(made)) {
        made = output5.Get()->DuplicateOutput1(device.Get(), 0, static_cast<UINT>(kFormats.size()), kFormats.data(),
                                               duplication.Put());
      }
      if (FAILED(made)) {
        EXPECT_TRUE(made == E_NOTIMPL || made == E_NOINTERFACE || made == DXGI_ERROR_UNSUPPORTED ||
                    made == DXGI_ERROR_NOT_CURRENTLY_AVAILABLE || made == E_ACCESSDENIED ||
                    made == DXGI_ERROR_SESSION_DISCONNECTED)
            << name << ": DuplicateOutput1 0x" << std::hex << made;
        std::printf("%s: duplication refused (0x%08lx), colour space %d: Tintelo reads it through GDI\n", name.c_str(),
                    static_cast<unsigned long>(made), static_cast<int>(described.ColorSpace));
        continue;
      }
      DXGI_OUTDUPL_FRAME_INFO info{};
      UniqueCom<IDXGIResource> resource;
      const HRESULT acquired = duplication.Get()->AcquireNextFrame(1000, &info, resource.Put());
      ASSERT_EQ(acquired, S_OK) << name << ": no first frame, AcquireNextFrame 0x" << std::hex << acquired;
      UniqueCom<ID3D11Texture2D> texture;
      ASSERT_TRUE(SUCCEEDED(
          resource.Get()->QueryInterface(__uuidof(ID3D11Texture2D), reinterpret_cast<void**>(texture.Put()))));
      D3D11_TEXTURE2D_DESC frame{};
      texture.Get()->GetDesc(&frame);
      EXPECT_TRUE(frame.Format == kFormats[0] || frame.Format == kFormats[1]) << name << ": format " << frame.Format;
      std::printf("%s: duplication gives %ux%u frames in format %d, colour space %d: %s\n", name.c_str(), frame.Width,
                  frame.Height, static_cast<int>(frame.Format), static_cast<int>(described.ColorSpace),
                  frame.Format == kFormats[0] ? "FP16, which Tintelo converts" : "8 bits, which Tintelo leaves to GDI");
      resource.Reset();
      duplication.Get()->ReleaseFrame();
    }
  }
  EXPECT_GT(outputs, 0) << "no DXGI output at all";
}

}  // namespace
}  // namespace tintelo::win
