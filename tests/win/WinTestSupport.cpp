// See WinTestSupport.h.
#include "tests/win/WinTestSupport.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <atomic>
#include <thread>

#include "framework/Handles.h"

namespace wintest {

std::vector<std::wstring>& RecordedErrors() {
  static std::vector<std::wstring> errors;
  return errors;
}

void Pump(int milliseconds) {
  DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

TempFolder::TempFolder(const std::wstring& under) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  if (!under.empty()) lstrcpynW(base, under.c_str(), MAX_PATH);
  static int counter = 0;
  for (;;) {
    path_ = std::wstring(base) + L"brenvale-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

TempFolder::~TempFolder() {
  // Files first (read-only flags cleared), then the folders deepest first. Plain calls only:
  // the shell's tree delete works with fixed-size paths, and a tree deeper than those must
  // never turn into a delete of whatever a cut-off path names.
  std::vector<std::wstring> folders;
  std::vector<std::wstring> stack{path_};
  while (!stack.empty()) {
    std::wstring dir = stack.back();
    stack.pop_back();
    folders.push_back(dir);
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((dir + L"*").c_str(), &data));
    if (!find) continue;
    do {
      std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = dir + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) stack.push_back(full + L"\\");
      else DeleteFileW(full.c_str());
    } while (FindNextFileW(find.get(), &data));
  }
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) RemoveDirectoryW(it->c_str());
}

std::wstring TempFolder::CreateDeepFolder(size_t length) const {
  std::wstring deep = path_;
  while (deep.size() < length) {
    deep += L"abcdefghijklmnopqrstuvwxyz0123456789\\";
    if (!CreateDirectoryW(deep.c_str(), nullptr)) return {};
  }
  return deep;
}

void TempFolder::Create(const std::wstring& name, const std::string& content, DWORD attributes) const {
  UniqueFile file(CreateFileW(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file) WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  file.reset();
  if (attributes) SetFileAttributesW(File(name).c_str(), attributes);
}

bool TempFolder::Exists(const std::wstring& name) const {
  return GetFileAttributesW(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> TempFolder::Names() const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(FindFirstFileW((path_ + L"*").c_str(), &data));
  if (find) {
    do {
      std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find.get(), &data));
  }
  std::sort(names.begin(), names.end());
  return names;
}

CurrentDirectoryScope::CurrentDirectoryScope(const std::wstring& path) {
  wchar_t buffer[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, buffer);
  previous_ = buffer;
  SetCurrentDirectoryW(path.c_str());
}

CurrentDirectoryScope::~CurrentDirectoryScope() { SetCurrentDirectoryW(previous_.c_str()); }

}  // namespace wintest

namespace wintest {

void HoldForScreenshot(const char* what) {
  const char* hold = std::getenv("BRENVALE_SCREENSHOT_HOLD");
  const int ms = hold ? std::atoi(hold) : 0;
  if (ms <= 0) return;
  std::printf("screenshot hold: %s\n", what);
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(ms));
}

void SendMouse(DWORD flags, int screenX, int screenY) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = static_cast<LONG>((static_cast<int64_t>(screenX) * 65535 + w / 2) / (w - 1));
    input.mi.dy = static_cast<LONG>((static_cast<int64_t>(screenY) * 65535 + h / 2) / (h - 1));
  }
  SendInput(1, &input, sizeof(input));
}

namespace {

void SendKey(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

}  // namespace

void ClickAt(HWND window, int x, int y, bool doubleClick) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p.x, p.y);
  Pump(30);
  for (int i = 0; i < (doubleClick ? 2 : 1); ++i) {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Pump(10);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Pump(10);
  }
  Pump(60);
}

void PressKey(WORD key, bool shift, bool ctrl) {
  if (shift) SendKey(VK_SHIFT, false);
  if (ctrl) SendKey(VK_CONTROL, false);
  SendKey(key, false);
  Pump(10);
  SendKey(key, true);
  if (ctrl) SendKey(VK_CONTROL, true);
  if (shift) SendKey(VK_SHIFT, true);
  Pump(60);
}

std::wstring ListItemText(HWND list, int item, int column) {
  wchar_t buffer[512] = {};
  LVITEMW lv{};
  lv.iSubItem = column;
  lv.pszText = buffer;
  lv.cchTextMax = 512;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
  return buffer;
}

POINT ListItemCentre(HWND list, int item) {
  // Positions as the user sees them: the list has laid out and painted its rows.
  SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
  UpdateWindow(list);
  Pump(20);
  RECT r{};
  r.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

int FindListItem(HWND list, const std::wstring& text) {
  int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    if (ListItemText(list, i) == text) return i;
  return -1;
}

}  // namespace wintest

namespace wintest {

struct DialogAnswer::State {
  int button;
  int milliseconds;
  int boxes;
  UniqueKernelHandle thread;
  int answered = 0;
};

namespace {

struct DialogSearch {
  DWORD process;
  HWND found = nullptr;
};

BOOL CALLBACK FindProcessDialog(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<DialogSearch*>(search);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (process == s->process && lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(window)) {
    s->found = window;
    return FALSE;
  }
  return TRUE;
}

DWORD WINAPI AnswerDialog(void* parameter) {
  auto* state = static_cast<DialogAnswer::State*>(parameter);
  DWORD end = GetTickCount() + static_cast<DWORD>(state->milliseconds);
  HWND last = nullptr;
  while (state->answered < state->boxes && static_cast<int>(end - GetTickCount()) > 0) {
    DialogSearch search{GetCurrentProcessId()};
    EnumWindows(FindProcessDialog, reinterpret_cast<LPARAM>(&search));
    // The box answered last is left to close (a later box may reuse its handle once it has).
    if (search.found && !(search.found == last && IsWindow(last))) {
      Sleep(50);  // let the box finish its set-up
      PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(state->button, BN_CLICKED), 0);
      ++state->answered;
      last = search.found;
      for (int i = 0; i < 100 && IsWindow(last) && IsWindowVisible(last); ++i) Sleep(20);
      continue;
    }
    Sleep(20);
  }
  return 0;
}

}  // namespace

DialogAnswer::DialogAnswer(int button, int milliseconds, int boxes) : state_(new State{button, milliseconds, boxes, {}, 0}) {
  state_->thread.reset(CreateThread(nullptr, 0, AnswerDialog, state_.get(), 0, nullptr));
}

DialogAnswer::~DialogAnswer() {
  if (state_->thread) WaitForSingleObject(state_->thread.get(), INFINITE);
}

bool DialogAnswer::Answered() { return AnsweredCount() > 0; }

int DialogAnswer::AnsweredCount() {
  if (state_->thread) WaitForSingleObject(state_->thread.get(), INFINITE);
  return state_->answered;
}

}  // namespace wintest

namespace wintest {

namespace {

void WriteSlot(void** slot, void* value) {
  DWORD old = 0;
  if (!VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old)) return;
  *slot = value;
  VirtualProtect(slot, sizeof(void*), old, &old);
}

}  // namespace

ImportHook::ImportHook(const wchar_t* module, const char* function, void* replacement) {
  HMODULE library = GetModuleHandleW(module);
  original_ = library ? reinterpret_cast<void*>(GetProcAddress(library, function)) : nullptr;
  if (!original_) return;
  // Every import table entry of the executable that holds the platform's address is replaced.
  auto* base = reinterpret_cast<uint8_t*>(GetModuleHandleW(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!imports.VirtualAddress) return;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d)
    for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); thunk->u1.Function; ++thunk) {
      auto** slot = reinterpret_cast<void**>(&thunk->u1.Function);
      if (*slot == original_) slots_.push_back(slot);
    }
  for (void** slot : slots_) WriteSlot(slot, replacement);
}

ImportHook::~ImportHook() {
  for (void** slot : slots_) WriteSlot(slot, original_);
}

void WhilePumping(const std::function<void()>& input, HWND owner) {
  std::atomic<bool> done{false};
  std::thread sender([&] {
    input();
    if (owner) PostMessageW(owner, WM_CANCELMODE, 0, 0);
    // A menu left open would keep this thread in its loop for good.
    for (int i = 0; i < 3 && FindWindowW(L"#32768", nullptr) && IsWindowVisible(FindWindowW(L"#32768", nullptr)); ++i) {
      INPUT keys[2]{};
      keys[0].type = keys[1].type = INPUT_KEYBOARD;
      keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
      keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
      SendInput(2, keys, sizeof(INPUT));
      Sleep(100);
    }
    done = true;
  });
  while (!done) Pump(10);
  sender.join();
  Pump(150);
}


}  // namespace wintest
