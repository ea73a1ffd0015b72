#include "tests/fakes/fake_configurator_messages.h"

#include "configurator/seams/main_window_host.h"

namespace quillon::fake_configurator_messages {

namespace {
MessageAnswer g_yesNo = MessageAnswer::Yes;
std::vector<ShownMessage> g_messages;
}  // namespace

void Reset() {
  g_yesNo = MessageAnswer::Yes;
  g_messages.clear();
}

void SetYesNoAnswer(MessageAnswer answer) { g_yesNo = answer; }
const std::vector<ShownMessage>& Messages() { return g_messages; }

}  // namespace quillon::fake_configurator_messages

namespace quillon {

using namespace fake_configurator_messages;

MessageAnswer ShowMessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) {
  g_messages.push_back({text, title, icon, buttons});
  return buttons == MessageButtons::YesNo ? g_yesNo : MessageAnswer::Ok;
}

void* MainWindowHandle() { return nullptr; }
int RunMainWindow() { return 0; }
bool PageExists(int) { return true; }

}  // namespace quillon
