#include "Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->Insert(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  DestroyComponents();
  // Copy: a notified component may remove itself from the list.
  const std::vector<TComponent*> notifies = freeNotifies_;
  for (TComponent* other : notifies) {
    other->freeNotifies_.erase(std::remove(other->freeNotifies_.begin(), other->freeNotifies_.end(), this),
                               other->freeNotifies_.end());
    other->Notification(this);
  }
  if (TComponent* owner = owner_) {
    owner->Remove(this);
    owner->Notification(this);
  }
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  for (TComponent* component : components_) {
    if (component->name_ == name) return component;
  }
  return nullptr;
}

void TComponent::BeginLoading() {
  loading_ = true;
  for (TComponent* component : components_) component->BeginLoading();
}

void TComponent::EndLoading() {
  for (TComponent* component : components_) component->EndLoading();
  if (!loading_) return;
  loading_ = false;
  Loaded();
}

void TComponent::SetDesigning(bool designing) {
  designing_ = designing;
  for (TComponent* component : components_) component->SetDesigning(designing);
}

void TComponent::FreeNotification(TComponent* other) {
  if (other == nullptr || other == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
    freeNotifies_.push_back(other);
    other->freeNotifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
  if (other != nullptr) {
    other->freeNotifies_.erase(std::remove(other->freeNotifies_.begin(), other->freeNotifies_.end(), this),
                               other->freeNotifies_.end());
  }
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    last->destroying_ = true;
    delete last;  // its destructor removes it from components_
  }
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
  component->designing_ = designing_;
}

void TComponent::Remove(TComponent* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
  component->owner_ = nullptr;
}
