#pragma once
namespace repair {
// Runs the repair program.
int run(int argc, char **argv);
}
