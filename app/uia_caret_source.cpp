#include "app/uia_caret_source.h"

#include <oleauto.h>

#include "app/caret_answer_rules.h"

using uia::IUIAutomation;
using uia::IUIAutomationElement;
using uia::IUIAutomationTextPattern;
using uia::IUIAutomationTextPattern2;
using uia::IUIAutomationTextRange;
using uia::IUIAutomationTextRangeArray;

// What one thread keeps: its automation object, made on first need.
struct UiaCaretSource::ThreadHold {
  bool tried = false;  // the automation object was asked for
  IUIAutomation* automation = nullptr;
};

namespace {

template <typename T>
void Let(T*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

// The caret from a range's bounding rectangles, on the given edge.
bool CaretOfRectangles(IUIAutomationTextRange* range, CaretEdge edge, CaretRect* caret) {
  SAFEARRAY* rectangles = nullptr;
  if (FAILED(range->GetBoundingRectangles(&rectangles)) || rectangles == nullptr) return false;
  bool found = false;
  VARTYPE type = VT_EMPTY;
  const bool typeKnown = SUCCEEDED(SafeArrayGetVartype(rectangles, &type));
  LONG lower = 0, upper = -1;
  void* data = nullptr;
  if (SafeArrayGetDim(rectangles) == 1 && SafeArrayGetElemsize(rectangles) == sizeof(double) &&
      (!typeKnown || type == VT_R8) && SUCCEEDED(SafeArrayGetLBound(rectangles, 1, &lower)) &&
      SUCCEEDED(SafeArrayGetUBound(rectangles, 1, &upper)) && SUCCEEDED(SafeArrayAccessData(rectangles, &data))) {
    const size_t count = upper >= lower ? static_cast<size_t>(upper - lower) + 1 : 0;
    found = data != nullptr && CaretFromTextRectangles(static_cast<const double*>(data), count, edge, caret);
    SafeArrayUnaccessData(rectangles);
  }
  SafeArrayDestroy(rectangles);
  return found;
}

// The caret a range stands for. A caret range is degenerate, and a
// degenerate range has no rectangles: then the character after the caret
// (its left edge), and at the end of the text the one before it (its right
// edge), each on a copy of the range.
bool CaretOfRange(IUIAutomationTextRange* range, CaretRect* caret) {
  if (CaretOfRectangles(range, CaretEdge::kLeft, caret)) return true;
  IUIAutomationTextRange* after = nullptr;
  if (SUCCEEDED(range->Clone(&after)) && after != nullptr) {
    const bool found = SUCCEEDED(after->ExpandToEnclosingUnit(uia::TextUnit_Character)) &&
                       CaretOfRectangles(after, CaretEdge::kLeft, caret);
    after->Release();
    if (found) return true;
  }
  IUIAutomationTextRange* before = nullptr;
  if (SUCCEEDED(range->Clone(&before)) && before != nullptr) {
    int moved = 0;
    const bool found = SUCCEEDED(before->MoveEndpointByUnit(uia::TextPatternRangeEndpoint_Start,
                                                            uia::TextUnit_Character, -1, &moved)) &&
                       moved == -1 && CaretOfRectangles(before, CaretEdge::kRight, caret);
    before->Release();
    if (found) return true;
  }
  return false;
}

// The first range of a text pattern's selection; null when there is none.
IUIAutomationTextRange* FirstSelectedRange(IUIAutomationTextPattern* text) {
  IUIAutomationTextRangeArray* ranges = nullptr;
  if (FAILED(text->GetSelection(&ranges)) || ranges == nullptr) return nullptr;
  int length = 0;
  IUIAutomationTextRange* first = nullptr;
  if (FAILED(ranges->get_Length(&length)) || length < 1 || FAILED(ranges->GetElement(0, &first))) first = nullptr;
  ranges->Release();
  return first;
}

// The range that stands for the element's caret: TextPattern2's caret range,
// else the first range of the selection; null when the element has no text
// pattern or tells neither. Whether the control has keyboard focus (the caret
// range's isActive) is not asked: the element is the focused one, and the
// answer must lie inside the focused window anyway.
IUIAutomationTextRange* CaretRangeOf(IUIAutomationElement* element) {
  IUIAutomationTextPattern* text = nullptr;
  IUIAutomationTextPattern2* text2 = nullptr;
  if (SUCCEEDED(element->GetCurrentPatternAs(uia::kTextPattern2Id, uia::kIID_IUIAutomationTextPattern2,
                                             reinterpret_cast<void**>(&text2))) &&
      text2 != nullptr) {
    BOOL active = FALSE;
    IUIAutomationTextRange* range = nullptr;
    if (SUCCEEDED(text2->GetCaretRange(&active, &range)) && range != nullptr) {
      text2->Release();
      return range;
    }
    text = text2;  // a TextPattern2 is a TextPattern
  } else if (FAILED(element->GetCurrentPatternAs(uia::kTextPatternId, uia::kIID_IUIAutomationTextPattern,
                                                 reinterpret_cast<void**>(&text)))) {
    text = nullptr;
  }
  if (text == nullptr) return nullptr;
  IUIAutomationTextRange* range = FirstSelectedRange(text);
  text->Release();
  return range;
}

// Cuts UI Automation's waits for a program that does not answer, where it
// can (IUIAutomation2, Windows 8 and later).
void BoundWaits(IUIAutomation* automation) {
  uia::IUIAutomation2* timed = nullptr;
  if (FAILED(automation->QueryInterface(uia::kIID_IUIAutomation2, reinterpret_cast<void**>(&timed))) ||
      timed == nullptr) {
    return;
  }
  timed->put_ConnectionTimeout(kUiaProviderWaitMs);
  timed->put_TransactionTimeout(kUiaProviderWaitMs);
  timed->Release();
}

}  // namespace

UiaCaretSource::UiaCaretSource(Create create) : create_(create), slot_(TlsAlloc()) {}

UiaCaretSource::~UiaCaretSource() {
  if (slot_ != TLS_OUT_OF_INDEXES) TlsFree(slot_);
}

UiaCaretSource::ThreadHold* UiaCaretSource::Hold() {
  if (slot_ == TLS_OUT_OF_INDEXES) return nullptr;
  auto* hold = static_cast<ThreadHold*>(TlsGetValue(slot_));
  if (hold == nullptr) {
    hold = new ThreadHold;
    if (!TlsSetValue(slot_, hold)) {
      delete hold;
      return nullptr;
    }
  }
  return hold;
}

bool UiaCaretSource::Ask(const CaretScene& scene, CaretRect* answer) {
  ThreadHold* hold = Hold();
  if (hold == nullptr || create_ == nullptr) return false;
  if (!hold->tried) {
    hold->tried = true;
    if (FAILED(create_(&hold->automation))) hold->automation = nullptr;
    if (hold->automation != nullptr) BoundWaits(hold->automation);
  }
  IUIAutomation* automation = hold->automation;
  if (automation == nullptr) return false;

  // The focused element; else the focused window's own element. Its tree
  // is never searched: a web engine would build the whole of it.
  IUIAutomationElement* element = nullptr;
  if (FAILED(automation->GetFocusedElement(&element))) element = nullptr;
  if (element == nullptr && scene.focus != nullptr &&
      (FAILED(automation->ElementFromHandle(scene.focus, &element)))) {
    element = nullptr;
  }
  if (element == nullptr) return false;

  IUIAutomationTextRange* range = CaretRangeOf(element);
  element->Release();
  if (range == nullptr) return false;
  const bool found = CaretOfRange(range, answer);
  range->Release();
  return found;
}

void UiaCaretSource::ThreadEnds() {
  if (slot_ == TLS_OUT_OF_INDEXES) return;
  auto* hold = static_cast<ThreadHold*>(TlsGetValue(slot_));
  if (hold == nullptr) return;
  Let(hold->automation);
  delete hold;
  TlsSetValue(slot_, nullptr);
}

HRESULT UiaCaretSource::CreateSystemAutomation(IUIAutomation** automation) {
  *automation = nullptr;
  HRESULT made = CoCreateInstance(uia::kCLSID_CUIAutomation8, nullptr, CLSCTX_INPROC_SERVER,
                                  uia::kIID_IUIAutomation, reinterpret_cast<void**>(automation));
  if (FAILED(made) || *automation == nullptr) {
    *automation = nullptr;
    made = CoCreateInstance(uia::kCLSID_CUIAutomation, nullptr, CLSCTX_INPROC_SERVER, uia::kIID_IUIAutomation,
                            reinterpret_cast<void**>(automation));
  }
  if (FAILED(made) || *automation == nullptr) {
    *automation = nullptr;
    return FAILED(made) ? made : E_NOINTERFACE;
  }
  return S_OK;
}
