// See RemoteApp.h.
#include "tests/e2e/RemoteApp.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tests/win/WinTestSupport.h"

namespace e2e {

namespace {

// Memory in another process for a message that passes a pointer.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size)
      : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  void* Address() const { return address_; }
  void Write(const void* data, size_t size, size_t offset = 0) const {
    WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
  }
  void Read(void* data, size_t size, size_t offset = 0) const {
    ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
  }

 private:
  HANDLE process_;  // borrowed
  void* address_;
};

}  // namespace

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.rfind(L'\\') + 1);
}

HWND FindTopLevelWindow(DWORD processId, const wchar_t* className) {
  struct Search {
    DWORD pid;
    const wchar_t* className;
    HWND found;
  } search{processId, className, nullptr};
  EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        wchar_t cls[64];
        GetClassNameW(w, cls, 64);
        if (pid == s->pid && lstrcmpW(cls, s->className) == 0 && IsWindowVisible(w)) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

RemoteApp::RemoteApp(const std::wstring& folder, const std::wstring& extraEnvironment) {
  std::wstring exe = ProgramFolder() + L"" BRENVALE_EXE_W;
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{sizeof(startup)};
  // The environment of this process, plus the extra variables ("NAME=value\0" pairs).
  std::wstring environment;
  if (!extraEnvironment.empty()) {
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* p = block; *p; p += lstrlenW(p) + 1) environment.append(p).push_back(L'\0');
    FreeEnvironmentStringsW(block);
    environment.append(extraEnvironment);
    environment.push_back(L'\0');
  }
  // Under load, Wine now and then fails to bring a new process up at all (CreateProcess returns
  // an error before the program runs a line of its own). That is the launcher, not the program:
  // try again a few times, and say so in the output.
  bool created = false;
  for (int attempt = 1; attempt <= 3 && !created; ++attempt) {
    created = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                             environment.empty() ? nullptr : environment.data(), folder.c_str(), &startup, &process_);
    if (!created) {
      std::fprintf(stderr, "RemoteApp: starting the program failed (attempt %d, error %lu)\n", attempt, GetLastError());
      Sleep(500);
    }
  }
  if (!created) return;
  processHandle_.reset(process_.hProcess);
  threadHandle_.reset(process_.hThread);
  WaitForInputIdle(process_.hProcess, 10000);
  WaitFor([this] { return (mainWindow_ = FindTopLevelWindow(process_.dwProcessId, L"TForm1")) != nullptr; }, 15000);
  if (!mainWindow_) {
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    if (code == STILL_ACTIVE) std::fprintf(stderr, "RemoteApp: the program showed no main window (still running)\n");
    else std::fprintf(stderr, "RemoteApp: the program showed no main window (exit code %lu)\n", code);
  }
  Sleep(300);  // the first rebuilds and paints settle
}

RemoteApp::~RemoteApp() {
  if (processHandle_ && WaitForSingleObject(processHandle_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(processHandle_.get(), 1);
    WaitForSingleObject(processHandle_.get(), 5000);
  }
}

HWND RemoteApp::Child(const wchar_t* className, const wchar_t* text, int index) const {
  struct Search {
    const wchar_t* className;
    const wchar_t* text;
    std::vector<HWND> found;
  } search{className, text, {}};
  EnumChildWindows(
      mainWindow_,
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t cls[64], caption[256];
        GetClassNameW(w, cls, 64);
        GetWindowTextW(w, caption, 256);
        if (lstrcmpW(cls, s->className) == 0 && (!s->text || lstrcmpW(caption, s->text) == 0)) s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  std::sort(search.found.begin(), search.found.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return index < static_cast<int>(search.found.size()) ? search.found[static_cast<size_t>(index)] : nullptr;
}

std::vector<std::wstring> RemoteApp::Rows(HWND list) const {
  std::vector<std::wstring> rows;
  int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  RemoteBuffer buffer(processHandle_.get(), sizeof(LVITEMW) + 512 * sizeof(wchar_t));
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.cchTextMax = 512;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer.Address()) + sizeof(LVITEMW));
    buffer.Write(&item, sizeof(item));
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.Address()));
    wchar_t text[512] = {};
    buffer.Read(text, sizeof(text) - sizeof(wchar_t), sizeof(LVITEMW));
    rows.emplace_back(text);
  }
  return rows;
}

RECT RemoteApp::ItemRect(HWND list, int item) const {
  SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
  RemoteBuffer buffer(processHandle_.get(), sizeof(RECT));
  RECT r{LVIR_LABEL, 0, 0, 0};
  buffer.Write(&r, sizeof(r));
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(buffer.Address()));
  buffer.Read(&r, sizeof(r));
  return r;
}

bool RemoteApp::ClickRow(HWND list, const std::wstring& caption) const {
  std::vector<std::wstring> rows = Rows(list);
  auto it = std::find(rows.begin(), rows.end(), caption);
  if (it == rows.end()) return false;
  RECT r = ItemRect(list, static_cast<int>(it - rows.begin()));
  ClickClientPoint(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  return true;
}

bool RemoteApp::ClickSelectedTreeItem(HWND tree) const {
  auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item) return false;
  // TVM_GETITEMRECT takes the item in the rectangle it fills.
  RemoteBuffer buffer(processHandle_.get(), sizeof(RECT));
  RECT r{};
  static_assert(sizeof(item) <= sizeof(r));
  std::memcpy(&r, &item, sizeof(item));
  buffer.Write(&r, sizeof(r));
  if (!SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(buffer.Address()))) return false;
  buffer.Read(&r, sizeof(r));
  ClickClientPoint(tree, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  return true;
}

void RemoteApp::ClickCentre(HWND window) const {
  RECT r;
  GetClientRect(window, &r);
  ClickClientPoint(window, r.right / 2, r.bottom / 2);
}

void RemoteApp::ClickClientPoint(HWND window, int x, int y) const {
  POINT p{x, y};
  ClientToScreen(window, &p);
  wintest::SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
  Sleep(80);
  wintest::SendMouse(MOUSEEVENTF_LEFTDOWN);
  Sleep(40);
  wintest::SendMouse(MOUSEEVENTF_LEFTUP);
  Sleep(250);
  // Let the program handle the click before the next step looks.
  WaitForInputIdle(processHandle_.get(), 2000);
}

HWND RemoteApp::WaitForMessageBox(int milliseconds) const {
  HWND box = nullptr;
  WaitFor([&] { return (box = FindTopLevelWindow(process_.dwProcessId, L"#32770")) != nullptr; }, milliseconds);
  return box;
}

std::wstring RemoteApp::MessageBoxText(HWND box) {
  wchar_t text[1024] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 1024);  // the message text's control
  return text;
}

bool RemoteApp::CloseMessageBox(HWND box) {
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  return WaitFor([&] { return !IsWindow(box); });
}

void PressKey(WORD key) {
  wintest::PressKey(key);
  Sleep(80);  // the program handles the key in its own time
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wScan = input[1].ki.wScan = c;
    input[0].ki.dwFlags = KEYEVENTF_UNICODE;
    input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(40);
  }
  Sleep(200);
}

int RemoteApp::Close() {
  if (!processHandle_) return -1;
  PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(processHandle_.get(), 15000) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(processHandle_.get(), &code);
  return static_cast<int>(code);
}

}  // namespace e2e
