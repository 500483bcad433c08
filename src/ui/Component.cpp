#include "ui/Component.h"

#include "common/FileError.h"
#include "common/TextEncoding.h"
#include "ui/Application.h"

namespace morvi::ui {

bool Guard(const std::function<void()>& f) {
  try {
    f();
    return true;
  } catch (const FileError& e) {
    Application::Instance().ShowError(e.Message());
  } catch (const std::exception& e) {
    // Exception texts are UTF-8; one that is not is shown as its bytes would read in Latin-1
    // rather than not at all.
    const std::string what = e.what();
    std::optional<std::u16string> text = DecodeUtf8(what);
    if (!text) {
      text.emplace();
      for (const unsigned char c : what) {
        text->push_back(c);
      }
    }
    Application::Instance().ShowError(*text);
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
