// The component model: an owner frees what it owns (in reverse creation
// order), owned components are listed in creation order, every component has
// a Name and a Tag, and its published properties can be read and written by
// name (case-insensitively), which is how stored definitions are applied and
// how other code inspects controls of any class.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

namespace fw {

class TComponent;
using TObject = TComponent;
using TNotifyEvent = std::function<void(TObject* sender)>;

// An event handler together with the name of the method it was bound to.
struct TEvent {
  TNotifyEvent handler;
  std::wstring method;
  explicit operator bool() const { return static_cast<bool>(handler); }
};

enum class PropKind { Integer, Boolean, Enum, String, Event, Object };

// The object an object property holds: its address and exact type, and the
// same object as a component when it is one (so that asking for any of its
// base classes finds it).
struct TObjectRef {
  void* object = nullptr;
  const std::type_info* type = nullptr;
  TComponent* component = nullptr;
};

struct TPropInfo {
  std::wstring name;
  PropKind kind;
  std::function<std::wstring(const TComponent&)> get;
  // Throws std::invalid_argument for a text the property cannot take.
  std::function<void(TComponent&, const std::wstring&)> set;
  // Object properties only: the object held now (nothing held: a null object).
  std::function<TObjectRef(const TComponent&)> getObject = nullptr;
};

// The identity of a class: its name, its parent class and the properties it publishes.
struct TClassInfo {
  const wchar_t* name;
  const TClassInfo* parent;
  std::vector<TPropInfo> props;
  bool InheritsFrom(const TClassInfo& other) const;
  const TPropInfo* FindProp(const std::wstring& propName) const;
};

#define FW_CLASS(Class)                                \
 public:                                               \
  static const ::fw::TClassInfo& StaticClass();        \
  const ::fw::TClassInfo& ClassInfo() const override { \
    return StaticClass();                              \
  }

enum ComponentStateBit : unsigned { csLoading = 1, csDestroying = 2 };

class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassInfo() const { return StaticClass(); }
  std::wstring ClassName() const { return ClassInfo().name; }
  bool Is(const TClassInfo& cls) const { return ClassInfo().InheritsFrom(cls); }

  TComponent* Owner() const { return owner_; }
  const std::vector<TComponent*>& Components() const { return components_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* FindComponent(const std::wstring& name) const;

  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& name) { name_ = name; }
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }

  unsigned ComponentState() const { return state_; }
  bool Loading() const { return (state_ & csLoading) != 0; }
  void BeginLoading() { state_ |= csLoading; }
  // Clears the loading state and calls Loaded.
  void EndLoading();
  // Told when the definition this component came from has been read completely.
  virtual void Loaded() {}
  // Component data stored as bytes (a 32-bit count followed by the bytes in
  // the definition). Returns false for a name the component does not define.
  virtual bool ReadBinaryProperty(const std::wstring& name, const std::vector<uint8_t>& data);

  // Takes a component that a stored definition nests inside this one (a
  // control placed on a container, a menu item under a menu).
  virtual void ReadChild(TComponent* child);

  // Answers an automation request ("name", "class", "prop:<Name>") for test drivers and accessibility tools.
  virtual std::wstring Automation(const std::wstring& request);

  // An event handler published by the owner under this name (the form's methods).
  virtual TNotifyEvent FindMethod(const std::wstring& name) const;

 protected:
  // Marks this component as being destroyed and frees what it owns now.
  // Controls call it first thing in their destructors, so that an owned
  // object that changed the control (its message handler, its colour) can
  // put things back while the control is still whole.
  void DestroyComponents();

 private:
  void InsertComponent(TComponent* c) { components_.push_back(c); }
  void RemoveComponent(TComponent* c);

  TComponent* owner_;
  std::vector<TComponent*> components_;
  std::wstring name_;
  intptr_t tag_ = 0;
  unsigned state_ = 0;
};

// Published-property access by name (case-insensitive); unknown properties give the neutral result.
int GetIntProp(const TComponent& c, const std::wstring& name);            // -1 when absent or not an integer
std::wstring GetTextProp(const TComponent& c, const std::wstring& name);  // any kind as text; "" when absent
// Throws std::invalid_argument when the property is absent or refuses the text.
void SetPropText(TComponent& c, const std::wstring& name, const std::wstring& value);

// The same on an instance that may be null (the skin engine reads controls of
// any class this way): a null instance or a missing property gives -1 / "" /
// nothing. SetPropText still throws for an integer property given a text that
// is not a number, and leaves object and event properties alone.
int GetIntProp(const TComponent* c, const std::wstring& name);
std::wstring GetTextProp(const TComponent* c, const std::wstring& name);
void SetPropText(TComponent* c, const std::wstring& name, const std::wstring& value);
// The value name of an enumerated or Boolean property ("True", "False",
// "blGlyphLeft"...); "" when absent, null or of another kind.
std::wstring GetEnumText(const TComponent* c, const std::wstring& name);
// The object an object property holds; null objects give a null reference.
TObjectRef GetObjRef(const TComponent* c, const std::wstring& name);
// The object an object property holds when it is a T (a component: T or a
// descendant); nullptr when absent, empty or of another class.
template <class T>
T* GetObjProp(const TComponent* c, const std::wstring& name) {
  TObjectRef ref = GetObjRef(c, name);
  if (!ref.object) return nullptr;
  if constexpr (std::is_base_of_v<TComponent, T>) {
    return ref.component ? dynamic_cast<T*>(ref.component) : nullptr;
  } else {
    return ref.type && *ref.type == typeid(T) ? static_cast<T*>(ref.object) : nullptr;
  }
}

// Builders for property tables.
TPropInfo IntProp(const wchar_t* name, std::function<int(const TComponent&)> get,
                  std::function<void(TComponent&, int)> set);
TPropInfo BoolProp(const wchar_t* name, std::function<bool(const TComponent&)> get,
                   std::function<void(TComponent&, bool)> set);
TPropInfo TextProp(const wchar_t* name, std::function<std::wstring(const TComponent&)> get,
                   std::function<void(TComponent&, const std::wstring&)> set);
TPropInfo EnumProp(const wchar_t* name, std::vector<std::wstring> values,
                   std::function<int(const TComponent&)> get, std::function<void(TComponent&, int)> set);
TPropInfo ObjectPropInfo(const wchar_t* name, std::function<TObjectRef(const TComponent&)> getObject,
                         std::function<void(TComponent&, const std::wstring&)> setByName);
// An object property. Its text is the held component's name ("" for other
// objects and for none). A component-valued property may take a text (the name
// of a component of the same owner, resolved by `setByName`); others ignore texts.
template <class T>
TPropInfo ObjProp(const wchar_t* name, std::function<T*(const TComponent&)> get,
                  std::function<void(TComponent&, const std::wstring&)> setByName = nullptr) {
  auto getObject = [get](const TComponent& c) {
    T* object = get(c);
    TObjectRef ref;
    if (!object) return ref;
    ref.object = const_cast<std::remove_const_t<T>*>(object);
    ref.type = &typeid(*object);
    if constexpr (std::is_base_of_v<TComponent, T>)
      ref.component = const_cast<std::remove_const_t<T>*>(object);
    return ref;
  };
  return ObjectPropInfo(name, getObject, std::move(setByName));
}
// An event property: the stored value names a method of the owner (or of the component itself when it has
// none).
TPropInfo EventProp(const wchar_t* name, std::function<TEvent&(TComponent&)> slot);

template <class T>
T& As(TComponent& c) {
  return static_cast<T&>(c);
}
template <class T>
const T& As(const TComponent& c) {
  return static_cast<const T&>(c);
}

}  // namespace fw
