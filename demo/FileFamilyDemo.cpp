// FileFamilyDemo: a compact file manager made of the file-list family. The directory tree on the
// left, the drop-down tree above the file list on the right; both trees drive the list, and a
// choice in one tree is shown in the other. A file chosen in the tree's "Folder Contents" window
// is named in the form's caption. Starts in the folder named on the command line, or in the
// current folder.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "filelist/OvDirTree21.h"
#include "filelist/OvDirTreeCombo28.h"
#include "filelist/OvFilelistView28.h"
#include "framework/Application.h"
#include "framework/Form.h"

namespace {

constexpr int kMargin = 6;
constexpr int kTreeWidth = 260;
constexpr int kComboHeight = 21;

class TFileFamilyForm : public TForm {
 public:
  explicit TFileFamilyForm(TComponent* owner) : TForm(owner) {
    SetCaption(L"File family demo");
    SetPosition(TPosition::poScreenCenter);
    SetBounds(60, 60, 900, 560);

    tree_ = new TOvDirTree21(this);
    tree_->SetParent(this);
    combo_ = new TOvDirTreeCombo28(this);
    combo_->SetParent(this);
    list_ = new TOvFilelistView28(this);
    list_->SetParent(this);
    list_->SetViewStyle(TViewStyle::vsReport);
    list_->SetShowFolders(true);
    combo_->SetFileList(list_);
    tree_->SetFileList(list_);
    // A choice in one tree is shown in the other (the guard stops the echo coming back).
    tree_->OnDirChange = [this](TObject*, const std::wstring& path) { Follow(path, [this](const std::wstring& p) { combo_->SelectPath(p); }); };
    combo_->OnPathChange = [this](TObject*, const std::wstring& path) { Follow(path, [this](const std::wstring& p) { tree_->SelectPath(p); }); };
    tree_->OnFileChange = [this](TObject*, const std::wstring& file) {
      SetCaption(file.empty() ? std::wstring(L"File family demo") : L"File family demo - " + file);
    };

    OnResize = [this](TObject*) { Arrange(); };
    OnShow = [this](TObject*) { Start(); };
    Arrange();
  }

 private:
  template <class Show>
  void Follow(const std::wstring& path, Show show) {
    if (following_) return;
    following_ = true;
    struct Reset {
      bool& flag;
      ~Reset() { flag = false; }
    } reset{following_};
    show(path);
  }

  void Arrange() {
    int width = ClientWidth(), height = ClientHeight();
    tree_->SetBounds(kMargin, kMargin, kTreeWidth, height - 2 * kMargin);
    int right = kMargin + kTreeWidth + kMargin;
    combo_->SetBounds(right, kMargin, width - right - kMargin, kComboHeight);
    int listTop = kMargin + kComboHeight + kMargin;
    list_->SetBounds(right, listTop, width - right - kMargin, height - listTop - kMargin);
  }

  void Start() {
    Arrange();  // the window exists now: its real client area, inside the frame
    std::wstring start = StartFolder();
    tree_->SelectPath(start);
    combo_->SelectPath(start);
    list_->SetDirectory(start);
  }

  static std::wstring StartFolder() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring folder;
    if (arguments && count > 1) folder = arguments[1];
    if (arguments) LocalFree(arguments);
    return folder.empty() ? FileOperations::CurrentDirectory() : folder;
  }

  TOvDirTree21* tree_ = nullptr;        // owned by the form
  TOvDirTreeCombo28* combo_ = nullptr;  // owned by the form
  TOvFilelistView28* list_ = nullptr;   // owned by the form
  bool following_ = false;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  TApplication application;
  application.Initialize();
  application.SetTitle(L"File family demo");
  application.CreateForm<TFileFamilyForm>();
  application.Run();
  return 0;
}
