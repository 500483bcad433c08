// The base of everything a form is built from: a name, a tag, and the rule for running event
// handlers.
#pragma once

#include <functional>
#include <string>

namespace morvi::ui {

class Component {
public:
  explicit Component(std::u16string name) : name_(std::move(name)) {}
  virtual ~Component() = default;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::u16string& Name() const { return name_; }
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

private:
  std::u16string name_;
  int tag_ = 0;
};

// An event handler; it receives the component that raised the event.
using NotifyEvent = std::function<void(Component& sender)>;

// Runs f. An error that it raises is shown to the user in an error message box and ends only
// this handler; no exception leaves. True when f ran to its end.
bool Guard(const std::function<void()>& f);

// Raises an event, if a handler is bound, through Guard.
bool Raise(const NotifyEvent& event, Component& sender);

} // namespace morvi::ui
