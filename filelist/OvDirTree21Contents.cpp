// See OvDirTree21Contents.h.
#include "filelist/OvDirTree21Contents.h"

#include <commctrl.h>
#include <shellapi.h>

#include "filelist/FindFileEnumerator.h"
#include "framework/Color.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "framework/Strings.h"

// The list of files: the platform's list view in list style, sorted by caption, showing the
// shell's small icons.
class TOvDirTree21Contents::FileListBox : public TWinControl {
 public:
  using TWinControl::TWinControl;
  std::function<void()> onDoubleClick;

 protected:
  void CreateParams(CreateParamsRecord& p) override {
    TWinControl::CreateParams(p);
    p.superclassOf = WC_LISTVIEWW;
    p.windowClassName = L"TOvDirTree21ContentsList";
    p.style |= LVS_LIST | LVS_SORTASCENDING | LVS_SHAREIMAGELISTS | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == NM_DBLCLK) {
      if (onDoubleClick) onDoubleClick();
      m.Result = 0;
      return;
    }
    TWinControl::WndProc(m);
  }
};

// The OK button: the platform's push button.
class TOvDirTree21Contents::OkButton : public TWinControl {
 public:
  using TWinControl::TWinControl;
  std::function<void()> onClick;

 protected:
  void CreateParams(CreateParamsRecord& p) override {
    TWinControl::CreateParams(p);
    p.superclassOf = L"BUTTON";
    p.windowClassName = L"TOvDirTree21ContentsButton";
    p.style |= BS_PUSHBUTTON;
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
      if (onClick) onClick();
      m.Result = 0;
      return;
    }
    TWinControl::WndProc(m);
  }
};

TOvDirTree21Contents::TOvDirTree21Contents(TComponent* owner, const std::wstring& folder, const std::wstring& caption)
    : TCustomControl(owner), folder_(bv::IncludeTrailingBackslash(folder)) {
  SetCaption(caption);
  SetAlign(TAlign::alClient);

  panel_ = new TCustomControl(this);
  panel_->SetParent(this);
  panel_->SetBounds(0, 0, 60, 22);
  panel_->SetAlign(TAlign::alBottom);

  ok_ = new OkButton(this);
  ok_->SetParent(panel_);
  ok_->SetCaption(L"&OK");
  ok_->SetTabStop(true);
  ok_->SetBounds(0, 0, 60, 22);
  ok_->SetAlign(TAlign::alRight);
  ok_->onClick = [this] {
    if (OnOk) OnOk(ChosenFile());
  };

  list_ = new FileListBox(this);
  list_->SetParent(this);
  list_->SetTabStop(true);
  list_->SetAlign(TAlign::alClient);
  list_->onDoubleClick = [this] {
    std::wstring file = ChosenFile();
    if (!file.empty() && OnOpenFile) OnOpenFile(file);
  };
}

TOvDirTree21Contents::~TOvDirTree21Contents() = default;

void TOvDirTree21Contents::CreateParams(CreateParamsRecord& p) {
  TCustomControl::CreateParams(p);
  // A tool-window caption and a thin border, without a system menu and so without border icons.
  p.style |= WS_CAPTION;
  p.exStyle |= WS_EX_TOOLWINDOW;
  p.windowClassName = L"TOvDirTree21Contents";
}

void TOvDirTree21Contents::CreateWindowDone() {
  TCustomControl::CreateWindowDone();
  // Above every other child of the tree.
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  FillList();
}

void TOvDirTree21Contents::FillList() {
  HWND list = list_->Handle();
  SHFILEINFOW info{};
  auto images = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (images) ListView_SetImageList(list, images, LVSIL_SMALL);
  COLORREF back = PlainColor(Color()), text = PlainColor(Font()->Color());
  ListView_SetBkColor(list, back);
  ListView_SetTextBkColor(list, back);
  ListView_SetTextColor(list, text);

  std::vector<std::wstring> names;
  FindFileEnumerator enumerator;
  UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  enumerator.Enumerate(folder_ + L"*", [&](const FoundItem& item) {
    if (!(item.attributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(item.name);
  });
  SetErrorMode(previous);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  for (const std::wstring& name : names) {
    SHFILEINFOW icon{};
    SHGetFileInfoW((folder_ + name).c_str(), 0, &icon, sizeof(icon), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<wchar_t*>(name.c_str());
    item.iImage = icon.iIcon;
    ListView_InsertItem(list, &item);
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

std::wstring TOvDirTree21Contents::ItemName(int index) {
  if (index < 0) return {};
  wchar_t name[MAX_PATH] = {};
  ListView_GetItemText(ListWindow(), index, 0, name, MAX_PATH);
  return name;
}

std::vector<std::wstring> TOvDirTree21Contents::FileNames() {
  std::vector<std::wstring> names;
  int count = ListView_GetItemCount(ListWindow());
  for (int i = 0; i < count; ++i) names.push_back(ItemName(i));
  return names;
}

std::wstring TOvDirTree21Contents::ChosenFile() {
  std::wstring name = ItemName(ListView_GetNextItem(ListWindow(), -1, LVNI_SELECTED));
  return name.empty() ? name : folder_ + name;
}

HWND TOvDirTree21Contents::ListWindow() { return list_->Handle(); }

HWND TOvDirTree21Contents::OkButtonWindow() { return ok_->Handle(); }
