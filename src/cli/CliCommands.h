#pragma once
// The subcommands of korvan-cli. Each one lives in a file of its own and is listed once in
// CliCommands.cpp, from which --help is printed.

#include <QStringList>
#include <QTextStream>

#include <span>

namespace korvan::cli {

struct Streams {
  QTextStream& out;
  QTextStream& err;
};

struct CliCommand {
  const char* name;
  const char* usage;    // arguments after the name
  const char* summary;  // one line for --help
  int (*run)(const QStringList& args, Streams& io);
};

std::span<const CliCommand> Commands();

// Defined by the file of each command.
extern const CliCommand kReportCommand;
extern const CliCommand kResaveCommand;
extern const CliCommand kEvalCommand;
extern const CliCommand kRenderCommand;

// Exit codes shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

}  // namespace korvan::cli
