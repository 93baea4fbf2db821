#pragma once

#include <QStringList>

#include <QString>

#include <optional>

#include "app/SearchRequest.h"

// What the command line asks of a start that opens the window.
struct SCommandLine
{
    SSearchRequest request;
};

// Exit codes of the command line.
inline constexpr int kCommandLineOkExitCode = 0;
inline constexpr int kCatalogueProblemsExitCode = 1;
// A wrong option, an unknown language or category, or a catalogue to check
// that cannot be read.
inline constexpr int kCommandLineErrorExitCode = 2;

// Reads the program's arguments before any application object exists:
//   quaerio [--language NAME] [--category NAME] [--new-search] [keywords...]
//   quaerio --check-catalogue [FILE]
//   quaerio --add-engine SOURCE --language NAME --category NAME [--name NAME]
//   quaerio --help | --version
// Help, version, the catalogue check, adding an engine and every error are handled here,
// printing to standard output or standard error without a display; their
// exit code is returned. Nothing is returned when the program should go on
// and open its window with `commandLine`.
std::optional<int> ParseCommandLine(int argc, char *argv[], SCommandLine &commandLine);

// Checks a catalogue file and prints one line per problem to standard
// output, or why it cannot be read to standard error. Returns 0 when clean,
// 1 with problems, 2 when unreadable.
int CheckCatalogueCommand(const QString &path);

// The arguments that are the program's own: `arguments` (the program's path
// first) without the options that QApplication takes for itself later
// ("-platform offscreen", "-style=fusion", "-reverse", ...), so that those
// still work as they do for every Qt program. After "--" nothing is dropped.
QStringList OwnArguments(const QStringList &arguments);

// How many of the arguments QApplication may see: those before "--", after
// which every argument is a keyword, whatever it looks like.
int QtArgumentCount(int argc, char *argv[]);

// The program file's full path, known before any application object exists.
QString ProgramFilePath(const char *argv0);
