#pragma once

class IPlatformServices;

// The whole program as `main` runs it, on `services` (the desktop's own in
// the shipped program, answering ones in the tests' build): reads the command
// line, makes the application object, installs the services and the
// Qt WebEngine result pages, runs, and returns the exit code. Compiled into
// each program rather than into the app library, which knows nothing of the
// browser engine.
int QuaerioMain(int argc, char *argv[], IPlatformServices &services);
