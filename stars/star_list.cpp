#include "stars/star.h"

#include <new>

StarList::~StarList() { FreeStarList(); }

void StarList::FreeStarList() {
  if (starListHead == nullptr) return;
  Star* s = starListHead->next;
  while (s != starListTail) {
    Star* next = s->next;
    delete s;
    s = next;
  }
  DropSentinels();
}

void StarList::DropSentinels() {
  delete starListHead;
  delete starListTail;
  starListHead = nullptr;
  starListTail = nullptr;
  lastGeneratedStar = nullptr;
  starCount = 0;
}

int StarList::CreateStarList() {
  if (starListHead != nullptr) return 1;
  Star* head = new (std::nothrow) Star{};
  Star* tail = new (std::nothrow) Star{};
  if (head == nullptr || tail == nullptr) {
    delete head;
    delete tail;
    return 0;
  }
  head->prev = head;
  head->next = tail;
  tail->prev = head;
  tail->next = tail;
  starListHead = head;
  starListTail = tail;
  starCount = 0;
  return 1;
}

void StarList::LinkStarBeforeTail(Star* star) {
  if (starListTail == nullptr || star == nullptr) return;
  Star* last = starListTail->prev;
  star->prev = last;
  star->next = starListTail;
  last->next = star;
  starListTail->prev = star;
  ++starCount;
}

void StarList::UnlinkStar(Star* star) {
  if (star == nullptr || star->prev == nullptr || star->next == nullptr) return;
  star->prev->next = star->next;
  star->next->prev = star->prev;
  star->next = nullptr;
  star->prev = nullptr;
  --starCount;
}

Star* StarList::GetFreeStar(int32_t imageIndex) const {
  if (starListHead == nullptr) return nullptr;
  for (Star* s = starListHead->next; s != starListTail; s = s->next) {
    if (s->inUse == 0 && s->imageIndex == imageIndex) return s;
  }
  return nullptr;
}

int32_t CheckMaxNumber(int32_t n) { return n > 999 ? 999 : n; }
