// The pictures and downloads of the sample site, drawn in code: a small screenshot for each
// product and an icon for each link with an image.
#include "tools/newsite_content.h"
#include "tools/newsite_files.h"

#include <stdexcept>

#include "core/platform/filenames.h"

namespace pagolin {
namespace {

enum : std::uint8_t {
  kWhite,
  kLight,
  kMid,
  kDark,
  kNavy,
  kOrange,
  kGrey,
  kGreen,
  kRed,
  kYellow,
  kSky,
  kPurple,
  kInk
};

const std::vector<std::uint32_t> kPalette = {0xFFFFFF, 0xE9EDF1, 0xC5CCD3, 0x5B6670, 0x1D3F58,
                                             0xE8833A, 0x8A96A3, 0x3F9B5B, 0xC0392B, 0xF2C14E,
                                             0x6FA8DC, 0x8E6BBF, 0x24292F};

constexpr int kShotWidth = 200, kShotHeight = 130;

// An application window: frame, title bar with caption and buttons, menu bar, status bar.
TCanvas Window() {
  TCanvas c(kShotWidth, kShotHeight, kPalette, kWhite);
  c.FrameRect(0, 0, kShotWidth, kShotHeight, kDark);
  c.FillRect(1, 1, kShotWidth - 2, 14, kNavy);
  c.FillRect(6, 6, 48, 4, kWhite);
  for (int i = 0; i < 3; ++i) c.FillRect(kShotWidth - 12 - i * 10, 4, 7, 7, i == 0 ? kOrange : kLight);
  c.FillRect(1, 15, kShotWidth - 2, 10, kLight);
  for (int i = 0; i < 4; ++i) c.FillRect(6 + i * 24, 19, 16, 2, kGrey);
  c.FillRect(1, kShotHeight - 10, kShotWidth - 2, 9, kLight);
  c.FillRect(6, kShotHeight - 7, 40, 2, kGrey);
  return c;
}

TCanvas EditorShot() {
  TCanvas c = Window();
  c.FillRect(1, 25, 16, kShotHeight - 35, kLight);
  const int widths[] = {60, 110, 84, 0, 46, 130, 96, 120, 70, 0, 90, 52, 140};
  const std::uint8_t colours[] = {kSky, kInk, kInk, kInk, kGreen, kInk, kRed,
                                  kInk, kInk, kInk, kSky, kInk,   kInk};
  for (int i = 0; i < 13; ++i) {
    const int y = 29 + i * 7;
    c.FillRect(5, y, 8, 3, kMid);
    if (widths[i] == 0) continue;
    const int indent = (i % 4 == 1 || i % 4 == 2) ? 12 : 0;
    c.FillRect(22 + indent, y, 18, 3, colours[i]);
    c.FillRect(44 + indent, y, widths[i] - 22, 3, i % 3 == 2 ? kRed : kInk);
  }
  c.FillRect(122, 63, 1, 7, kOrange);
  return c;
}

TCanvas LedgerShot() {
  TCanvas c = Window();
  c.FillRect(6, 30, 112, 9, kMid);
  for (int r = 0; r < 8; ++r) {
    const int y = 39 + r * 9;
    c.FillRect(6, y, 112, 9, r % 2 ? kLight : kWhite);
    c.FillRect(9, y + 3, 24 + (r * 7) % 20, 3, kInk);
    c.FillRect(96, y + 3, 18 - (r * 5) % 9, 3, r % 3 == 1 ? kRed : kGreen);
  }
  c.FrameRect(6, 30, 112, 81, kMid);
  c.FillRect(80, 30, 1, 81, kMid);
  const int bars[] = {40, 58, 30, 66, 48};
  for (int i = 0; i < 5; ++i) c.FillRect(130 + i * 12, 110 - bars[i], 8, bars[i], i % 2 ? kOrange : kNavy);
  c.FillRect(126, 110, 64, 1, kDark);
  return c;
}

TCanvas BackupShot() {
  TCanvas c = Window();
  // Folder, arrow, disk.
  c.FillRect(20, 36, 16, 6, kOrange);
  c.FillRect(20, 40, 40, 28, kYellow);
  c.FillRect(74, 52, 36, 4, kNavy);
  for (int i = 0; i < 8; ++i) c.FillRect(106 + i, 46 + i, 1, 16 - 2 * i, kNavy);
  c.FillRoundRect(130, 36, 44, 32, 4, kDark);
  c.FillRect(136, 42, 32, 10, kMid);
  c.FillCircle(164, 60, 3, kGreen);
  // Progress bar at 70%.
  c.FrameRect(20, 80, 154, 12, kDark);
  c.FillRect(22, 82, 105, 8, kGreen);
  for (int i = 0; i < 2; ++i) {
    const int y = 100 + i * 9;
    c.Line(22, y + 2, 24, y + 4, kGreen);
    c.Line(24, y + 4, 28, y, kGreen);
    c.FillRect(34, y + 1, 70 - i * 20, 3, kInk);
  }
  return c;
}

TCanvas PaintShot() {
  TCanvas c = Window();
  c.FillRect(1, 25, 22, kShotHeight - 35, kLight);
  const std::uint8_t swatches[] = {kNavy, kOrange, kGreen, kRed, kYellow, kSky, kPurple, kInk};
  for (int i = 0; i < 8; ++i) {
    c.FillRect(6, 30 + i * 11, 12, 9, swatches[i]);
    c.FrameRect(6, 30 + i * 11, 12, 9, kDark);
  }
  c.FillRect(23, 25, kShotWidth - 24, kShotHeight - 35, kMid);
  c.FillRect(32, 32, 156, 80, kWhite);
  c.FillCircle(150, 54, 14, kYellow);
  c.FillRect(46, 78, 52, 28, kSky);
  c.FillCircle(90, 62, 18, kOrange);
  for (int i = 0; i < 4; ++i) c.Line(40, 108 - i, 184, 90 - i, kGreen);
  c.Line(118, 100, 170, 104, kPurple);
  return c;
}

constexpr int kIcon = 48;

TCanvas Icon(std::uint8_t colour) {
  TCanvas c(kIcon, kIcon, kPalette, kWhite);
  c.FillRoundRect(0, 0, kIcon, kIcon, 9, colour);
  return c;
}

TCanvas ForumIcon() {
  TCanvas c = Icon(kOrange);
  c.FillRoundRect(8, 10, 24, 16, 4, kWhite);
  for (int i = 0; i < 5; ++i) c.FillRect(12 + i, 26 + i, 5 - i, 1, kWhite);
  c.FillRoundRect(20, 22, 22, 15, 4, kNavy);
  for (int i = 0; i < 5; ++i) c.FillRect(34, 37 + i, 5 - i, 1, kNavy);
  return c;
}

TCanvas UsenetIcon() {
  TCanvas c = Icon(kNavy);
  c.FillRect(10, 12, 28, 24, kWhite);
  c.FillRect(13, 15, 22, 4, kOrange);
  for (int i = 0; i < 4; ++i) c.FillRect(13, 22 + i * 3, i == 3 ? 14 : 22, 1, kGrey);
  return c;
}

TCanvas MirrorIcon() {
  TCanvas c = Icon(kGreen);
  c.FillRect(21, 9, 6, 16, kWhite);
  for (int i = 0; i < 9; ++i) c.FillRect(15 + i, 25 + i, 18 - 2 * i, 1, kWhite);
  c.FillRect(11, 37, 26, 3, kWhite);
  return c;
}

std::string Readme(const std::string& product) {
  std::string text = product + " - sample download of the Pagolin sample site\r\n\r\n";
  for (int i = 0; i < 12; ++i)
    text += "This archive stands in for the real setup file of " + product +
            ". Replace it with your own download before you upload the site.\r\n";
  return text;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> SampleFiles() {
  return {
      {"quillpad.gif", EncodeGif(EditorShot())},
      {"ledgerlite.gif", EncodeGif(LedgerShot())},
      {"safehaven.gif", EncodeGif(BackupShot())},
      {"pixelgarten.gif", EncodeGif(PaintShot())},
      {"forum.gif", EncodeGif(ForumIcon())},
      {"usenet.gif", EncodeGif(UsenetIcon())},
      {"mirror.gif", EncodeGif(MirrorIcon())},
      {"quillpad.zip", ZipWithOneFile("readme.txt", Readme("Quillpad"))},
      {"ledgerlite.zip", ZipWithOneFile("readme.txt", Readme("Ledgerlite"))},
      {"safehaven.zip", ZipWithOneFile("readme.txt", Readme("Safehaven Backup"))},
      {"pixelgarten.zip", ZipWithOneFile("readme.txt", Readme("Pixelgarten"))},
  };
}

void WriteSampleFiles(const std::string& folder) {
  for (const auto& [name, bytes] : SampleFiles()) {
    std::string error;
    if (!WriteFileAtomically(folder + name, bytes, error))
      throw ENewSiteError("cannot write \"" + folder + name + "\": " + error);
  }
}

}  // namespace pagolin
