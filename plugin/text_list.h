// A growable array of texts kept back to back in one buffer, so that the
// whole list can be written out as one piece (the Cabrillo QSO lines are
// written at every result request).

#ifndef VELKARO_PLUGIN_TEXT_LIST_H_
#define VELKARO_PLUGIN_TEXT_LIST_H_

#include <cstddef>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro {

class TextList {
 public:
  TextList() = default;
  TextList(std::initializer_list<std::string_view> texts) {
    for (std::string_view text : texts) push_back(text);
  }

  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  // REQUIRES: index < size().
  std::string_view operator[](size_t index) const {
    const size_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(bytes_).substr(begin, ends_[index] - begin);
  }
  std::string_view at(size_t index) const {
    if (index >= size()) throw std::out_of_range("TextList::at");
    return (*this)[index];
  }
  // Every text, in order, run together.
  std::string_view joined() const { return bytes_; }

  // Strong guarantee: when memory runs out the list is unchanged.
  void push_back(std::string_view text) {
    if (ends_.size() == ends_.capacity()) ends_.reserve(ends_.empty() ? 64 : ends_.size() * 2);
    bytes_.append(text);
    ends_.push_back(bytes_.size());  // cannot fail: the room is there
  }
  void reserve(size_t texts, size_t bytes) {
    ends_.reserve(texts);
    bytes_.reserve(bytes);
  }
  void clear() noexcept {
    bytes_.clear();
    ends_.clear();
  }

  bool operator==(const TextList&) const = default;

  class const_iterator {
   public:
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    const_iterator(const TextList* list, size_t index) : list_(list), index_(index) {}
    std::string_view operator*() const { return (*list_)[index_]; }
    const_iterator& operator++() {
      ++index_;
      return *this;
    }
    bool operator==(const const_iterator& other) const { return index_ == other.index_; }

   private:
    const TextList* list_;
    size_t index_;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

 private:
  std::string bytes_;
  std::vector<size_t> ends_;  // where each text ends in bytes_
};

}  // namespace velkaro

#endif  // VELKARO_PLUGIN_TEXT_LIST_H_
