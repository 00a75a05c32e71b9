// FileFamilyDemo: a compact file manager made of the file-list family. The directory tree on the
// left, the drop-down tree above the file list on the right; both trees drive the list, and a
// choice in one tree is shown in the other. Starts in the folder named on the command line, or
// in the current folder.
#include <windows.h>
#include <shellapi.h>

#include <string>

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

    combo_ = new TOvDirTreeCombo28(this);
    combo_->SetParent(this);
    list_ = new TOvFilelistView28(this);
    list_->SetParent(this);
    list_->SetViewStyle(TViewStyle::vsReport);
    list_->SetShowFolders(true);
    combo_->SetFileList(list_);

    OnResize = [this](TObject*) { Arrange(); };
    OnShow = [this](TObject*) { Start(); };
    Arrange();
  }

 private:
  void Arrange() {
    int width = ClientWidth(), height = ClientHeight();
    int right = kMargin + kTreeWidth + kMargin;
    combo_->SetBounds(right, kMargin, width - right - kMargin, kComboHeight);
    int listTop = kMargin + kComboHeight + kMargin;
    list_->SetBounds(right, listTop, width - right - kMargin, height - listTop - kMargin);
  }

  void Start() {
    std::wstring start = StartFolder();
    combo_->SelectPath(start);
    list_->SetDirectory(start);
  }

  static std::wstring StartFolder() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring folder;
    if (arguments && count > 1) folder = arguments[1];
    if (arguments) LocalFree(arguments);
    if (folder.empty()) {
      wchar_t current[MAX_PATH] = {};
      GetCurrentDirectoryW(MAX_PATH, current);
      folder = current;
    }
    return folder;
  }

  TOvDirTreeCombo28* combo_ = nullptr;  // owned by the form
  TOvFilelistView28* list_ = nullptr;   // owned by the form
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
