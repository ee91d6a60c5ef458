#include "platform/named_event.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>

namespace platform {

struct NamedEvent {
  std::string name;
  bool manual_reset = true;
  std::atomic<bool> set{false};
  int handles = 0;  // guarded by the registry mutex
};

namespace {

std::mutex& RegistryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::map<std::string, NamedEvent*>& Registry() {
  static auto* registry = new std::map<std::string, NamedEvent*>();
  return *registry;
}

}  // namespace

NamedEvent* OpenNamedEvent(const char* name, bool manual_reset, bool initially_set, bool* existed) {
  if (name == nullptr || *name == '\0') return nullptr;
  std::lock_guard<std::mutex> lock(RegistryMutex());
  auto& registry = Registry();
  auto it = registry.find(name);
  if (existed != nullptr) *existed = it != registry.end();
  if (it != registry.end()) {
    ++it->second->handles;
    return it->second;
  }
  auto* event = new NamedEvent();
  event->name = name;
  event->manual_reset = manual_reset;
  event->set.store(initially_set);
  event->handles = 1;
  registry.emplace(event->name, event);
  return event;
}

void SetNamedEvent(NamedEvent* event) {
  if (event != nullptr) event->set.store(true, std::memory_order_release);
}

void ResetNamedEvent(NamedEvent* event) {
  if (event != nullptr) event->set.store(false, std::memory_order_release);
}

bool TestNamedEvent(NamedEvent* event) {
  if (event == nullptr) return false;
  if (event->manual_reset) return event->set.load(std::memory_order_acquire);
  return event->set.exchange(false, std::memory_order_acq_rel);
}

void CloseNamedEvent(NamedEvent* event) {
  if (event == nullptr) return;
  std::lock_guard<std::mutex> lock(RegistryMutex());
  if (--event->handles > 0) return;
  Registry().erase(event->name);
  delete event;
}

}  // namespace platform
