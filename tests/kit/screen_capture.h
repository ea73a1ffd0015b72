// Pictures of the screen for system tests: what a user would have seen at a
// given moment, kept as a .bmp file beside the test program so that a failed
// or doubtful run can be looked at afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::test_kit {

// 24-bit pixels, blue-green-red, rows from the bottom of the screen up and
// each padded to a multiple of four bytes: the layout of a .bmp file, so
// saving is a plain write.
struct ScreenImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;

  size_t RowBytes() const { return (static_cast<size_t>(width) * 3 + 3) & ~size_t(3); }
  // 0x00BBGGRR, as GDI writes colours; (x, y) counted from the top left.
  uint32_t PixelAt(int x, int y) const;
};

// Copies the whole screen (GetDC(nullptr)) into `image`; false on failure.
bool CaptureScreen(ScreenImage& image);
// Writes `image` as an uncompressed 24-bit .bmp; false when it could not.
bool SaveBmp(const ScreenImage& image, const std::string& path);
// Reads back a file written by SaveBmp; false when it is not one.
bool LoadBmp(const std::string& path, ScreenImage& image);

// How many pixels in the rectangle (screen coordinates, clipped to the
// image; right and bottom exclusive) have the colour `colour`, and whether
// that rectangle holds more than one colour at all.
size_t CountPixelsOf(const ScreenImage& image, int left, int top, int right, int bottom, uint32_t colour);
bool HasSeveralColours(const ScreenImage& image, int left, int top, int right, int bottom);

// The folder "artifacts" beside the running test program, created when
// missing; ends with "\".
std::string ArtifactsFolder();

}  // namespace quillon::test_kit
