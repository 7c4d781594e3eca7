// The component model: every component has an owner that frees it, a name,
// and the components it owns. A component may ask to be told when another one
// goes away, so that it never keeps a dangling reference to it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TComponent;

// An optional callback bound to an object; the argument is the sender.
using TNotifyEvent = std::function<void(TComponent* sender)>;

class TComponent {
 public:
  // With an owner the component must live on the heap: the owner deletes it.
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();

  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // In creation order.
  const std::vector<TComponent*>& Components() const { return components_; }
  TComponent* FindComponent(std::string_view name) const;

  // While loading, properties are being restored and should not trigger work
  // such as rebuilding pictures; EndLoading then calls Loaded.
  bool Loading() const { return loading_; }
  void BeginLoading();
  void EndLoading();
  // Being edited in a form designer; applies to the owned components too.
  bool Designing() const { return designing_; }
  void SetDesigning(bool designing);
  bool Destroying() const { return destroying_; }

  // Both components are told, through Notification, when the other is destroyed.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

 protected:
  virtual void Loaded() {}
  // A component this one owns or asked about is being destroyed.
  virtual void Notification(TComponent* /*component*/) {}
  // For destructors: marks the component, so that what it does while being
  // torn down does not start new work.
  void MarkDestroying() { destroying_ = true; }
  // Frees the owned components now, newest first. Owners whose own members
  // must outlive their components call it at the start of their destructor.
  void DestroyComponents();

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);

  TComponent* owner_ = nullptr;
  std::string name_;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  bool loading_ = false;
  bool designing_ = false;
  bool destroying_ = false;
};
