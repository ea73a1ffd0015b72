// A scriptable stand-in for the configurator's main window: the global
// fields a test sets, the editor commits and refreshes it records, and
// message boxes answered from a script.
#pragma once

#include <string>
#include <vector>

#include "configurator/seams/configurator_view.h"

namespace quillon::fake_configurator_view {

struct ShownMessage {
  std::string text;
  std::string title;
  MessageIcon icon;
  MessageButtons buttons;
};

// Default fields (GlobalFields{}), keyboard page, every Yes/No answered Yes.
void Reset();
GlobalFields& Fields();
void SetSelectedPage(ActionPage page);
// What the action editors hold; committing copies it into the entry.
void SetKeyEditor(const KeyActionEntry& entry);
void SetButtonEditor(const ButtonActionEntry& entry);
void SetYesNoAnswer(MessageAnswer answer);

const std::vector<ShownMessage>& Messages();
int KeyCommits();
int ButtonCommits();
int Refreshes();
int ListRebuilds();

}  // namespace quillon::fake_configurator_view
