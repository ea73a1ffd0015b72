#include "tests/kit/screen_capture.h"

#include <windows.h>

#include <algorithm>
#include <fstream>

namespace quillon::test_kit {

namespace {

constexpr size_t kFileHeaderBytes = sizeof(BITMAPFILEHEADER);
constexpr size_t kInfoHeaderBytes = sizeof(BITMAPINFOHEADER);

BITMAPINFOHEADER InfoHeaderFor(int width, int height) {
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // positive: bottom-up rows, as the file keeps them
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  return header;
}

// Clips a rectangle to the image; false when nothing is left.
bool Clip(const ScreenImage& image, int& left, int& top, int& right, int& bottom) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, image.width);
  bottom = std::min(bottom, image.height);
  return left < right && top < bottom;
}

}  // namespace

uint32_t ScreenImage::PixelAt(int x, int y) const {
  const uint8_t* p = pixels.data() + static_cast<size_t>(height - 1 - y) * RowBytes() + static_cast<size_t>(x) * 3;
  return uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
}

bool CaptureScreen(ScreenImage& image) {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return false;
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader = InfoHeaderFor(width, height);
  void* bits = nullptr;
  HBITMAP section = memory ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  bool copied = false;
  if (section != nullptr) {
    HGDIOBJ old = SelectObject(memory, section);
    // CAPTUREBLT takes layered windows along, as the user sees them.
    copied = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT) != FALSE;
    GdiFlush();
    SelectObject(memory, old);
    if (copied) {
      image.width = width;
      image.height = height;
      const uint8_t* first = static_cast<const uint8_t*>(bits);
      image.pixels.assign(first, first + image.RowBytes() * static_cast<size_t>(height));
    }
    DeleteObject(section);
  }
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return copied;
}

bool SaveBmp(const ScreenImage& image, const std::string& path) {
  if (image.width <= 0 || image.height <= 0 || image.pixels.size() != image.RowBytes() * size_t(image.height))
    return false;
  BITMAPINFOHEADER info = InfoHeaderFor(image.width, image.height);
  info.biSizeImage = static_cast<DWORD>(image.pixels.size());
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = static_cast<DWORD>(kFileHeaderBytes + kInfoHeaderBytes);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + image.pixels.size());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&file), kFileHeaderBytes);
  out.write(reinterpret_cast<const char*>(&info), kInfoHeaderBytes);
  out.write(reinterpret_cast<const char*>(image.pixels.data()), static_cast<std::streamsize>(image.pixels.size()));
  out.close();
  return static_cast<bool>(out);
}

bool LoadBmp(const std::string& path, ScreenImage& image) {
  std::ifstream in(path, std::ios::binary);
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  in.read(reinterpret_cast<char*>(&file), kFileHeaderBytes);
  in.read(reinterpret_cast<char*>(&info), kInfoHeaderBytes);
  if (!in || file.bfType != 0x4D42 || info.biBitCount != 24 || info.biCompression != BI_RGB || info.biWidth <= 0 ||
      info.biHeight <= 0)
    return false;
  image.width = info.biWidth;
  image.height = info.biHeight;
  image.pixels.assign(image.RowBytes() * static_cast<size_t>(image.height), 0);
  in.seekg(file.bfOffBits);
  in.read(reinterpret_cast<char*>(image.pixels.data()), static_cast<std::streamsize>(image.pixels.size()));
  return static_cast<bool>(in);
}

size_t CountPixelsOf(const ScreenImage& image, int left, int top, int right, int bottom, uint32_t colour) {
  if (!Clip(image, left, top, right, bottom)) return 0;
  size_t count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) count += image.PixelAt(x, y) == colour ? 1 : 0;
  return count;
}

bool HasSeveralColours(const ScreenImage& image, int left, int top, int right, int bottom) {
  if (!Clip(image, left, top, right, bottom)) return false;
  uint32_t first = image.PixelAt(left, top);
  return CountPixelsOf(image, left, top, right, bottom, first) != size_t(right - left) * size_t(bottom - top);
}

std::string ArtifactsFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  folder = folder.substr(0, folder.find_last_of("\\/") + 1) + "artifacts";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\";
}

}  // namespace quillon::test_kit
