#include "tests/fakes/fake_configurator_view.h"

namespace quillon::fake_configurator_view {

namespace {
GlobalFields g_fields;
ActionPage g_page = ActionPage::Keyboard;
KeyActionEntry g_keyEditor;
ButtonActionEntry g_buttonEditor;
MessageAnswer g_yesNo = MessageAnswer::Yes;
std::vector<ShownMessage> g_messages;
int g_keyCommits = 0;
int g_buttonCommits = 0;
int g_refreshes = 0;
int g_rebuilds = 0;
}  // namespace

void Reset() {
  g_fields = GlobalFields{};
  g_page = ActionPage::Keyboard;
  g_keyEditor = KeyActionEntry{};
  g_buttonEditor = ButtonActionEntry{};
  g_yesNo = MessageAnswer::Yes;
  g_messages.clear();
  g_keyCommits = g_buttonCommits = g_refreshes = g_rebuilds = 0;
}

GlobalFields& Fields() { return g_fields; }
void SetSelectedPage(ActionPage page) { g_page = page; }
void SetKeyEditor(const KeyActionEntry& entry) { g_keyEditor = entry; }
void SetButtonEditor(const ButtonActionEntry& entry) { g_buttonEditor = entry; }
void SetYesNoAnswer(MessageAnswer answer) { g_yesNo = answer; }
const std::vector<ShownMessage>& Messages() { return g_messages; }
int KeyCommits() { return g_keyCommits; }
int ButtonCommits() { return g_buttonCommits; }
int Refreshes() { return g_refreshes; }
int ListRebuilds() { return g_rebuilds; }

}  // namespace quillon::fake_configurator_view

namespace quillon {

using namespace fake_configurator_view;

MessageAnswer ShowMessageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) {
  g_messages.push_back({text, title, icon, buttons});
  return buttons == MessageButtons::YesNo ? g_yesNo : MessageAnswer::Ok;
}

GlobalFields ReadGlobalFields() { return g_fields; }

void SetFieldText(TextField field, const std::string& text) {
  switch (field) {
    case TextField::ChangeTimeout: g_fields.changeTimeoutText = text; break;
    case TextField::PollPerSecond: g_fields.pollPerSecondText = text; break;
    case TextField::UltraMapPath: g_fields.ultraMapPath = text; break;
  }
}

ActionPage SelectedActionPage() { return g_page; }
void CommitKeyEditor(KeyActionEntry& entry) {
  ++g_keyCommits;
  entry = g_keyEditor;
}
void CommitButtonEditor(ButtonActionEntry& entry) {
  ++g_buttonCommits;
  entry = g_buttonEditor;
}
void RebuildLists() { ++g_rebuilds; }
void RefreshFromModel() { ++g_refreshes; }
void* MainWindowHandle() { return nullptr; }
int RunMainWindow() { return 0; }

}  // namespace quillon
