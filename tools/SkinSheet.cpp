// Paints a loaded skin onto one PNG sheet for looking at: every section's background and border
// in the normal and the hot state over a checkerboard (so see-through sections show it), and
// every state picture of every image item (borders around a small rectangle, glyphs at their
// size, textures over a tile, glow and PNG pictures mixed by their alpha). Labels use a tiny
// built-in font. Runs natively with the portable picture decoder.
// Usage: skin_sheet SKIN_DIRECTORY SKIN_NAME OUTPUT.png   (for example: skins PearlMist sheet.png)
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/Strings.h"
#include "paint/AlphaImage.h"
#include "pixel/BitmapBlend.h"
#include "paint/ImageItems.h"
#include "paint/PieceCopy.h"
#include "paint/SectionBackground.h"
#include "paint/Texture.h"
#include "skin/PortableImageDecoder.h"
#include "skin/SkinFileSystem.h"
#include "skin/SkinLoader.h"
#include "tools/raster/Raster.h"

namespace {

namespace fs = std::filesystem;

// The skin loader's paths ("C:\PearlMist.vlz") mapped onto one real folder, names matched
// without regard to case as on the platform.
class FolderFileSystem : public SkinFileSystem {
 public:
  explicit FolderFileSystem(fs::path root) : root_(std::move(root)) {}
  bool FileExists(const std::wstring& path) const override { return fs::is_regular_file(Resolve(path)); }
  bool FolderExists(const std::wstring& path) const override { return fs::is_directory(Resolve(path)); }
  std::optional<std::vector<uint8_t>> ReadFile(const std::wstring& path) const override {
    std::ifstream in(Resolve(path), std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<SkinFolderEntry> ListFolder(const std::wstring& path) const override {
    std::vector<SkinFolderEntry> entries;
    std::error_code error;
    for (const auto& e : fs::directory_iterator(Resolve(path), error))
      entries.push_back({e.path().filename().wstring(), e.is_directory()});
    return entries;
  }
  std::wstring ProgramFolder() const override { return L"C:\\"; }

 private:
  fs::path Resolve(const std::wstring& path) const {
    fs::path at = root_;
    std::wstring rest = path.rfind(L"C:\\", 0) == 0 ? path.substr(3) : path;
    for (const std::wstring& part : bv::Split(rest, L'\\')) {
      if (part.empty()) continue;
      fs::path next = at / part;
      std::error_code error;
      for (const auto& e : fs::directory_iterator(at, error))
        if (bv::UpperCase(e.path().filename().wstring()) == bv::UpperCase(part)) next = e.path();
      at = next;
    }
    return at;
  }
  fs::path root_;
};

// 3 x 5 pixel letters, digits and a few signs, rows top first.
const char* Glyph(char c) {
  static const char* letters[] = {
      "010101111101101", "110101110101110", "011100100100011", "110101101101110", "111100110100111", "111100110100100",
      "011100101101011", "101101111101101", "111010010010111", "001001001101010", "101101110101101", "100100100100111",
      "101111111101101", "110101101101101", "010101101101010", "110101110100100", "010101101110011", "110101110101101",
      "011100010001110", "111010010010010", "101101101101111", "101101101101010", "101101111111101", "101101010101101",
      "101101010010010", "111001010100111"};
  static const char* digits[] = {"111101101101111", "010110010010111", "110001010100111", "110001010001110", "101101111001001",
                                 "111100110001110", "011100111101111", "111001010010010", "111101111101111", "111101111001110"};
  if (c >= 'A' && c <= 'Z') return letters[c - 'A'];
  if (c >= '0' && c <= '9') return digits[c - '0'];
  if (c == '_') return "000000000000111";
  if (c == '.') return "000000000000010";
  if (c == '-') return "000000111000000";
  return "000000000000000";
}

constexpr int kScale = 2;
constexpr int kLabelHeight = 5 * kScale + 4;

void DrawLabel(Bitmap& sheet, int x, int y, const std::string& text) {
  for (char raw : text) {
    const char* glyph = Glyph(static_cast<char>(std::toupper(static_cast<unsigned char>(raw))));
    for (int row = 0; row < 5; ++row)
      for (int col = 0; col < 3; ++col)
        if (glyph[row * 3 + col] == '1') FillRectColor(sheet, Rect::FromSize(x + col * kScale, y + row * kScale, kScale, kScale), 0x303030);
    x += 4 * kScale;
  }
}

Bitmap Checkerboard(int width, int height) {
  Bitmap b(width, height, PixelFormat::pf24bit);
  for (int y = 0; y < height; y += 6)
    for (int x = 0; x < width; x += 6) FillRectColor(b, Rect::FromSize(x, y, 6, 6), ((x + y) / 6) % 2 ? 0xC8C8C8 : 0xF8F8F8);
  return b;
}

// One labelled group of cells on the sheet.
struct Block {
  std::string label;
  std::vector<Bitmap> cells;
  int Width() const {
    int w = static_cast<int>(label.size()) * 4 * kScale;
    int cellsWidth = 0;
    for (const Bitmap& c : cells) cellsWidth += c.Width() + 4;
    return std::max(w, cellsWidth) + 16;
  }
  int Height() const {
    int h = 0;
    for (const Bitmap& c : cells) h = std::max(h, c.Height());
    return kLabelHeight + h + 12;
  }
};

Block SectionBlock(const LoadedSkin& skin, int index) {
  const TsGeneralData& section = skin.Sections[static_cast<size_t>(index)];
  Block block{section.ClassName + "  NORMAL - HOT", {}};
  for (int state : {0, 1}) {
    Bitmap parent = Checkerboard(150, 40);
    Bitmap cell = parent;
    TsBackgroundRef behind = BackgroundFromBitmap(parent, 0, 0);
    PaintSectionBackground(skin, index, section.ClassName, behind, clFuchsia, -1, -1, cell, {0, 0}, cell.Bounds(), state);
    if (skin.IsValidItem(section.BorderIndex))
      PaintBorderItem(&skin, cell, cell.Bounds(), false, true, state, skin.Items[static_cast<size_t>(section.BorderIndex)], behind);
    block.cells.push_back(std::move(cell));
  }
  return block;
}

Bitmap ItemStateCell(const LoadedSkin& skin, const TsMaskData& item, int state) {
  int stateWidth = std::max(StateWidth(item), 1), stateHeight = std::max(StateHeight(item), 1);
  const Bitmap& picture = skin.ItemBitmap(item);
  bool alphaPicture = picture.Format() == PixelFormat::pf32bit;
  int width = std::clamp(stateWidth + 16, 24, 320), height = std::clamp(stateHeight + 16, 24, 160);
  if (item.ImgType == TvlImgType::itisaBorder || item.ImgType == TvlImgType::itisaGlow) {
    width = std::clamp(stateWidth * 3 / 2 + 8, 32, 320);
    height = std::clamp(stateHeight * 3 / 2 + 8, 24, 160);
  }
  Bitmap parent = Checkerboard(width, height);
  Bitmap cell = parent;
  TsBackgroundRef behind = BackgroundFromBitmap(parent, 0, 0);
  Rect inner = cell.Bounds().Inflate(-4, -4);
  switch (item.ImgType) {
    case TvlImgType::itisaTexture:
      if (auto rest = PlaceTexture(cell, inner, picture, item.StretchMode, item)) FillRectColor(cell, *rest, 0xFF00FF);
      break;
    case TvlImgType::itisaBorder:
    case TvlImgType::itisaGlow:
      if (alphaPicture) {  // as the glow window shows it: painted into transparency, mixed by alpha
        Bitmap layer(inner.Width(), inner.Height(), PixelFormat::pf32bit);
        PaintBorderItem(&skin, layer, layer.Bounds(), true, false, state, item, EmptyBackground());
        DrawAlphaImage(cell, inner, layer, layer.Bounds(), false, 0, clNone, false, {});
      } else {
        PaintBorderItem(&skin, cell, inner, true, true, state, item, behind);
      }
      break;
    default:
      if (alphaPicture) {
        Rect source = Rect::FromSize(item.R.left + state * StateWidth(item), item.R.top, stateWidth, stateHeight);
        DrawAlphaImage(cell, Rect::FromSize(8, 8, stateWidth, stateHeight), picture, source, false, 0, clNone, false, {});
      } else {
        PaintGlyphItem(&skin, cell, {8, 8}, state, behind, item, 1);
      }
      break;
  }
  return cell;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: skin_sheet SKIN_DIRECTORY SKIN_NAME OUTPUT.png\n");
    return 2;
  }
  FolderFileSystem files{fs::path(argv[1])};
  PortableImageDecoder decoder;
  LoadedSkin skin;
  SkinLoadRequest request;
  request.skinName = bv::Utf8ToWide(argv[2]);
  request.files = &files;
  request.decoder = &decoder;
  request.showMessage = [](const std::wstring& text) { std::fprintf(stderr, "%s\n", bv::WideToUtf8(text).c_str()); };
  if (!LoadSkin(skin, request).loaded) {
    std::fprintf(stderr, "no skin \"%s\" in %s\n", argv[2], argv[1]);
    return 1;
  }

  std::vector<Block> blocks;
  for (int i = 0; i < static_cast<int>(skin.Sections.size()); ++i) blocks.push_back(SectionBlock(skin, i));
  for (const TsMaskData& item : skin.Items) {
    Block block{item.SectionName + "." + item.PropertyName, {}};
    for (int state = 0; state < std::max<int>(item.ImageCount, 1); ++state) block.cells.push_back(ItemStateCell(skin, item, state));
    blocks.push_back(std::move(block));
  }

  // Blocks flow left to right in lines no wider than the sheet.
  constexpr int kSheetWidth = 1800;
  struct Placed {
    const Block* block;
    int x, y;
  };
  std::vector<Placed> placed;
  int x = 8, y = 8, lineHeight = 0;
  for (const Block& b : blocks) {
    if (x + b.Width() > kSheetWidth && x > 8) {
      x = 8;
      y += lineHeight;
      lineHeight = 0;
    }
    placed.push_back({&b, x, y});
    x += b.Width();
    lineHeight = std::max(lineHeight, b.Height());
  }
  Bitmap sheet(kSheetWidth, y + lineHeight + 8, PixelFormat::pf24bit);
  FillRectColor(sheet, sheet.Bounds(), 0xE6E6E6);
  for (const Placed& p : placed) {
    DrawLabel(sheet, p.x, p.y, p.block->label);
    int cx = p.x;
    for (const Bitmap& cell : p.block->cells) {
      CopyPiece(sheet, cx, p.y + kLabelHeight, cell, cell.Bounds());
      cx += cell.Width() + 4;
    }
  }

  raster::Canvas canvas(sheet.Width(), sheet.Height());
  for (int py = 0; py < sheet.Height(); ++py)
    for (int px = 0; px < sheet.Width(); ++px) {
      uint32_t c = sheet.GetPixel(px, py);
      canvas.At(px, py) = {(c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, ((c >> 16) & 0xFF) / 255.0, 1.0};
    }
  raster::WritePng(argv[3], canvas);
  std::printf("%zu sections, %zu image items, %zu patterns: %s (%d x %d)\n", skin.Sections.size(), skin.Items.size(),
              skin.Patterns.size(), argv[3], sheet.Width(), sheet.Height());
  return 0;
}
