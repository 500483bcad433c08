#include "ui/Component.h"

#include "common/FileError.h"
#include "ui/Application.h"

namespace morvi::ui {

bool Guard(const std::function<void()>& f) {
  try {
    f();
    return true;
  } catch (const FileError& e) {
    Application::Instance().ShowError(e.Message());
  } catch (const std::exception& e) {
    const std::string what = e.what();
    Application::Instance().ShowError(std::u16string(what.begin(), what.end()));
  } catch (...) {
    Application::Instance().ShowError(u"Unexpected error");
  }
  return false;
}

bool Raise(const NotifyEvent& event, Component& sender) {
  if (!event) {
    return true;
  }
  return Guard([&] { event(sender); });
}

} // namespace morvi::ui
