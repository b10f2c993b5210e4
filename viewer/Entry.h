// The viewer's entry: its command line, the check for a display, and the window's start.
//
//   zelview [FILE]                  opens the window, then loads FILE into it when given
//   zelview --load-and-exit FILE    loads FILE into the window's chart, paints it once off the
//                                   screen, prints the times taken and ends (for timing runs)
//   zelview --help | -h             prints the usage text and ends
//   "--" ends the options: every argument after it is a file name (a file named "-x.csv").
#pragma once

#include "platform/Types.h"

namespace zel {

// What the command line asks for.
struct TViewerCommand {
  enum class TKind { Window, LoadAndExit, Help, Bad };
  TKind Kind = TKind::Window;
  String FileName;  // the session file ("" when none was named)
  String Error;     // for Bad: what is wrong with the command line
};

TViewerCommand ParseViewerCommand(int argc, const char* const* argv);

// The usage text; Program is the name the program was started with.
String ViewerUsage(const String& Program);

// Sets what the window system reads from the environment when the session left it unset, so
// that a normal start prints nothing: a private runtime folder (XDG_RUNTIME_DIR). Called by
// ViewerMain before the window system starts.
void PrepareViewerEnvironment();

// The program: 0 when it ran, 1 when it could not (no display for the window, a file that the
// timing run cannot load), 2 for a bad command line. Writes the usage text and messages that
// have no window to stdout (help) and stderr.
int ViewerMain(int argc, const char* const* argv);

// What the program says when the window has no display: Reason (the cause and its remedy,
// NoDisplayReason of platform/Forms.h), then the timing run that needs none.
String NoDisplayMessage(const String& Program, const String& Reason);

// Creates the main form, shows it, and once it is on the screen loads FileName into it ("":
// none; a file that cannot be loaded is reported over the window, which stays usable); then
// runs the message loop until the window closes.
void RunViewerWindow(const String& FileName);

}  // namespace zel
