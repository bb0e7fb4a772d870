#include "cli/CliCommands.h"

#include <array>

namespace korvan::cli {

namespace {

int Version(const QStringList& args, Streams& io) {
  if (!args.isEmpty()) {
    io.err << "korvan-cli version: no arguments expected\n";
    return kExitUsage;
  }
  io.out << "Korvan 1.0\n";
  return kExitOk;
}

const std::array kCommands = {
    kReportCommand,
    kResaveCommand,
    kEvalCommand,
    kRenderCommand,
    CliCommand{"version", "", "print the version of Korvan", &Version},
};

}  // namespace

std::span<const CliCommand> Commands() { return kCommands; }

}  // namespace korvan::cli
