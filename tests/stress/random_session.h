// Seeded random command streams through the main window's command logic into the engine,
// with the recording window port, a stand-in for the long-computation guard, and the engine's
// invariants checked after every command.
#pragma once
#include <cstdint>
#include <string>

struct RandomRunOptions {
  std::uint64_t seed = 1;
  std::uint64_t commands = 200000;
  // A command that runs longer than this is stopped, as the guard's "stop" would.
  int budgetMs = 200;
  // A stop is also raised at a random moment of about one command in stopEvery.
  int stopEvery = 150;
  // A command still running this long after its stop is a hang: the run fails at once.
  int hangMs = 20000;
  // Every so many commands (on average) the calculator starts afresh with random options.
  int restartEvery = 1500;
  // Soak: report resident memory and live heap blocks at the start and end, and fail when
  // the heap grows from one fresh start to the next.
  bool soak = false;
  // Print every fresh start and command id on standard error (to turn a failure into a
  // key script for vemo-console: [id] clicks the key).
  bool trace = false;
};

struct RandomRunReport {
  std::uint64_t commands = 0;
  std::uint64_t restarts = 0;
  std::uint64_t stopsRaised = 0;      // stops that landed while a command ran
  std::uint64_t abortedShown = 0;     // of which the display then read the stop message
  std::uint64_t errorsShown = 0;      // commands that ended in an error message
  std::uint64_t messageBoxes = 0;     // "An unknown error has occured." (memory refused)
  std::uint64_t pastes = 0;
  std::uint64_t slowCommands = 0;     // commands that ran 20 ms or more
  double slowSeconds = 0;             // the time they took together
  long rssStartKb = 0, rssEndKb = 0, rssPeakKb = 0;
  std::int64_t liveBlocksStart = 0, liveBlocksEnd = 0;
  std::string failure;                // "" when every check held
};

// Runs the stream for options.seed; the failure names the seed, the command number, the
// broken check and the last commands, so that the run can be replayed.
RandomRunReport RunRandomKeys(const RandomRunOptions& options);

// The resident set size of this process in kB.
long ResidentKb();
