#include "stress/random_session.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "console/recording_port.h"
#include "engine/engine.h"
#include "engine/window_command.h"
#include "engine/window_port.h"
#include "numbers/numbers.h"
#include "engine/statistics_commands.h"
#include "statistics/statistics.h"
#include "stress/invariants.h"

namespace {

using Clock = std::chrono::steady_clock;

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// Pseudo-commands for the statistics box's buttons, which call the store directly.
enum BoxButton : unsigned { kLoad = 10001, kDeleteSelected = 10002, kDeleteAll = 10003 };

// Relative weights: digits and operators dominate; every command of the vocabulary, the
// shell commands and a few ids outside it appear.
struct Weighted {
  unsigned first, last;
  int weight;  // per id
};
const Weighted kCommandWeights[] = {
    {80, 80, 3},    {81, 81, 3},    {82, 82, 3},    {83, 83, 3},   {84, 84, 2},
    {85, 85, 6},    {86, 89, 3},    {90, 93, 10},   {94, 95, 3},   {96, 109, 2},
    {110, 111, 2},  {112, 112, 14}, {113, 116, 2},  {117, 117, 3}, {118, 121, 2},
    {122, 123, 5},  {140, 143, 2},  {144, 145, 3},  {146, 148, 2}, {300, 301, 2},
    {302, 302, 1},  {303, 304, 1},  {305, 305, 1},  {0, 0, 1},     {200, 200, 1},
    {kLoad, kDeleteAll, 1},
};

// Characters a paste may carry: keys of the paste table, blanks, ':' pairs, exponent marks
// and a few that end a paste.
const char kPasteAlphabet[] = "0123456789ABCDEFabcdef.,+-*/=()%^&|~;<!@#\\SOTRYMNLVXIHPQqmcrtd: \n\rxez$";

// Text for the trace: control characters, '\\', '<', '>', '[' and ']' as \xHH.
std::string Escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x20 || c >= 0x7F || c == '\\' || c == '<' || c == '>' || c == '[' || c == ']') {
      char code[5];
      std::snprintf(code, sizeof code, "\\x%02X", c);
      out += code;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

struct History {
  std::deque<unsigned> commands;
  void Add(unsigned id) {
    commands.push_back(id);
    if (commands.size() > 40) commands.pop_front();
  }
  std::string Text() const {
    std::ostringstream out;
    for (unsigned id : commands) out << id << ' ';
    return out.str();
  }
};

// The stand-in for the guard thread: raises the stop flag when the running command passes
// its deadline, and ends the process when a stopped command does not end.
struct Watchdog {
  std::atomic<std::uint64_t> sequence{0};   // number of the command now running
  std::atomic<std::int64_t> stopAt{0};      // deadline of that command (ns)
  std::atomic<std::uint64_t> firedFor{0};   // command a stop was raised for
  std::atomic<std::int64_t> firedAt{0};
  std::atomic<bool> quit{false};
  std::int64_t hangNs = 0;
  char diagnosis[4096] = {};                // seed and recent commands, kept current
  std::thread thread;

  void Run() {
    while (!quit.load()) {
      std::this_thread::sleep_for(std::chrono::microseconds(500));
      if (recorder.commandRunning.load() == 0) continue;
      const std::uint64_t s = sequence.load();
      const std::int64_t now = NowNs();
      const std::int64_t deadline = stopAt.load();
      if (firedFor.load() != s && deadline != 0 && now >= deadline) {
        firedAt.store(now);
        firedFor.store(s);
        abortRequested.store(1);
      } else if (firedFor.load() == s && now - firedAt.load() > hangNs) {
        std::fprintf(stderr, "random keys: command %llu still runs %lld ms after its stop\n%s\n",
                     static_cast<unsigned long long>(s), static_cast<long long>(hangNs / 1000000),
                     diagnosis);
        std::fflush(stderr);
        std::_Exit(3);
      }
    }
  }
};

struct Session {
  const RandomRunOptions& options;
  RandomRunReport& report;
  std::mt19937_64 rng;
  Watchdog watchdog;
  History history;
  std::string configuration;
  std::vector<unsigned> commandTable;
  std::uint64_t nextRestart = 0;

  Session(const RandomRunOptions& o, RandomRunReport& r) : options(o), report(r), rng(o.seed) {
    for (const Weighted& w : kCommandWeights)
      for (unsigned id = w.first; id <= w.last; ++id)
        for (int k = 0; k < w.weight; ++k) commandTable.push_back(id);
  }

  unsigned Below(unsigned n) { return static_cast<unsigned>(rng() % n); }

  void Restart() {
    static const int kPrecisions[] = {1, 32, 64, 32, 64, 1, 12, 40};
    static const int kWords[] = {32, 16, 8};
    const int precision = options.soak ? 32 : kPrecisions[Below(8)];
    const int word = kWords[Below(3)];
    const int layout = Below(10) < 7 ? 0 : 1;
    const char symbol = Below(4) == 0 ? ',' : '.';
    std::string commandLine = "vemo /P" + std::to_string(precision) + " /W" + std::to_string(word);
    configuration = commandLine + (layout == 0 ? " scientific" : " standard") + " decimal '" + symbol + "'";
    StartRecordedCalculator(commandLine.c_str(), layout, symbol);
    if (options.trace) std::fprintf(stderr, "\n%s\n", configuration.c_str());
    ++report.restarts;
    nextRestart = report.commands + 1 + Below(static_cast<unsigned>(2 * options.restartEvery));
  }

  std::string Where(const std::string& what) const {
    std::ostringstream out;
    out << "seed " << options.seed << ", command " << report.commands << " (" << configuration
        << "): " << what << "\n  last commands: " << history.Text();
    return out.str();
  }

  void UpdateDiagnosis() {
    std::string text = Where("");
    std::snprintf(watchdog.diagnosis, sizeof watchdog.diagnosis, "%s", text.c_str());
  }

  // A number of geometric length (sometimes beyond every typing limit), or one command.
  void NextCommands(std::vector<unsigned>& out) {
    out.clear();
    // A locked calculator refuses all but C and CE: a user soon presses one of them.
    if (engine.errorLocked && Below(3) == 0) {
      out.push_back(Below(2) == 0 ? CmdClear : CmdClearEntry);
      return;
    }
    if (Below(100) < 35) {
      const unsigned digits = static_cast<unsigned>(numbers.radix);
      int length = 1;
      while (length < 80 && Below(100) < (length < 3 ? 55u : 85u)) ++length;
      for (int i = 0; i < length; ++i) {
        if (Below(40) == 0) out.push_back(CmdPoint);
        out.push_back(CmdDigit0 + Below(Below(5) == 0 ? 16 : digits));
      }
      return;
    }
    out.push_back(commandTable[Below(static_cast<unsigned>(commandTable.size()))]);
  }

  void PrepareClipboard() {
    if (Below(2) == 0) return;  // keep what copy put there
    std::string text;
    const unsigned length = Below(24);
    for (unsigned i = 0; i < length; ++i) text += kPasteAlphabet[Below(sizeof kPasteAlphabet - 1)];
    recorder.clipboard = text;
  }

  // Runs one command as the window procedure would, with a deadline for the watchdog.
  bool Execute(unsigned id) {
    history.Add(id);
    UpdateDiagnosis();
    if (options.trace) std::fprintf(stderr, "[%u]", id);
    const std::uint64_t s = watchdog.sequence.load() + 1;
    std::int64_t deadline = NowNs() + std::int64_t(options.budgetMs) * 1000000;
    if (options.stopEvery > 0 && Below(static_cast<unsigned>(options.stopEvery)) == 0)
      deadline = NowNs() + std::int64_t(Below(3000)) * 1000;
    watchdog.stopAt.store(deadline);
    watchdog.sequence.store(s);
    if (id == CmdPaste) {
      PrepareClipboard();
      ++report.pastes;
      if (options.trace) std::fprintf(stderr, "<clipboard %s>", Escaped(recorder.clipboard).c_str());
    }
    const std::size_t boxes = recorder.messageBoxes.size();
    const std::int64_t started = NowNs();
    switch (id) {
      case kLoad:
        if (engine.statisticsBoxOpen) {
          const int item = static_cast<int>(Below(static_cast<unsigned>(statistics.valueCount + 1)));
          if (options.trace) std::fprintf(stderr, "<select %d>", item);
          StatisticsListSelect(item);
          StatisticsLoad();
        }
        break;
      case kDeleteSelected:
        if (engine.statisticsBoxOpen) StatisticsDeleteSelected();
        break;
      case kDeleteAll:
        if (engine.statisticsBoxOpen) StatisticsDeleteAll();
        break;
      default:
        HandleCommand(id, Below(2));
        break;
    }
    watchdog.stopAt.store(0);
    const double seconds = double(NowNs() - started) * 1e-9;
    if (seconds >= 0.02) {
      ++report.slowCommands;
      report.slowSeconds += seconds;
    }
    const bool stopped = watchdog.firedFor.load() == s;
    watchdog.sequence.store(s + 1);  // a late stop of the watchdog no longer counts
    ++report.commands;
    auto Where = [&](const std::string& what) {
      return this->Where(what + (stopped ? " (a stop was raised during this command)" : ""));
    };

    for (std::size_t i = boxes; i < recorder.messageBoxes.size(); ++i) {
      const auto& box = recorder.messageBoxes[i];
      if (box.first != "An unknown error has occured." || box.second != "Error") {
        report.failure = Where("message box '" + box.first + "', '" + box.second + "'");
        return false;
      }
      ++report.messageBoxes;
    }
    std::string broken = BrokenEngineInvariant();
    if (!broken.empty()) {
      report.failure = Where(broken);
      return false;
    }
    if (engine.errorLocked) ++report.errorsShown;
    if (id == CmdClear && !stopped && RecordedText(kDisplay) != EmptyEntryText()) {
      report.failure = Where("C leaves the display '" + RecordedText(kDisplay) + "'");
      return false;
    }
    if (stopped) {
      ++report.stopsRaised;
      if (engine.errorLocked && RecordedText(kDisplay) == AbortedMessage()) ++report.abortedShown;
      // The calculator must be usable again after CE.
      abortRequested.store(0);
      history.Add(CmdClearEntry);
      HandleCommand(CmdClearEntry, 0);
      std::string display = RecordedText(kDisplay);
      broken = BrokenEngineInvariant();
      if (!broken.empty() || engine.errorLocked || display != EmptyEntryText()) {
        report.failure = Where("after a stop and CE: " + (broken.empty() ? "display '" + display + "'" : broken));
        return false;
      }
    }
    return true;
  }

  void SampleMemory() {
    const long rss = ResidentKb();
    if (rss > report.rssPeakKb) report.rssPeakKb = rss;
  }

  void Run() {
    watchdog.hangNs = std::int64_t(options.hangMs) * 1000000;
    watchdog.thread = std::thread([this] { watchdog.Run(); });
    Restart();
    report.liveBlocksStart = heapLiveBlocks();
    report.rssStartKb = ResidentKb();
    std::int64_t firstBlocks = -1;
    std::vector<unsigned> batch;
    while (report.commands < options.commands && report.failure.empty()) {
      if (report.commands >= nextRestart) {
        Restart();
        if (options.soak) {
          // A fresh start frees every register: what is still live is the constants.
          if (firstBlocks < 0) firstBlocks = heapLiveBlocks();
          if (heapLiveBlocks() > firstBlocks + 64) {
            report.failure = Where("the heap grows: " + std::to_string(heapLiveBlocks()) +
                                   " live blocks after a fresh start, " + std::to_string(firstBlocks) + " at the first");
            break;
          }
          SampleMemory();
        }
      }
      NextCommands(batch);
      for (unsigned id : batch)
        if (!Execute(id)) break;
    }
    if (options.soak && report.failure.empty()) {
      Restart();
      SampleMemory();
    }
    report.rssEndKb = ResidentKb();
    report.liveBlocksEnd = heapLiveBlocks();
    watchdog.quit.store(true);
    watchdog.thread.join();
  }
};

}  // namespace

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

RandomRunReport RunRandomKeys(const RandomRunOptions& options) {
  RandomRunReport report;
  Session session(options, report);
  session.Run();
  return report;
}
