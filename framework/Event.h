// Events: small typed callbacks that play the part of (object, method) pairs. A component that
// takes over an event of another keeps the previous handler and calls it; the optional tag says
// who installed the current handler, so that it can be given back only by its installer.
#pragma once

#include <functional>
#include <type_traits>
#include <utility>

class TObject;

template <class... Args>
class Event {
 public:
  using Handler = std::function<void(Args...)>;

  Event() = default;
  Event(std::nullptr_t) {}
  // Any callable that takes the event's arguments (a lambda that calls a method of an object).
  template <class F, class = std::enable_if_t<std::is_invocable_v<F&, Args...> && !std::is_same_v<std::decay_t<F>, Event>>>
  Event(F handler) : handler_(std::move(handler)) {}  // NOLINT: implicit, so that `OnClick = [..](..){..}` reads naturally

  explicit operator bool() const { return static_cast<bool>(handler_); }
  void operator()(Args... args) const {
    if (handler_) handler_(std::forward<Args>(args)...);
  }

  void Set(Handler handler, const void* tag = nullptr) {
    handler_ = std::move(handler);
    tag_ = tag;
  }
  void Clear() {
    handler_ = nullptr;
    tag_ = nullptr;
  }
  const void* Tag() const { return tag_; }

 private:
  Handler handler_;
  const void* tag_ = nullptr;  // identifies the installer, never dereferenced
};

using TNotifyEvent = Event<TObject*>;
// OnCloseQuery: the handler may set canClose to false.
using TCloseQueryEvent = Event<TObject*, bool&>;
