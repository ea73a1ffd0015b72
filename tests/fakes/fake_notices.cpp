#include "tests/fakes/fake_notices.h"

#include "runtime/seams/map_name_display.h"
#include "runtime/seams/notification_icon.h"

namespace quillon::fake_notices {

namespace {
bool g_shellMissing = false;
std::optional<std::string> g_iconTip;
std::optional<std::string> g_nameShowing;
std::vector<std::string> g_namesShown;
}  // namespace

void Reset() {
  g_shellMissing = false;
  g_iconTip.reset();
  g_nameShowing.reset();
  g_namesShown.clear();
}

void SetShellMissing(bool missing) { g_shellMissing = missing; }
std::optional<std::string> IconTip() { return g_iconTip; }
std::optional<std::string> NameShowing() { return g_nameShowing; }
const std::vector<std::string>& NamesShown() { return g_namesShown; }

}  // namespace quillon::fake_notices

namespace quillon {

bool ShowNotificationIcon(const std::string& tip) {
  if (fake_notices::g_shellMissing) return false;
  fake_notices::g_iconTip = tip;
  return true;
}

void RemoveNotificationIcon() { fake_notices::g_iconTip.reset(); }

void ShowMapNameOnScreen(const std::string& name) {
  fake_notices::g_nameShowing = name;
  fake_notices::g_namesShown.push_back(name);
}

void HideMapNameOnScreen() { fake_notices::g_nameShowing.reset(); }

}  // namespace quillon
