#include "gui/Component.h"

#include <algorithm>
#include <stdexcept>

#include "gui/Text.h"

namespace fw {

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->parent)
    if (c == &other) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProp(const std::wstring& propName) const {
  for (const TClassInfo* c = this; c; c = c->parent)
    for (const TPropInfo& p : c->props)
      if (SameTextIgnoreCase(p.name, propName)) return &p;
  return nullptr;
}

const TClassInfo& TComponent::StaticClass() {
  static const TClassInfo info{L"TComponent",
                               nullptr,
                               {
                                   TextProp(
                                       L"Name", [](const TComponent& c) { return c.Name(); },
                                       [](TComponent& c, const std::wstring& v) { c.SetName(v); }),
                                   IntProp(
                                       L"Tag", [](const TComponent& c) { return static_cast<int>(c.Tag()); },
                                       [](TComponent& c, int v) { c.SetTag(v); }),
                               }};
  return info;
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) owner_->InsertComponent(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  state_ |= csDestroying;
  // Owned components go in reverse creation order; each one unlinks itself.
  while (!components_.empty()) delete components_.back();
}

void TComponent::RemoveComponent(TComponent* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it != components_.end()) components_.erase(it);
}

TComponent* TComponent::FindComponent(const std::wstring& name) const {
  for (TComponent* c : components_)
    if (SameTextIgnoreCase(c->Name(), name)) return c;
  return nullptr;
}

void TComponent::EndLoading() {
  state_ &= ~static_cast<unsigned>(csLoading);
  Loaded();
}

void TComponent::ReadChild(TComponent*) {}

bool TComponent::ReadBinaryProperty(const std::wstring&, const std::vector<uint8_t>&) {
  return false;
}

std::wstring TComponent::Automation(const std::wstring& request) {
  if (request == L"name") return Name();
  if (request == L"class") return ClassName();
  if (request.rfind(L"prop:", 0) == 0) return GetTextProp(*this, request.substr(5));
  return L"";
}

TNotifyEvent TComponent::FindMethod(const std::wstring&) const {
  return nullptr;
}

int GetIntProp(const TComponent& c, const std::wstring& name) {
  const TPropInfo* p = c.ClassInfo().FindProp(name);
  if (!p || p->kind != PropKind::Integer) return -1;
  try {
    return std::stoi(p->get(c));
  } catch (const std::exception&) {
    return -1;
  }
}

std::wstring GetTextProp(const TComponent& c, const std::wstring& name) {
  const TPropInfo* p = c.ClassInfo().FindProp(name);
  return p ? p->get(c) : L"";
}

void SetPropText(TComponent& c, const std::wstring& name, const std::wstring& value) {
  const TPropInfo* p = c.ClassInfo().FindProp(name);
  if (!p) throw std::invalid_argument(Utf8(c.ClassName() + L" 没有属性 " + name));
  p->set(c, value);
}

int GetIntProp(const TComponent* c, const std::wstring& name) {
  return c ? GetIntProp(*c, name) : -1;
}

std::wstring GetTextProp(const TComponent* c, const std::wstring& name) {
  return c ? GetTextProp(*c, name) : L"";
}

void SetPropText(TComponent* c, const std::wstring& name, const std::wstring& value) {
  const TPropInfo* p = c ? c->ClassInfo().FindProp(name) : nullptr;
  if (!p || p->kind == PropKind::Object || p->kind == PropKind::Event) return;
  p->set(*c, value);
}

std::wstring GetEnumText(const TComponent* c, const std::wstring& name) {
  const TPropInfo* p = c ? c->ClassInfo().FindProp(name) : nullptr;
  if (!p || (p->kind != PropKind::Enum && p->kind != PropKind::Boolean)) return L"";
  return p->get(*c);
}

TObjectRef GetObjRef(const TComponent* c, const std::wstring& name) {
  const TPropInfo* p = c ? c->ClassInfo().FindProp(name) : nullptr;
  if (!p || p->kind != PropKind::Object || !p->getObject) return {};
  return p->getObject(*c);
}

TPropInfo IntProp(const wchar_t* name, std::function<int(const TComponent&)> get,
                  std::function<void(TComponent&, int)> set) {
  std::wstring propName = name;
  return {name, PropKind::Integer, [get](const TComponent& c) { return std::to_wstring(get(c)); },
          [set, propName](TComponent& c, const std::wstring& v) {
            size_t used = 0;
            int n = 0;
            try {
              n = std::stoi(v, &used);
            } catch (const std::exception&) {
              used = 0;
            }
            if (used == 0 || used != v.size())
              throw std::invalid_argument(Utf8(L"'" + v + L"' 不是整数 (" + propName + L")"));
            set(c, n);
          }};
}

TPropInfo BoolProp(const wchar_t* name, std::function<bool(const TComponent&)> get,
                   std::function<void(TComponent&, bool)> set) {
  return EnumProp(
      name, {L"False", L"True"}, [get](const TComponent& c) { return get(c) ? 1 : 0; },
      [set](TComponent& c, int v) { set(c, v != 0); });
}

TPropInfo TextProp(const wchar_t* name, std::function<std::wstring(const TComponent&)> get,
                   std::function<void(TComponent&, const std::wstring&)> set) {
  return {name, PropKind::String, std::move(get), std::move(set)};
}

TPropInfo EnumProp(const wchar_t* name, std::vector<std::wstring> values,
                   std::function<int(const TComponent&)> get, std::function<void(TComponent&, int)> set) {
  std::wstring propName = name;
  return {name, values.size() == 2 && values[0] == L"False" ? PropKind::Boolean : PropKind::Enum,
          [values, get](const TComponent& c) {
            int v = get(c);
            return v >= 0 && v < static_cast<int>(values.size()) ? values[static_cast<size_t>(v)]
                                                                 : std::wstring();
          },
          [values, set, propName](TComponent& c, const std::wstring& text) {
            for (size_t i = 0; i < values.size(); ++i)
              if (SameTextIgnoreCase(values[i], text)) return set(c, static_cast<int>(i));
            throw std::invalid_argument(Utf8(L"'" + text + L"' 不是 " + propName + L" 的取值"));
          }};
}

TPropInfo ObjectPropInfo(const wchar_t* name, std::function<TObjectRef(const TComponent&)> getObject,
                         std::function<void(TComponent&, const std::wstring&)> setByName) {
  std::wstring propName = name;
  auto text = [getObject](const TComponent& c) {
    TObjectRef ref = getObject(c);
    return ref.component ? ref.component->Name() : std::wstring();
  };
  auto set = [setByName, propName](TComponent& c, const std::wstring& value) {
    if (!setByName) throw std::invalid_argument(Utf8(propName + L" 不能由文字设置"));
    setByName(c, value);
  };
  return {name, PropKind::Object, text, set, std::move(getObject)};
}

TPropInfo EventProp(const wchar_t* name, std::function<TEvent&(TComponent&)> slot) {
  return {name, PropKind::Event,
          [slot](const TComponent& c) { return slot(const_cast<TComponent&>(c)).method; },
          [slot](TComponent& c, const std::wstring& method) {
            // Controls name methods of the form that owns them; the form names its own.
            TNotifyEvent handler = c.Owner() ? c.Owner()->FindMethod(method) : nullptr;
            if (!handler) handler = c.FindMethod(method);
            if (!handler) throw std::invalid_argument(Utf8(L"找不到事件处理方法 " + method));
            slot(c) = TEvent{std::move(handler), method};
          }};
}

}  // namespace fw
