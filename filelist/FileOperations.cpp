// See FileOperations.h.
#include "filelist/FileOperations.h"

#include <shellapi.h>
#include <shlobj.h>
#include <wincodec.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <string_view>
#include <utility>

#include "filelist/FileListFormats.h"
#include "filelist/FileNames.h"
#include "filelist/PopUpMenuLayout.h"
#include "framework/Application.h"
#include "framework/Handles.h"
#include "framework/Strings.h"

namespace {

TTransferMode sharedMode = TTransferMode::tmCopy;
// The clipboard's sequence number right after this process put its file list there: while the
// number stays the same, the clipboard holds our list and its paste uses the shared mode. Another
// program's list with the same paths is another program's (its own drop effect applies).
DWORD ourClipboardSequence = 0;

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

UniqueGlobal BytesBlock(std::string_view bytes) {
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes.size() ? bytes.size() : 1));
  if (!memory) return memory;
  bytes.copy(static_cast<char*>(GlobalLock(memory.get())), bytes.size());
  GlobalUnlock(memory.get());
  return memory;
}

UniqueGlobal TextBlock(const std::wstring& text) {
  return BytesBlock(std::string_view(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t)));
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  // The clipboard is no place for more than this.
  constexpr LONGLONG kLargest = 64LL << 20;
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargest) return false;
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  return bytes.empty() || (ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                           read == bytes.size());
}

// A file's bytes as text: UTF-16 or UTF-8 by their byte-order mark, UTF-8 when the bytes are
// valid UTF-8, otherwise the system's code page.
std::wstring TextOfFile(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / sizeof(wchar_t));
  std::string_view text(bytes);
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (text.empty()) return {};
  UINT page = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0)
                  ? CP_UTF8
                  : CP_ACP;
  std::wstring wide(MultiByteToWideChar(page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0), L'\0');
  MultiByteToWideChar(page, 0, text.data(), static_cast<int>(text.size()), wide.data(), static_cast<int>(wide.size()));
  return wide;
}

// A picture file decoded by the platform's imaging component, as a packed 32-bit bottom-up DIB
// (the clipboard's CF_DIB); empty when it cannot be decoded.
std::string PictureAsDib(const std::wstring& path) {
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICBitmapSource> converted;
  UINT width = 0, height = 0;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.Receive()))) ||
      FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                decoder.Receive())) ||
      FAILED(decoder->GetFrame(0, frame.Receive())) ||
      FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), converted.Receive())) ||
      FAILED(converted->GetSize(&width, &height)) || width == 0 || height == 0 || width > 32768 || height > 32768)
    return {};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = static_cast<LONG>(width);
  header.biHeight = static_cast<LONG>(height);
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  UINT stride = width * 4;
  std::string dib(reinterpret_cast<const char*>(&header), sizeof(header));
  std::string pixels(static_cast<size_t>(stride) * height, '\0');
  if (FAILED(converted->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), reinterpret_cast<BYTE*>(pixels.data()))))
    return {};
  // Bottom-up rows, as every reader of the clipboard's bitmaps expects.
  for (UINT row = height; row-- > 0;) dib.append(pixels, static_cast<size_t>(row) * stride, stride);
  return dib;
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
  ourClipboardSequence = GetClipboardSequenceNumber();
}

std::vector<std::wstring> FileOperations::DroppedPaths(HDROP drop) {
  std::vector<std::wstring> paths;
  if (!drop) return paths;
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
    DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
    if (!path.empty()) paths.push_back(std::move(path));
  }
  return paths;
}

std::vector<std::wstring> FileOperations::ClipboardFiles(TTransferMode* mode) {
  std::vector<std::wstring> paths;
  TTransferMode found = TTransferMode::tmCopy;
  ClipboardScope clipboard(nullptr);
  if (!clipboard) return paths;
  paths = DroppedPaths(static_cast<HDROP>(GetClipboardData(CF_HDROP)));
  if (!paths.empty() && ourClipboardSequence != 0 && GetClipboardSequenceNumber() == ourClipboardSequence) {
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
  TransferInto(paths, folder, mode);
  return true;
}

void FileOperations::TransferInto(const std::vector<std::wstring>& paths, const std::wstring& folder,
                                  TTransferMode mode) {
  UINT operation = mode == TTransferMode::tmMove ? FO_MOVE : FO_COPY;
  for (const auto& path : paths) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        filelist::IsSameOrInside(path, folder)) {
      host_.showMessage(L"\"" + filelist::NameOf(path) + L"\" " + host_.texts().MsgIntoItself, MB_OK | MB_ICONERROR);
      continue;
    }
    RunFileOperation(host_.owner(), operation, {path}, {folder + filelist::NameOf(path)});
  }
}

void FileOperations::TakeDroppedFiles(std::vector<std::wstring> paths) {
  if (paths.empty()) return;
  transferList_ = std::move(paths);
  sharedMode = TTransferMode::tmCopy;
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

void FileOperations::PutNamesOnClipboard(const std::vector<std::wstring>& paths) {
  if (paths.empty()) return;
  std::wstring text = filelist::PathLines(paths);
  ClipboardScope clipboard(host_.owner());
  if (!clipboard) return;
  EmptyClipboard();
  SetClipboardBlock(CF_UNICODETEXT, TextBlock(text));
}

bool FileOperations::PutContentsOnClipboard(const std::wstring& path) {
  std::wstring extension = bv::UpperCase(filelist::ExtensionOf(filelist::NameOf(path)));
  bool picture = extension == L".GIF" || extension == L".JPG" || extension == L".TIFF" || extension == L".PNG" ||
                 extension == L".ICO";
  // A bitmap file is a packed device-independent bitmap behind a 14-byte file header; other
  // pictures are decoded into one; any other file goes as its text.
  constexpr size_t kFileHeader = 14;
  std::string bytes;
  bool read = picture ? !(bytes = PictureAsDib(path)).empty() : ReadWholeFile(path, bytes);
  bool bitmap = extension == L".BMP" && bytes.size() > kFileHeader + sizeof(BITMAPINFOHEADER) && bytes[0] == 'B' &&
                bytes[1] == 'M';
  if (!read) {
    host_.showMessage(host_.texts().MsgErrorPrefix + path, MB_OK | MB_ICONERROR);
    return false;
  }
  ClipboardScope clipboard(host_.owner());
  if (!clipboard) return false;
  EmptyClipboard();
  if (picture) {
    SetClipboardBlock(CF_DIB, BytesBlock(bytes));
  } else if (bitmap) {
    SetClipboardBlock(CF_DIB, BytesBlock(std::string_view(bytes).substr(kFileHeader)));
  } else {
    if (extension == L".RTF") SetClipboardBlock(RegisterClipboardFormatW(L"Rich Text Format"), BytesBlock(bytes + '\0'));
    SetClipboardBlock(CF_UNICODETEXT, TextBlock(TextOfFile(bytes)));
  }
  return true;
}

std::wstring FileOperations::CreateShortcut(const std::wstring& target, const std::wstring& folder) {
  std::wstring name = filelist::CaptionWithoutExtension(filelist::NameOf(target));
  std::wstring path = filelist::UniqueLinkPath(folder, name, Exists);
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  bool saved = !path.empty() &&
               SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                          reinterpret_cast<void**>(link.Receive()))) &&
               SUCCEEDED(link->SetPath(target.c_str())) &&
               SUCCEEDED(link->SetWorkingDirectory(filelist::FolderOf(target).c_str())) &&
               SUCCEEDED(link->SetDescription(name.c_str())) &&
               SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive()))) &&
               SUCCEEDED(file->Save(path.c_str(), TRUE));
  if (saved) return path;
  host_.showMessage(host_.texts().MsgLinkSaveFailed, MB_OK | MB_ICONERROR);
  return {};
}

std::wstring FileOperations::ResolveShortcut(HWND owner, const std::wstring& path) {
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.Receive()))) ||
      FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive()))) ||
      FAILED(file->Load(path.c_str(), STGM_READ)))
    return {};
  link->Resolve(owner, SLR_ANY_MATCH | SLR_NO_UI);
  std::wstring target(MAX_PATH * 4, L'\0');
  if (FAILED(link->GetPath(target.data(), static_cast<int>(target.size()), nullptr, 0))) return {};
  target.resize(wcslen(target.c_str()));
  return target;
}

void FileOperations::ShowProperties(const std::wstring& path) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_FLAG_NO_UI;
  info.hwnd = host_.owner();
  info.lpVerb = L"properties";
  info.lpFile = path.c_str();
  info.nShow = SW_SHOW;
  if (ShellExecuteExW(&info)) return;
  std::wstring text = filelist::PropertiesErrorText(GetLastError());
  if (!text.empty()) host_.showMessage(text, MB_OK | MB_ICONINFORMATION);
}

std::wstring FileOperations::SpecialFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) || !path[0]) return {};
  std::wstring folder = path;
  if (folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring FileOperations::CurrentDirectory() {
  DWORD size = GetCurrentDirectoryW(0, nullptr);
  std::wstring path(size, L'\0');
  DWORD length = GetCurrentDirectoryW(size, path.data());
  path.resize(length < size ? length : 0);
  return path;
}

bool FileOperations::RunFileOperation(HWND owner, UINT operation, const std::vector<std::wstring>& from,
                                      const std::vector<std::wstring>& to) {
  // An empty list would read as the end of the list at once: the shell gets none.
  if (from.empty() || std::any_of(from.begin(), from.end(), [](const std::wstring& p) { return p.empty(); })) return false;
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
