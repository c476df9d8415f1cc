// A list of listeners that can be notified without copying it: a listener removed while a
// notification walks the list leaves a hole that the walk skips (and that is closed once the
// outermost walk ends); a listener added during a walk hears the next notification, not this
// one. Iterating (range-for) also skips holes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace rt {

template <class T>
class ListenerList {
 public:
  void Add(T* listener) { items_.push_back(listener); }

  void Remove(T* listener) {
    auto it = std::find(items_.begin(), items_.end(), listener);
    if (it == items_.end()) return;
    if (walking_ > 0) {
      *it = nullptr;
      holes_ = true;
    } else {
      items_.erase(it);
    }
  }

  bool Empty() const { return Size() == 0; }
  size_t Size() const {
    return holes_ ? static_cast<size_t>(std::count_if(items_.begin(), items_.end(),
                                                      [](T* l) { return l != nullptr; }))
                  : items_.size();
  }
  // The listener added last that is still in the list; null when none is.
  T* Back() const {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
      if (*it) return *it;
    return nullptr;
  }

  // Calls `notify(listener)` for each listener in the list when the walk started and still in
  // it when its turn comes. Walks may nest (a listener's handler notifies again).
  template <class F>
  void Notify(F&& notify) {
    ++walking_;
    struct End {
      ListenerList& list;
      ~End() {
        if (--list.walking_ == 0 && list.holes_) list.Compact();
      }
    } end{*this};
    const size_t count = items_.size();
    for (size_t i = 0; i < count; ++i)
      if (T* l = items_[i]) notify(l);
  }

  class Iterator {
   public:
    Iterator(typename std::vector<T*>::const_iterator at,
             typename std::vector<T*>::const_iterator end)
        : at_(at), end_(end) {
      Skip();
    }
    T* operator*() const { return *at_; }
    Iterator& operator++() {
      ++at_;
      Skip();
      return *this;
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }

   private:
    void Skip() {
      while (at_ != end_ && !*at_) ++at_;
    }
    typename std::vector<T*>::const_iterator at_, end_;
  };
  Iterator begin() const { return {items_.begin(), items_.end()}; }
  Iterator end() const { return {items_.end(), items_.end()}; }

 private:
  void Compact() {
    std::erase(items_, nullptr);
    holes_ = false;
  }

  std::vector<T*> items_;
  int walking_ = 0;
  bool holes_ = false;
};

}  // namespace rt
