// vemo-console: the calculator without windows. Each line of keys goes through the main
// window's command logic into the engine; after each line the display is printed.
//
//   vemo-console [OPTIONS] [KEYS ...]
//
// OPTIONS are the leading arguments that begin with '/' or '-' ("--" ends them): the
// program's own /P n, /R n, /W n, and --layout=standard|scientific, --decimal=C,
// --clipboard=TEXT, --status, --trace (the window operations of each line after it). Each
// KEYS argument is one line; without any, each line of standard input is one. Exit status 2
// for bad options or an unknown key.
#include <unistd.h>

#include <cctype>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "console/keys.h"
#include "console/recording_port.h"
#include "engine/engine.h"
#include "engine/window_command.h"
#include "engine/window_port.h"
#include "numbers/bignum.h"

namespace {
struct Options {
  std::string commandLine = "vemo-console";
  int layout = 1;
  char decimalSymbol = '.';
  bool setClipboard = false;
  std::string clipboard;
  bool status = false;
  bool trace = false;
};

int Fail(const std::string& message) {
  std::cerr << "vemo-console: " << message << "\n";
  return 2;
}

bool IsOption(const std::string& arg) {
  return arg.size() > 1 && (arg[0] == '/' || arg[0] == '-');
}

bool AllDigits(const std::string& s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// An option of the program's own command line that ends with its letter (and maybe ':'),
// such as "/P" or "-p:", takes the next argument when that is a number: "/P 40".
bool AwaitsNumber(const std::string& arg) {
  std::size_t end = arg.find_last_not_of(": ");
  if (end == std::string::npos) return false;
  char letter = arg[end];
  return letter == 'P' || letter == 'p' || letter == 'R' || letter == 'r' || letter == 'W' ||
         letter == 'w';
}

// Reads the options; returns the index of the first KEYS argument, or -1 after an error.
int ReadOptions(int argc, char** argv, Options& options) {
  int i = 1;
  for (; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--") return i + 1;
    if (!IsOption(arg)) break;
    if (arg.rfind("--", 0) != 0) {
      options.commandLine += " " + arg;
      if (AwaitsNumber(arg) && i + 1 < argc && AllDigits(argv[i + 1])) {
        options.commandLine += std::string(" ") + argv[++i];
      }
    } else if (arg == "--status") {
      options.status = true;
    } else if (arg == "--trace") {
      options.trace = true;
    } else if (arg == "--layout=standard") {
      options.layout = 1;
    } else if (arg == "--layout=scientific") {
      options.layout = 0;
    } else if (arg.rfind("--decimal=", 0) == 0) {
      std::string symbol = arg.substr(10);
      unsigned char c = symbol.size() == 1 ? static_cast<unsigned char>(symbol[0]) : 0;
      // One printable character that cannot be read as part of a number otherwise.
      if (c <= ' ' || c >= 0x7F || std::isalnum(c) || c == '+' || c == '-') {
        Fail("bad decimal symbol in '" + arg + "': one punctuation character is expected");
        return -1;
      }
      options.decimalSymbol = static_cast<char>(c);
    } else if (arg.rfind("--clipboard=", 0) == 0) {
      options.setClipboard = true;
      options.clipboard = arg.substr(12);
    } else {
      Fail("unknown option '" + arg + "'");
      return -1;
    }
  }
  return i;
}

// Ctrl+C at the terminal stops a long computation as the guard's "stop" does; when no
// command runs it ends the program.
void OnInterrupt(int) {
  if (recorder.commandRunning.load() != 0) {
    abortRequested.store(1);
  } else {
    std::signal(SIGINT, SIG_DFL);
    std::raise(SIGINT);
  }
}

void PrintDisplay(const Options& options, int beepsBefore) {
  std::string display = RecordedText(kDisplay);
  if (options.status) {
    std::string memory = RecordedText(kMemoryIndicator) == " M" ? "M" : "-";
    std::string parens = RecordedText(kParenIndicator);
    if (parens.empty()) parens = "-";
    std::cout << display << '\t' << memory << '\t' << parens << '\t'
              << recorder.beeps - beepsBefore << '\n';
  } else {
    std::cout << display << '\n';
  }
  // With --trace, the window operations of the line follow it, each indented by a tab.
  for (const std::string& event : recorder.events) std::cout << '\t' << event << '\n';
  recorder.events.clear();
  std::cout.flush();
}

// Runs one line; false after an unknown key (reported on stderr).
bool RunLine(const std::string& line, const Options& options, const std::string& where) {
  KeyLine keys = ParseKeyLine(line);
  int beepsBefore = recorder.beeps;
  for (const KeyCommand& key : keys.commands) HandleCommand(key.command, key.notificationCode);
  if (!keys.ok) {
    Fail("unknown key '" + keys.unknown + "' at " + where + ", position " +
         std::to_string(keys.position));
    return false;
  }
  PrintDisplay(options, beepsBefore);
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  Options options;
  int first = ReadOptions(argc, argv, options);
  if (first < 0) return 2;

  recorder.trace = options.trace;
  StartRecordedCalculator(options.commandLine.c_str(), options.layout, options.decimalSymbol);
  if (options.setClipboard) recorder.clipboard = options.clipboard;
  std::signal(SIGINT, OnInterrupt);

  if (first < argc) {
    for (int i = first; i < argc; ++i) {
      if (!RunLine(argv[i], options, "argument " + std::to_string(i - first + 1))) return 2;
    }
    return 0;
  }
  bool interactive = isatty(STDIN_FILENO) != 0;
  std::string line;
  for (int number = 1;; ++number) {
    if (interactive) std::cerr << "> " << std::flush;
    if (!std::getline(std::cin, line)) break;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!RunLine(line, options, "line " + std::to_string(number))) return 2;
  }
  if (interactive) std::cerr << "\n";
  return 0;
}
