#include "ui/Accessibility.h"

#include <utility>

namespace {

// Spelt out: the static libraries of some toolchains carry a wrong one.
constexpr IID AccessibleId = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr IID DispatchId = {0x00020400, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID UnknownId = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// oleacc.dll and oleaut32.dll, loaded when a screen reader first asks.
struct AccessibilityLibrary {
  decltype(&::LresultFromObject) lresultFromObject = nullptr;
  decltype(&::CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
  decltype(&::SysAllocString) sysAllocString = nullptr;

  static const AccessibilityLibrary& Get() {
    static const AccessibilityLibrary library = [] {
      AccessibilityLibrary loaded;
      if (HMODULE oleacc = LoadLibraryW(L"oleacc.dll")) {
        loaded.lresultFromObject = Procedure<decltype(loaded.lresultFromObject)>(oleacc, "LresultFromObject");
        loaded.createStdAccessibleObject =
            Procedure<decltype(loaded.createStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject");
      }
      if (HMODULE oleaut = LoadLibraryW(L"oleaut32.dll"))
        loaded.sysAllocString = Procedure<decltype(loaded.sysAllocString)>(oleaut, "SysAllocString");
      return loaded;
    }();
    return library;
  }
  // Through the generic function type, which any other may be cast from.
  template <typename Function>
  static Function Procedure(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  }
  bool Loaded() const { return lresultFromObject && createStdAccessibleObject && sysAllocString; }
};

HRESULT Text(const std::wstring& text, BSTR* result) {
  if (result == nullptr) return E_INVALIDARG;
  *result = AccessibilityLibrary::Get().sysAllocString(text.c_str());
  return *result != nullptr ? S_OK : E_OUTOFMEMORY;
}

void SetLong(VARIANT* variant, long value) {
  variant->vt = VT_I4;
  variant->lVal = value;
}

void SetEmpty(VARIANT* variant) { variant->vt = VT_EMPTY; }

// IUnknown and the IDispatch that IAccessible derives from, which nobody
// here scripts.
template <typename Derived>
class AccessibleBase : public IAccessible {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** result) override {
    if (result == nullptr) return E_POINTER;
    if (IsEqualIID(id, AccessibleId) || IsEqualIID(id, DispatchId) || IsEqualIID(id, UnknownId)) {
      *result = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    return static_cast<Derived*>(this)->OtherInterface(id, result);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete static_cast<Derived*>(this);
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count != nullptr) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

 protected:
  virtual ~AccessibleBase() = default;

 private:
  LONG references_ = 1;
};

}  // namespace

// The grid as a table of simple children, its cells.
class TableAccessible : public AccessibleBase<TableAccessible> {
 public:
  explicit TableAccessible(AccessibleTable& table) : table_(&table) {}
  void Detach() { table_ = nullptr; }
  HRESULT OtherInterface(REFIID, void** result) {
    *result = nullptr;
    return E_NOINTERFACE;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (parent == nullptr) return E_POINTER;
    *parent = nullptr;
    if (table_ == nullptr) return CO_E_OBJNOTCONNECTED;
    return AccessibilityLibrary::Get().createStdAccessibleObject(table_->TableWindow(), OBJID_WINDOW, DispatchId,
                                                                 reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (count == nullptr) return E_POINTER;
    if (table_ == nullptr) return CO_E_OBJNOTCONNECTED;
    *count = table_->ChildCount();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** result) override {
    if (result == nullptr) return E_POINTER;
    *result = nullptr;
    const HRESULT valid = Check(child);
    return valid != S_OK ? valid : S_FALSE;  // simple children, no objects of their own
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (name != nullptr) *name = nullptr;
    const HRESULT valid = Check(child);
    if (valid != S_OK) return valid;
    if (child.lVal == CHILDID_SELF) return S_FALSE;
    return Text(table_->ChildName(child.lVal), name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override { return Nothing(child, value); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override { return Nothing(child, text); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override { return Nothing(child, text); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file != nullptr) *file = nullptr;
    if (topic != nullptr) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override { return Nothing(child, text); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override { return Nothing(child, text); }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (role == nullptr) return E_POINTER;
    const HRESULT valid = Check(child);
    if (valid != S_OK) return valid;
    SetLong(role, child.lVal == CHILDID_SELF ? ROLE_SYSTEM_TABLE : ROLE_SYSTEM_CELL);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (state == nullptr) return E_POINTER;
    const HRESULT valid = Check(child);
    if (valid != S_OK) return valid;
    const HWND window = table_->TableWindow();
    long flags = STATE_SYSTEM_FOCUSABLE;
    if (!IsWindowEnabled(window)) flags |= STATE_SYSTEM_UNAVAILABLE;
    if (child.lVal == CHILDID_SELF) {
      if (GetFocus() == window) flags |= STATE_SYSTEM_FOCUSED;
    } else {
      flags |= STATE_SYSTEM_SELECTABLE;
      if (child.lVal == table_->FocusedChild()) flags |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED;
    }
    SetLong(state, flags);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return Focused(focus); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override { return Focused(selection); }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
    const HRESULT valid = Check(child);
    if (valid != S_OK) return valid;
    RECT place{};
    if (child.lVal == CHILDID_SELF) {
      GetWindowRect(table_->TableWindow(), &place);
    } else {
      place = table_->ChildScreenRect(child.lVal);
    }
    *left = place.left;
    *top = place.top;
    *width = place.right - place.left;
    *height = place.bottom - place.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* end) override {
    if (end != nullptr) SetEmpty(end);
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (hit == nullptr) return E_POINTER;
    if (table_ == nullptr) return CO_E_OBJNOTCONNECTED;
    RECT window{};
    GetWindowRect(table_->TableWindow(), &window);
    const POINT point{x, y};
    if (!PtInRect(&window, point)) {
      SetEmpty(hit);
      return S_FALSE;
    }
    SetLong(hit, table_->ChildAt(point));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  HRESULT Check(const VARIANT& child) const {
    if (table_ == nullptr) return CO_E_OBJNOTCONNECTED;
    if (child.vt != VT_I4 || child.lVal < 0 || child.lVal > table_->ChildCount()) return E_INVALIDARG;
    return S_OK;
  }
  HRESULT Nothing(const VARIANT& child, BSTR* text) const {
    if (text != nullptr) *text = nullptr;
    const HRESULT valid = Check(child);
    return valid != S_OK ? valid : S_FALSE;
  }
  HRESULT Focused(VARIANT* result) const {
    if (result == nullptr) return E_POINTER;
    if (table_ == nullptr) return CO_E_OBJNOTCONNECTED;
    const long child = table_->FocusedChild();
    if (child == 0) {
      SetEmpty(result);
      return S_FALSE;
    }
    SetLong(result, child);
    return S_OK;
  }

  AccessibleTable* table_;
};

TableAccessible* CreateTableAccessible(AccessibleTable& table) { return new TableAccessible(table); }

void DetachTableAccessible(TableAccessible* accessible) {
  if (accessible == nullptr) return;
  accessible->Detach();
  accessible->Release();
}

LRESULT AnswerTableObject(TableAccessible* accessible, WPARAM wParam) {
  const AccessibilityLibrary& library = AccessibilityLibrary::Get();
  if (accessible == nullptr || !library.Loaded()) return 0;
  return library.lresultFromObject(AccessibleId, wParam, static_cast<IAccessible*>(accessible));
}

namespace {

// The system's own object of a control, under another name.
class NamedAccessible : public AccessibleBase<NamedAccessible> {
 public:
  NamedAccessible(IAccessible* inner, std::wstring name) : inner_(inner), name_(std::move(name)) {}
  ~NamedAccessible() override { inner_->Release(); }
  // IOleWindow and the others: the system's object answers for itself.
  HRESULT OtherInterface(REFIID id, void** result) { return inner_->QueryInterface(id, result); }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (child.vt == VT_I4 && child.lVal == CHILDID_SELF) return Text(name_, name);
    return inner_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return inner_->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return inner_->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** result) override {
    return inner_->get_accChild(child, result);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override { return inner_->get_accValue(child, value); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return inner_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override { return inner_->get_accRole(child, role); }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return inner_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override { return inner_->get_accHelp(child, text); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return inner_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
    return inner_->get_accKeyboardShortcut(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return inner_->get_accFocus(focus); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return inner_->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
    return inner_->get_accDefaultAction(child, text);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return inner_->accSelect(flags, child); }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    return inner_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return inner_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override { return inner_->accHitTest(x, y, hit); }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return inner_->accDoDefaultAction(child); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return inner_->put_accName(child, name); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return inner_->put_accValue(child, value);
  }

 private:
  IAccessible* inner_;
  std::wstring name_;
};

}  // namespace

std::optional<LRESULT> AnswerNamedObject(HWND control, WPARAM wParam, const std::wstring& name) {
  const AccessibilityLibrary& library = AccessibilityLibrary::Get();
  IAccessible* inner = nullptr;
  if (!library.Loaded() ||
      FAILED(library.createStdAccessibleObject(control, OBJID_CLIENT, AccessibleId, reinterpret_cast<void**>(&inner))))
    return std::nullopt;
  auto* named = new NamedAccessible(inner, name);
  const LRESULT result = library.lresultFromObject(AccessibleId, wParam, static_cast<IAccessible*>(named));
  named->Release();
  return result;
}
