#pragma once
// The component base: owner, name, tag, design-time state. An owner frees what it owns.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  std::string Name;
  std::int32_t Tag = 0;
  bool Designing = false;  // the design-time state: streaming only, no side effects

 private:
  TComponent* FOwner;
  std::vector<TComponent*> FComponents;  // owned, made with new
};
