#include "ui/Timer.h"

namespace ui {

TTimer::TTimer(Application& app, std::string name, uint32_t intervalMs) : Name(std::move(name)) {
  timer_ = app.Loop().CreateTimer(
      [this, &app] {
        app.Dispatch([this] {
          if (OnTimer) OnTimer(*this);
        });
      },
      intervalMs);
}

}  // namespace ui
