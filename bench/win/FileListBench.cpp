// Times a file list's rebuild on folders of 1,000, 10,000 and 100,000 files against a bare
// FindFirstFile/FindNextFile loop over the same folder, and reports the memory the entries take.
// Three figures per folder: the entry model alone (scan, texts, sort), UpdateFileList on a list
// that is not shown, and UpdateFileList on a shown list (which also paints the visible rows and
// fetches their shell icons).
// Usage: FileListBench DATA_FOLDER   (with subfolders 1000, 10000, 100000; see make-filelist-data.sh)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

#include "filelist/FindFileEnumerator.h"
#include "filelist/LocaleServices.h"
#include "filelist/OvFilelistView28.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Handles.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

// The bytes an entry array holds: its records and the texts that do not fit inside them (the
// names apart, as `names`; texts shared by many entries count once).
size_t EntryBytes(const FileListModel& model, size_t& names) {
  // The remembered name order (a print per entry) counts with the entries.
  size_t bytes = model.Entries().capacity() * sizeof(TFileInfo) + model.RememberedOrderBytes();
  auto text = [](const std::wstring& s) { return s.capacity() > 7 ? (s.capacity() + 1) * sizeof(wchar_t) : 0; };
  names = 0;
  const std::wstring* folder = nullptr;
  for (const TFileInfo& e : model.Entries()) {
    names += text(e.EntryName);
    if (e.EntryFolder && e.EntryFolder.get() != folder) bytes += text(*(folder = e.EntryFolder.get())) + 16;
  }
  return bytes;
}

size_t PeakBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PeakPagefileUsage;
}

// The best of `times` runs: the time of run(), or what run() answers when it times a part itself.
template <class F>
double Best(F run, int times) {
  double best = 1e18;
  for (int i = 0; i < times; ++i) {
    auto start = Clock::now();
    if constexpr (std::is_same_v<decltype(run()), double>) best = std::min(best, run());
    else {
      run();
      best = std::min(best, Milliseconds(start));
    }
  }
  return best;
}

struct Breakdown {
  int files;
  double enumeration, scan, order, firstOrder;
};

int BareLoop(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  int count = 0;
  UniqueFindHandle find(FindFirstFileW((folder + L"*.8bf").c_str(), &data));
  if (find) {
    do ++count;
    while (FindNextFileW(find.get(), &data));
  }
  return count;
}

TOvFilelistView28* MakeList(TForm* form) {
  auto* list = new TOvFilelistView28(form);
  list->SetParent(form);
  list->SetBounds(0, 0, 620, 440);
  list->SetShowFolders(false);
  list->SetHideFileExt(true);
  list->SetViewStyle(TViewStyle::vsIcon);
  list->SetMask(L"*.8bf");
  return list;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: FileListBench DATA_FOLDER\n");
    return 2;
  }
  std::wstring data = argv[1];
  if (data.back() != L'\\') data += L'\\';
  TApplication application;
  application.Initialize();
  ComponentPtr<TForm> shown(new TForm(nullptr));
  shown->SetBounds(0, 0, 640, 480);
  TOvFilelistView28* visible = MakeList(shown.get());
  shown->Show();
  ComponentPtr<TForm> hidden(new TForm(nullptr));
  TOvFilelistView28* invisible = MakeList(hidden.get());

  FindFileEnumerator enumerator;
  LocaleTextComparer comparer;
  std::printf("%-8s %10s %10s %12s %12s %8s %8s %12s %12s %10s\n", "files", "bare ms", "model ms", "hidden ms", "shown ms",
              "hidden x", "shown x", "entries MB", "B/entry-name", "peak MB");
  std::vector<Breakdown> breakdown;
  for (int files : {1000, 10000, 100000}) {
    std::wstring folder = data + std::to_wstring(files) + L"\\";
    // Best of more runs where a run is short: this machine's noise is a larger share of it.
    const int runs = files >= 100000 ? 3 : 7;
    int count = BareLoop(folder);
    if (count != files) {
      std::printf("%d: found %d files in %ls; run make-filelist-data.sh first\n", files, count, folder.c_str());
      continue;
    }
    int64_t offset = locale_services::CurrentLocalOffset();
    FileListModel model({&enumerator, &comparer, [offset](uint64_t t) {
                           filelist::CalendarTime c = filelist::CalendarFromFileTime(static_cast<uint64_t>(static_cast<int64_t>(t) + offset));
                           return filelist::FormatDateTime(L"M/d/yyyy h:mm AMPM", c, locale_services::UserLocaleData());
                         }});
    double modelTime = Best([&] {
      model.Clear();
      model.ScanFolder(folder, L"*.8bf", {TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftSystem, TFileAttr::ftArchive},
                       false, true);
      model.FinishRebuild(5);
    }, runs);
    // Where the model's time goes: the enumeration alone (as the model asks for it), the scan
    // into entries, and the name order of the rebuild's final step.
    int found = 0;
    double enumeration = Best([&] {
      found = 0;
      enumerator.Enumerate(folder + L"*.8bf", [&](const FoundItem&) { ++found; });
    }, runs);
    const TFileType types{TFileAttr::ftReadOnly, TFileAttr::ftHidden, TFileAttr::ftSystem, TFileAttr::ftArchive};
    double scan = Best([&] {
      model.Clear();
      model.ScanFolder(folder, L"*.8bf", types, false, true);
    }, runs);
    double order = Best([&] {
      model.Clear();
      model.ScanFolder(folder, L"*.8bf", types, false, true);
      auto start = Clock::now();
      model.FinishRebuild(5);
      return Milliseconds(start);
    }, runs);
    size_t names = 0;
    size_t entriesBytes = EntryBytes(model, names);
    TFlieInfoArr().swap(model.Entries());  // the memory too, before the lists fill theirs
    // The name order for a model that has not read the folder before: it compares every name
    // with the one before it, where a model reading the folder again compares only around what
    // changed. (After the model above gave its memory back, so as not to raise the peak.)
    double firstOrder = Best([&] {
      FileListModel first({&enumerator, &comparer, nullptr});
      first.ScanFolder(folder, L"*.8bf", types, false, true);
      auto start = Clock::now();
      first.FinishRebuild(5);
      return Milliseconds(start);
    }, runs);
    breakdown.push_back({files, enumeration, scan, order, firstOrder});
    invisible->SetDirectory(folder);
    visible->SetDirectory(folder);
    // The bare loop and both lists in turn, round by round, so that a busy spell of the machine
    // falls on all three alike; each keeps its best run.
    double bare = 1e18, hiddenTime = 1e18, shownTime = 1e18;
    for (int round = 0; round < runs; ++round) {
      bare = std::min(bare, Best([&] { BareLoop(folder); }, 1));
      hiddenTime = std::min(hiddenTime, Best([&] { invisible->UpdateFileList(); }, 1));
      shownTime = std::min(shownTime, Best([&] {
                             visible->UpdateFileList();
                             UpdateWindow(visible->Handle());
                           }, 1));
    }
    std::printf("%-8d %10.1f %10.1f %12.1f %12.1f %8.2f %8.2f %12.1f %12.0f %10.1f\n", files, bare, modelTime, hiddenTime,
                shownTime, hiddenTime / bare, shownTime / bare, (entriesBytes + names) / 1048576.0,
                static_cast<double>(entriesBytes) / files, PeakBytes() / 1048576.0);
  }
  std::printf("\nthe model's part (ms): enumeration through the model's service, scan into entries (with it), name order\n"
              "(the folder read again, and read for the first time)\n");
  for (const Breakdown& b : breakdown)
    std::printf("%-8d %10.1f %10.1f %10.1f %10.1f\n", b.files, b.enumeration, b.scan, b.order, b.firstOrder);
  return 0;
}
