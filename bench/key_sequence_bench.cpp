// Key sequences: parse throughput for a 250-character sequence of mixed
// tokens, and (windows build, under Wine) the cost of each injected event.
// Natively the parser runs against the fake US layout; in the windows build
// against the real layout, whose calls are part of the cost.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "runtime/key_injection.h"
#include "shared/key_sequence_parser.h"

namespace {

using Clock = std::chrono::steady_clock;

// Letters of both cases, digits, punctuation, prefixes, groups, Enter and
// names, repeated up to exactly 250 characters.
std::string MixedSequence() {
  const char* tokens[] = {
      "Hello, world", "{ENTER}",    "+(abc)", "^c",       "%{F4}",         "{shift down}x{shift up}",
      "12",           "~",          "{{}",    "{}}",      "{NUMPADENTER}", "+^%x",
      "{RMENU}",      "Quick Fox!", "{DOWN}", "%(^(ef))", "{TAB}",         "a-b=c"};
  std::string text;
  for (size_t i = 0;; i = (i + 1) % (sizeof tokens / sizeof tokens[0])) {
    std::string token = tokens[i];
    if (text.size() + token.size() > 250) break;
    text += token;
  }
  text.append(250 - text.size(), 'z');
  return text;
}

void BenchParse() {
  std::string text = MixedSequence();
  quillon::KeyEventList list;
  if (quillon::ParseKeySequence(text.c_str(), &list) != 0) {
    std::printf("the benchmark sequence does not parse\n");
    return;
  }
  uint32_t eventsPerSequence = list.count;
  quillon::FreeKeyEventList(&list);

  long sequences = 0;
  Clock::time_point start = Clock::now();
  double seconds = 0;
  do {
    for (int i = 0; i < 100; ++i) {
      quillon::ParseKeySequence(text.c_str(), &list);
      quillon::FreeKeyEventList(&list);
    }
    sequences += 100;
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  } while (seconds < 1.0);
  std::printf("parse: %zu-character sequence, %u events each\n", text.size(), unsigned(eventsPerSequence));
  std::printf("parse: %.0f sequences/s, %.0f events/s, %.2f us per sequence\n", sequences / seconds,
              sequences * double(eventsPerSequence) / seconds, 1e6 * seconds / sequences);
}

#ifdef _WIN32
// The same events submitted straight to the system, one per call or all of
// a burst in one call, for the figures to compare the runtime's cost with.
double BareMicrosecondsPerEvent(const std::string& text, int bursts, bool oneCallPerBurst) {
  quillon::KeyEventList list;
  quillon::ParseKeySequence(text.c_str(), &list);
  std::vector<INPUT> inputs(list.count);
  for (uint32_t n = 0; n < list.count; ++n) {
    const quillon::KeyEvent& event = list.events[n];
    INPUT& input = inputs[n];
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = event.virtualKey;
    input.ki.wScan = event.scanCode;
    input.ki.dwFlags = event.flags;
    input.ki.dwExtraInfo = event.extraInfo;
  }
  Clock::time_point start = Clock::now();
  for (int i = 0; i < bursts; ++i) {
    if (oneCallPerBurst) SendInput(list.count, inputs.data(), sizeof(INPUT));
    else
      for (INPUT& input : inputs) SendInput(1, &input, sizeof input);
  }
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  double events = double(bursts) * list.count;
  quillon::FreeKeyEventList(&list);
  return 1e6 * seconds / events;
}

double RuntimeMicrosecondsPerEvent(const std::string& text, int bursts) {
  quillon::HeldKeys held;
  Clock::time_point start = Clock::now();
  for (int i = 0; i < bursts; ++i) quillon::SendKeySequence(held, text.c_str(), 0);
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return 1e6 * seconds / (bursts * 2.0 * text.size());
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void BenchInjection() {
  // Lower-case letters only: nothing is ever held between events.
  std::string text;
  for (int i = 0; i < 100; ++i) text += char('a' + i % 26);
  // The three take turns, round by round, so that a machine busy with
  // something else for a while weighs on each alike; the medians of the
  // rounds are compared.
  const int rounds = 9;
  const int bursts = 4;
  std::vector<double> runtime, bare, bareBurst;
  for (int round = 0; round < rounds; ++round) {
    runtime.push_back(RuntimeMicrosecondsPerEvent(text, bursts));
    bare.push_back(BareMicrosecondsPerEvent(text, bursts, false));
    bareBurst.push_back(BareMicrosecondsPerEvent(text, bursts, true));
  }
  double r = Median(runtime), b = Median(bare), bb = Median(bareBurst);
  std::printf("inject: %d rounds of %d bursts of %zu events, median %.1f us per event\n", rounds, bursts,
              2 * text.size(), r);
  std::printf(
      "inject: bare SendInput of the same events, one per call, %.1f us per event; the runtime takes %.2f "
      "times that\n",
      b, r / b);
  std::printf(
      "inject: bare SendInput of the same events, a burst per call, %.1f us per event; the runtime takes "
      "%.2f times that\n",
      bb, r / bb);
}
#endif

}  // namespace

int main() {
  BenchParse();
#ifdef _WIN32
  BenchInjection();
#endif
  return 0;
}
