// Small binary files for a sample site, made in code: GIF images (drawn on a paletted canvas)
// and ZIP archives holding one stored text file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pagolin {

// A paletted picture of at most 256 colours (0xRRGGBB each).
class TCanvas {
 public:
  TCanvas(int width, int height, std::vector<std::uint32_t> palette, std::uint8_t background = 0);
  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<std::uint32_t>& Palette() const { return palette_; }
  std::uint8_t Pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

  // Everything outside the canvas is clipped.
  void Plot(int x, int y, std::uint8_t colour);
  void FillRect(int x, int y, int w, int h, std::uint8_t colour);
  void FrameRect(int x, int y, int w, int h, std::uint8_t colour);
  void FillRoundRect(int x, int y, int w, int h, int radius, std::uint8_t colour);
  void FillCircle(int cx, int cy, int r, std::uint8_t colour);
  void FrameCircle(int cx, int cy, int r, std::uint8_t colour);
  void Line(int x0, int y0, int x1, int y1, std::uint8_t colour);

 private:
  int width_, height_;
  std::vector<std::uint32_t> palette_;
  std::vector<std::uint8_t> pixels_;
};

// A GIF89a file of the canvas (one image, global colour table, LZW compressed).
std::string EncodeGif(const TCanvas& canvas);

// A ZIP archive holding one file, stored without compression.
std::string ZipWithOneFile(const std::string& name, const std::string& contents);

}  // namespace pagolin
