// See MenuPictures.h.
#include "filelist/MenuPictures.h"

#include "filelist/PopUpMenuLayout.h"
#include "framework/Graphics.h"

namespace {

constexpr uint32_t kGlyphKey = 0xFF00FF;  // magenta, the key of the glyph resources

// A keyed 24-bit picture as a 32-bit picture with alpha.
UniqueBitmap KeyedPicture(HBITMAP keyed) {
  BITMAP size{};
  if (!keyed || !GetObjectW(keyed, sizeof(size), &size)) return {};
  uint32_t* pixels = nullptr;
  UniqueBitmap picture = CreateTopDown32Section(size.bmWidth, size.bmHeight, &pixels);
  if (!picture) return {};
  BITMAPINFO info = TopDownBitmapInfo(size.bmWidth, size.bmHeight, 32);
  HDC screen = GetDC(nullptr);
  int rows = GetDIBits(screen, keyed, 0, static_cast<UINT>(size.bmHeight), pixels, &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != size.bmHeight) return {};
  GdiFlush();
  filelist::KeyedToPremultiplied(pixels, static_cast<size_t>(size.bmWidth) * size.bmHeight, kGlyphKey);
  return picture;
}

}  // namespace

HBITMAP MenuPictures::Glyph(const wchar_t* name) {
  auto found = glyphs_.find(name);
  if (found != glyphs_.end()) return found->second.get();
  UniqueBitmap keyed(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  return glyphs_.emplace(name, KeyedPicture(keyed.get())).first->second.get();
}

void MenuPictures::Attach(MENUITEMINFOW& item, HBITMAP picture) {
  if (!picture) return;
  item.hbmpItem = HBMMENU_CALLBACK;
  item.dwItemData = reinterpret_cast<ULONG_PTR>(picture);
  attached_.insert(picture);
}

HBITMAP MenuPictures::PictureOf(ULONG_PTR itemData) const {
  auto picture = reinterpret_cast<HBITMAP>(itemData);
  return attached_.count(picture) ? picture : nullptr;
}

bool MenuPictures::Measure(MEASUREITEMSTRUCT& measure) const {
  HBITMAP picture = measure.CtlType == ODT_MENU ? PictureOf(measure.itemData) : nullptr;
  if (!picture) return false;
  BITMAP size{};
  GetObjectW(picture, sizeof(size), &size);
  measure.itemWidth = static_cast<UINT>(size.bmWidth);
  measure.itemHeight = static_cast<UINT>(size.bmHeight);
  return true;
}

bool MenuPictures::Draw(const DRAWITEMSTRUCT& draw) const {
  HBITMAP picture = draw.CtlType == ODT_MENU ? PictureOf(draw.itemData) : nullptr;
  if (!picture) return false;
  BITMAP size{};
  GetObjectW(picture, sizeof(size), &size);
  UniqueMemoryDc source(CreateCompatibleDC(draw.hDC));
  HGDIOBJ previous = SelectObject(source.get(), picture);
  int x = draw.rcItem.left + (draw.rcItem.right - draw.rcItem.left - size.bmWidth) / 2;
  int y = draw.rcItem.top + (draw.rcItem.bottom - draw.rcItem.top - size.bmHeight) / 2;
  BYTE opacity = (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) ? 96 : 255;
  BLENDFUNCTION blend{AC_SRC_OVER, 0, opacity, AC_SRC_ALPHA};
  GdiAlphaBlend(draw.hDC, x, y, size.bmWidth, size.bmHeight, source.get(), 0, 0, size.bmWidth, size.bmHeight, blend);
  SelectObject(source.get(), previous);
  return true;
}

bool MenuPictures::OwnerDraw(TMessage& m) const {
  bool handled = (m.Msg == WM_MEASUREITEM && Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam))) ||
                 (m.Msg == WM_DRAWITEM && Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam)));
  if (handled) m.Result = TRUE;
  return handled;
}
