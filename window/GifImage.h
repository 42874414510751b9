// Decoding the palette picture, a GIF file, into pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tintelo {

// Row-major, top-down pixels as 0xAARRGGBB. Alpha is either 0 (transparent)
// or 255, since GIF has no partial transparency.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// The largest logical screen or frame side accepted, so that a hostile file
// cannot make us allocate or loop over more than 4096 x 4096 pixels.
inline constexpr int kMaxGifSide = 4096;

// Decodes the first frame of a GIF87a/GIF89a file onto a canvas the size of
// its logical screen; whatever the frame does not cover stays transparent.
// Returns nullopt for anything malformed, truncated or too large.
[[nodiscard]] std::optional<RgbaImage> DecodeGif(std::span<const std::uint8_t> bytes) noexcept;

}  // namespace tintelo
