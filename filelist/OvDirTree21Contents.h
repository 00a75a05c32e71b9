// TOvDirTree21Contents: the directory tree's "Folder Contents" window. It is docked inside the
// tree (a child filling the tree's client area, with a tool-window caption and no border icons)
// and lists the plain files of one folder, sorted by name, with their small shell icons, in the
// tree's colours; a 22-pixel panel at the bottom holds the OK button at its right. A double
// click and the OK button are handed to the tree, which decides what they do.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/Control.h"

class TOvDirTree21Contents : public TCustomControl {
 public:
  // Lists the files of `folder` (with or without its trailing backslash) under `caption`.
  TOvDirTree21Contents(TComponent* owner, const std::wstring& folder, const std::wstring& caption);
  ~TOvDirTree21Contents() override;

  const std::wstring& Folder() const { return folder_; }
  // The listed file names in list order.
  std::vector<std::wstring> FileNames();
  // The chosen (selected) file's full path, empty when none is chosen.
  std::wstring ChosenFile();
  HWND ListWindow();
  HWND OkButtonWindow();
  // The list's help text. The framework shows no hints yet, so it is only kept here.
  const std::wstring& ListHint() const { return listHint_; }
  void SetListHint(const std::wstring& hint) { listHint_ = hint; }

  // A file was double-clicked (its full path); the OK button was pressed (the chosen file's
  // full path, empty when none is chosen).
  std::function<void(const std::wstring&)> OnOpenFile;
  std::function<void(const std::wstring&)> OnOk;

 protected:
  void CreateParams(CreateParamsRecord& params) override;
  void CreateWindowDone() override;

 private:
  class FileListBox;
  class OkButton;
  void FillList();
  // The caption of a row (a file name), empty for -1.
  std::wstring ItemName(int index);

  std::wstring folder_;  // with its trailing backslash
  std::wstring listHint_ = L"LeftClick - Select\rDblClick  - Open";
  TCustomControl* panel_ = nullptr;  // owned by this window as a component
  FileListBox* list_ = nullptr;      // owned by this window as a component
  OkButton* ok_ = nullptr;           // owned by this window as a component
};
