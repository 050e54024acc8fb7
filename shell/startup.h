#pragma once
namespace shell {
// Runs the main program.
int run(int argc, char **argv);
}
