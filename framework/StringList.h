// String lists: an ordered list of strings, each with an optional borrowed object, with text
// conversion (one line per string), optional sorting and a duplicates rule. Used by the settings
// layer (stored property lists, string-list properties) and the skin manager's class-name lists.
#pragma once

#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Event.h"

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  int Count() const { return static_cast<int>(items_.size()); }
  const std::wstring& Strings(int index) const;
  void SetStrings(int index, const std::wstring& text);
  TObject* Objects(int index) const;           // borrowed
  void SetObjects(int index, TObject* object);  // borrowed

  virtual int Add(const std::wstring& text);
  int AddObject(const std::wstring& text, TObject* object);
  virtual void Insert(int index, const std::wstring& text);
  void Delete(int index);
  void Clear();
  // Index of the first string equal to `text` without regard to case, or -1.
  virtual int IndexOf(const std::wstring& text) const;

  // All strings, each followed by a line break ("\r\n").
  std::wstring Text() const;
  // Replaces the contents by the lines of `text` (line breaks "\r\n", "\n" or "\r").
  void SetText(const std::wstring& text);

  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  TNotifyEvent OnChange;

  void Assign(const TPersistent& source) override;

 protected:
  struct Item {
    std::wstring text;
    TObject* object = nullptr;  // borrowed
  };
  void Changed();
  void CheckIndex(int index) const;
  std::vector<Item> items_;
  int updateCount_ = 0;
};

class TStringList : public TStrings {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
  void Sort();

  int Add(const std::wstring& text) override;
  void Insert(int index, const std::wstring& text) override;
  int IndexOf(const std::wstring& text) const override;

 private:
  // Sorted lists: the position where `text` belongs, and whether it is there already.
  bool Find(const std::wstring& text, int& index) const;
  bool sorted_ = false;
  TDuplicates duplicates_ = TDuplicates::dupIgnore;
};
