#pragma once

class CommandLine;

// Runs the graphical application until it quits; returns its exit status.
namespace Application {
int run(int argc, char *argv[], const CommandLine &commandLine);
}
