#include "platform/win32/control_accessible.h"

#include <oleacc.h>
#include <optional>
#include <string>
#include <utility>

#include "platform/common/control_kinds.h"
#include "platform/common/unique_resource.h"
#include "platform/win32/wide_text.h"

namespace {

struct AccessibleTraits {
  using Handle = IAccessible*;
  static IAccessible* empty() { return nullptr; }
  static bool holds(IAccessible* object) { return object != nullptr; }
  static void free(IAccessible* object) { object->Release(); }
};
using UniqueAccessible = UniqueResource<AccessibleTraits>;

LONG roleOf(const Label&) {
  return ROLE_SYSTEM_STATICTEXT;
}
LONG roleOf(const TextBox&) {
  return ROLE_SYSTEM_TEXT;
}
LONG roleOf(const OptionButton&) {
  return ROLE_SYSTEM_RADIOBUTTON;
}
LONG roleOf(const CommandButton&) {
  return ROLE_SYSTEM_PUSHBUTTON;
}
LONG roleOf(const Frame&) {
  return ROLE_SYSTEM_GROUPING;
}

// A display named for what it is and an entry show their value; the others have none of their own.
std::optional<std::string> valueOf(const Label& label) {
  if (label.accessibleName.empty()) return std::nullopt;
  return label.caption();
}
std::optional<std::string> valueOf(const TextBox& box) {
  return box.text();
}
template <typename Other>
std::optional<std::string> valueOf(const Other&) {
  return std::nullopt;
}

HRESULT giveText(const std::string& text, BSTR* out) {
  *out = SysAllocString(widen(text).c_str());
  return *out ? S_OK : E_OUTOFMEMORY;
}

bool isSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The standard object of the native control, with the model's name, role and value; while the
// control is there, for the control itself.
class ControlAccessible final : public IAccessible {
 public:
  ControlAccessible(UniqueAccessible standard, std::shared_ptr<AccessibleSource> source)
      : standard_(std::move(standard)), source_(std::move(source)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id != __uuidof(IUnknown) && id != __uuidof(IDispatch) && id != __uuidof(IAccessible)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    const Control* control = ownFor(child);
    if (!control) return standard()->get_accName(child, name);
    return giveText(control->accessibleName.empty() ? control->caption() : control->accessibleName,
                    name);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    const Control* control = ownFor(child);
    if (!control) return standard()->get_accRole(child, role);
    role->vt = VT_I4;
    role->lVal = visitControl(*control, [](const auto& kind) { return roleOf(kind); });
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    const Control* control = ownFor(child);
    const std::optional<std::string> shown =
        control ? visitControl(*control, [](const auto& kind) { return valueOf(kind); })
                : std::nullopt;
    return shown ? giveText(*shown, value) : standard()->get_accValue(child, value);
  }

  // The rest is the standard object's.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard()->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard()->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard()->GetIDsOfNames(id, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* wrong) override {
    return standard()->Invoke(member, id, locale, flags, parameters, result, exception, wrong);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard()->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard()->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard()->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return standard()->get_accDescription(child, description);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard()->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard()->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard()->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard()->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard()->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard()->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard()->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard()->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard()->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard()->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
    return standard()->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard()->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard()->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard()->put_accValue(child, value);
  }

 private:
  ~ControlAccessible() = default;

  IAccessible* standard() const { return standard_.get(); }
  // The control while it is there, when the question is of the control itself.
  const Control* ownFor(const VARIANT& child) const {
    return isSelf(child) ? source_->control : nullptr;
  }

  UniqueAccessible standard_;
  std::shared_ptr<AccessibleSource> source_;
  ULONG references_ = 1;
};

}  // namespace

LRESULT accessibleObjectOf(HWND native, WPARAM wParam, std::shared_ptr<AccessibleSource> source) {
  IAccessible* standard = nullptr;
  if (FAILED(CreateStdAccessibleObject(native, OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&standard)))) {
    return 0;
  }
  auto* object = new ControlAccessible(UniqueAccessible(standard), std::move(source));
  const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, object);
  object->Release();
  return result;
}
