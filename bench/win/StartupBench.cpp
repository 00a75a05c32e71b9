// Where the start-up time goes. Each case runs in a fresh process (this program started again
// with "--child"), so that Wine's own start-up is in every figure: a bare window of the main
// window's size is the yardstick, then the main window started from an empty folder, from a
// folder of 23 filters and from one of 20,000 (in the icon view and with the small-icon view
// stored). Times count from the creation of the process.
// Usage: StartupBench DATA_FOLDER   (with subfolders app\0, app\23, app\20000)
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/Form1.h"
#include "filelist/ShellImageWarmUp.h"
#include "framework/Application.h"
#include "framework/Handles.h"
#include "settings/SettingsFile.h"

namespace {

// Milliseconds since this process was created.
double SinceStart() {
  FILETIME creation, exitTime, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &creation, &exitTime, &kernel, &user);
  GetSystemTimePreciseAsFileTime(&now);
  auto value = [](const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return static_cast<double>(value(now) - value(creation)) / 10000.0;
}

// Handles what is waiting, then answers once the queue is empty: the window answers input.
void UntilIdle() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

int BareWindow(std::FILE* out) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = DefWindowProcW;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"BareBenchWindow";
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  RegisterClassW(&cls);
  HWND window = CreateWindowExW(0, cls.lpszClassName, L"Bare", WS_OVERLAPPEDWINDOW, 386, 254, 615, 549, nullptr, nullptr,
                                cls.hInstance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  UntilIdle();
  std::fprintf(out, "%.1f\n", SinceStart());
  DestroyWindow(window);
  return 0;
}

// What the shell's system image lists cost in a fresh process: the first fetch of one size (the
// shell builds its lists then), then the other size.
int ImageLists(std::FILE* out, bool largeFirst) {
  double times[3];
  times[0] = SinceStart();
  for (int i = 0; i < 2; ++i) {
    shell_image_warm_up::SystemImages((i == 0) == largeFirst);
    times[i + 1] = SinceStart();
  }
  std::fprintf(out, "%.1f %.1f\n", times[1] - times[0], times[2] - times[1]);
  return 0;
}

constexpr int kPhases = 7;

// The phases of the main window's start, as the program's entry runs them (the form is made in
// two steps here, so that its layout and its first read of the folder are timed apart).
int MainWindow(std::FILE* out) {
  double phases[kPhases];
  phases[0] = SinceStart();
  TForm1::StartWarmUp();
  TApplication application;
  application.Initialize();
  phases[1] = SinceStart();
  TForm1* form = new TForm1(&application);  // layout and skin; owned by the application
  phases[2] = SinceStart();
  form->DoCreate();  // both lists read
  phases[3] = SinceStart();
  form->Show();  // stored settings restored
  phases[4] = SinceStart();
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  phases[5] = SinceStart();
  UntilIdle();
  phases[6] = SinceStart();
  for (double phase : phases) std::fprintf(out, "%.1f ", phase);
  std::fprintf(out, "%d\n", form->ListOn->EntryCount());
  return 0;
}

// Runs this program with `arguments` in `folder` and answers the line it wrote.
std::string RunChild(const std::wstring& arguments, const std::wstring& folder, const std::wstring& resultFile) {
  DeleteFileW(resultFile.c_str());
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" " + arguments + L" \"" + resultFile + L"\"";
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &process))
    return {};
  UniqueKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
  WaitForSingleObject(process.hProcess, 120000);
  std::FILE* in = _wfopen(resultFile.c_str(), L"r");
  if (!in) return {};
  char line[256] = {};
  std::fgets(line, sizeof(line), in);
  std::fclose(in);
  return line;
}

void WriteSettings(const std::wstring& folder, const wchar_t* viewStyle) {
  std::wstring file = folder + L"Brenvale.ini";
  DeleteFileW(file.c_str());
  if (!viewStyle) return;
  WritePrivateProfileStringW(L"Settings", L"ListOn_ViewStyle", viewStyle, file.c_str());
  WritePrivateProfileStringW(L"Settings", L"ListOff_ViewStyle", viewStyle, file.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 4 && std::wstring(argv[1]) == L"--child") {
    std::FILE* out = _wfopen(argv[3], L"w");
    if (!out) return 1;
    int result = 0;
    if (std::wstring(argv[2]) == L"bare") {
      result = BareWindow(out);
    } else if (std::wstring(argv[2]) == L"images-large" || std::wstring(argv[2]) == L"images-small") {
      result = ImageLists(out, std::wstring(argv[2]) == L"images-large");
    } else {
      wchar_t settings[MAX_PATH * 2];
      if (GetEnvironmentVariableW(L"BRENVALE_SETTINGS_FOLDER", settings, MAX_PATH * 2)) settings_file::SetFolder(settings);
      result = MainWindow(out);
    }
    std::fclose(out);
    return result;
  }
  if (argc < 2) {
    std::printf("usage: StartupBench DATA_FOLDER\n");
    return 2;
  }
  std::wstring data = argv[1];
  if (data.back() != L'\\') data += L'\\';
  std::wstring settings = data + L"settings-startup\\";
  CreateDirectoryW(settings.c_str(), nullptr);
  SetEnvironmentVariableW(L"BRENVALE_SETTINGS_FOLDER", settings.c_str());
  std::wstring result = data + L"startup-result.txt";

  // The image lists first, a few runs each.
  const int imageRuns = 3;
  for (const wchar_t* order : {L"images-large", L"images-small"}) {
    double first = 1e18, second = 1e18;
    for (int i = 0; i < imageRuns; ++i) {
      std::istringstream line(RunChild(std::wstring(L"--child ") + order, data, result));
      double a = 0, b = 0;
      if (line >> a >> b && a < first) first = a, second = b;
    }
    bool large = std::wstring(order) == L"images-large";
    std::printf("shell image lists in a fresh process: first the %s one %.1f ms, then the %s one %.1f ms (best of %d)\n",
                large ? "large" : "small", first, large ? "small" : "large", second, imageRuns);
  }
  struct Case {
    const char* name;
    const wchar_t* folder;
    const wchar_t* viewStyle;
  };
  const Case cases[] = {{"empty folder", L"0", nullptr},
                        {"23 filters", L"23", nullptr},
                        {"20,000 filters, icon view", L"20000", nullptr},
                        {"20,000 filters, small icons", L"20000", L"vsSmallIcon"}};
  constexpr int kCases = static_cast<int>(std::size(cases));
  const int last = kPhases - 1;
  // Rounds of the bare window and every case in turn, so that a busy spell of the machine falls
  // on all of them alike; each keeps its best run (by the idle time).
  const int rounds = 5;
  double bare = 1e18;
  double best[kCases][kPhases];
  int rows[kCases];
  for (int c = 0; c < kCases; ++c) {
    std::fill(std::begin(best[c]), std::end(best[c]), 1e18);
    rows[c] = -1;
  }
  for (int round = 0; round < rounds; ++round) {
    std::istringstream bareLine(RunChild(L"--child bare", data, result));
    double t = 0;
    if (bareLine >> t) bare = std::min(bare, t);
    for (int c = 0; c < kCases; ++c) {
      WriteSettings(settings, cases[c].viewStyle);
      std::istringstream line(RunChild(L"--child main", data + L"app\\" + cases[c].folder + L"\\", result));
      double phases[kPhases];
      for (double& phase : phases) line >> phase;
      if (!(line >> rows[c])) continue;
      if (phases[last] < best[c][last]) std::copy(std::begin(phases), std::end(phases), best[c]);
    }
  }
  std::printf("bare window of the same size, painted and idle: %.1f ms (best of %d)\n", bare, rounds);
  std::printf("%-30s %9s %9s %9s %9s %9s %9s %9s %8s %8s\n", "main window (ms from process start)", "entry", "app init",
              "layout", "lists", "shown", "painted", "idle", "x bare", "rows");
  double emptyIdle = -1;
  for (int c = 0; c < kCases; ++c) {
    if (best[c][last] >= 1e18) {
      std::printf("%-30s did not start\n", cases[c].name);
      continue;
    }
    std::printf("%-30s", cases[c].name);
    for (double phase : best[c]) std::printf(" %9.1f", phase);
    std::printf(" %8.2f %8d", best[c][last] / bare, rows[c]);
    // The program's own part of a start with many filters: what it takes beyond an empty folder.
    if (emptyIdle < 0) emptyIdle = best[c][last];
    else std::printf("   (+%.1f over the empty folder)", best[c][last] - emptyIdle);
    std::printf("\n");
  }
  std::printf("(each figure is when that phase ended: \"layout\" the window's layout and skin, \"lists\" the\n"
              " first read of both lists, \"shown\" the stored settings restored; best run of %d by the idle time)\n", rounds);
  WriteSettings(settings, nullptr);
  return 0;
}
