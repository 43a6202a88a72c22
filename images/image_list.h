// An ordered list of pointers: append at the end in constant time, index from
// the front. The list owns only its own nodes; whoever removes an entry
// releases what it points to.
#pragma once
#include <cstddef>
#include <new>

template <typename T>
class ImageList {
 public:
  ImageList() = default;
  ~ImageList() { Clear(); }
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;

  // 1 when appended, 0 when no memory was left for the node.
  int Append(T* entry) {
    Node* node = new (std::nothrow) Node{entry, nullptr};
    if (node == nullptr) return 0;
    if (last_ == nullptr) {
      first_ = node;
    } else {
      last_->next = node;
    }
    last_ = node;
    ++count_;
    return 1;
  }

  // The entry at a 0-based index, or null when the index is out of range.
  T* Get(int index) const {
    if (index < 0 || index >= count_) return nullptr;
    Node* node = first_;
    while (index-- > 0) node = node->next;
    return node->entry;
  }

  // Removes the entry at the index (later entries move up by one); returns it,
  // or null when the index is out of range.
  T* Remove(int index) {
    if (index < 0 || index >= count_) return nullptr;
    Node* previous = nullptr;
    Node* node = first_;
    for (int i = 0; i < index; ++i) {
      previous = node;
      node = node->next;
    }
    (previous == nullptr ? first_ : previous->next) = node->next;
    if (node == last_) last_ = previous;
    T* entry = node->entry;
    delete node;
    --count_;
    return entry;
  }

  int Count() const { return count_; }

  void Clear() {
    while (first_ != nullptr) {
      Node* next = first_->next;
      delete first_;
      first_ = next;
    }
    last_ = nullptr;
    count_ = 0;
  }

 private:
  struct Node {
    T* entry;
    Node* next;
  };
  Node* first_ = nullptr;
  Node* last_ = nullptr;
  int count_ = 0;
};
