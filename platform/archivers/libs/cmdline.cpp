#include "cmdline.h"

#include <fstream>
#include <sstream>

namespace arc {

std::vector<Token> tokenize(const std::string &line)
{
    std::vector<Token> out;
    Token cur;
    bool inToken = false;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            if (!inToken) {
                cur = Token{};
                inToken = true;
            }
            cur.anyQuoted = true;
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (inToken)
                out.push_back(cur);
            inToken = false;
            cur = Token{};
            continue;
        }
        if (!inToken) {
            cur = Token{};
            inToken = true;
        }
        if (cur.text.empty())
            cur.firstQuoted = quoted;
        cur.text.push_back(c);
    }
    if (inToken)
        out.push_back(cur);
    return out;
}

namespace {

void addArgs(Command &cmd, const std::vector<Token> &tokens, bool verbFirst, int depth)
{
    for (const Token &t : tokens) {
        if (!t.firstQuoted && !t.text.empty() && t.text[0] == '-' && t.text.size() > 1) {
            cmd.switches.push_back(t.text);
            continue;
        }
        if (!t.firstQuoted && t.text.size() > 1 && t.text[0] == '@' && depth == 0) {
            std::ifstream in(t.text.substr(1), std::ios::binary);
            if (!in) {
                cmd.listError = true;
                continue;
            }
            std::string line;
            while (std::getline(in, line))
                addArgs(cmd, tokenize(line), false, depth + 1);
            continue;
        }
        if (verbFirst && cmd.verb.empty() && cmd.args.empty() && !t.anyQuoted) {
            cmd.verb = t.text;
            continue;
        }
        cmd.args.push_back(t.text);
    }
}

} // namespace

Command parse(const std::string &line, bool verbFirst)
{
    Command cmd;
    addArgs(cmd, tokenize(line), verbFirst, 0);
    return cmd;
}

bool unsafeName(const std::string &s)
{
    return s.find_first_of("\"\r\n") != std::string::npos;
}

} // namespace arc
