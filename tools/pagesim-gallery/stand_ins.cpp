// The stand-ins for the server's images: small GIF pictures drawn here, pixel
// by pixel, so a preview shows a whole page without any of the server's or
// the card schemes' artwork. A browser decides a local file's format by its
// name, so each is a real GIF under the name the pages use.
#include "stand_ins.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace gallery {

namespace {

// The four colours every stand-in uses: 0 is transparent.
enum Colour : std::uint8_t { CLEAR = 0, FILL = 1, EDGE = 2, INK = 3 };

// Red, green and blue of each colour, in the order of Colour.
constexpr std::uint8_t PALETTE[4][3] = {{0xFF, 0xFF, 0xFF}, {0xEE, 0xEE, 0xEE}, {0x88, 0x88, 0x88}, {0x33, 0x33, 0x33}};

// A picture of palette colours, row by row.
struct Picture {
  int width;
  int height;
  std::vector<std::uint8_t> pixels;
};

// A picture of `width` by `height` pixels, all clear.
Picture blank(int width, int height) { return {width, height, std::vector<std::uint8_t>(width * height, CLEAR)}; }

// Sets one pixel; one outside the picture is left out.
void paint(Picture& picture, int x, int y, Colour colour) {
  if (x >= 0 && y >= 0 && x < picture.width && y < picture.height) picture.pixels[y * picture.width + x] = colour;
}

// The capitals that the card types' names need, five pixels wide and seven
// high, each row's pixels from the left in the low five bits.
const std::map<char, std::vector<std::uint8_t>>& letters() {
  static const std::map<char, std::vector<std::uint8_t>> glyphs = {
      {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
      {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
      {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
      {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
      {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
      {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
  };
  return glyphs;
}

// Draws one capital of letters() in ink, its top left corner at `left`,
// `top`, each of its pixels `scale` pixels wide and high.
void draw_glyph(Picture& picture, const std::vector<std::uint8_t>& glyph, int left, int top, int scale) {
  for (int row = 0; row < 7; ++row)
    for (int column = 0; column < 5; ++column)
      if (glyph[row] & (0x10 >> column))
        for (int dy = 0; dy < scale; ++dy)
          for (int dx = 0; dx < scale; ++dx) paint(picture, left + column * scale + dx, top + row * scale + dy, INK);
}

// A card logo's place: a light box with a dashed edge and the card type's
// name in the middle, as large as it fits.
Picture card_box(std::string_view name) {
  Picture picture = blank(72, 44);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      bool edge = x == 0 || y == 0 || x == picture.width - 1 || y == picture.height - 1;
      paint(picture, x, y, edge && (x + y) % 6 < 4 ? EDGE : FILL);
    }
  int scale = 2;
  while (scale > 1 && static_cast<int>(name.size()) * 6 * scale - scale > picture.width - 8) --scale;
  int left = (picture.width - (static_cast<int>(name.size()) * 6 * scale - scale)) / 2;
  int top = (picture.height - 7 * scale) / 2;
  for (std::size_t n = 0; n < name.size(); ++n) {
    auto glyph = letters().find(name[n]);
    if (glyph != letters().end())
      draw_glyph(picture, glyph->second, left + static_cast<int>(n) * 6 * scale, top, scale);
  }
  return picture;
}

// The security notice's symbol: a plain key on a clear ground.
Picture key() {
  static const char* const rows[] = {
      "..#####.................", ".##...##................", "##.....##...............",
      "#.......################", "#.......################", "##.....##.......##.##.##",
      ".##...##........##.##.##", "..#####.........##......",
  };
  Picture picture = blank(24, 8);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (rows[y][x] == '#') paint(picture, x, y, INK);
  return picture;
}

// Appends `value` as the two bytes, low first, that GIF uses for sizes.
void put_16(std::string& out, int value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

// The pixels in GIF's variable-width LZW, codes packed from the lowest bit.
std::string compressed(const std::vector<std::uint8_t>& pixels, int min_code_size) {
  const int clear = 1 << min_code_size;
  const int end = clear + 1;
  std::string out;
  std::uint32_t bits = 0;
  int held = 0;
  int width = min_code_size + 1;
  auto put = [&](int code) {
    bits |= static_cast<std::uint32_t>(code) << held;
    for (held += width; held >= 8; held -= 8, bits >>= 8) out += static_cast<char>(bits & 0xFF);
  };
  std::map<std::pair<int, int>, int> table;  // (prefix code, pixel) -> code
  int next = end + 1;
  put(clear);
  int prefix = pixels[0];
  for (std::size_t i = 1; i < pixels.size(); ++i) {
    auto found = table.find({prefix, pixels[i]});
    if (found != table.end()) {
      prefix = found->second;
      continue;
    }
    put(prefix);
    if (next < 4096) {
      table[{prefix, pixels[i]}] = next++;
      if (next > (1 << width) && width < 12) ++width;
    } else {
      put(clear);
      table.clear();
      next = end + 1;
      width = min_code_size + 1;
    }
    prefix = pixels[i];
  }
  put(prefix);
  put(end);
  if (held > 0) out += static_cast<char>(bits & 0xFF);
  return out;
}

// The picture as a GIF89a file whose colour 0 is transparent.
std::string gif(const Picture& picture) {
  std::string out = "GIF89a";
  put_16(out, picture.width);
  put_16(out, picture.height);
  out += '\x91';  // a global table of 4 colours, 2 bits each
  out += '\0';
  out += '\0';
  for (const auto& colour : PALETTE)
    for (std::uint8_t part : colour) out += static_cast<char>(part);
  out += std::string("\x21\xF9\x04\x01\0\0\0\0", 8);  // colour 0 is transparent
  out += '\x2C';
  put_16(out, 0);
  put_16(out, 0);
  put_16(out, picture.width);
  put_16(out, picture.height);
  out += '\0';
  out += '\x02';  // minimum code size: 2 bits a pixel
  std::string data = compressed(picture.pixels, 2);
  for (std::size_t at = 0; at < data.size(); at += 255) {
    std::size_t size = std::min<std::size_t>(255, data.size() - at);
    out += static_cast<char>(size);
    out.append(data, at, size);
  }
  out += '\0';
  out += '\x3B';
  return out;
}

}  // namespace

bool is_server_image(std::string_view name) {
  for (std::string_view image : {"VISA.gif", "MASTERCARD.gif", "CB.gif", "CLEF.gif", "INTERVAL.gif"})
    if (name == image) return true;
  return false;
}

std::string stand_in_image(std::string_view name) {
  if (!is_server_image(name)) return {};
  if (name == "CLEF.gif") return gif(key());
  // The spacer between two card choices.
  if (name == "INTERVAL.gif") return gif(blank(20, 1));
  return gif(card_box(name.substr(0, name.size() - 4)));
}

}  // namespace gallery
