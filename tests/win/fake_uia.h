// Made-up UI Automation objects for the text pattern way's tests: an
// automation object, elements, text patterns and ranges whose answers a test
// chooses, every slot the client header declares and the way never calls
// answering E_NOTIMPL. Each object counts itself alive, so a test tells when
// the way keeps one it should have let go. A parent holds its children: the
// automation object its elements, an element its patterns and focused
// descendant, a pattern its ranges; letting go of the automation object
// frees them all.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <map>
#include <vector>

#include "app/uia_client.h"

namespace fake_uia {

using namespace uia;

inline std::atomic<int> alive{0};

#define FAKE_UIA_NOT_IMPLEMENTED(name, ...) \
  HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }

template <typename Interface>
class Counted : public Interface {
 public:
  Counted() { ++alive; }
  virtual ~Counted() { --alive; }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (riid == IID_IUnknown || Accepts(riid)) {
      this->AddRef();
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  ULONG References() const { return references_; }

 protected:
  virtual bool Accepts(REFIID) { return false; }

 private:
  std::atomic<ULONG> references_{1};
};

template <typename T>
T* Held(T* object) {
  if (object != nullptr) object->AddRef();
  return object;
}

// What a range and its copies answer: the rectangles of the range as it is,
// after ExpandToEnclosingUnit(TextUnit_Character), and after its start moved
// back one character (when it can: not at the start of the text).
struct RangeShape {
  std::vector<double> rectangles;
  std::vector<double> expanded;
  std::vector<double> before;
  bool canMoveBack = true;
  HRESULT rectanglesResult = S_OK;

  RangeShape& Rectangles(std::vector<double> values) {
    rectangles = std::move(values);
    return *this;
  }
  RangeShape& Expanded(std::vector<double> values) {
    expanded = std::move(values);
    return *this;
  }
  RangeShape& Before(std::vector<double> values) {
    before = std::move(values);
    return *this;
  }
  RangeShape& AtTheStart() {
    canMoveBack = false;
    return *this;
  }
  RangeShape& Failing(HRESULT result) {
    rectanglesResult = result;
    return *this;
  }
};

class Range final : public Counted<IUIAutomationTextRange> {
 public:
  enum class Form { kAsIs, kExpanded, kBefore };
  explicit Range(RangeShape shape, Form form = Form::kAsIs) : shape_(std::move(shape)), form_(form) {}

  HRESULT STDMETHODCALLTYPE Clone(IUIAutomationTextRange** clonedRange) override {
    ++clones;
    *clonedRange = new Range(shape_, form_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ExpandToEnclosingUnit(TextUnit textUnit) override {
    ++changes;
    if (textUnit != TextUnit_Character) return E_INVALIDARG;
    form_ = Form::kExpanded;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE MoveEndpointByUnit(TextPatternRangeEndpoint endpoint, TextUnit unit, int count,
                                               int* moved) override {
    ++changes;
    if (endpoint != TextPatternRangeEndpoint_Start || unit != TextUnit_Character || count != -1) return E_INVALIDARG;
    *moved = shape_.canMoveBack ? -1 : 0;
    if (shape_.canMoveBack) form_ = Form::kBefore;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBoundingRectangles(SAFEARRAY** boundingRects) override {
    *boundingRects = nullptr;
    if (FAILED(shape_.rectanglesResult)) return shape_.rectanglesResult;
    const std::vector<double>& values = form_ == Form::kAsIs       ? shape_.rectangles
                                        : form_ == Form::kExpanded ? shape_.expanded
                                                                   : shape_.before;
    SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, static_cast<ULONG>(values.size()));
    if (array == nullptr) return E_OUTOFMEMORY;
    for (LONG i = 0; i < static_cast<LONG>(values.size()); ++i) {
      double value = values[i];
      SafeArrayPutElement(array, &i, &value);
    }
    *boundingRects = array;
    return S_OK;
  }
  FAKE_UIA_NOT_IMPLEMENTED(Compare, IUIAutomationTextRange*, BOOL*)
  FAKE_UIA_NOT_IMPLEMENTED(CompareEndpoints, TextPatternRangeEndpoint, IUIAutomationTextRange*,
                           TextPatternRangeEndpoint, int*)
  FAKE_UIA_NOT_IMPLEMENTED(FindAttribute, int, VARIANT, BOOL, IUIAutomationTextRange**)
  FAKE_UIA_NOT_IMPLEMENTED(FindText, BSTR, BOOL, BOOL, IUIAutomationTextRange**)
  FAKE_UIA_NOT_IMPLEMENTED(GetAttributeValue, int, VARIANT*)
  FAKE_UIA_NOT_IMPLEMENTED(GetEnclosingElement, IUIAutomationElement**)
  FAKE_UIA_NOT_IMPLEMENTED(GetText, int, BSTR*)
  FAKE_UIA_NOT_IMPLEMENTED(Move, TextUnit, int, int*)
  FAKE_UIA_NOT_IMPLEMENTED(MoveEndpointByRange, TextPatternRangeEndpoint, IUIAutomationTextRange*,
                           TextPatternRangeEndpoint)
  FAKE_UIA_NOT_IMPLEMENTED(Select)
  FAKE_UIA_NOT_IMPLEMENTED(AddToSelection)
  FAKE_UIA_NOT_IMPLEMENTED(RemoveFromSelection)
  FAKE_UIA_NOT_IMPLEMENTED(ScrollIntoView, BOOL)
  FAKE_UIA_NOT_IMPLEMENTED(GetChildren, IUIAutomationElementArray**)

  int clones = 0;
  int changes = 0;  // ExpandToEnclosingUnit or MoveEndpointByUnit on this very range

 private:
  const RangeShape shape_;
  Form form_;

 protected:
  bool Accepts(REFIID riid) override { return riid == kIID_IUIAutomationTextRange; }
};

class RangeArray final : public Counted<IUIAutomationTextRangeArray> {
 public:
  explicit RangeArray(const std::vector<Range*>& ranges) {
    for (Range* range : ranges) ranges_.push_back(Held(range));
  }
  ~RangeArray() override {
    for (Range* range : ranges_) range->Release();
  }
  HRESULT STDMETHODCALLTYPE get_Length(int* length) override {
    *length = static_cast<int>(ranges_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetElement(int index, IUIAutomationTextRange** element) override {
    if (index < 0 || index >= static_cast<int>(ranges_.size())) return E_INVALIDARG;
    *element = Held(ranges_[index]);
    return S_OK;
  }

 private:
  std::vector<Range*> ranges_;
};

// A text pattern (TextPattern2 where the element says so). Takes the ranges.
class TextPattern final : public Counted<IUIAutomationTextPattern2> {
 public:
  TextPattern(Range* caret, std::vector<Range*> selection, HRESULT caretResult = S_OK)
      : caret_(caret), selection_(std::move(selection)), caretResult_(caretResult) {}
  ~TextPattern() override {
    if (caret_ != nullptr) caret_->Release();
    for (Range* range : selection_) range->Release();
  }
  HRESULT STDMETHODCALLTYPE GetCaretRange(BOOL* isActive, IUIAutomationTextRange** range) override {
    ++caretAsked;
    *range = nullptr;
    if (FAILED(caretResult_)) return caretResult_;
    *isActive = TRUE;
    *range = Held(caret_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSelection(IUIAutomationTextRangeArray** ranges) override {
    ++selectionAsked;
    *ranges = new RangeArray(selection_);
    return S_OK;
  }
  FAKE_UIA_NOT_IMPLEMENTED(RangeFromPoint, POINT, IUIAutomationTextRange**)
  FAKE_UIA_NOT_IMPLEMENTED(RangeFromChild, IUIAutomationElement*, IUIAutomationTextRange**)
  FAKE_UIA_NOT_IMPLEMENTED(GetVisibleRanges, IUIAutomationTextRangeArray**)
  FAKE_UIA_NOT_IMPLEMENTED(get_DocumentRange, IUIAutomationTextRange**)
  FAKE_UIA_NOT_IMPLEMENTED(get_SupportedTextSelection, SupportedTextSelection*)
  FAKE_UIA_NOT_IMPLEMENTED(RangeFromAnnotation, IUIAutomationElement*, IUIAutomationTextRange**)

  int caretAsked = 0;
  int selectionAsked = 0;

 private:
  Range* const caret_;
  const std::vector<Range*> selection_;
  const HRESULT caretResult_;
};

// An element with a TextPattern2, a plain TextPattern or neither. Takes the
// pattern and the focused descendant.
class Element final : public Counted<IUIAutomationElement> {
 public:
  enum class Offers { kNothing, kTextPattern, kTextPattern2 };
  Element(TextPattern* pattern, Offers offers, Element* focusedBelow = nullptr)
      : pattern_(pattern), offers_(offers), focusedBelow_(focusedBelow) {}
  ~Element() override {
    if (pattern_ != nullptr) pattern_->Release();
    if (focusedBelow_ != nullptr) focusedBelow_->Release();
  }
  HRESULT STDMETHODCALLTYPE GetCurrentPatternAs(PATTERNID patternId, REFIID riid, void** patternObject) override {
    *patternObject = nullptr;
    // Like UI Automation: an unsupported pattern is S_OK and no object.
    if (patternId == kTextPattern2Id && riid == kIID_IUIAutomationTextPattern2 && offers_ == Offers::kTextPattern2) {
      *patternObject = static_cast<IUIAutomationTextPattern2*>(Held(pattern_));
    } else if (patternId == kTextPatternId && riid == kIID_IUIAutomationTextPattern && offers_ != Offers::kNothing) {
      *patternObject = static_cast<IUIAutomationTextPattern*>(Held(pattern_));
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE FindFirst(TreeScope scope, IUIAutomationCondition* condition,
                                      IUIAutomationElement** found) override {
    lastScope = scope;
    lastCondition = condition;
    *found = Held(focusedBelow_);
    return S_OK;
  }
  FAKE_UIA_NOT_IMPLEMENTED(SetFocus)
  FAKE_UIA_NOT_IMPLEMENTED(GetRuntimeId, SAFEARRAY**)
  FAKE_UIA_NOT_IMPLEMENTED(FindAll, TreeScope, IUIAutomationCondition*, IUIAutomationElementArray**)
  FAKE_UIA_NOT_IMPLEMENTED(FindFirstBuildCache, TreeScope, IUIAutomationCondition*, IUIAutomationCacheRequest*,
                           IUIAutomationElement**)
  FAKE_UIA_NOT_IMPLEMENTED(FindAllBuildCache, TreeScope, IUIAutomationCondition*, IUIAutomationCacheRequest*,
                           IUIAutomationElementArray**)
  FAKE_UIA_NOT_IMPLEMENTED(BuildUpdatedCache, IUIAutomationCacheRequest*, IUIAutomationElement**)
  FAKE_UIA_NOT_IMPLEMENTED(GetCurrentPropertyValue, PROPERTYID, VARIANT*)
  FAKE_UIA_NOT_IMPLEMENTED(GetCurrentPropertyValueEx, PROPERTYID, BOOL, VARIANT*)
  FAKE_UIA_NOT_IMPLEMENTED(GetCachedPropertyValue, PROPERTYID, VARIANT*)
  FAKE_UIA_NOT_IMPLEMENTED(GetCachedPropertyValueEx, PROPERTYID, BOOL, VARIANT*)

  TreeScope lastScope = TreeScope_Element;
  IUIAutomationCondition* lastCondition = nullptr;

 private:
  TextPattern* const pattern_;
  const Offers offers_;
  Element* const focusedBelow_;
};

class Condition final : public Counted<IUIAutomationCondition> {};

// The automation object. Takes the focused element and the windows' elements.
class Automation final : public Counted<IUIAutomation2> {
 public:
  Automation(Element* focused, HRESULT focusedResult = S_OK) : focused_(focused), focusedResult_(focusedResult) {}
  ~Automation() override {
    if (focused_ != nullptr) focused_->Release();
    for (auto& window : windows_) window.second->Release();
  }
  void AddWindow(HWND window, Element* element) { windows_[window] = element; }

  HRESULT STDMETHODCALLTYPE GetFocusedElement(IUIAutomationElement** element) override {
    ++focusAsked;
    *element = nullptr;
    if (FAILED(focusedResult_)) return focusedResult_;
    *element = Held(focused_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ElementFromHandle(UIA_HWND hwnd, IUIAutomationElement** element) override {
    const auto found = windows_.find(static_cast<HWND>(hwnd));
    *element = found != windows_.end() ? Held(found->second) : nullptr;
    return found != windows_.end() ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE CreatePropertyCondition(PROPERTYID propertyId, VARIANT value,
                                                    IUIAutomationCondition** newCondition) override {
    ++conditionsMade;
    conditionProperty = propertyId;
    conditionValue = value;
    *newCondition = new Condition;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_ConnectionTimeout(DWORD timeout) override {
    connectionTimeout = timeout;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_TransactionTimeout(DWORD timeout) override {
    transactionTimeout = timeout;
    return S_OK;
  }

  FAKE_UIA_NOT_IMPLEMENTED(CompareElements, IUIAutomationElement*, IUIAutomationElement*, BOOL*)
  FAKE_UIA_NOT_IMPLEMENTED(CompareRuntimeIds, SAFEARRAY*, SAFEARRAY*, BOOL*)
  FAKE_UIA_NOT_IMPLEMENTED(GetRootElement, IUIAutomationElement**)
  FAKE_UIA_NOT_IMPLEMENTED(ElementFromPoint, POINT, IUIAutomationElement**)
  FAKE_UIA_NOT_IMPLEMENTED(GetRootElementBuildCache, IUIAutomationCacheRequest*, IUIAutomationElement**)
  FAKE_UIA_NOT_IMPLEMENTED(ElementFromHandleBuildCache, UIA_HWND, IUIAutomationCacheRequest*, IUIAutomationElement**)
  FAKE_UIA_NOT_IMPLEMENTED(ElementFromPointBuildCache, POINT, IUIAutomationCacheRequest*, IUIAutomationElement**)
  FAKE_UIA_NOT_IMPLEMENTED(GetFocusedElementBuildCache, IUIAutomationCacheRequest*, IUIAutomationElement**)
  FAKE_UIA_NOT_IMPLEMENTED(CreateTreeWalker, IUIAutomationCondition*, IUIAutomationTreeWalker**)
  FAKE_UIA_NOT_IMPLEMENTED(get_ControlViewWalker, IUIAutomationTreeWalker**)
  FAKE_UIA_NOT_IMPLEMENTED(get_ContentViewWalker, IUIAutomationTreeWalker**)
  FAKE_UIA_NOT_IMPLEMENTED(get_RawViewWalker, IUIAutomationTreeWalker**)
  FAKE_UIA_NOT_IMPLEMENTED(get_RawViewCondition, IUIAutomationCondition**)
  FAKE_UIA_NOT_IMPLEMENTED(get_ControlViewCondition, IUIAutomationCondition**)
  FAKE_UIA_NOT_IMPLEMENTED(get_ContentViewCondition, IUIAutomationCondition**)
  FAKE_UIA_NOT_IMPLEMENTED(CreateCacheRequest, IUIAutomationCacheRequest**)
  FAKE_UIA_NOT_IMPLEMENTED(CreateTrueCondition, IUIAutomationCondition**)
  FAKE_UIA_NOT_IMPLEMENTED(CreateFalseCondition, IUIAutomationCondition**)
  FAKE_UIA_NOT_IMPLEMENTED(CreatePropertyConditionEx, PROPERTYID, VARIANT, PropertyConditionFlags,
                           IUIAutomationCondition**)
  FAKE_UIA_NOT_IMPLEMENTED(CreateAndCondition, IUIAutomationCondition*, IUIAutomationCondition*,
                           IUIAutomationCondition**)
  FAKE_UIA_NOT_IMPLEMENTED(CreateAndConditionFromArray, SAFEARRAY*, IUIAutomationCondition**)
  FAKE_UIA_NOT_IMPLEMENTED(CreateAndConditionFromNativeArray, IUIAutomationCondition**, int,
                           IUIAutomationCondition**)
  FAKE_UIA_NOT_IMPLEMENTED(CreateOrCondition, IUIAutomationCondition*, IUIAutomationCondition*,
                           IUIAutomationCondition**)
  FAKE_UIA_NOT_IMPLEMENTED(CreateOrConditionFromArray, SAFEARRAY*, IUIAutomationCondition**)
  FAKE_UIA_NOT_IMPLEMENTED(CreateOrConditionFromNativeArray, IUIAutomationCondition**, int, IUIAutomationCondition**)
  FAKE_UIA_NOT_IMPLEMENTED(CreateNotCondition, IUIAutomationCondition*, IUIAutomationCondition**)
  FAKE_UIA_NOT_IMPLEMENTED(AddAutomationEventHandler, EVENTID, IUIAutomationElement*, TreeScope,
                           IUIAutomationCacheRequest*, IUIAutomationEventHandler*)
  FAKE_UIA_NOT_IMPLEMENTED(RemoveAutomationEventHandler, EVENTID, IUIAutomationElement*, IUIAutomationEventHandler*)
  FAKE_UIA_NOT_IMPLEMENTED(AddPropertyChangedEventHandlerNativeArray, IUIAutomationElement*, TreeScope,
                           IUIAutomationCacheRequest*, IUIAutomationPropertyChangedEventHandler*, PROPERTYID*, int)
  FAKE_UIA_NOT_IMPLEMENTED(AddPropertyChangedEventHandler, IUIAutomationElement*, TreeScope,
                           IUIAutomationCacheRequest*, IUIAutomationPropertyChangedEventHandler*, SAFEARRAY*)
  FAKE_UIA_NOT_IMPLEMENTED(RemovePropertyChangedEventHandler, IUIAutomationElement*,
                           IUIAutomationPropertyChangedEventHandler*)
  FAKE_UIA_NOT_IMPLEMENTED(AddStructureChangedEventHandler, IUIAutomationElement*, TreeScope,
                           IUIAutomationCacheRequest*, IUIAutomationStructureChangedEventHandler*)
  FAKE_UIA_NOT_IMPLEMENTED(RemoveStructureChangedEventHandler, IUIAutomationElement*,
                           IUIAutomationStructureChangedEventHandler*)
  FAKE_UIA_NOT_IMPLEMENTED(AddFocusChangedEventHandler, IUIAutomationCacheRequest*,
                           IUIAutomationFocusChangedEventHandler*)
  FAKE_UIA_NOT_IMPLEMENTED(RemoveFocusChangedEventHandler, IUIAutomationFocusChangedEventHandler*)
  FAKE_UIA_NOT_IMPLEMENTED(RemoveAllEventHandlers)
  FAKE_UIA_NOT_IMPLEMENTED(IntNativeArrayToSafeArray, int*, int, SAFEARRAY**)
  FAKE_UIA_NOT_IMPLEMENTED(IntSafeArrayToNativeArray, SAFEARRAY*, int**, int*)
  FAKE_UIA_NOT_IMPLEMENTED(RectToVariant, RECT, VARIANT*)
  FAKE_UIA_NOT_IMPLEMENTED(VariantToRect, VARIANT, RECT*)
  FAKE_UIA_NOT_IMPLEMENTED(SafeArrayToRectNativeArray, SAFEARRAY*, RECT**, int*)
  FAKE_UIA_NOT_IMPLEMENTED(CreateProxyFactoryEntry, IUIAutomationProxyFactory*, IUIAutomationProxyFactoryEntry**)
  FAKE_UIA_NOT_IMPLEMENTED(get_ProxyFactoryMapping, IUIAutomationProxyFactoryMapping**)
  FAKE_UIA_NOT_IMPLEMENTED(GetPropertyProgrammaticName, PROPERTYID, BSTR*)
  FAKE_UIA_NOT_IMPLEMENTED(GetPatternProgrammaticName, PATTERNID, BSTR*)
  FAKE_UIA_NOT_IMPLEMENTED(PollForPotentialSupportedPatterns, IUIAutomationElement*, SAFEARRAY**, SAFEARRAY**)
  FAKE_UIA_NOT_IMPLEMENTED(PollForPotentialSupportedProperties, IUIAutomationElement*, SAFEARRAY**, SAFEARRAY**)
  FAKE_UIA_NOT_IMPLEMENTED(CheckNotSupported, VARIANT, BOOL*)
  FAKE_UIA_NOT_IMPLEMENTED(get_ReservedNotSupportedValue, IUnknown**)
  FAKE_UIA_NOT_IMPLEMENTED(get_ReservedMixedAttributeValue, IUnknown**)
  FAKE_UIA_NOT_IMPLEMENTED(ElementFromIAccessible, IAccessible*, int, IUIAutomationElement**)
  FAKE_UIA_NOT_IMPLEMENTED(ElementFromIAccessibleBuildCache, IAccessible*, int, IUIAutomationCacheRequest*,
                           IUIAutomationElement**)
  FAKE_UIA_NOT_IMPLEMENTED(get_AutoSetFocus, BOOL*)
  FAKE_UIA_NOT_IMPLEMENTED(put_AutoSetFocus, BOOL)
  FAKE_UIA_NOT_IMPLEMENTED(get_ConnectionTimeout, DWORD*)
  FAKE_UIA_NOT_IMPLEMENTED(get_TransactionTimeout, DWORD*)

  bool offersTimeouts = true;  // answers IUIAutomation2
  int focusAsked = 0;
  int conditionsMade = 0;
  PROPERTYID conditionProperty = 0;
  VARIANT conditionValue{};
  DWORD connectionTimeout = 0;
  DWORD transactionTimeout = 0;

 protected:
  bool Accepts(REFIID riid) override {
    return riid == kIID_IUIAutomation || (offersTimeouts && riid == kIID_IUIAutomation2);
  }

 private:
  Element* const focused_;
  const HRESULT focusedResult_;
  std::map<HWND, Element*> windows_;
};

#undef FAKE_UIA_NOT_IMPLEMENTED

// The automation object the next thread gets, and how many were asked for.
inline std::atomic<Automation*> handedOut{nullptr};
inline std::atomic<int> created{0};
inline HRESULT HandOut(IUIAutomation** automation) {
  ++created;
  *automation = Held(handedOut.load());
  return *automation != nullptr ? S_OK : REGDB_E_CLASSNOTREG;
}

}  // namespace fake_uia
