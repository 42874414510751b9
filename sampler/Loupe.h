// The loupe: while sampling, a small window beside the pointer shows the screen around
// it magnified, pixel for pixel, with the pixel the readouts show outlined.
//
// Its hard part is never to read itself. Reading the screen where the loupe stood a
// moment ago can still read the loupe: until the window beneath has repainted (under Wine
// that waits on that program's own message loop), the screen keeps the loupe's last
// picture there. So the loupe remembers the pictures it showed and where; a screen read
// that lands on one of those places and still finds that picture is not a reading of
// the screen. Its pictures have a two-colour border and a grid shaded against every cell,
// so the true screen, once repainted, never matches one of them by chance.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "colour/Colour.h"
#include "sampler/Monitors.h"
#include "sampler/ScreenSampler.h"

namespace tintelo {

// Screen and loupe pixels are 0x00RRGGBB, as 32-bit device-independent bitmaps hold them.
using Pixel = std::uint32_t;

// What the loupe needs of the platform.
class LoupeScreen {
 public:
  // Every monitor with its rectangle and scale, in physical pixels.
  virtual void Monitors(std::vector<Monitor>& monitors) = 0;
  // The screen's pixels in `area`, row by row from the top; false when the screen cannot
  // be read at all.
  [[nodiscard]] virtual bool Capture(const ScreenRect& area, std::span<Pixel> pixels) = 0;
  // Puts the loupe's window at `place`, showing it if hidden, above every other window,
  // without taking the focus.
  virtual void Place(const ScreenRect& place) = 0;
  // Draws the loupe's picture, `size` pixels square, now and on every later repaint.
  virtual void Paint(std::span<const Pixel> picture, int size) = 0;
  virtual void Hide() = 0;

 protected:
  ~LoupeScreen() = default;
};

// The loupe's measures on a monitor of a given scale, in physical pixels.
struct LoupeGeometry {
  static constexpr int kCells = 15;  // screen pixels across; odd, so one is in the middle
  static constexpr int kCentre = kCells / 2;

  int pitch = 10;  // from one cell to the next, grid line included
  int line = 1;    // grid line, and each ring of the border and of the centre's outline
  int gap = 24;    // between the pointer's pixel and the loupe

  [[nodiscard]] static LoupeGeometry ForDpi(unsigned dpi) noexcept;
  // The whole picture's side: two border rings, the cells and the grid lines between and
  // around them.
  [[nodiscard]] constexpr int Size() const noexcept { return 4 * line + kCells * pitch + line; }
  // Where cell `cell` begins in the picture, after the border and the grid line before
  // it, and the cell's middle, across or down.
  [[nodiscard]] constexpr int CellStart(int cell) const noexcept { return 2 * line + cell * pitch + line; }
  [[nodiscard]] constexpr int CellMiddle(int cell) const noexcept { return CellStart(cell) + (pitch - line) / 2; }
  friend constexpr bool operator==(const LoupeGeometry&, const LoupeGeometry&) = default;
};

// What one row or column of a loupe picture is, from the outside in: the border's black
// outer ring, its white inner ring, then the grid lines and the cells between them.
struct LoupeAxis {
  enum Part : std::uint8_t { kOuterRing, kInnerRing, kLine, kCell };
  // Where it stands against the pointer's cell: on the cell, on the lines around it (the
  // outline's black ring), just outside them (its white ring), or elsewhere.
  enum Band : std::uint8_t { kInside, kOnOutline, kAroundOutline, kAway };
  Part part = kCell;
  Band band = kAway;
  int cell = 0;  // the cell, or for a line the cell after it (the last cell for the last line)

  [[nodiscard]] static LoupeAxis At(const LoupeGeometry& geometry, int v) noexcept;
  friend bool operator==(const LoupeAxis&, const LoupeAxis&) = default;
};

// Where a loupe of side `size` goes for the pointer at `pointer` on `monitor`: below and
// right of the pointer, `gap` pixels away, turned to the left or upwards where it would
// leave the monitor, and wholly on the monitor in any case.
[[nodiscard]] ScreenRect PlaceLoupe(ScreenPoint pointer, int size, int gap, const ScreenRect& monitor) noexcept;

// The screen pixels the loupe shows around the pointer.
[[nodiscard]] ScreenRect CaptureArea(ScreenPoint pointer) noexcept;

class Loupe {
 public:
  // The pictures remembered after the loupe has left their place, and for how many
  // refreshes at most: at 20 a second while the pointer rests, about one second.
  static constexpr std::size_t kRememberedPictures = 8;
  static constexpr int kRememberedRefreshes = 20;

  explicit Loupe(LoupeScreen& screen) noexcept : screen_(&screen) {}
  Loupe(const Loupe&) = delete;
  Loupe& operator=(const Loupe&) = delete;

  // Sampling begins: learn the monitors.
  void Begin();
  // Moves the loupe beside the pointer, reads the screen around it and shows it.
  void Refresh(ScreenPoint pointer);
  // Sampling ends: the loupe goes.
  void End();

  // Whether a pixel read at `point`, the pointer of the last refresh, is the screen's own:
  // that refresh found neither the loupe there, nor a picture it left behind that the
  // screen still shows, nor ground that no monitor covers.
  [[nodiscard]] bool Trusts(ScreenPoint point) const;

  [[nodiscard]] bool Shown() const noexcept { return shown_; }
  [[nodiscard]] const std::vector<Monitor>& Monitors() const noexcept { return monitors_; }
  [[nodiscard]] const ScreenRect& Place() const noexcept { return current_.place; }
  [[nodiscard]] const LoupeGeometry& Geometry() const noexcept { return current_.geometry; }
  // The picture as last painted, Geometry().Size() pixels square.
  [[nodiscard]] std::span<const Pixel> Picture() const noexcept { return picture_; }

 private:
  static constexpr std::size_t kCaptured = std::size_t{LoupeGeometry::kCells} * LoupeGeometry::kCells;

  // Everything a picture is made from: its pixels can be worked out again from it.
  struct Shot {
    ScreenRect place;
    ScreenRect area;  // the screen pixels it magnified
    LoupeGeometry geometry;
    std::array<Pixel, kCaptured> pixels{};
    std::array<bool, kCaptured> empty{};  // shown hatched: off every monitor, or unknown
    int age = 0;                          // refreshes since the loupe left its place
  };

  [[nodiscard]] static Pixel PictureAt(const Shot& shot, int x, int y);
  [[nodiscard]] bool OnAMonitor(ScreenPoint point) const;
  void LeaveCurrentPicture();
  void HideLeftPictures();
  void Draw();

  LoupeScreen* screen_;
  std::vector<Monitor> monitors_;
  bool shown_ = false;
  Shot current_;
  // Pictures the loupe has left, the newest first.
  std::array<Shot, kRememberedPictures> left_{};
  std::size_t leftCount_ = 0;
  std::vector<LoupeAxis> axes_;  // the picture's rows and columns, at the scale of axesGeometry_
  LoupeGeometry axesGeometry_;
  std::vector<Pixel> picture_;
};

}  // namespace tintelo
