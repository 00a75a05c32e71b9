// The parent-folder picture in the shell's system image lists and its index cached in the
// per-user registry: a missing, a valid and a stale cached index, with the real registry key
// (restored afterwards). Appending keeps all the shell's lists in step.
#include <gtest/gtest.h>

#include "filelist/ParentFolderImage.h"

#include <shellapi.h>

#include <algorithm>
#include <optional>

namespace {

using parent_folder_image::kRegistryKey;
using parent_folder_image::kRegistryValue;

class FileListParentImageTest : public testing::Test {
 protected:
  void SetUp() override {
    SHFILEINFOW info{};
    large = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"", 0, &info, sizeof(info), SHGFI_SYSICONINDEX));
    small = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ASSERT_TRUE(large && small);
    std::vector<HIMAGELIST> lists = parent_folder_image::ShellImageLists();
    ASSERT_NE(std::find(lists.begin(), lists.end(), large), lists.end());
    ASSERT_NE(std::find(lists.begin(), lists.end(), small), lists.end());
    saved = Stored();
  }
  void TearDown() override {
    if (saved) Store(*saved);
    else RegDeleteKeyValueW(HKEY_CURRENT_USER, kRegistryKey, kRegistryValue);
  }

  static std::optional<DWORD> Stored() {
    DWORD value = 0, size = sizeof(value), type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kRegistryKey, kRegistryValue, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
      return std::nullopt;
    return value;
  }
  static void Store(DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kRegistryKey, kRegistryValue, REG_DWORD, &value, sizeof(value));
  }
  // Resolves and checks that the pictures were appended to every list of the shell (or to
  // none) and the index stored.
  void ExpectResolve(bool appends) {
    std::vector<HIMAGELIST> lists = parent_folder_image::ShellImageLists();
    std::vector<int> before;
    for (HIMAGELIST list : lists) before.push_back(ImageList_GetImageCount(list));
    int largeBefore = ImageList_GetImageCount(large);
    int index = parent_folder_image::Resolve(large, small);
    int added = appends ? 1 : 0;
    for (size_t i = 0; i < lists.size(); ++i) EXPECT_EQ(ImageList_GetImageCount(lists[i]), before[i] + added) << "list " << i;
    if (appends) {
      EXPECT_EQ(index, largeBefore);
    }
    EXPECT_EQ(Stored(), std::optional<DWORD>(static_cast<DWORD>(index)));
    resolved = index;
  }

  HIMAGELIST large = nullptr;  // borrowed: the shell's
  HIMAGELIST small = nullptr;  // borrowed: the shell's
  std::optional<DWORD> saved;
  int resolved = -1;
};

}  // namespace

TEST_F(FileListParentImageTest, MissingValueAppendsThePicturesAndStoresTheIndex) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kRegistryKey, kRegistryValue);
  ExpectResolve(true);
}

TEST_F(FileListParentImageTest, ValidCachedIndexIsReused) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kRegistryKey, kRegistryValue);
  ExpectResolve(true);
  int first = resolved;
  ExpectResolve(false);
  EXPECT_EQ(resolved, first);
}

TEST_F(FileListParentImageTest, StaleCachedIndexAppendsAgain) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kRegistryKey, kRegistryValue);
  ExpectResolve(true);
  int parent = resolved;
  ASSERT_GT(parent, 0);
  struct Case {
    const char* what;
    DWORD stored;
  } cases[] = {
      {"another picture", 0},
      {"beyond the list", static_cast<DWORD>(ImageList_GetImageCount(large) + 100)},
      {"negative", 0xFFFFFFFF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Store(c.stored);
    ExpectResolve(true);
    EXPECT_TRUE(parent_folder_image::SameImage(large, resolved, large, parent));
  }
  // A value of another type counts as missing.
  const wchar_t text[] = L"3";
  RegSetKeyValueW(HKEY_CURRENT_USER, kRegistryKey, kRegistryValue, REG_SZ, text, sizeof(text));
  ExpectResolve(true);
}
