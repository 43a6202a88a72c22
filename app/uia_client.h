// The few UI Automation client interfaces the caret thread uses. The
// toolchain's headers (MinGW-w64 10) name the type library and the pattern
// and property numbers, but declare none of the client interfaces, so they
// are declared here, in the slot order of Microsoft's UIAutomationClient.idl:
// a COM call goes through the slot's position in the table, so every method
// before the last one called is declared, with its documented signature,
// even when it is never called. Interfaces cut short end after the last slot
// this program calls and say so; nothing here implements them but the tests'
// fakes. The names live in namespace uia, so that headers which one day
// declare the real ones do not collide with these.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <oleacc.h>
#include <unknwn.h>

namespace uia {

// Numbers from UIAutomationClient.idl.
constexpr int kTextPatternId = 10014;
constexpr int kTextPattern2Id = 10024;
constexpr int kHasKeyboardFocusPropertyId = 30008;

using PROPERTYID = int;
using PATTERNID = int;
using EVENTID = int;
using UIA_HWND = void*;

// MIDL enums are 32-bit.
enum TreeScope : int {
  TreeScope_Element = 0x1,
  TreeScope_Children = 0x2,
  TreeScope_Descendants = 0x4,
  TreeScope_Parent = 0x8,
  TreeScope_Ancestors = 0x10,
  TreeScope_Subtree = TreeScope_Element | TreeScope_Children | TreeScope_Descendants,
};
enum PropertyConditionFlags : int { PropertyConditionFlags_None = 0, PropertyConditionFlags_IgnoreCase = 1 };
enum TextUnit : int {
  TextUnit_Character = 0,
  TextUnit_Format = 1,
  TextUnit_Word = 2,
  TextUnit_Line = 3,
  TextUnit_Paragraph = 4,
  TextUnit_Page = 5,
  TextUnit_Document = 6,
};
enum TextPatternRangeEndpoint : int { TextPatternRangeEndpoint_Start = 0, TextPatternRangeEndpoint_End = 1 };
enum SupportedTextSelection : int {
  SupportedTextSelection_None = 0,
  SupportedTextSelection_Single = 1,
  SupportedTextSelection_Multiple = 2,
};

// Interfaces that only pass through a declared slot's signature.
struct IUIAutomationCacheRequest;
struct IUIAutomationTreeWalker;
struct IUIAutomationEventHandler;
struct IUIAutomationPropertyChangedEventHandler;
struct IUIAutomationStructureChangedEventHandler;
struct IUIAutomationFocusChangedEventHandler;
struct IUIAutomationProxyFactory;
struct IUIAutomationProxyFactoryEntry;
struct IUIAutomationProxyFactoryMapping;
struct IUIAutomationElementArray;
struct IUIAutomationElement;

// {352ffba8-0973-437c-a61f-f64cafd81df9}; no methods of its own.
struct IUIAutomationCondition : public IUnknown {};

// {a543cc6a-f4ae-494b-8239-c814481187a8}, whole.
struct IUIAutomationTextRange : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Clone(IUIAutomationTextRange** clonedRange) = 0;
  virtual HRESULT STDMETHODCALLTYPE Compare(IUIAutomationTextRange* range, BOOL* areSame) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompareEndpoints(TextPatternRangeEndpoint srcEndPoint,
                                                     IUIAutomationTextRange* range,
                                                     TextPatternRangeEndpoint targetEndPoint, int* compValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE ExpandToEnclosingUnit(TextUnit textUnit) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAttribute(int attr, VARIANT val, BOOL backward,
                                                  IUIAutomationTextRange** found) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindText(BSTR text, BOOL backward, BOOL ignoreCase,
                                             IUIAutomationTextRange** found) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetAttributeValue(int attr, VARIANT* value) = 0;
  // Left, top, width and height per line, as doubles; empty for a degenerate range.
  virtual HRESULT STDMETHODCALLTYPE GetBoundingRectangles(SAFEARRAY** boundingRects) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetEnclosingElement(IUIAutomationElement** enclosingElement) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetText(int maxLength, BSTR* text) = 0;
  virtual HRESULT STDMETHODCALLTYPE Move(TextUnit unit, int count, int* moved) = 0;
  virtual HRESULT STDMETHODCALLTYPE MoveEndpointByUnit(TextPatternRangeEndpoint endpoint, TextUnit unit, int count,
                                                       int* moved) = 0;
  virtual HRESULT STDMETHODCALLTYPE MoveEndpointByRange(TextPatternRangeEndpoint srcEndPoint,
                                                        IUIAutomationTextRange* range,
                                                        TextPatternRangeEndpoint targetEndPoint) = 0;
  virtual HRESULT STDMETHODCALLTYPE Select() = 0;
  virtual HRESULT STDMETHODCALLTYPE AddToSelection() = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveFromSelection() = 0;
  virtual HRESULT STDMETHODCALLTYPE ScrollIntoView(BOOL alignToTop) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetChildren(IUIAutomationElementArray** children) = 0;
};

// {ce4ae76a-e717-4c98-81ea-47371d028eb6}, whole.
struct IUIAutomationTextRangeArray : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_Length(int* length) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetElement(int index, IUIAutomationTextRange** element) = 0;
};

// {32eba289-3583-42c9-9c59-3b6d9a1e9b6a}, whole.
struct IUIAutomationTextPattern : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE RangeFromPoint(POINT pt, IUIAutomationTextRange** range) = 0;
  virtual HRESULT STDMETHODCALLTYPE RangeFromChild(IUIAutomationElement* child, IUIAutomationTextRange** range) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSelection(IUIAutomationTextRangeArray** ranges) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVisibleRanges(IUIAutomationTextRangeArray** ranges) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DocumentRange(IUIAutomationTextRange** range) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_SupportedTextSelection(SupportedTextSelection* supportedTextSelection) = 0;
};

// {506a921a-fcc9-409f-b23b-37eb74106872}, whole (Windows 8 and later).
struct IUIAutomationTextPattern2 : public IUIAutomationTextPattern {
  virtual HRESULT STDMETHODCALLTYPE RangeFromAnnotation(IUIAutomationElement* annotation,
                                                        IUIAutomationTextRange** range) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCaretRange(BOOL* isActive, IUIAutomationTextRange** range) = 0;
};

// {d22108aa-8ac5-49a5-837b-37bbb3d7591e}, cut short after GetCurrentPatternAs
// (the 12th of its 82 methods): the property getters after it are not called.
struct IUIAutomationElement : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** runtimeId) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFirst(TreeScope scope, IUIAutomationCondition* condition,
                                              IUIAutomationElement** found) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAll(TreeScope scope, IUIAutomationCondition* condition,
                                            IUIAutomationElementArray** found) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFirstBuildCache(TreeScope scope, IUIAutomationCondition* condition,
                                                        IUIAutomationCacheRequest* cacheRequest,
                                                        IUIAutomationElement** found) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindAllBuildCache(TreeScope scope, IUIAutomationCondition* condition,
                                                      IUIAutomationCacheRequest* cacheRequest,
                                                      IUIAutomationElementArray** found) = 0;
  virtual HRESULT STDMETHODCALLTYPE BuildUpdatedCache(IUIAutomationCacheRequest* cacheRequest,
                                                      IUIAutomationElement** updatedElement) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue(PROPERTYID propertyId, VARIANT* retVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValueEx(PROPERTYID propertyId, BOOL ignoreDefaultValue,
                                                              VARIANT* retVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValue(PROPERTYID propertyId, VARIANT* retVal) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValueEx(PROPERTYID propertyId, BOOL ignoreDefaultValue,
                                                             VARIANT* retVal) = 0;
  // S_OK with a null object when the element does not support the pattern.
  virtual HRESULT STDMETHODCALLTYPE GetCurrentPatternAs(PATTERNID patternId, REFIID riid, void** patternObject) = 0;
};

// {30cbe57d-d9d0-452a-ab13-7ac5ac4825ee}, whole: IUIAutomation2 follows it.
struct IUIAutomation : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CompareElements(IUIAutomationElement* el1, IUIAutomationElement* el2,
                                                    BOOL* areSame) = 0;
  virtual HRESULT STDMETHODCALLTYPE CompareRuntimeIds(SAFEARRAY* runtimeId1, SAFEARRAY* runtimeId2,
                                                      BOOL* areSame) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRootElement(IUIAutomationElement** root) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(UIA_HWND hwnd, IUIAutomationElement** element) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromPoint(POINT pt, IUIAutomationElement** element) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFocusedElement(IUIAutomationElement** element) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRootElementBuildCache(IUIAutomationCacheRequest* cacheRequest,
                                                             IUIAutomationElement** root) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromHandleBuildCache(UIA_HWND hwnd, IUIAutomationCacheRequest* cacheRequest,
                                                                IUIAutomationElement** element) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromPointBuildCache(POINT pt, IUIAutomationCacheRequest* cacheRequest,
                                                               IUIAutomationElement** element) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFocusedElementBuildCache(IUIAutomationCacheRequest* cacheRequest,
                                                                IUIAutomationElement** element) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateTreeWalker(IUIAutomationCondition* pCondition,
                                                     IUIAutomationTreeWalker** walker) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ControlViewWalker(IUIAutomationTreeWalker** walker) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ContentViewWalker(IUIAutomationTreeWalker** walker) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RawViewWalker(IUIAutomationTreeWalker** walker) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RawViewCondition(IUIAutomationCondition** condition) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ControlViewCondition(IUIAutomationCondition** condition) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ContentViewCondition(IUIAutomationCondition** condition) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateCacheRequest(IUIAutomationCacheRequest** cacheRequest) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateTrueCondition(IUIAutomationCondition** newCondition) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateFalseCondition(IUIAutomationCondition** newCondition) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreatePropertyCondition(PROPERTYID propertyId, VARIANT value,
                                                            IUIAutomationCondition** newCondition) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreatePropertyConditionEx(PROPERTYID propertyId, VARIANT value,
                                                              PropertyConditionFlags flags,
                                                              IUIAutomationCondition** newCondition) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateAndCondition(IUIAutomationCondition* condition1,
                                                       IUIAutomationCondition* condition2,
                                                       IUIAutomationCondition** newCondition) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateAndConditionFromArray(SAFEARRAY* conditions,
                                                                IUIAutomationCondition** newCondition) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateAndConditionFromNativeArray(IUIAutomationCondition** conditions,
                                                                      int conditionCount,
                                                                      IUIAutomationCondition** newCondition) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateOrCondition(IUIAutomationCondition* condition1,
                                                      IUIAutomationCondition* condition2,
                                                      IUIAutomationCondition** newCondition) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateOrConditionFromArray(SAFEARRAY* conditions,
                                                               IUIAutomationCondition** newCondition) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateOrConditionFromNativeArray(IUIAutomationCondition** conditions,
                                                                     int conditionCount,
                                                                     IUIAutomationCondition** newCondition) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateNotCondition(IUIAutomationCondition* condition,
                                                       IUIAutomationCondition** newCondition) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddAutomationEventHandler(EVENTID eventId, IUIAutomationElement* element,
                                                              TreeScope scope, IUIAutomationCacheRequest* cacheRequest,
                                                              IUIAutomationEventHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveAutomationEventHandler(EVENTID eventId, IUIAutomationElement* element,
                                                                 IUIAutomationEventHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddPropertyChangedEventHandlerNativeArray(
      IUIAutomationElement* element, TreeScope scope, IUIAutomationCacheRequest* cacheRequest,
      IUIAutomationPropertyChangedEventHandler* handler, PROPERTYID* propertyArray, int propertyCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddPropertyChangedEventHandler(IUIAutomationElement* element, TreeScope scope,
                                                                   IUIAutomationCacheRequest* cacheRequest,
                                                                   IUIAutomationPropertyChangedEventHandler* handler,
                                                                   SAFEARRAY* propertyArray) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemovePropertyChangedEventHandler(
      IUIAutomationElement* element, IUIAutomationPropertyChangedEventHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddStructureChangedEventHandler(
      IUIAutomationElement* element, TreeScope scope, IUIAutomationCacheRequest* cacheRequest,
      IUIAutomationStructureChangedEventHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveStructureChangedEventHandler(
      IUIAutomationElement* element, IUIAutomationStructureChangedEventHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddFocusChangedEventHandler(IUIAutomationCacheRequest* cacheRequest,
                                                                IUIAutomationFocusChangedEventHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveFocusChangedEventHandler(IUIAutomationFocusChangedEventHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveAllEventHandlers() = 0;
  virtual HRESULT STDMETHODCALLTYPE IntNativeArrayToSafeArray(int* array, int arrayCount, SAFEARRAY** safeArray) = 0;
  virtual HRESULT STDMETHODCALLTYPE IntSafeArrayToNativeArray(SAFEARRAY* intArray, int** array, int* arrayCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE RectToVariant(RECT rc, VARIANT* var) = 0;
  virtual HRESULT STDMETHODCALLTYPE VariantToRect(VARIANT var, RECT* rc) = 0;
  virtual HRESULT STDMETHODCALLTYPE SafeArrayToRectNativeArray(SAFEARRAY* rects, RECT** rectArray,
                                                               int* rectArrayCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateProxyFactoryEntry(IUIAutomationProxyFactory* factory,
                                                            IUIAutomationProxyFactoryEntry** factoryEntry) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ProxyFactoryMapping(IUIAutomationProxyFactoryMapping** factoryMapping) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPropertyProgrammaticName(PROPERTYID property, BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPatternProgrammaticName(PATTERNID pattern, BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE PollForPotentialSupportedPatterns(IUIAutomationElement* pElement,
                                                                      SAFEARRAY** patternIds,
                                                                      SAFEARRAY** patternNames) = 0;
  virtual HRESULT STDMETHODCALLTYPE PollForPotentialSupportedProperties(IUIAutomationElement* pElement,
                                                                        SAFEARRAY** propertyIds,
                                                                        SAFEARRAY** propertyNames) = 0;
  virtual HRESULT STDMETHODCALLTYPE CheckNotSupported(VARIANT value, BOOL* isNotSupported) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ReservedNotSupportedValue(IUnknown** notSupportedValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ReservedMixedAttributeValue(IUnknown** mixedAttributeValue) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromIAccessible(IAccessible* accessible, int childId,
                                                           IUIAutomationElement** element) = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromIAccessibleBuildCache(IAccessible* accessible, int childId,
                                                                     IUIAutomationCacheRequest* cacheRequest,
                                                                     IUIAutomationElement** element) = 0;
};

// {34723aff-0c9d-49d0-9896-7ab52df8cd8a}, whole (Windows 8 and later): the
// time UI Automation waits for an unresponsive provider.
struct IUIAutomation2 : public IUIAutomation {
  virtual HRESULT STDMETHODCALLTYPE get_AutoSetFocus(BOOL* autoSetFocus) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AutoSetFocus(BOOL autoSetFocus) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ConnectionTimeout(DWORD* timeout) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ConnectionTimeout(DWORD timeout) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_TransactionTimeout(DWORD* timeout) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_TransactionTimeout(DWORD timeout) = 0;
};

// The documented class and interface identifiers.
inline constexpr CLSID kCLSID_CUIAutomation = {
    0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
inline constexpr CLSID kCLSID_CUIAutomation8 = {
    0xe22ad333, 0xb25f, 0x460c, {0x83, 0xd0, 0x05, 0x81, 0x10, 0x73, 0x95, 0xc9}};
inline constexpr IID kIID_IUIAutomation = {
    0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
inline constexpr IID kIID_IUIAutomation2 = {
    0x34723aff, 0x0c9d, 0x49d0, {0x98, 0x96, 0x7a, 0xb5, 0x2d, 0xf8, 0xcd, 0x8a}};
inline constexpr IID kIID_IUIAutomationElement = {
    0xd22108aa, 0x8ac5, 0x49a5, {0x83, 0x7b, 0x37, 0xbb, 0xb3, 0xd7, 0x59, 0x1e}};
inline constexpr IID kIID_IUIAutomationCondition = {
    0x352ffba8, 0x0973, 0x437c, {0xa6, 0x1f, 0xf6, 0x4c, 0xaf, 0xd8, 0x1d, 0xf9}};
inline constexpr IID kIID_IUIAutomationTextPattern = {
    0x32eba289, 0x3583, 0x42c9, {0x9c, 0x59, 0x3b, 0x6d, 0x9a, 0x1e, 0x9b, 0x6a}};
inline constexpr IID kIID_IUIAutomationTextPattern2 = {
    0x506a921a, 0xfcc9, 0x409f, {0xb2, 0x3b, 0x37, 0xeb, 0x74, 0x10, 0x68, 0x72}};
inline constexpr IID kIID_IUIAutomationTextRange = {
    0xa543cc6a, 0xf4ae, 0x494b, {0x82, 0x39, 0xc8, 0x14, 0x48, 0x11, 0x87, 0xa8}};
inline constexpr IID kIID_IUIAutomationTextRangeArray = {
    0xce4ae76a, 0xe717, 0x4c98, {0x81, 0xea, 0x47, 0x37, 0x1d, 0x02, 0x8e, 0xb6}};

}  // namespace uia
