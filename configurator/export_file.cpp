#include "configurator/export_file.h"

#include <cstdio>

#include "configurator/env_helpers.h"
#include "configurator/mod_registry.h"
#include "configurator/numeric_text.h"
#include "configurator/path_helpers.h"
#include "configurator/seams/configurator_view.h"
#include "configurator/seams/file_system.h"
#include "configurator/seams/profile_file.h"
#include "configurator/settings_model.h"

namespace quillon {

namespace {

std::string Numbered(const char* format, int number) {
  char text[32];
  std::snprintf(text, sizeof text, format, number);
  return text;
}

std::string Decimal(long long number) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld", number);
  return text;
}

const char* OneOrZero(bool on) { return on ? "1" : "0"; }

// Writes one section's values in order and remembers the first failure.
struct SectionWriter {
  const std::string& file;
  std::string section;
  long* firstFailure;
  void Put(const char* name, const std::string& text) const {
    long status = modRegistry::WriteText(file, section, name, text);
    if (status != modRegistry::kStatusOk && *firstFailure == modRegistry::kStatusOk) *firstFailure = status;
  }
  void PutNumber(const char* name, long long number) const { Put(name, Decimal(number)); }
};

void WriteCommon(const SectionWriter& out, int16_t sendType, int16_t action, const std::string& select,
                 const std::string& keySeq, const std::string& appName, const std::string& appParms) {
  out.PutNumber(kSendTypeValue, sendType);
  out.PutNumber(kActionValue, action);
  out.Put(kSelectValue, select);
  out.Put(kKeySeqValue, keySeq);
  out.Put(kAppNameValue, appName);
  out.Put(kAppParmsValue, appParms);
}

long WriteAllSections(const std::string& file) {
  long failure = modRegistry::kStatusOk;
  GlobalFields fields = ReadGlobalFields();
  SectionWriter out{file, kExportSection, &failure};
  for (int i = 0; i < kMaxConfigs; ++i) out.Put(Numbered(kConfigValueFormat, i).c_str(), g_model.configNames[i]);
  out.Put(kUltraMapPathValue, fields.ultraMapPath);
  out.Put(kUltraMapOptionsValue, fields.ultraMapOptions);
  out.Put(kUseJoystickValue, OneOrZero(fields.useJoystick));
  out.Put(kUseKeyboardValue, OneOrZero(fields.useKeyboard));
  out.Put(kApplyOnStartValue, OneOrZero(fields.applyOnStart));
  if (!fields.controllerListEmpty) out.Put(kSwitchDeviceValue, fields.selectedController);
  out.Put(kDefaultConfigValue, "0");
  out.Put(kChangeTimeoutValue, fields.changeTimeoutText);
  out.Put(kUseHookValue, OneOrZero(!fields.hotKeyMode));
  out.Put(kPollPerSecondValue, fields.pollPerSecondText);

  if (g_model.currentKeyIndex != -1) CommitKeyEditorIfOpen();
  if (g_model.currentButtonIndex != -1) CommitButtonEditorIfOpen();

  for (int i = 0; i < g_model.keyCount && i < kMaxActions; ++i) {
    const KeyActionEntry& entry = g_model.keyActions[i];
    SectionWriter key{file, Numbered(kExportKeySectionFormat, i + 1), &failure};
    key.PutNumber(kModifierValue, entry.modifier);
    key.PutNumber(kVirtualKeyValue, entry.virtualKey);
    WriteCommon(key, entry.sendType, entry.action, entry.select, entry.keySeq, entry.appName, entry.appParms);
  }
  for (int i = 0; i < g_model.buttonCount && i < kMaxActions; ++i) {
    const ButtonActionEntry& entry = g_model.buttonActions[i];
    SectionWriter joy{file, Numbered(kExportJoySectionFormat, i + 1), &failure};
    joy.PutNumber(kButtonsValue, entry.buttons);
    WriteCommon(joy, entry.sendType, entry.action, entry.select, entry.keySeq, entry.appName, entry.appParms);
  }
  if (failure == modRegistry::kStatusOk) failure = FlushProfileFile(file);
  return failure;
}

void ReportNotWritten(const std::string& path) {
  ShowMessageBox("File \"" + path + "\" could not be written.", "Error", MessageIcon::Critical, MessageButtons::Ok);
}

// A number read from the file; one that does not fit its field keeps the
// field's default.
int64_t FileNumber(const std::string& file, const std::string& section, const char* name, int64_t fallback,
                   bool (*fits)(int64_t)) {
  std::string text = modRegistry::ReadText(file, section, name, Decimal(fallback));
  std::optional<int64_t> number = LeadingNumber(text);
  return number && fits(*number) ? *number : fallback;
}
bool Fits16(int64_t n) { return FitsInt16(n); }
bool Fits32(int64_t n) { return FitsInt32(n); }
int16_t FileNumber16(const std::string& file, const std::string& section, const char* name, int16_t fallback) {
  return int16_t(FileNumber(file, section, name, fallback, Fits16));
}

bool SectionHasLines(const std::string& file, const std::string& section) {
  std::string entries;
  return modRegistry::ListValues(file, section, &entries) == modRegistry::kStatusOk;
}

FileDialogOptions ExportDialog(const char* title, uint32_t flags) {
  FileDialogOptions options;
  options.filter = std::string(kExportFilterText) + '\0' + kExportFilterPattern + '\0';
  options.filterIndex = 1;
  options.defaultExtension = kExportExtension;
  options.title = title;
  options.initialFolder = g_model.dataFolder;
  options.flags = flags;
  options.owner = MainWindowHandle();
  return options;
}

}  // namespace

std::string ExportWorkFile(const std::string& path) { return path + ".saving"; }

bool ExportToFile(const std::string& path) {
  if (FileExists(path) &&
      ShowMessageBox("Overwrite existing configuration?", "Request", MessageIcon::Question, MessageButtons::YesNo) !=
          MessageAnswer::Yes)
    return false;
  CollectGlobalSettings();

  // The new content is built in a file of its own beside the target, which
  // it replaces only once complete: a failed write keeps the old file whole.
  const std::string work = ExportWorkFile(path);
  RemoveFile(work);
  bool written = CreateEmptyFile(work) && WriteAllSections(work) == modRegistry::kStatusOk &&
                 ReplaceFileWith(work, path);
  if (!written) {
    RemoveFile(work);
    ReportNotWritten(path);
  }
  return written;
}

// Asks for one export file; false when the user cancels or picks nothing.
static bool ChooseExportFile(const char* title, uint32_t flags, std::string* path) {
  FileDialogChoice choice;
  if (!ShowFileDialog(ExportDialog(title, flags), &choice) || choice.fileNames.empty()) return false;
  *path = JoinPath(choice.folder, choice.fileNames[0]);
  return true;
}

void SaveCommand() {
  std::string path;
  if (ChooseExportFile("Save configuration", kOfnLongNames | kOfnExplorer | kOfnHideReadOnly | kOfnOverwritePrompt,
                       &path))
    ExportToFile(path);
}

void LoadCommand() {
  std::string path;
  if (ChooseExportFile("Load configuration",
                       kOfnLongNames | kOfnExplorer | kOfnNoDereferenceLinks | kOfnCreatePrompt, &path) &&
      ImportFromFile(path))
    RefreshFromModel();
}

bool ImportFromFile(const std::string& path) {
  if (!FileExists(path)) {
    ShowMessageBox("File \"" + path + "\" does not exist.", "Error", MessageIcon::Critical, MessageButtons::Ok);
    return false;
  }
  const std::string& file = path;
  const char* main = kExportSection;
  for (int i = 0; i < kMaxConfigs; ++i)
    g_model.configNames[i] =
        modRegistry::ReadText(file, main, Numbered(kConfigValueFormat, i), g_model.defaultConfigNames[i]);
  g_model.configNames[kConfigSlots - 1].clear();
  g_model.ultraMapPath = modRegistry::ReadText(file, main, kUltraMapPathValue,
                                               JoinPath(g_model.dataFolder, kUltraMapProgramName));
  g_model.ultraMapOptions = modRegistry::ReadText(file, main, kUltraMapOptionsValue, "");
  g_model.switchDevice = modRegistry::ReadText(file, main, kSwitchDeviceValue, "");
  g_model.defaultConfig = FileNumber16(file, main, kDefaultConfigValue, 0);
  g_model.changeTimeout = int32_t(FileNumber(file, main, kChangeTimeoutValue, 2048, Fits32));
  g_model.useHook = FileNumber16(file, main, kUseHookValue, 0);
  g_model.pollPerSecond = FileNumber16(file, main, kPollPerSecondValue, 16);
  g_model.useJoystick = FileNumber16(file, main, kUseJoystickValue, 0);
  g_model.useKeyboard = FileNumber16(file, main, kUseKeyboardValue, 0);
  g_model.applyOnStart = FileNumber16(file, main, kApplyOnStartValue, 1);

  g_model.keyCount = 0;
  for (int n = 1; n <= kMaxActions; ++n) {
    const std::string section = Numbered(kExportKeySectionFormat, n);
    if (!SectionHasLines(file, section)) continue;
    KeyActionEntry entry;
    entry.modifier = FileNumber16(file, section, kModifierValue, 0);
    entry.virtualKey = FileNumber16(file, section, kVirtualKeyValue, 13);
    entry.sendType = FileNumber16(file, section, kSendTypeValue, 0);
    entry.action = FileNumber16(file, section, kActionValue, NextMap);
    entry.select = modRegistry::ReadText(file, section, kSelectValue, "");
    entry.keySeq = modRegistry::ReadText(file, section, kKeySeqValue, "");
    entry.appName = modRegistry::ReadText(file, section, kAppNameValue, "");
    entry.appParms = modRegistry::ReadText(file, section, kAppParmsValue, "");
    g_model.keyActions[g_model.keyCount++] = entry;
  }

  g_model.buttonCount = 0;
  for (int n = 1; n <= kMaxActions; ++n) {
    const std::string section = Numbered(kExportJoySectionFormat, n);
    if (!SectionHasLines(file, section)) continue;
    ButtonActionEntry entry;
    // Only buttons 1 to 10 exist; other bits would not survive the registry.
    entry.buttons = int32_t(FileNumber(file, section, kButtonsValue, 0, Fits32) & int64_t(kButtonsMask));
    entry.sendType = FileNumber16(file, section, kSendTypeValue, 0);
    entry.action = FileNumber16(file, section, kActionValue, NextMap);
    entry.select = modRegistry::ReadText(file, section, kSelectValue, "");
    entry.keySeq = modRegistry::ReadText(file, section, kKeySeqValue, "");
    entry.appName = modRegistry::ReadText(file, section, kAppNameValue, "");
    entry.appParms = modRegistry::ReadText(file, section, kAppParmsValue, "");
    g_model.buttonActions[g_model.buttonCount++] = entry;
  }
  return true;
}

}  // namespace quillon
