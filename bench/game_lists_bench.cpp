// The readers behind maps that follow the game:
// - the emulator's machine list: the scanner's speed over a generated list
//   of 120 MiB shaped as "mame -listxml" writes it (roms, chips, displays,
//   DIP switches, devices between the games), fed from memory, and read
//   from a file through the file-reading seam as the configurator's import
//   does; with the process's peak memory and the scanner's own buffer;
// - ten games lists of 2,000 names each: reading all ten (as every load
//   does) and choosing the map for a game.
// MB here are 10^6 bytes.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include "configurator/mame_list.h"
#include "shared/games_list.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

volatile size_t g_sink = 0;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// The most memory the process has held, in MiB.
double PeakMemoryMiB() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return double(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
#else
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
#endif
}

// A machine list made a block at a time, so that the list itself never sits
// in memory whole.
class ListWriter {
 public:
  std::string Header() const {
    return "<?xml version=\"1.0\"?>\n<!DOCTYPE mame [\n<!ELEMENT mame (machine+)>\n"
           "\t<!ATTLIST mame build CDATA #IMPLIED>\n\t<!ELEMENT machine (description, year?, rom*, input?)>\n"
           "\t\t<!ATTLIST machine name CDATA #REQUIRED>\n\t\t<!ATTLIST machine isdevice (yes|no) \"no\">\n"
           "\t\t<!ATTLIST control ways CDATA #IMPLIED>\n]>\n\n"
           "<mame build=\"0.261 (mame0261)\" debug=\"no\" mameconfig=\"10\">\n";
  }
  std::string Footer() const { return "</mame>\n"; }

  // The next machines, about `bytes` of them.
  std::string Block(size_t bytes) {
    std::string block;
    block.reserve(bytes + 4096);
    char line[512];
    while (block.size() < bytes) {
      unsigned n = next_++;
      if (n % 5 == 4) {
        std::snprintf(
            line, sizeof line,
            "\t<machine name=\"dev%06u\" sourcefile=\"src/devices/dev%03u.cpp\" isdevice=\"yes\" runnable=\"no\">\n"
            "\t\t<description>Device %u</description>\n\t\t<rom name=\"dev%06u.bin\" size=\"8192\" "
            "crc=\"%08x\" sha1=\"0123456789abcdef0123456789abcdef01234567\" region=\"mcu\" offset=\"0\"/>\n"
            "\t</machine>\n",
            n, n % 997, n, n, n * 2654435761u);
        block += line;
        continue;
      }
      if (n % 3 == 1) std::snprintf(line, sizeof line, " cloneof=\"gm%06u\" romof=\"gm%06u\"", n - 1, n - 1);
      else line[0] = '\0';
      std::string clone = line;
      std::snprintf(line, sizeof line,
                    "\t<machine name=\"gm%06u\" sourcefile=\"vendor/drv%03u.cpp\"%s>\n"
                    "\t\t<description>Generated Game %u (World, set 1)</description>\n\t\t<year>1982</year>\n"
                    "\t\t<manufacturer>Maker &amp; Partner</manufacturer>\n",
                    n, n % 997, clone.c_str(), n);
      block += line;
      for (int rom = 0; rom < 8; ++rom) {
        std::snprintf(line, sizeof line,
                      "\t\t<rom name=\"gm%06u.%d\" size=\"4096\" crc=\"%08x\" "
                      "sha1=\"%08x89abcdef0123456789abcdef01234567\" region=\"maincpu\" offset=\"%x\"/>\n",
                      n, rom, n * 40503u + rom, n ^ 0x5bd1e995u, rom * 0x1000);
        block += line;
      }
      block +=
          "\t\t<device_ref name=\"z80\"/>\n\t\t<device_ref name=\"screen\"/>\n\t\t<device_ref name=\"speaker\"/>\n"
          "\t\t<chip type=\"cpu\" tag=\"maincpu\" name=\"Zilog Z80\" clock=\"3072000\"/>\n"
          "\t\t<chip type=\"audio\" tag=\"mono\" name=\"Speaker\"/>\n"
          "\t\t<display tag=\"screen\" type=\"raster\" rotate=\"90\" width=\"288\" height=\"224\" "
          "refresh=\"60.606061\" pixclock=\"6144000\" htotal=\"384\" hbend=\"0\" hbstart=\"288\" vtotal=\"264\" "
          "vbend=\"0\" vbstart=\"224\" />\n\t\t<sound channels=\"1\"/>\n";
      static const char* const kControls[] = {
          "<control type=\"joy\" player=\"1\" buttons=\"1\" ways=\"4\"/>",
          "<control type=\"joy\" player=\"1\" buttons=\"6\" ways=\"8\"/>",
          "<control type=\"joy\" player=\"1\" buttons=\"3\" ways=\"2\"/>",
          "<control type=\"joy\" player=\"1\" ways=\"vertical2\"/>",
          "<control type=\"paddle\" player=\"1\" buttons=\"1\" minimum=\"0\" maximum=\"255\" sensitivity=\"50\" "
          "keydelta=\"10\"/>",
          "",
      };
      std::snprintf(line, sizeof line, "\t\t<input players=\"2\" coins=\"2\">\n\t\t\t%s\n\t\t</input>\n",
                    kControls[n % 6]);
      block += line;
      for (int dip = 0; dip < 2; ++dip) {
        block +=
            "\t\t<dipswitch name=\"Coinage\" tag=\"DSW1\" mask=\"3\">\n\t\t\t<diplocation name=\"SW1\" "
            "number=\"1\"/>\n";
        for (int value = 0; value < 4; ++value) {
          std::snprintf(line, sizeof line, "\t\t\t<dipvalue name=\"%d Coin/1 Credit\" value=\"%d\"%s/>\n", value + 1,
                        value, value == 0 ? " default=\"yes\"" : "");
          block += line;
        }
        block += "\t\t</dipswitch>\n";
      }
      block += "\t\t<driver status=\"good\" emulation=\"good\" savestate=\"supported\"/>\n\t</machine>\n";
    }
    return block;
  }

 private:
  unsigned next_ = 0;
};

constexpr uint64_t kListBytes = uint64_t(120) << 20;
constexpr size_t kBlockBytes = 1 << 20;

void PrintResult(const char* label, const quillon::MameListResult& result, uint64_t bytes, double seconds) {
  std::printf("%-34s %7.1f MB in %6.3f s  %7.1f MB/s  outcome %d, %zu classified, %zu left out\n", label,
              double(bytes) / 1e6, seconds, double(bytes) / 1e6 / seconds, int(result.outcome), result.classified,
              result.leftOut);
}

void BenchScannerFromMemory() {
  ListWriter writer;
  quillon::MameListScanner scanner;
  double seconds = 0;
  auto feed = [&](const std::string& text) {
    Clock::time_point start = Clock::now();
    for (size_t at = 0; at < text.size(); at += quillon::kMameListPieceBytes)
      scanner.Feed(std::string_view(text).substr(at, quillon::kMameListPieceBytes));
    seconds += Seconds(start);
  };
  feed(writer.Header());
  while (scanner.BytesConsumed() < kListBytes) feed(writer.Block(kBlockBytes));
  feed(writer.Footer());
  Clock::time_point start = Clock::now();
  quillon::MameListResult result = scanner.Finish();
  seconds += Seconds(start);
  PrintResult("machine list, from memory", result, scanner.BytesConsumed(), seconds);
  std::printf("%-34s %zu bytes held of a tag a piece ended in (pieces of %zu bytes)\n", "  scanner's buffer high-water",
              scanner.BufferHighWater(), quillon::kMameListPieceBytes);
}

void BenchListFile(const fs::path& folder) {
  const std::string path = (folder / "mame.xml").string();
  {
    ListWriter writer;
    std::ofstream out(path, std::ios::binary);
    out << writer.Header();
    for (uint64_t written = 0; written < kListBytes; written += kBlockBytes) out << writer.Block(kBlockBytes);
    out << writer.Footer();
  }
  double before = PeakMemoryMiB();
  Clock::time_point start = Clock::now();
  uint64_t updates = 0;
  quillon::MameListResult result = quillon::ReadMameList(path, [&](uint64_t, uint64_t) { return ++updates > 0; });
  double seconds = Seconds(start);
  PrintResult("machine list, file through the seam", result, result.bytesRead, seconds);
  std::printf("%-34s %.1f MiB before the read, %.1f MiB after (%llu progress calls)\n", "  process peak memory", before,
              PeakMemoryMiB(), static_cast<unsigned long long>(updates));
  fs::remove(path);
}

void BenchGamesLists(const fs::path& folder) {
  constexpr int kLists = 10;
  constexpr int kNames = 2000;
  for (int patterns : {0, 50}) {
    std::vector<std::string> paths;
    for (int list = 0; list < kLists; ++list) {
      std::string text = "# generated\r\n";
      for (int name = 0; name < kNames; ++name) {
        char line[32];
        if (name < patterns) std::snprintf(line, sizeof line, "p%02d%03d*\r\n", list, name);
        else std::snprintf(line, sizeof line, "game%02d%04d\r\n", list, name);
        text += line;
      }
      paths.push_back(quillon::GamesListPath(folder.string() + "/", "Map " + std::to_string(list)));
      std::ofstream(paths.back(), std::ios::binary) << text;
    }
    std::vector<double> reads;
    std::vector<quillon::GamesList> lists;
    for (int round = 0; round < 40; ++round) {
      Clock::time_point start = Clock::now();
      lists.clear();
      for (const std::string& path : paths) lists.push_back(quillon::ReadGamesList(path));
      reads.push_back(Seconds(start) * 1e3);
    }
    std::sort(reads.begin(), reads.end());
    std::printf("ten games lists of %d names (%d with wildcards): read all ten: median %.3f ms, 95th %.3f ms\n", kNames,
                patterns, reads[reads.size() / 2], reads[reads.size() * 95 / 100]);
    for (const char* game : {"game000500", "game091999", "defender"}) {
      constexpr int kCalls = 20000;
      Clock::time_point start = Clock::now();
      size_t sink = 0;
      for (int call = 0; call < kCalls; ++call) sink += quillon::MapForGame(lists, game).value_or(99);
      double ns = Seconds(start) * 1e9 / kCalls;
      g_sink = g_sink + sink;
      std::printf("  map for \"%s\": %s, %.0f ns a choice\n", game,
                  quillon::MapForGame(lists, game)
                      ? ("map " + std::to_string(*quillon::MapForGame(lists, game))).c_str()
                      : "no map",
                  ns);
    }
    for (const std::string& path : paths) fs::remove(path);
  }
}

}  // namespace

int main() {
  fs::path folder = fs::temp_directory_path() / "quillon-game-lists-bench";
  fs::create_directories(folder);
  BenchScannerFromMemory();
  BenchListFile(folder);
  BenchGamesLists(folder);
  fs::remove_all(folder);
  return 0;
}
