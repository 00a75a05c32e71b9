// Times what the user waits for in the main window, in process: a switch (the click on
// "Switch OFF" until both lists are rebuilt and painted) in folders of 100, 1,000, 10,000 and
// 20,000 filters, with the filter picked from the middle of the list (scrolled to it) and from
// its first screenful, and the view-style buttons with 20,000 filters.
// Usage: AppBench DATA_FOLDER [FILTERS ROUNDS]   (with subfolders app\100 ... app\20000; see
// make-filelist-data.sh). With FILTERS and ROUNDS, only that folder is switched, ROUNDS times
// each way, and the view styles are left out: a run to look at under a profiler.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "framework/Application.h"
#include "settings/SettingsFile.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Best(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

// Both lists painted, and whatever the click left in the queue handled.
void Painted(TForm1& form) {
  RedrawWindow(form.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  Application->ProcessMessages();
}

// Selects row `index` of `list` as a click on it would (scrolled into sight) and answers its
// caption.
std::wstring Pick(TOvFilelistView28* list, int index) {
  list->SelectItem(index, true);
  ListView_EnsureVisible(list->Handle(), index, FALSE);
  list->ClickSequence();
  return list->SelectedCaption();
}

// One click on a view-style button, until both lists are redrawn.
double ViewChange(TForm1& form, TsButton* button) {
  auto start = Clock::now();
  button->Click();
  Painted(form);
  return Milliseconds(start);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: AppBench DATA_FOLDER\n");
    return 2;
  }
  std::wstring data = argv[1];
  std::vector<int> sizes{100, 1000, 10000, 20000};
  int rounds = 6;
  if (argc >= 4) {
    sizes = {_wtoi(argv[2])};
    rounds = std::max(2, _wtoi(argv[3]));
  }
  if (data.back() != L'\\') data += L'\\';
  // The benchmark's own settings file: the user's stays untouched, and every run starts from
  // the stored defaults.
  std::wstring settings = data + L"settings-app\\";
  CreateDirectoryW(settings.c_str(), nullptr);
  DeleteFileW((settings + L"Brenvale.ini").c_str());
  settings_file::SetFolder(settings);

  TApplication application;
  application.Initialize();
  std::wstring first = data + L"app\\100\\";
  SetCurrentDirectoryW(first.c_str());
  TForm1* form = application.CreateForm<TForm1>();
  form->Show();
  Painted(*form);

  std::printf("%-10s %24s %24s %16s\n", "filters", "switch OFF ms (middle)", "switch OFF ms (first)", "switch ON ms");
  for (int filters : sizes) {
    std::wstring folder = data + L"app\\" + std::to_wstring(filters) + L"\\";
    SetCurrentDirectoryW(folder.c_str());
    form->ListOn->SetDirectory(folder);
    form->ListOff->SetDirectory(folder);
    Painted(*form);
    if (form->ListOn->EntryCount() != filters || form->ListOff->EntryCount() != 0) {
      std::printf("%d: the folder holds %d and %d entries; run make-filelist-data.sh first\n", filters,
                  form->ListOn->EntryCount(), form->ListOff->EntryCount());
      continue;
    }
    std::vector<double> off, offFirst, on;
    for (int round = 0; round < rounds; ++round) {
      // Odd rounds pick a filter of the first screenful, so that the list stays where it is.
      const bool first = round % 2 == 1;
      std::wstring caption = Pick(form->ListOn, first ? 3 : filters / 2);
      auto start = Clock::now();
      form->sButtonOff->Click();
      Painted(*form);
      (first ? offFirst : off).push_back(Milliseconds(start));
      // And back, so the folder is the same for the next round (and the next run).
      Pick(form->ListOff, 0);
      start = Clock::now();
      form->sButtonOn->Click();
      Painted(*form);
      on.push_back(Milliseconds(start));
      if (form->ListOff->EntryCount() != 0) std::printf("%d: a switch did not come back (%ls)\n", filters, caption.c_str());
    }
    std::printf("%-10d %24.1f %24.1f %16.1f\n", filters, Median(off), Median(offFirst), Median(on));
  }

  if (argc >= 4) return 0;
  std::wstring big = data + L"app\\20000\\";
  SetCurrentDirectoryW(big.c_str());
  form->ListOn->SetDirectory(big);
  form->ListOff->SetDirectory(big);
  Painted(*form);
  std::vector<double> toList, toIcon;
  for (int round = 0; round < 2; ++round) {
    toList.push_back(ViewChange(*form, form->ListBtn));
    toIcon.push_back(ViewChange(*form, form->IconBtn));
  }
  std::printf("view style with %d filters: \"List View\" %.1f ms, \"Icon View\" %.1f ms (best of 2)\n",
              form->ListOn->EntryCount(), Best(toList), Best(toIcon));
  return 0;
}
