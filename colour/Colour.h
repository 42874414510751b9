// Colour values, components and the run-time error model shared by the whole program.
#pragma once

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace tintelo {

// A colour in the platform's COLORREF layout, 0x00BBGGRR. Kept signed on purpose:
// system colour references and the failed-read value (CLR_INVALID) have the top bit
// set and go through the same arithmetic as ordinary colours.
using ColourValue = std::int32_t;

// One of red, green or blue, 0..255.
using Component = std::uint8_t;

// Ink amounts on the component scale: 255 is full ink, not per cent.
struct Cmyk {
  std::int16_t C = 0;
  std::int16_t M = 0;
  std::int16_t Y = 0;
  std::int16_t K = 0;

  friend bool operator==(const Cmyk&, const Cmyk&) = default;
};

[[nodiscard]] constexpr ColourValue ComposeColour(int red, int green, int blue) noexcept {
  return red + 256 * green + 65536 * blue;
}

// The program's run-time errors. Nothing in the core catches them: one that leaves an
// event handler is reported by the window's message loop and ends the program.
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, const std::string& text) : std::runtime_error(text), number_(number) {}
  [[nodiscard]] int Number() const noexcept { return number_; }

 private:
  int number_;
};

inline constexpr int kErrOverflow = 6;

[[noreturn]] inline void RaiseOverflow() { throw RuntimeError(kErrOverflow, "Overflow"); }

// Narrowing and 16-bit arithmetic raise "Overflow" instead of wrapping.
[[nodiscard]] constexpr std::int16_t CheckedInt16(std::int64_t value) {
  if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
    RaiseOverflow();
  }
  return static_cast<std::int16_t>(value);
}

[[nodiscard]] constexpr Component CheckedByte(std::int64_t value) {
  if (value < 0 || value > 255) RaiseOverflow();
  return static_cast<Component>(value);
}

[[nodiscard]] constexpr std::int16_t CheckedNegate(std::int16_t value) { return CheckedInt16(-std::int64_t{value}); }

}  // namespace tintelo
