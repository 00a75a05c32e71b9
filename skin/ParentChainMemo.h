// Lookups along PARENTCLASS chains in time that grows linearly with the number of sections: the
// answer for every section a chain passes is remembered, so a chain is walked once however many
// of its sections ask. Sections are numbered 0..count-1; a chain ends at a section without
// parent (-1) or where it comes back to a section it has passed. Plain C++.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ParentChainMemo {
 public:
  explicit ParentChainMemo(size_t count) : found_(count, kUnknown) {}

  // The first section on the chain start, parent(start), parent(parent(start)), ... for which
  // `has(section)` holds, or -1. `parent(section)` answers the parent's number or -1.
  template <class Parent, class Has>
  int32_t Find(int32_t start, Parent parent, Has has) {
    path_.clear();
    int32_t result = -1;
    for (int32_t node = start; node >= 0 && static_cast<size_t>(node) < found_.size(); node = parent(node)) {
      int32_t known = found_[static_cast<size_t>(node)];
      if (known == kOnPath) break;  // a loop: nothing more to find
      if (known != kUnknown) {
        result = known;
        break;
      }
      if (has(node)) {
        result = node;
        break;
      }
      found_[static_cast<size_t>(node)] = kOnPath;
      path_.push_back(node);
    }
    for (int32_t node : path_) found_[static_cast<size_t>(node)] = result;
    if (result >= 0) found_[static_cast<size_t>(result)] = result;
    return result;
  }

 private:
  static constexpr int32_t kUnknown = -2;
  static constexpr int32_t kOnPath = -3;
  std::vector<int32_t> found_;  // per section: the answer, kUnknown, or kOnPath during a walk
  std::vector<int32_t> path_;
};
