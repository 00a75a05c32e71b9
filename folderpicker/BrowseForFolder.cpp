// See BrowseForFolder.h.
#include "folderpicker/BrowseForFolder.h"

#include <vector>

#include "framework/AppServices.h"
#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Form.h"

const ClassInfo& TBrowseForFolder::StaticClass() {
  using B = TBrowseForFolder;
  static const ClassInfo& info = RegisterClassInfo(
      ClassBuilder<B>(L"TBrowseForFolder", &TComponent::StaticClass())
          .String(L"DisplayName", &B::DisplayName, nullptr)
          .String(L"StatusText", &B::StatusText, &B::SetStatusText)
          .String(L"FolderName", &B::FolderName, &B::SetFolderName)
          .Ordinal(L"Flags", BrowseFlagsType(), &B::Flags, &B::SetFlags)
          .Ordinal(L"Root", BrowseLocationType(), &B::Root, &B::SetRoot)
          .String(L"Caption", &B::Caption, &B::SetCaption)
          .Build());
  return info;
}

std::wstring TBrowseForFolder::FileSystemPath(LPCITEMIDLIST item) {
  // The call with a caller's buffer stops at 260 characters.
  wchar_t* name = nullptr;
  if (SUCCEEDED(SHGetNameFromIDList(item, SIGDN_FILESYSPATH, &name)) && name) {
    std::wstring path = name;
    CoTaskMemFree(name);
    return path;
  }
  std::vector<wchar_t> path(MAX_PATH, L'\0');
  return SHGetPathFromIDListW(item, path.data()) ? std::wstring(path.data()) : std::wstring();
}

TBrowseForFolder::TBrowseForFolder(TComponent* owner) : TComponent(owner) {}

TBrowseForFolder::~TBrowseForFolder() = default;

int CALLBACK TBrowseForFolder::BrowseCallback(HWND picker, UINT message, LPARAM, LPARAM data) {
  try {
    auto* texts = reinterpret_cast<const CallbackData*>(data);
    switch (message) {
      case BFFM_INITIALIZED:
        if (texts && !texts->folderName.empty())
          SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(texts->folderName.c_str()));
        if (texts && !texts->statusText.empty())
          SendMessageW(picker, BFFM_SETSTATUSTEXTW, TRUE, reinterpret_cast<LPARAM>(texts->statusText.c_str()));
        return 0;
      case BFFM_VALIDATEFAILEDW:
      case BFFM_VALIDATEFAILEDA:
        return 1;  // keeps the picker open
      default:
        return 0;
    }
  } catch (const std::exception& e) {
    HandleException(e);
    return 0;
  }
}

bool TBrowseForFolder::Execute() {
  auto* form = dynamic_cast<TForm*>(Owner());
  if (!form) throw EInvalidCast(L"Invalid class typecast");

  request_.lpszTitle = caption_.c_str();
  int special = browse_flags::SpecialFolderOf(root_);
  if (root_ == TBrowseLocation::bl_CUSTOM) {
    request_.pidlRoot = CustomRoot;
  } else if (special >= 0) {
    LPITEMIDLIST found = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, special, &found))) found = nullptr;
    ownedRoot_.reset(found);
    request_.pidlRoot = found;
  }
  request_.hwndOwner = form->Handle();
  CallbackData texts{folderName_, statusText_};
  request_.lpfn = BrowseCallback;
  request_.lParam = reinterpret_cast<LPARAM>(&texts);
  request_.ulFlags |= browse_flags::kValidate;
  std::vector<wchar_t> displayName(MAX_PATH, L'\0');
  request_.pszDisplayName = displayName.data();

  LPITEMIDLIST chosen;
  {
    TApplication::ModalScope modal(Application);
    chosen = SHBrowseForFolderW(&request_);
  }
  request_.pszDisplayName = nullptr;
  request_.lParam = 0;
  if (!chosen) return false;
  UniqueItemIdList owned(chosen);
  folderName_ = FileSystemPath(chosen);
  displayName_ = displayName.data();
  return true;
}
