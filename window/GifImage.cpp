// The GIF decoder: the first frame of a GIF87a/GIF89a file, hostile input refused.
#include "window/GifImage.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <exception>
#include <utility>

namespace tintelo {
namespace {

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr unsigned kMaxLzwCodes = 4096;  // 12-bit codes
constexpr unsigned kMaxLzwWidth = 12;

// Every read is checked against the end of the input; a failed read leaves
// the caller to give up on the whole file.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) noexcept : bytes_(bytes) {}

  bool ReadByte(std::uint8_t& out) noexcept {
    if (pos_ >= bytes_.size()) return false;
    out = bytes_[pos_++];
    return true;
  }

  bool ReadWord(std::uint16_t& out) noexcept {
    std::uint8_t lo = 0;
    std::uint8_t hi = 0;
    if (!ReadByte(lo) || !ReadByte(hi)) return false;
    out = static_cast<std::uint16_t>(lo | (hi << 8));
    return true;
  }

  bool Take(std::size_t count, std::span<const std::uint8_t>& out) noexcept {
    if (bytes_.size() - pos_ < count) return false;
    out = bytes_.subspan(pos_, count);
    pos_ += count;
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

struct ColourTable {
  std::array<std::uint32_t, 256> argb{};
  std::size_t count = 0;
};

bool ReadColourTable(ByteReader& reader, unsigned sizeBits, ColourTable& table) noexcept {
  table.count = std::size_t{1} << (sizeBits + 1);
  std::span<const std::uint8_t> raw;
  if (!reader.Take(table.count * 3, raw)) return false;
  for (std::size_t i = 0; i < table.count; ++i) {
    table.argb[i] = 0xFF000000u | (std::uint32_t{raw[3 * i]} << 16) | (std::uint32_t{raw[3 * i + 1]} << 8) |
                    std::uint32_t{raw[3 * i + 2]};
  }
  return true;
}

// Walks length-prefixed sub-blocks up to the empty one that ends them,
// appending their contents to out when it is given.
bool ReadSubBlocks(ByteReader& reader, std::vector<std::uint8_t>* out) {
  for (;;) {
    std::uint8_t size = 0;
    if (!reader.ReadByte(size)) return false;
    if (size == 0) return true;
    std::span<const std::uint8_t> block;
    if (!reader.Take(size, block)) return false;
    if (out != nullptr) out->insert(out->end(), block.begin(), block.end());
  }
}

class BitReader {
 public:
  explicit BitReader(std::span<const std::uint8_t> data) noexcept : data_(data) {}

  // GIF packs codes least significant bit first.
  bool Read(unsigned width, unsigned& code) noexcept {
    while (bits_ < width) {
      if (pos_ >= data_.size()) return false;
      buffer_ |= std::uint32_t{data_[pos_++]} << bits_;
      bits_ += 8;
    }
    code = buffer_ & ((1u << width) - 1u);
    buffer_ >>= width;
    bits_ -= width;
    return true;
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
  std::uint32_t buffer_ = 0;
  unsigned bits_ = 0;
};

struct LzwTable {
  std::array<std::uint16_t, kMaxLzwCodes> prefix{};
  std::array<std::uint8_t, kMaxLzwCodes> suffix{};
  std::array<std::uint8_t, kMaxLzwCodes> first{};
  std::array<std::uint16_t, kMaxLzwCodes> length{};
  std::array<std::uint8_t, kMaxLzwCodes> scratch{};
};

// Decodes exactly pixelCount colour indices and hands each to emit, which
// may refuse one by returning false. A stream that ends, hits its end code
// or uses a code not yet defined before the frame is full is rejected. Codes
// after the frame is full are never read.
template <typename Emit>
bool DecodeLzw(std::span<const std::uint8_t> data, unsigned minCodeSize, std::size_t pixelCount, LzwTable& table,
               Emit&& emit) {
  const unsigned clearCode = 1u << minCodeSize;
  const unsigned endCode = clearCode + 1;
  for (unsigned i = 0; i < clearCode; ++i) {
    table.prefix[i] = 0;
    table.suffix[i] = static_cast<std::uint8_t>(i);
    table.first[i] = static_cast<std::uint8_t>(i);
    table.length[i] = 1;
  }
  unsigned width = minCodeSize + 1;
  unsigned next = endCode + 1;
  unsigned previous = 0;
  bool hasPrevious = false;
  std::size_t written = 0;
  BitReader bits(data);

  while (written < pixelCount) {
    unsigned code = 0;
    if (!bits.Read(width, code)) return false;
    if (code == clearCode) {
      width = minCodeSize + 1;
      next = endCode + 1;
      hasPrevious = false;
      continue;
    }
    if (code == endCode) return false;

    std::uint8_t firstOfCode = 0;
    if (code < next) {
      firstOfCode = table.first[code];
    } else if (code == next && hasPrevious && next < kMaxLzwCodes) {
      // The code being defined by this very step: previous string
      // followed by its own first character.
      firstOfCode = table.first[previous];
    } else {
      return false;
    }

    // Once all 4096 codes exist the table stays frozen until the
    // encoder chooses to send a clear code.
    if (hasPrevious && next < kMaxLzwCodes) {
      table.prefix[next] = static_cast<std::uint16_t>(previous);
      table.suffix[next] = firstOfCode;
      table.first[next] = table.first[previous];
      table.length[next] = static_cast<std::uint16_t>(table.length[previous] + 1);
      ++next;
      if (next == (1u << width) && width < kMaxLzwWidth) ++width;
    }

    // The chain of prefixes is spelled backwards, so fill from the end.
    const std::size_t length = table.length[code];
    unsigned link = code;
    for (std::size_t i = length; i-- > 0;) {
      table.scratch[i] = table.suffix[link];
      link = table.prefix[link];
    }
    for (std::size_t i = 0; i < length && written < pixelCount; ++i, ++written) {
      if (!emit(table.scratch[i])) return false;
    }
    previous = code;
    hasPrevious = true;
  }
  return true;
}

struct ImageDescriptor {
  std::uint16_t left = 0;
  std::uint16_t top = 0;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint8_t flags = 0;
};

// Interlaced frames send every 8th row from 0, then every 8th from 4, every
// 4th from 2 and every 2nd from 1. Maps the order rows arrive in to rows.
std::vector<std::uint16_t> RowOrder(std::uint16_t height, bool interlaced) {
  std::vector<std::uint16_t> rows;
  rows.reserve(height);
  if (!interlaced) {
    for (unsigned y = 0; y < height; ++y) rows.push_back(static_cast<std::uint16_t>(y));
    return rows;
  }
  constexpr std::array<std::array<unsigned, 2>, 4> kPasses{{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
  for (const auto& [start, step] : kPasses) {
    for (unsigned y = start; y < height; y += step) rows.push_back(static_cast<std::uint16_t>(y));
  }
  return rows;
}

std::optional<RgbaImage> DecodeFrame(ByteReader& reader, RgbaImage image, const ColourTable* globalTable,
                                     std::optional<std::uint8_t> transparentIndex) {
  ImageDescriptor frame;
  if (!reader.ReadWord(frame.left) || !reader.ReadWord(frame.top) || !reader.ReadWord(frame.width) ||
      !reader.ReadWord(frame.height) || !reader.ReadByte(frame.flags)) {
    return std::nullopt;
  }
  if (frame.width == 0 || frame.height == 0 || frame.width > kMaxGifSide || frame.height > kMaxGifSide) {
    return std::nullopt;
  }
  ColourTable localTable;
  const ColourTable* table = globalTable;
  if ((frame.flags & 0x80) != 0) {
    if (!ReadColourTable(reader, frame.flags & 0x07u, localTable)) return std::nullopt;
    table = &localTable;
  }
  if (table == nullptr) return std::nullopt;

  std::uint8_t minCodeSize = 0;
  if (!reader.ReadByte(minCodeSize) || minCodeSize < 2 || minCodeSize > 8) return std::nullopt;
  std::vector<std::uint8_t> data;
  if (!ReadSubBlocks(reader, &data)) return std::nullopt;

  const std::vector<std::uint16_t> rows = RowOrder(frame.height, (frame.flags & 0x40) != 0);
  const auto canvasWidth = static_cast<std::size_t>(image.width);
  const auto canvasHeight = static_cast<std::size_t>(image.height);
  const std::size_t frameWidth = frame.width;
  std::size_t column = 0;
  std::size_t row = 0;
  auto paint = [&](std::uint8_t index) {
    const std::size_t x = frame.left + column;
    const std::size_t y = frame.top + std::size_t{rows[row]};
    if (++column == frameWidth) {
      column = 0;
      ++row;
    }
    // The canvas starts out transparent, so transparent pixels need no write.
    if (transparentIndex == index) return true;
    if (index >= table->count) return false;
    if (x < canvasWidth && y < canvasHeight) image.pixels[y * canvasWidth + x] = table->argb[index];
    return true;
  };
  LzwTable lzw;
  if (!DecodeLzw(data, minCodeSize, frameWidth * frame.height, lzw, paint)) return std::nullopt;
  return image;
}

std::optional<RgbaImage> Decode(std::span<const std::uint8_t> bytes) {
  ByteReader reader(bytes);
  std::span<const std::uint8_t> signature;
  if (!reader.Take(6, signature)) return std::nullopt;
  if (std::memcmp(signature.data(), "GIF87a", 6) != 0 && std::memcmp(signature.data(), "GIF89a", 6) != 0) {
    return std::nullopt;
  }

  std::uint16_t screenWidth = 0;
  std::uint16_t screenHeight = 0;
  std::uint8_t flags = 0;
  std::uint8_t background = 0;
  std::uint8_t aspect = 0;
  if (!reader.ReadWord(screenWidth) || !reader.ReadWord(screenHeight) || !reader.ReadByte(flags) ||
      !reader.ReadByte(background) || !reader.ReadByte(aspect)) {
    return std::nullopt;
  }
  if (screenWidth == 0 || screenHeight == 0 || screenWidth > kMaxGifSide || screenHeight > kMaxGifSide) {
    return std::nullopt;
  }
  ColourTable globalTable;
  const bool hasGlobalTable = (flags & 0x80) != 0;
  if (hasGlobalTable && !ReadColourTable(reader, flags & 0x07u, globalTable)) return std::nullopt;

  std::optional<std::uint8_t> transparentIndex;
  for (;;) {
    std::uint8_t introducer = 0;
    if (!reader.ReadByte(introducer)) return std::nullopt;
    if (introducer == kImageSeparator) {
      RgbaImage canvas;
      canvas.width = screenWidth;
      canvas.height = screenHeight;
      canvas.pixels.assign(std::size_t{screenWidth} * screenHeight, 0u);
      return DecodeFrame(reader, std::move(canvas), hasGlobalTable ? &globalTable : nullptr, transparentIndex);
    }
    // A trailer before any image, or a byte that starts no block, means
    // there is no first frame to show.
    if (introducer != kExtensionIntroducer) return std::nullopt;

    std::uint8_t label = 0;
    if (!reader.ReadByte(label)) return std::nullopt;
    if (label == kGraphicControlLabel) {
      std::uint8_t size = 0;
      if (!reader.ReadByte(size)) return std::nullopt;
      if (size == 0) continue;  // an empty extension: that byte was its terminator
      std::span<const std::uint8_t> block;
      if (!reader.Take(size, block)) return std::nullopt;
      if (size >= 4) {
        transparentIndex.reset();
        if ((block[0] & 0x01) != 0) transparentIndex = block[3];
      }
    }
    // Application, comment and plain-text blocks carry nothing we show.
    if (!ReadSubBlocks(reader, nullptr)) return std::nullopt;
  }
}

}  // namespace

std::optional<RgbaImage> DecodeGif(std::span<const std::uint8_t> bytes) noexcept {
  try {
    return Decode(bytes);
  } catch (const std::exception&) {
    // Only allocation can throw here; a picture we cannot hold is one we cannot show.
    return std::nullopt;
  }
}

}  // namespace tintelo
