// See FileOperations.h.
#include "filelist/FileOperations.h"

#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <utility>

#include "filelist/FileListFormats.h"
#include "filelist/FileNames.h"
#include "framework/Application.h"

namespace {

TTransferMode sharedMode = TTransferMode::tmCopy;
// The file list this process put on the clipboard last: a clipboard holding the same list is
// ours, and its paste uses the shared mode.
std::vector<std::wstring> listOnClipboard;

struct GlobalFreer {
  void operator()(void* memory) const { GlobalFree(memory); }
};
using UniqueGlobal = std::unique_ptr<void, GlobalFreer>;

// OpenClipboard/CloseClipboard. Another program may hold the clipboard for a moment.
class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) {
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
      open_ = OpenClipboard(owner);
      if (!open_) Sleep(10);
    }
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  ~ClipboardScope() {
    if (open_) CloseClipboard();
  }
  explicit operator bool() const { return open_; }

 private:
  bool open_ = false;
};

UINT PreferredDropEffectFormat() { return RegisterClipboardFormatW(CFSTR_PREFERREDDROPEFFECT); }

// A DROPFILES block with wide-character paths: each path ends in a NUL, the list in another.
UniqueGlobal DropFilesBlock(const std::vector<std::wstring>& paths) {
  size_t chars = 1;
  for (const auto& p : paths) chars += p.size() + 1;
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t)));
  if (!memory) return memory;
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory.get()));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES));
  for (const auto& p : paths) {
    p.copy(text, p.size());
    text += p.size() + 1;
  }
  GlobalUnlock(memory.get());
  return memory;
}

UniqueGlobal DwordBlock(DWORD value) {
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD)));
  if (!memory) return memory;
  *static_cast<DWORD*>(GlobalLock(memory.get())) = value;
  GlobalUnlock(memory.get());
  return memory;
}

void SetClipboardBlock(UINT format, UniqueGlobal block) {
  // On success the clipboard owns the memory.
  if (block && SetClipboardData(format, block.get())) block.release();
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Each path followed by a NUL, and a final NUL.
std::wstring PathList(const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const auto& p : paths) {
    list += p;
    list += L'\0';
  }
  list += L'\0';
  return list;
}

}  // namespace

FileOperations::FileOperations(Host host) : host_(std::move(host)) {}

TTransferMode FileOperations::TransferMode() { return sharedMode; }

bool FileOperations::FilesToPaste() const { return !transferList_.empty() || IsClipboardFormatAvailable(CF_HDROP); }

void FileOperations::MarkForTransfer(const std::vector<std::wstring>& paths, TTransferMode mode) {
  transferList_ = paths;
  sharedMode = mode;
  if (paths.empty()) return;
  ClipboardScope clipboard(host_.owner());
  if (!clipboard) return;
  EmptyClipboard();
  SetClipboardBlock(CF_HDROP, DropFilesBlock(paths));
  SetClipboardBlock(PreferredDropEffectFormat(),
                    DwordBlock(mode == TTransferMode::tmMove ? DROPEFFECT_MOVE : DROPEFFECT_COPY));
  listOnClipboard = paths;
}

std::vector<std::wstring> FileOperations::ClipboardFiles(TTransferMode* mode) {
  std::vector<std::wstring> paths;
  TTransferMode found = TTransferMode::tmCopy;
  ClipboardScope clipboard(nullptr);
  if (!clipboard) return paths;
  if (auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP))) {
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
      DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
      paths.push_back(std::move(path));
    }
  }
  if (!paths.empty() && paths == listOnClipboard) {
    found = sharedMode;
  } else if (HANDLE effect = GetClipboardData(PreferredDropEffectFormat())) {
    if (const auto* value = static_cast<const DWORD*>(GlobalLock(effect))) {
      if (GlobalSize(effect) >= sizeof(DWORD) && (*value & DROPEFFECT_MOVE) && !(*value & DROPEFFECT_COPY))
        found = TTransferMode::tmMove;
      GlobalUnlock(effect);
    }
  }
  if (mode) *mode = found;
  return paths;
}

bool FileOperations::PasteInto(const std::wstring& folder) {
  TTransferMode mode = sharedMode;
  if (transferList_.empty()) transferList_ = ClipboardFiles(&mode);
  if (transferList_.empty()) {
    host_.showMessage(host_.texts().MsgNoFiles, MB_OK | MB_ICONWARNING);
    return false;
  }
  // The list is emptied by every paste, also when an operation fails on the way.
  std::vector<std::wstring> paths = std::move(transferList_);
  transferList_.clear();
  UINT operation = mode == TTransferMode::tmMove ? FO_MOVE : FO_COPY;
  for (const auto& path : paths) RunFileOperation(host_.owner(), operation, {path}, {folder + filelist::NameOf(path)});
  return true;
}

void FileOperations::Recycle(const std::vector<std::wstring>& paths) {
  transferList_.clear();
  if (!paths.empty()) RunFileOperation(host_.owner(), FO_DELETE, paths, {});
}

bool FileOperations::Rename(const std::wstring& from, const std::wstring& to) {
  return RunFileOperation(host_.owner(), FO_RENAME, {from}, {to});
}

std::wstring FileOperations::CreateNewFolder(const std::wstring& folder) {
  std::wstring path = filelist::UniqueNewName(folder + host_.texts().MsgNewFolder, Exists);
  if (path.empty() || !CreateDirectoryW(path.c_str(), nullptr)) return {};
  return path;
}

void FileOperations::View(const std::wstring& path) {
  if (!filelist::IsViewableExtension(filelist::ExtensionOf(filelist::NameOf(path)))) return;
  ShellOpen(L"Open", path, L"", SW_SHOW, filelist::FolderOf(path));
}

void FileOperations::OpenFindWindow(const std::wstring& folder) { ShellOpen(L"Find", folder, L"", SW_SHOWNORMAL, L""); }

bool FileOperations::ShellOpen(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                               int show, const std::wstring& folder) {
  auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(host_.owner(), verb.c_str(), file.c_str(),
                                                        parameters.empty() ? nullptr : parameters.c_str(),
                                                        folder.empty() ? nullptr : folder.c_str(), show));
  if (result > 32) return true;
  const FileListTexts& texts = host_.texts();
  host_.showMessage(texts.MsgCantPrefix + verb + texts.MsgFileInfix + file, MB_OK | MB_ICONERROR);
  return false;
}

bool FileOperations::RunFileOperation(HWND owner, UINT operation, const std::vector<std::wstring>& from,
                                      const std::vector<std::wstring>& to) {
  std::wstring fromList = PathList(from), toList = PathList(to);
  SHFILEOPSTRUCTW op{};
  op.hwnd = owner;
  op.wFunc = operation;
  op.pFrom = fromList.c_str();
  op.pTo = to.empty() ? nullptr : toList.c_str();
  op.fFlags = FOF_ALLOWUNDO;
  op.lpszProgressTitle = L"";
  // The shell's boxes are modal: activation they cause must not start a rebuild under them.
  TApplication::ModalScope modal(Application);
  return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}
