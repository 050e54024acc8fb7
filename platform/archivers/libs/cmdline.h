#pragma once
// The command line our archiver libraries accept: blanks separate, '"' toggles
// quoting and is dropped, adjacent pieces join, no escape character. A token is
// a switch only when it begins with an unquoted '-', and a list file only when
// it begins with an unquoted '@': a quoted name is never either.
#include <string>
#include <vector>

namespace arc {

struct Token {
    std::string text;
    bool firstQuoted = false; // its first character came from inside quotes
    bool anyQuoted = false;
};

std::vector<Token> tokenize(const std::string &line);

struct Command {
    std::string verb;                  // first non-switch word for the verb styles ("x", "a")
    std::vector<std::string> switches; // "-d1", "-xvf", ...
    std::vector<std::string> args;     // names, list files expanded in place
    bool listError = false;            // a list file could not be read
};

// Splits tokens into switches and arguments; `@file` arguments are read (one
// or more names a line, same quoting) and put in their place.
Command parse(const std::string &line, bool verbFirst);

// Names that could add switches, targets or lines on this platform.
bool unsafeName(const std::string &s);

} // namespace arc
