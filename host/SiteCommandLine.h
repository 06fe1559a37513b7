// The program's site commands on the command line. They run without a display: no window and
// no widget is made on these paths, only a core application for the network's event loop.
#pragma once

namespace host {

// The usage lines of the site commands, for --help.
extern const char* const kSiteCommandUsage;

// Whether the command line asks for a site command (its first argument names one).
bool IsSiteCommand(int argc, char** argv);

// Runs it. Exit status: 0 done with nothing wrong; 1 something failed or is broken (each
// problem on a line of its own); 2 a wrong command line or no widget component.
int RunSiteCommand(int argc, char** argv);

} // namespace host
