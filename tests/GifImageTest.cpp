#include "window/GifImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#ifndef TINTELO_RESOURCE_DIR
#error "TINTELO_RESOURCE_DIR must name the resources folder"
#endif

namespace tintelo {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kOpaque = 0xFF000000u;

// Distinct, easy to tell apart colours (0xRRGGBB) for hand-built files.
std::vector<std::uint32_t> Ramp(std::size_t count) {
  std::vector<std::uint32_t> colours;
  for (std::uint32_t i = 0; i < count; ++i) colours.push_back((i << 16) | ((255u - i) << 8) | ((i * 7u) & 0xFFu));
  return colours;
}

class BitPacker {
 public:
  void Put(unsigned code, unsigned width) {
    buffer_ |= std::uint32_t{code} << bits_;
    bits_ += width;
    while (bits_ >= 8) {
      bytes_.push_back(static_cast<std::uint8_t>(buffer_ & 0xFFu));
      buffer_ >>= 8;
      bits_ -= 8;
    }
  }
  Bytes Finish() {
    if (bits_ > 0) bytes_.push_back(static_cast<std::uint8_t>(buffer_ & 0xFFu));
    return bytes_;
  }

 private:
  Bytes bytes_;
  std::uint32_t buffer_ = 0;
  unsigned bits_ = 0;
};

struct Compressed {
  Bytes data;
  bool tableFilled = false;  // proves a case really reached 4096 codes
};

// A plain GIF LZW encoder. With clearWhenFull off it keeps sending 12-bit
// codes from a frozen table, the "deferred clear" some encoders rely on.
Compressed LzwEncode(const Bytes& indices, unsigned minCodeSize, bool clearWhenFull) {
  const unsigned clearCode = 1u << minCodeSize;
  const unsigned endCode = clearCode + 1;
  unsigned width = minCodeSize + 1;
  unsigned next = endCode + 1;
  std::map<std::pair<unsigned, std::uint8_t>, unsigned> table;
  Compressed result;
  BitPacker out;
  out.Put(clearCode, width);
  std::optional<unsigned> prefix;
  for (const std::uint8_t value : indices) {
    if (!prefix) {
      prefix = value;
      continue;
    }
    if (const auto found = table.find({*prefix, value}); found != table.end()) {
      prefix = found->second;
      continue;
    }
    out.Put(*prefix, width);
    if (next < 4096) {
      table[{*prefix, value}] = next++;
      if (next > (1u << width) && width < 12) ++width;
      result.tableFilled = result.tableFilled || next == 4096;
    } else if (clearWhenFull) {
      out.Put(clearCode, width);
      table.clear();
      width = minCodeSize + 1;
      next = endCode + 1;
    }
    prefix = value;
  }
  if (prefix) {
    out.Put(*prefix, width);
    // The decoder defines one more code on reading that last one.
    if (next < 4096 && next + 1 > (1u << width) && width < 12) ++width;
  }
  out.Put(endCode, width);
  result.data = out.Finish();
  return result;
}

// Raw codes, for streams no sane encoder would write.
Bytes PackCodes(const std::vector<std::pair<unsigned, unsigned>>& codesAndWidths) {
  BitPacker out;
  for (const auto& [code, width] : codesAndWidths) out.Put(code, width);
  return out.Finish();
}

struct TestGif {
  std::uint16_t screenWidth = 2;
  std::uint16_t screenHeight = 2;
  std::vector<std::uint32_t> globalTable = Ramp(4);
  bool extraBlocks = false;                      // looping, comment and empty extensions before the frame
  std::optional<std::uint8_t> transparentIndex;  // writes a graphic control block
  bool transparencyFlag = true;
  std::uint16_t left = 0;
  std::uint16_t top = 0;
  std::uint16_t width = 2;
  std::uint16_t height = 2;
  std::vector<std::uint32_t> localTable;
  bool interlaced = false;
  Bytes indices{0, 1, 2, 3};  // in the order they are sent
  std::uint8_t minCodeSize = 2;
  bool clearWhenFull = true;
  std::optional<Bytes> rawLzw;
  bool trailer = true;
};

void PutWord(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

std::uint8_t TableSizeBits(const std::vector<std::uint32_t>& table) {
  return static_cast<std::uint8_t>(std::bit_width(table.size()) - 2);
}

void PutTable(Bytes& out, const std::vector<std::uint32_t>& table) {
  for (const std::uint32_t rgb : table) {
    out.push_back(static_cast<std::uint8_t>(rgb >> 16));
    out.push_back(static_cast<std::uint8_t>(rgb >> 8));
    out.push_back(static_cast<std::uint8_t>(rgb));
  }
}

void PutSubBlocks(Bytes& out, const Bytes& data) {
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t size = std::min<std::size_t>(255, data.size() - at);
    out.push_back(static_cast<std::uint8_t>(size));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + size));
  }
  out.push_back(0);
}

Bytes Encode(const TestGif& gif) {
  Bytes out{'G', 'I', 'F', '8', '9', 'a'};
  PutWord(out, gif.screenWidth);
  PutWord(out, gif.screenHeight);
  out.push_back(gif.globalTable.empty() ? 0 : static_cast<std::uint8_t>(0xF0u | TableSizeBits(gif.globalTable)));
  out.push_back(0);
  out.push_back(0);
  PutTable(out, gif.globalTable);
  if (gif.extraBlocks) {
    const Bytes looping{0x21, 0xFF, 0x0B, 'N', 'E',  'T',  'S',  'C',  'A', 'P',
                        'E',  '2',  '.',  '0', 0x03, 0x01, 0x00, 0x00, 0x00};
    const Bytes comment{0x21, 0xFE, 0x05, 'h', 'a', 'n', 'd', ' ', 0x04, 'm', 'a', 'd', 'e', 0x00};
    const Bytes emptyControl{0x21, 0xF9, 0x00};  // no sub-blocks at all, just the terminator
    out.insert(out.end(), looping.begin(), looping.end());
    out.insert(out.end(), comment.begin(), comment.end());
    out.insert(out.end(), emptyControl.begin(), emptyControl.end());
  }
  if (gif.transparentIndex) {
    const std::uint8_t flags = gif.transparencyFlag ? 0x05 : 0x04;
    const Bytes control{0x21, 0xF9, 0x04, flags, 0x00, 0x00, *gif.transparentIndex, 0x00};
    out.insert(out.end(), control.begin(), control.end());
  }
  out.push_back(0x2C);
  for (const std::uint16_t v : {gif.left, gif.top, gif.width, gif.height}) PutWord(out, v);
  std::uint8_t flags = gif.interlaced ? 0x40 : 0x00;
  if (!gif.localTable.empty()) flags = static_cast<std::uint8_t>(flags | 0x80u | TableSizeBits(gif.localTable));
  out.push_back(flags);
  PutTable(out, gif.localTable);
  out.push_back(gif.minCodeSize);
  PutSubBlocks(out, gif.rawLzw ? *gif.rawLzw : LzwEncode(gif.indices, gif.minCodeSize, gif.clearWhenFull).data);
  if (gif.trailer) out.push_back(0x3B);
  return out;
}

std::uint32_t PixelAt(const RgbaImage& image, int x, int y) {
  return image.pixels.at(static_cast<std::size_t>(y * image.width + x));
}

// ---------------------------------------------------------------------------

TEST(GifImage, DecodesPaletteResource) {
  std::ifstream file(TINTELO_RESOURCE_DIR "/Palette.gif", std::ios::binary);
  ASSERT_TRUE(file) << "cannot open " TINTELO_RESOURCE_DIR "/Palette.gif";
  const Bytes bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};

  const auto image = DecodeGif(bytes);
  ASSERT_TRUE(image.has_value());
  ASSERT_EQ(image->width, 32);
  ASSERT_EQ(image->height, 32);
  ASSERT_EQ(image->pixels.size(), 32u * 32u);
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{31, 0}, std::pair{0, 31}, std::pair{31, 31}}) {
    EXPECT_EQ(PixelAt(*image, x, y), 0u) << "corner " << x << "," << y;
  }
  EXPECT_EQ(PixelAt(*image, 16, 16) >> 24, 0xFFu);
  // A drawing, not a flat fill: many opaque colours, and every pixel is
  // either fully transparent or fully opaque.
  std::set<std::uint32_t> opaqueColours;
  for (const std::uint32_t pixel : image->pixels) {
    const std::uint32_t alpha = pixel >> 24;
    EXPECT_TRUE(alpha == 0 || alpha == 0xFF);
    if (alpha == 0xFF) opaqueColours.insert(pixel);
  }
  EXPECT_GE(opaqueColours.size(), 10u);
}

// The transparency index hides exactly that index, and only while the
// graphic control block's flag says it is in use.
struct TransparencyCase {
  const char* name;
  std::optional<std::uint8_t> index;
  bool flag;
  std::optional<std::uint8_t> hidden;
};

class Transparency : public testing::TestWithParam<TransparencyCase> {};

TEST_P(Transparency, HidesOnlyTheFlaggedIndex) {
  TestGif gif;
  gif.transparentIndex = GetParam().index;
  gif.transparencyFlag = GetParam().flag;
  const auto image = DecodeGif(Encode(gif));
  ASSERT_TRUE(image.has_value());
  const auto colours = Ramp(4);
  for (std::uint8_t index = 0; index < 4; ++index) {
    const std::uint32_t expected = GetParam().hidden == index ? 0u : kOpaque | colours[index];
    EXPECT_EQ(PixelAt(*image, index % 2, index / 2), expected) << "index " << int{index};
  }
}

INSTANTIATE_TEST_SUITE_P(GifImage, Transparency,
                         testing::Values(TransparencyCase{"NoControlBlock", std::nullopt, false, std::nullopt},
                                         TransparencyCase{"FlagOff", 1, false, std::nullopt},
                                         TransparencyCase{"First", 0, true, 0}, TransparencyCase{"Last", 3, true, 3}),
                         [](const auto& test) { return std::string(test.param.name); });

// A local colour table wins over the global one, and either alone is enough.
struct TableCase {
  const char* name;
  bool global;
  bool local;
};

class ColourTables : public testing::TestWithParam<TableCase> {};

TEST_P(ColourTables, LocalTableTakesPrecedence) {
  const std::vector<std::uint32_t> globalColours{0x000000, 0x111111, 0x222222, 0x333333};
  const std::vector<std::uint32_t> localColours{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00,
                                                0xFF00FF, 0x00FFFF, 0x808080, 0xFFFFFF};
  TestGif gif;
  gif.globalTable = GetParam().global ? globalColours : std::vector<std::uint32_t>{};
  gif.localTable = GetParam().local ? localColours : std::vector<std::uint32_t>{};
  gif.indices = {3, 2, 1, 0};
  const auto image = DecodeGif(Encode(gif));
  ASSERT_TRUE(image.has_value());
  const auto& used = GetParam().local ? localColours : globalColours;
  EXPECT_EQ(image->pixels,
            (std::vector<std::uint32_t>{kOpaque | used[3], kOpaque | used[2], kOpaque | used[1], kOpaque | used[0]}));
}

INSTANTIATE_TEST_SUITE_P(GifImage, ColourTables,
                         testing::Values(TableCase{"GlobalOnly", true, false}, TableCase{"LocalOnly", false, true},
                                         TableCase{"Both", true, true}),
                         [](const auto& test) { return std::string(test.param.name); });

// Rows of an interlaced frame arrive in four passes; sourceRow[y] is which
// arriving row ends up as row y.
struct InterlaceCase {
  bool interlaced;
  std::vector<unsigned> sourceRow;
};

class RowOrder : public testing::TestWithParam<InterlaceCase> {};

TEST_P(RowOrder, PlacesRowsWhereThePassesPutThem) {
  const auto& param = GetParam();
  const auto height = static_cast<std::uint16_t>(param.sourceRow.size());
  TestGif gif;
  gif.screenHeight = height;
  gif.height = height;
  gif.interlaced = param.interlaced;
  gif.globalTable = Ramp(16);
  gif.minCodeSize = 4;
  gif.indices.clear();
  for (std::uint8_t arriving = 0; arriving < height; ++arriving) gif.indices.insert(gif.indices.end(), 2, arriving);

  const auto image = DecodeGif(Encode(gif));
  ASSERT_TRUE(image.has_value());
  const auto colours = Ramp(16);
  for (int y = 0; y < height; ++y) {
    const std::uint32_t expected = kOpaque | colours[param.sourceRow[static_cast<std::size_t>(y)]];
    EXPECT_EQ(PixelAt(*image, 0, y), expected) << "row " << y;
    EXPECT_EQ(PixelAt(*image, 1, y), expected) << "row " << y;
  }
}

INSTANTIATE_TEST_SUITE_P(GifImage, RowOrder,
                         testing::Values(InterlaceCase{true, {0}}, InterlaceCase{true, {0, 2, 1}},
                                         InterlaceCase{true, {0, 3, 2, 4, 1}},
                                         InterlaceCase{true, {0, 5, 3, 6, 2, 7, 4, 8, 1, 9}},
                                         InterlaceCase{true, {0, 8, 4, 9, 2, 10, 5, 11, 1, 12, 6, 13, 3, 14, 7, 15}},
                                         InterlaceCase{false, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}));

// A frame smaller than the screen lands at its offset, anything it leaves
// uncovered is transparent, and parts past the screen edge are cut off.
struct OffsetCase {
  const char* name;
  std::uint16_t left, top, width, height;
};

class SubFrame : public testing::TestWithParam<OffsetCase> {};

TEST_P(SubFrame, LandsAtItsOffset) {
  const auto& frame = GetParam();
  TestGif gif;
  gif.screenWidth = 6;
  gif.screenHeight = 5;
  gif.left = frame.left;
  gif.top = frame.top;
  gif.width = frame.width;
  gif.height = frame.height;
  gif.globalTable = Ramp(32);
  gif.minCodeSize = 5;
  gif.indices.clear();
  for (unsigned i = 0; i < unsigned{frame.width} * frame.height; ++i)
    gif.indices.push_back(static_cast<std::uint8_t>(i));

  const auto image = DecodeGif(Encode(gif));
  ASSERT_TRUE(image.has_value());
  ASSERT_EQ(image->width, 6);
  ASSERT_EQ(image->height, 5);
  const auto colours = Ramp(32);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) {
      const int fx = x - frame.left;
      const int fy = y - frame.top;
      const bool covered = fx >= 0 && fy >= 0 && fx < frame.width && fy < frame.height;
      const std::uint32_t expected = covered ? kOpaque | colours[static_cast<std::size_t>(fy * frame.width + fx)] : 0u;
      EXPECT_EQ(PixelAt(*image, x, y), expected) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(GifImage, SubFrame,
                         testing::Values(OffsetCase{"Inside", 2, 1, 3, 2}, OffsetCase{"WholeScreen", 0, 0, 6, 5},
                                         OffsetCase{"OverRightAndBottom", 4, 3, 4, 4},
                                         OffsetCase{"EntirelyOffScreen", 7, 0, 2, 2}),
                         [](const auto& test) { return std::string(test.param.name); });

// Round trips through the encoder above: code widths growing to 12 bits, the
// table filling up with and without a clear code, and runs that use a code
// in the same step that defines it.
struct LzwCase {
  const char* name;
  std::uint8_t minCodeSize;
  std::uint16_t width, height;
  enum class Pattern { Noise, Solid, Stripes } pattern;
  bool clearWhenFull;
  bool fillsTable;
};

Bytes MakePixels(const LzwCase& c) {
  Bytes pixels;
  const unsigned colours = 1u << c.minCodeSize;
  std::uint32_t state = 12345;
  for (unsigned i = 0; i < unsigned{c.width} * c.height; ++i) {
    state = state * 1103515245u + 12345u;
    switch (c.pattern) {
      case LzwCase::Pattern::Noise: pixels.push_back(static_cast<std::uint8_t>((state >> 16) % colours)); break;
      case LzwCase::Pattern::Solid: pixels.push_back(1); break;
      case LzwCase::Pattern::Stripes: pixels.push_back(static_cast<std::uint8_t>((i / 7) % colours)); break;
    }
  }
  return pixels;
}

class LzwRoundTrip : public testing::TestWithParam<LzwCase> {};

TEST_P(LzwRoundTrip, DecodesWhatWasEncoded) {
  const auto& c = GetParam();
  TestGif gif;
  gif.screenWidth = gif.width = c.width;
  gif.screenHeight = gif.height = c.height;
  gif.minCodeSize = c.minCodeSize;
  gif.globalTable = Ramp(std::size_t{1} << c.minCodeSize);
  gif.indices = MakePixels(c);
  gif.clearWhenFull = c.clearWhenFull;
  ASSERT_EQ(LzwEncode(gif.indices, c.minCodeSize, c.clearWhenFull).tableFilled, c.fillsTable);

  const auto image = DecodeGif(Encode(gif));
  ASSERT_TRUE(image.has_value());
  std::vector<std::uint32_t> expected;
  for (const std::uint8_t index : gif.indices) expected.push_back(kOpaque | gif.globalTable[index]);
  EXPECT_TRUE(image->pixels == expected);
}

using P = LzwCase::Pattern;
INSTANTIATE_TEST_SUITE_P(GifImage, LzwRoundTrip,
                         testing::Values(LzwCase{"Solid", 2, 40, 30, P::Solid, true, false},
                                         LzwCase{"Stripes", 3, 64, 64, P::Stripes, true, false},
                                         LzwCase{"SmallNoise", 4, 16, 16, P::Noise, true, false},
                                         LzwCase{"Noise2BitClear", 2, 256, 256, P::Noise, true, true},
                                         LzwCase{"Noise2BitDeferred", 2, 256, 256, P::Noise, false, true},
                                         LzwCase{"Noise8BitClear", 8, 128, 128, P::Noise, true, true},
                                         LzwCase{"Noise8BitDeferred", 8, 128, 128, P::Noise, false, true}),
                         [](const auto& test) { return std::string(test.param.name); });

// Extras a decoder of the first frame must get past or may ignore.
TEST(GifImage, IgnoresExtensionsAndWhatFollowsTheFirstFrame) {
  TestGif plain;
  TestGif decorated;
  decorated.extraBlocks = true;
  decorated.trailer = false;
  Bytes bytes = Encode(decorated);
  const Bytes second = {0x2C, 0xFF, 0xFF, 0x00};  // a broken second frame is never looked at
  bytes.insert(bytes.end(), second.begin(), second.end());

  const auto expected = DecodeGif(Encode(plain));
  const auto actual = DecodeGif(bytes);
  ASSERT_TRUE(expected.has_value());
  ASSERT_TRUE(actual.has_value());
  EXPECT_EQ(actual->pixels, expected->pixels);
}

// Every cut of a file that uses every kind of block. Only the trailer, which
// comes after the first frame, may be missing.
Bytes SampleFile() {
  TestGif gif;
  gif.screenWidth = 9;
  gif.screenHeight = 7;
  gif.extraBlocks = true;
  gif.transparentIndex = 5;
  gif.left = 1;
  gif.top = 1;
  gif.width = 8;
  gif.height = 6;
  gif.localTable = Ramp(8);
  gif.interlaced = true;
  gif.minCodeSize = 3;
  gif.indices.clear();
  for (std::uint8_t i = 0; i < 48; ++i) gif.indices.push_back(static_cast<std::uint8_t>((i * i + i / 5) % 8));
  return Encode(gif);
}

class Truncated : public testing::TestWithParam<std::size_t> {};

TEST_P(Truncated, IsRejectedUnlessOnlyTheTrailerIsMissing) {
  const Bytes whole = SampleFile();
  const std::size_t length = GetParam();
  const auto full = DecodeGif(whole);
  ASSERT_TRUE(full.has_value());
  // Copied so that the sanitizer sees any read past the cut.
  const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
  const auto image = DecodeGif(cut);
  if (length + 1 == whole.size()) {
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->pixels, full->pixels);
  } else {
    EXPECT_FALSE(image.has_value());
  }
}

INSTANTIATE_TEST_SUITE_P(GifImage, Truncated, testing::Range<std::size_t>(0, SampleFile().size()));

struct BadCase {
  const char* name;
  Bytes bytes;
};

Bytes Patched(Bytes bytes, std::size_t at, std::uint8_t value) {
  bytes.at(at) = value;
  return bytes;
}

TestGif With(void (*change)(TestGif&)) {
  TestGif gif;
  change(gif);
  return gif;
}

// Offsets in the default TestGif: the screen size at 6, the global table from
// 13, the frame descriptor from 25 and its code size at 35.
std::vector<BadCase> BadCases() {
  const Bytes good = Encode(TestGif{});
  return {
      {"Empty", {}},
      {"WrongVersion", Patched(good, 4, '8')},
      {"NotAGif", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 0, 0}},
      {"ZeroScreenWidth", Encode(With([](TestGif& g) { g.screenWidth = 0; }))},
      {"ScreenTooWide", Encode(With([](TestGif& g) { g.screenWidth = 4097; }))},
      {"ScreenTooTall", Encode(With([](TestGif& g) { g.screenHeight = 4097; }))},
      {"ScreenHuge", Encode(With([](TestGif& g) { g.screenWidth = g.screenHeight = 0xFFFF; }))},
      {"ZeroFrameHeight", Encode(With([](TestGif& g) { g.height = 0; }))},
      // Complete pixel data, so only the size itself is wrong.
      {"FrameTooWide", Encode(With([](TestGif& g) {
         g.width = 4097;
         g.height = 1;
         g.indices.assign(4097, 0);
       }))},
      {"FrameTooTall", Encode(With([](TestGif& g) {
         g.width = 1;
         g.height = 4097;
         g.indices.assign(4097, 0);
       }))},
      {"HugeFrameLittleData", Encode(With([](TestGif& g) { g.width = g.height = 4096; }))},
      {"NoColourTable", Encode(With([](TestGif& g) { g.globalTable.clear(); }))},
      {"CodeSizeZero", Patched(good, 35, 0)},
      {"CodeSizeOne", Patched(good, 35, 1)},
      {"CodeSizeNine", Patched(good, 35, 9)},
      {"CodeSizeTwelve", Patched(good, 35, 12)},
      {"IndexPastTable", Encode(With([](TestGif& g) {
         g.minCodeSize = 3;
         g.indices = {0, 1, 5, 2};
       }))},
      {"UndefinedFirstCode", Encode(With([](TestGif& g) {
         g.width = g.height = 1;
         g.rawLzw = PackCodes({{4, 3}, {6, 3}, {1, 3}, {5, 3}});
       }))},
      // Code 6 meant "1 2" before the clear and means nothing after it.
      {"CodeFromBeforeClear", Encode(With([](TestGif& g) {
         g.rawLzw = PackCodes({{4, 3}, {1, 3}, {2, 3}, {4, 3}, {6, 3}, {5, 3}});
       }))},
      {"CodeBeyondTable", Encode(With([](TestGif& g) {
         g.width = 2;
         g.height = 1;
         g.rawLzw = PackCodes({{4, 3}, {1, 3}, {7, 3}, {5, 3}});
       }))},
      {"EndCodeTooSoon", Encode(With([](TestGif& g) {
         g.rawLzw = PackCodes({{4, 3}, {1, 3}, {2, 3}, {5, 3}});
       }))},
      {"CodesRunOut", Encode(With([](TestGif& g) {
         g.rawLzw = PackCodes({{4, 3}, {1, 3}});
       }))},
      {"NoImageData", Encode(With([](TestGif& g) { g.rawLzw = Bytes{}; }))},
      {"TrailerInsteadOfFrame", Patched(good, 25, 0x3B)},
      {"UnknownBlock", Patched(good, 25, 0x99)},
  };
}

TEST(GifImage, BadCasesStartFromAGoodFile) {
  // If the unmodified file failed, every rejection below would prove nothing.
  const Bytes good = Encode(TestGif{});
  ASSERT_EQ(good[25], 0x2C);
  ASSERT_EQ(good[35], 2);
  EXPECT_TRUE(DecodeGif(good).has_value());
}

class Malformed : public testing::TestWithParam<BadCase> {};

TEST_P(Malformed, IsRejected) { EXPECT_FALSE(DecodeGif(GetParam().bytes).has_value()); }

INSTANTIATE_TEST_SUITE_P(GifImage, Malformed, testing::ValuesIn(BadCases()),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace tintelo
