#include "runtime/app_launch.h"

#include "runtime/seams/process_services.h"
#include "runtime/seams/sound_player.h"
#include "runtime/settings_store.h"

namespace quillon {

void LaunchProgram(const std::string& program, const std::string& parameters) {
  std::string commandLine = (!parameters.empty() && parameters[0] == ' ') ? parameters : " " + parameters;
  (void)StartProgram(program, commandLine);
}

std::string ExpandUltraMapOptions(const std::string& options, const std::string& quotedPath) {
  std::string line;
  bool pathPlaced = false;
  for (size_t i = 0; i < options.size(); ++i) {
    if (options[i] == '%' && i + 1 < options.size()) {
      char next = options[i + 1];
      if (next == '%') {
        line += '%';
        ++i;
        continue;
      }
      if (next == 's' && !pathPlaced) {
        line += quotedPath;
        pathPlaced = true;
        ++i;
        continue;
      }
    }
    line += options[i];
  }
  return line;
}

std::optional<std::string> HandOffParameters() {
  const char* map = CurrentMapName();
  if (map == nullptr) return std::nullopt;
  std::string quotedPath = "\"" + g_settings.programDirectory + map + ".ugc\"";
  if (quotedPath.size() > kMaxBuiltTextLength) return std::nullopt;
  std::string line = ExpandUltraMapOptions(g_settings.ultraMapOptions, quotedPath);
  // A line that would have been cut would hand over a wrong path: skip it.
  if (line.size() > kMaxBuiltTextLength) return std::nullopt;
  return line;
}

void HandOffMap() {
  std::optional<std::string> parameters = HandOffParameters();
  if (parameters) LaunchProgram(g_settings.ultraMapPath, *parameters);
}

void PlayMapSound() {
  RuntimeSettings& s = g_settings;
  const char* map = CurrentMapName();
  if (map != nullptr) {
    std::string path = s.programDirectory + map + ".wav";
    StopSound();
    if (!FileAttributesReadable(path)) path = s.programDirectory + std::to_string(s.currentConfig + 1) + ".wav";
    if (path.size() <= kMaxBuiltTextLength) PlaySoundFileAsync(path);
  }
  s.lastAnnounce = ProcessClockMs();
}

}  // namespace quillon
