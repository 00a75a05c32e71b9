// See ObjectInstance.h.
#include "framework/ObjectInstance.h"

#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

#include "framework/Exception.h"

namespace {

// mov rcx, imm64 / mov rax, imm64 / jmp rax: the object replaces the first argument (the
// window handle) and the call goes on to the static function with the other three untouched.
constexpr size_t kSlotSize = 32;
constexpr size_t kPageSize = 4096;

// Executable pages cut into slots; freed slots are reused, pages are kept for the process.
class SlotPool {
 public:
  void* Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (free_.empty()) {
      auto* page = static_cast<uint8_t*>(VirtualAlloc(nullptr, kPageSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
      if (!page) throw Exception(L"Out of memory for window procedures");
      for (size_t offset = 0; offset + kSlotSize <= kPageSize; offset += kSlotSize) free_.push_back(page + offset);
    }
    void* slot = free_.back();
    free_.pop_back();
    return slot;
  }
  void Give(void* slot) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::memset(slot, 0xCC, kSlotSize);  // a stale call traps instead of running on
    free_.push_back(static_cast<uint8_t*>(slot));
  }

 private:
  std::mutex mutex_;
  std::vector<uint8_t*> free_;
};

SlotPool& Pool() {
  static SlotPool* pool = new SlotPool;  // lives for the process: windows may call in at exit
  return *pool;
}

}  // namespace

ObjectInstance::ObjectInstance(void* object, ObjectWindowProc proc) : code_(Pool().Take()) {
  uint8_t code[22];
  code[0] = 0x48;
  code[1] = 0xB9;  // mov rcx, imm64
  uint64_t objectValue = reinterpret_cast<uint64_t>(object);
  std::memcpy(code + 2, &objectValue, 8);
  code[10] = 0x48;
  code[11] = 0xB8;  // mov rax, imm64
  uint64_t procValue = reinterpret_cast<uint64_t>(reinterpret_cast<void*>(proc));
  std::memcpy(code + 12, &procValue, 8);
  code[20] = 0xFF;
  code[21] = 0xE0;  // jmp rax
  std::memcpy(code_, code, sizeof(code));
  FlushInstructionCache(GetCurrentProcess(), code_, sizeof(code));
}

ObjectInstance::~ObjectInstance() { Pool().Give(code_); }
