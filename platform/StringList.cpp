#include "StringList.h"

void TStringList::Add(std::string text) {
  strings_.push_back(std::move(text));
  Changed();
}

void TStringList::Clear() {
  strings_.clear();
  Changed();
}

void TStringList::Assign(const TStringList& other) {
  if (&other != this) strings_ = other.strings_;
  Changed();
}

void TStringList::SetStrings(std::vector<std::string> strings) {
  strings_ = std::move(strings);
  Changed();
}
