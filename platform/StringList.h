// An ordered list of strings that reports every change.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TStringList {
 public:
  TStringList() = default;
  TStringList(std::initializer_list<std::string> strings) : strings_(strings) {}

  int32_t Count() const { return static_cast<int32_t>(strings_.size()); }
  const std::string& operator[](int32_t index) const { return strings_[static_cast<size_t>(index)]; }
  const std::vector<std::string>& Strings() const { return strings_; }

  void Add(std::string text);
  void Clear();
  void Assign(const TStringList& other);
  void SetStrings(std::vector<std::string> strings);

  // Called after every change.
  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }

  std::vector<std::string> strings_;
};
