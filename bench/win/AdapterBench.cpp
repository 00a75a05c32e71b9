// Times the window adapters of the main window's file lists over 200 filters in small icons:
// painting both scroll bars, rebuilding the border picture, and one line of scrolling through
// the list's bar (the list scrolls, then the bar is painted again), and
// that line on the platform's own bar with the skin removed.
// Usage: AdapterBench [DATA_FOLDER]   (the folder is not used; the files go to a temporary one)
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "adapters/vlEditWnd.h"
#include "app/Form1.h"
#include "bench/win/BenchMainWindow.h"
#include "bench/win/BenchSupport.h"
#include "framework/Application.h"
#include "skin/SkinCommands.h"

namespace {

using bench::Median;
using bench::Pump;

std::wstring MakeFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  std::wstring folder = std::wstring(base) + L"AdapterBench" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  for (int i = 0; i < 200; ++i) {
    wchar_t name[32];
    swprintf(name, 32, L"Filter%03d.8bf", i);
    HANDLE file = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  return folder;
}

void RemoveFolder(const std::wstring& folder) {
  for (int i = 0; i < 200; ++i) {
    wchar_t name[32];
    swprintf(name, 32, L"Filter%03d.8bf", i);
    DeleteFileW((folder + name).c_str());
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

int wmain() {
  std::wstring folder = MakeFolder();
  SetCurrentDirectoryW(folder.c_str());
  {
    bench::ShownMainWindow main;
    ComponentPtr<TForm1>& form = main.form;
    form->ListOn->SetViewStyle(TViewStyle::vsSmallIcon);
    Pump();
    HWND list = form->ListOn->Handle();
    auto* adapter = dynamic_cast<TvlEditWnd*>(TvlMainWnd::FromWindow(list));
    if (!adapter) {
      std::printf("the list has no adapter\n");
      return 1;
    }
    RECT r;
    GetWindowRect(list, &r);
    double bars = Median(50, [&] { adapter->PaintScrollBars(); });
    double border = Median(50, [&] { SendMessageW(list, SM_LACQUERCMD, SkinCommandParam(23), 0); });
    double nonClient = Median(50, [&] {
      SendMessageW(list, SM_LACQUERCMD, SkinCommandParam(23), 0);
      SendMessageW(list, WM_NCPAINT, 1, 0);
    });
    auto lineDownAndUp = [&] {
      SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
      SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), 0);
    };
    double line = Median(50, lineDownAndUp) / 2;
    int barPaints = adapter->BarPaints();
    Pump();
    // The same scrolling on the platform's own bar, the skin removed.
    form->sSkinManager1->SetActive(false);
    Pump();
    double plainLine = Median(50, lineDownAndUp) / 2;
    Pump();
    std::printf("list %ld x %ld, vertical bar %s: paint both bars %6.3f ms, rebuild border %6.3f ms, "
                "rebuild and paint border and bars %6.3f ms, one line scrolled and bar repainted %6.3f ms (%d bar paints); "
                "one line on the platform's bar without the skin %6.3f ms\n",
                r.right - r.left, r.bottom - r.top, adapter->VertBar().Shown ? "shown" : "hidden", bars, border, nonClient,
                line, barPaints, plainLine);
  }
  SetCurrentDirectoryW(L"C:\\");
  RemoveFolder(folder);
  return 0;
}
