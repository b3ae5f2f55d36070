// Key scripts for the engine tests: the calculator is started as the window program starts,
// and each script is typed through the console's keyboard and the main window's command
// logic into the engine, with the recording window port.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/keys.h"
#include "console/recording_port.h"
#include "engine/engine.h"
#include "engine/window_command.h"
#include "engine/window_port.h"

constexpr int kScientific = 0;
constexpr int kStandard = 1;

// Starts afresh; options are the program's command-line options ("/P40 /W16").
inline void StartCalculator(int layout, const std::string& options = "") {
  StartRecordedCalculator(("vemo " + options).c_str(), layout, '.');
}

// Types a line of keys; returns the display.
inline std::string Type(const std::string& keys) {
  KeyLine line = ParseKeyLine(keys);
  EXPECT_TRUE(line.ok) << "bad key '" << line.unknown << "' in script " << keys;
  for (const KeyCommand& key : line.commands) HandleCommand(key.command, key.notificationCode);
  return RecordedText(kDisplay);
}

// One line of a script and what it should leave: the display and, when not -1, the number
// of beeps it caused.
struct Step {
  std::string keys;
  std::string display;
  int beeps = -1;
};

struct Script {
  const char* name;
  int layout;
  std::vector<Step> steps;
  std::string options = "";
};

// Runs a script and checks every step; after each line no wait cursor may be left showing.
inline void RunScript(const Script& script) {
  StartCalculator(script.layout, script.options);
  for (const Step& step : script.steps) {
    int beeps = recorder.beeps;
    std::string display = Type(step.keys);
    EXPECT_EQ(display, step.display) << "script '" << script.name << "', keys " << step.keys;
    if (step.beeps >= 0) {
      EXPECT_EQ(recorder.beeps - beeps, step.beeps)
          << "beeps in script '" << script.name << "', keys " << step.keys;
    }
    EXPECT_EQ(recorder.cursorShown, 0) << "wait cursor left in script '" << script.name << "'";
  }
  EXPECT_TRUE(recorder.messageBoxes.empty())
      << "unexpected message box in script '" << script.name << "'";
}

inline const char* Label(int index) { return LabelTable[index]; }
