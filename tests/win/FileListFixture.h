// A file list on a form over a temporary folder, for the file-list window tests: message boxes
// are recorded and answered, the process's current directory is given back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filelist/OvFilelistView28.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "tests/win/WinTestSupport.h"

namespace wintest {

inline std::wstring CurrentDirectory() {
  wchar_t buffer[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, buffer);
  return buffer;
}

class FileListFixture : public testing::Test {
 protected:
  void SetUp() override {
    Application->OnMessageDialog = [this](const std::wstring& text, UINT) {
      messages.push_back(text);
      int answer = answers.empty() ? IDNO : answers.front();
      if (!answers.empty()) answers.erase(answers.begin());
      if (duringQuestion) duringQuestion();
      return answer;
    };
    RecordedErrors().clear();
    form.reset(new TForm(nullptr));
    form->SetBounds(100, 100, 640, 480);
    list = AddList(10, 10, 600, 420);
    form->Show();
    Pump();
  }
  void TearDown() override {
    Application->OnMessageDialog = nullptr;
    EXPECT_EQ(RecordedErrors(), std::vector<std::wstring>{});
  }

  // Another list on the form, in report view without folders.
  TOvFilelistView28* AddList(int left, int top, int width, int height) {
    auto* added = new TOvFilelistView28(form.get());
    added->SetParent(form.get());
    added->SetBounds(left, top, width, height);
    added->SetShowFolders(false);
    return added;
  }
  HWND ListWindow() const { return list->Handle(); }
  // Gives the list the keyboard focus and makes the row its only selected one.
  void Select(int index, TOvFilelistView28* target = nullptr) {
    if (!target) target = list;
    target->SetFocus();
    ListView_SetItemState(target->Handle(), -1, 0, LVIS_SELECTED);
    target->SelectItem(index, true);
    Pump(20);
  }
  std::vector<std::wstring> Rows(TOvFilelistView28* target = nullptr) {
    if (!target) target = list;
    std::vector<std::wstring> rows;
    int count = static_cast<int>(SendMessageW(target->Handle(), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) rows.push_back(ListItemText(target->Handle(), i));
    return rows;
  }

  // The folder outlives the scope that gives the process its old current directory back: a
  // folder that is some process's current directory cannot be removed.
  TempFolder folder;
  CurrentDirectoryScope keepCwd{CurrentDirectory()};
  ComponentPtr<TForm> form;
  TOvFilelistView28* list = nullptr;     // owned by the form
  std::vector<std::wstring> messages;    // texts of the message boxes, in order
  std::vector<int> answers;              // the buttons "pressed" in them (IDNO when none is left)
  std::function<void()> duringQuestion;  // runs while a box is open
};

}  // namespace wintest
