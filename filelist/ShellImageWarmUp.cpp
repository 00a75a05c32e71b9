#include "filelist/ShellImageWarmUp.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "framework/Handles.h"

#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace shell_image_warm_up {

namespace {

struct WarmUp {
  std::mutex lock;
  std::thread thread;
  bool started = false;
  std::atomic<bool> finished{false};
  // A thread still running when the program ends is waited for, never left to std::terminate.
  ~WarmUp() { Wait(); }
  void Wait() {
    std::lock_guard<std::mutex> guard(lock);
    if (thread.joinable()) thread.join();
  }
};

WarmUp& State() {
  static WarmUp state;
  return state;
}

}  // namespace

void Start(std::function<void()> then) {
  WarmUp& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  if (state.started) return;
  state.started = true;
  try {
    state.thread = std::thread([then = std::move(then)] {
      // The shell asks for COM on the calling thread.
      const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
      // Both lists are made together; asking for one makes them all.
      SystemImages(false);
      if (then) then();
      if (SUCCEEDED(com)) CoUninitialize();
      State().finished = true;
    });
  } catch (const std::system_error&) {
    // No thread to spare: the first list makes the image lists itself.
  }
}

void Wait() { State().Wait(); }

namespace {
std::atomic<int> pendingOverride{-1};
}  // namespace

void OverridePending(int value) { pendingOverride = value; }

bool Pending() {
  if (int value = pendingOverride; value >= 0) return value == 1;
  WarmUp& state = State();
  if (state.finished) return false;
  std::lock_guard<std::mutex> guard(state.lock);
  return state.thread.joinable() && !state.finished;
}

namespace {
HIMAGELIST placeholderOverrides[2] = {nullptr, nullptr};
}  // namespace

void OverridePlaceholders(HIMAGELIST large, HIMAGELIST small) {
  placeholderOverrides[0] = small;
  placeholderOverrides[1] = large;
}

HIMAGELIST Placeholder(bool large) {
  if (HIMAGELIST stand = placeholderOverrides[large ? 1 : 0]) return stand;
  static const UniqueImageList lists[2] = {
      UniqueImageList(ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 0, 1)),
      UniqueImageList(ImageList_Create(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), ILC_COLOR32 | ILC_MASK, 0, 1))};
  return lists[large ? 1 : 0].get();
}

HIMAGELIST SystemImages(bool large) {
  SHFILEINFOW info{};
  return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                                                     SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES |
                                                         (large ? SHGFI_LARGEICON : SHGFI_SMALLICON)));
}

}  // namespace shell_image_warm_up
