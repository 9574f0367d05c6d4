#include "ui/icons.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "ui/resource_ids.h"

namespace qm::ui {
namespace {

constexpr std::array<std::string_view, 15> kImageKeys = {
    "folder",   "foldershow", "folderopen", "folderopenshow", "folderopendelete",
    "folderlock", "folderdelete", "file",   "filelock",       "filedelete",
    "fileblank", "reg",        "reglock",   "regdelete",      "error"};

constexpr COLORREF kMask = RGB(255, 0, 255);

enum class Base { Folder, OpenFolder, File, Registry, Error };
enum class Mark { None, Show, Delete, Lock, Blank };

/// Scales the 16-pixel design to `size`.
struct Pen16 {
  HDC dc;
  int size;
  int S(double v) const { return static_cast<int>(std::lround(v * size / 16.0)); }

  void Fill(COLORREF color, double l, double t, double r, double b) const {
    HBRUSH brush = CreateSolidBrush(color);
    RECT rect{S(l), S(t), S(r), S(b)};
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }
  void Shape(COLORREF fill, COLORREF line, bool ellipse, double l, double t, double r, double b) const {
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, std::max(1, size / 16), line);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    if (ellipse) {
      Ellipse(dc, S(l), S(t), S(r), S(b));
    } else {
      Rectangle(dc, S(l), S(t), S(r), S(b));
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
  }
  void Line(COLORREF color, double width, double x1, double y1, double x2, double y2) const {
    HPEN pen = CreatePen(PS_SOLID, std::max(1, S(width)), color);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, S(x1), S(y1), nullptr);
    LineTo(dc, S(x2), S(y2));
    SelectObject(dc, old);
    DeleteObject(pen);
  }
};

void DrawBase(const Pen16& p, Base base) {
  const COLORREF outline = RGB(120, 90, 20);
  switch (base) {
    case Base::Folder:
      p.Shape(RGB(236, 196, 84), outline, false, 1, 3, 8, 6);
      p.Shape(RGB(248, 214, 110), outline, false, 1, 5, 15, 14);
      break;
    case Base::OpenFolder:
      p.Shape(RGB(236, 196, 84), outline, false, 1, 3, 8, 6);
      p.Shape(RGB(226, 184, 72), outline, false, 1, 5, 14, 14);
      p.Shape(RGB(252, 226, 140), outline, false, 3, 8, 16, 14);
      break;
    case Base::File:
      p.Shape(RGB(255, 255, 255), RGB(90, 100, 120), false, 3, 1, 13, 15);
      for (double y : {5.0, 8.0, 11.0}) p.Line(RGB(150, 160, 180), 1, 5, y, 11, y);
      break;
    case Base::Registry:
      p.Shape(RGB(70, 130, 210), RGB(30, 60, 120), false, 1, 6, 8, 13);
      p.Shape(RGB(90, 170, 90), RGB(30, 90, 30), false, 8, 6, 15, 13);
      p.Shape(RGB(220, 90, 80), RGB(120, 30, 30), false, 4, 1, 11, 7);
      break;
    case Base::Error:
      p.Shape(RGB(210, 40, 40), RGB(140, 20, 20), true, 1, 1, 15, 15);
      p.Line(RGB(255, 255, 255), 2, 8, 4, 8, 9);
      p.Fill(RGB(255, 255, 255), 7, 11, 9, 13);
      break;
  }
}

void DrawMark(const Pen16& p, Mark mark) {
  switch (mark) {
    case Mark::None:
      break;
    case Mark::Show:  // a magnifier: found
      p.Shape(RGB(200, 230, 255), RGB(20, 70, 160), true, 8, 7, 14, 13);
      p.Line(RGB(20, 70, 160), 2, 13, 12, 15.5, 14.5);
      break;
    case Mark::Delete:  // a red cross: erased
      p.Line(RGB(200, 20, 20), 2, 9, 8, 15, 14);
      p.Line(RGB(200, 20, 20), 2, 15, 8, 9, 14);
      break;
    case Mark::Lock:  // a padlock: kept
      p.Shape(RGB(255, 255, 255), RGB(60, 60, 60), true, 10, 6, 14, 11);
      p.Shape(RGB(200, 150, 30), RGB(90, 60, 10), false, 9, 9, 15, 15);
      break;
    case Mark::Blank:  // a grey block: overwritten with blanks
      p.Shape(RGB(170, 170, 170), RGB(80, 80, 80), false, 8, 8, 15, 15);
      break;
  }
}

struct ImageDesign {
  Base base;
  Mark mark;
};

ImageDesign DesignOf(std::string_view key) {
  const bool open = key.starts_with("folderopen");
  const Base base = key.starts_with("folder") ? (open ? Base::OpenFolder : Base::Folder)
                    : key.starts_with("file") ? Base::File
                    : key.starts_with("reg")  ? Base::Registry
                                              : Base::Error;
  Mark mark = Mark::None;
  if (key.ends_with("show")) mark = Mark::Show;
  if (key.ends_with("delete")) mark = Mark::Delete;
  if (key.ends_with("lock")) mark = Mark::Lock;
  if (key.ends_with("blank")) mark = Mark::Blank;
  return {base, mark};
}

HBITMAP DrawImage(HDC screen, int size, std::string_view key) {
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const Pen16 pen{dc, size};
  pen.Fill(kMask, 0, 0, 16, 16);
  const ImageDesign design = DesignOf(key);
  DrawBase(pen, design.base);
  DrawMark(pen, design.mark);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

}  // namespace

HIMAGELIST CreatePrivacyImages(int size) {
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, kImageKeys.size(), 0);
  HDC screen = GetDC(nullptr);
  for (std::string_view key : kImageKeys) {
    HBITMAP bitmap = DrawImage(screen, size, key);
    ImageList_AddMasked(list, bitmap, kMask);
    DeleteObject(bitmap);
  }
  ReleaseDC(nullptr, screen);
  return list;
}

int PrivacyImageIndex(std::string_view key) {
  for (std::size_t i = 0; i < kImageKeys.size(); ++i) {
    if (kImageKeys[i] == key) return static_cast<int>(i);
  }
  return static_cast<int>(kImageKeys.size() - 1);
}

HICON LoadAppIcon(int size) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUILLMERE), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace qm::ui
