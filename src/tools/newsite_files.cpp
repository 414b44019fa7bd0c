#include "tools/newsite_files.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace pagolin {

TCanvas::TCanvas(int width, int height, std::vector<std::uint32_t> palette, std::uint8_t background)
    : width_(width),
      height_(height),
      palette_(std::move(palette)),
      pixels_(static_cast<size_t>(width) * height, background) {}

void TCanvas::Plot(int x, int y, std::uint8_t colour) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[static_cast<size_t>(y) * width_ + x] = colour;
}

void TCanvas::FillRect(int x, int y, int w, int h, std::uint8_t colour) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) Plot(i, j, colour);
}

void TCanvas::FrameRect(int x, int y, int w, int h, std::uint8_t colour) {
  FillRect(x, y, w, 1, colour);
  FillRect(x, y + h - 1, w, 1, colour);
  FillRect(x, y, 1, h, colour);
  FillRect(x + w - 1, y, 1, h, colour);
}

void TCanvas::FillRoundRect(int x, int y, int w, int h, int radius, std::uint8_t colour) {
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      // Distance from the nearest corner centre, for pixels in a corner square.
      const int cx = i < radius ? radius - 1 - i : (i >= w - radius ? i - (w - radius) : -1);
      const int cy = j < radius ? radius - 1 - j : (j >= h - radius ? j - (h - radius) : -1);
      if (cx >= 0 && cy >= 0 && cx * cx + cy * cy > radius * radius) continue;
      Plot(x + i, y + j, colour);
    }
  }
}

void TCanvas::FillCircle(int cx, int cy, int r, std::uint8_t colour) {
  for (int j = -r; j <= r; ++j)
    for (int i = -r; i <= r; ++i)
      if (i * i + j * j <= r * r + r / 2) Plot(cx + i, cy + j, colour);
}

void TCanvas::FrameCircle(int cx, int cy, int r, std::uint8_t colour) {
  for (int j = -r; j <= r; ++j) {
    for (int i = -r; i <= r; ++i) {
      const int d = i * i + j * j;
      if (d <= r * r + r / 2 && d >= (r - 1) * (r - 1) + (r - 1) / 2) Plot(cx + i, cy + j, colour);
    }
  }
}

void TCanvas::Line(int x0, int y0, int x1, int y1, std::uint8_t colour) {
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    Plot(x0, y0, colour);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

namespace {

void Put16(std::string& out, unsigned v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// Variable-width LZW codes packed least significant bit first.
class TBitWriter {
 public:
  void Write(unsigned code, int width) {
    buffer_ |= static_cast<std::uint32_t>(code) << bits_;
    bits_ += width;
    while (bits_ >= 8) {
      bytes_ += static_cast<char>(buffer_ & 0xFF);
      buffer_ >>= 8;
      bits_ -= 8;
    }
  }
  std::string Finish() {
    if (bits_ > 0) bytes_ += static_cast<char>(buffer_ & 0xFF);
    return bytes_;
  }

 private:
  std::uint32_t buffer_ = 0;
  int bits_ = 0;
  std::string bytes_;
};

}  // namespace

std::string EncodeGif(const TCanvas& canvas) {
  // Colour table size: a power of two of at least 2 entries (and a minimum code size of 2).
  int depth = 1;
  while ((1u << depth) < canvas.Palette().size() && depth < 8) ++depth;
  const unsigned tableSize = 1u << depth;

  std::string out = "GIF89a";
  Put16(out, static_cast<unsigned>(canvas.Width()));
  Put16(out, static_cast<unsigned>(canvas.Height()));
  out += static_cast<char>(0x80 | ((depth - 1) << 4) | (depth - 1));  // global table
  out += '\0';                                                        // background colour
  out += '\0';                                                        // no aspect ratio
  for (unsigned i = 0; i < tableSize; ++i) {
    const std::uint32_t rgb = i < canvas.Palette().size() ? canvas.Palette()[i] : 0;
    out += static_cast<char>((rgb >> 16) & 0xFF);
    out += static_cast<char>((rgb >> 8) & 0xFF);
    out += static_cast<char>(rgb & 0xFF);
  }
  out += ',';
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<unsigned>(canvas.Width()));
  Put16(out, static_cast<unsigned>(canvas.Height()));
  out += '\0';  // no local table, not interlaced

  const int minCodeSize = std::max(2, depth);
  const unsigned clear = 1u << minCodeSize;
  const unsigned end = clear + 1;
  TBitWriter bits;
  std::unordered_map<std::uint32_t, unsigned> table;  // (prefix code << 8 | byte) -> code
  unsigned next = end + 1;
  int width = minCodeSize + 1;
  bits.Write(clear, width);
  const int count = canvas.Width() * canvas.Height();
  unsigned prefix = count > 0 ? canvas.Pixel(0, 0) : 0;
  for (int p = 1; p < count; ++p) {
    const std::uint8_t c = canvas.Pixel(p % canvas.Width(), p / canvas.Width());
    const std::uint32_t key = (prefix << 8) | c;
    const auto it = table.find(key);
    if (it != table.end()) {
      prefix = it->second;
      continue;
    }
    bits.Write(prefix, width);
    if (next < 4096) {
      table.emplace(key, next++);
      // The decoder widens its codes once the next free code no longer fits.
      if (next > (1u << width) && width < 12) ++width;
    } else {
      bits.Write(clear, width);
      table.clear();
      next = end + 1;
      width = minCodeSize + 1;
    }
    prefix = c;
  }
  if (count > 0) bits.Write(prefix, width);
  bits.Write(end, width);
  const std::string data = bits.Finish();

  out += static_cast<char>(minCodeSize);
  for (size_t at = 0; at < data.size(); at += 255) {
    const size_t n = std::min<size_t>(255, data.size() - at);
    out += static_cast<char>(n);
    out.append(data, at, n);
  }
  out += '\0';  // block terminator
  out += ';';   // trailer
  return out;
}

namespace {

std::uint32_t Crc32(const std::string& data) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : data) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

}  // namespace

std::string ZipWithOneFile(const std::string& name, const std::string& contents) {
  const std::uint32_t crc = Crc32(contents);
  const auto size = static_cast<std::uint32_t>(contents.size());
  const unsigned dosTime = (12u << 11), dosDate = ((2026u - 1980u) << 9) | (1u << 5) | 15u;
  auto common = [&](std::string& out) {
    Put16(out, 10);  // version needed: 1.0
    Put16(out, 0);   // flags
    Put16(out, 0);   // stored
    Put16(out, dosTime);
    Put16(out, dosDate);
    Put32(out, crc);
    Put32(out, size);
    Put32(out, size);
    Put16(out, static_cast<unsigned>(name.size()));
    Put16(out, 0);  // extra field
  };
  std::string out = "PK\x03\x04";
  common(out);
  out += name;
  out += contents;
  const auto central = static_cast<std::uint32_t>(out.size());
  out += "PK\x01\x02";
  Put16(out, 20);  // made by
  common(out);
  Put16(out, 0);  // comment
  Put16(out, 0);  // disk
  Put16(out, 0);  // internal attributes
  Put32(out, 0);  // external attributes
  Put32(out, 0);  // offset of the local header
  out += name;
  const auto centralSize = static_cast<std::uint32_t>(out.size()) - central;
  out += std::string("PK\x05\x06", 4);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  Put32(out, centralSize);
  Put32(out, central);
  Put16(out, 0);
  return out;
}

}  // namespace pagolin
