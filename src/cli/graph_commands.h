#pragma once

// zanfor-cli deps and unused: the dependency graph of a target, for the developer who inherits
// it and asks what breaks if an object changes, and what could go.
//
//   deps TARGET NAME [--depth N] [--json|--dot]   what NAME uses and what uses it
//   deps TARGET --json | --dot                    the whole graph
//   unused TARGET [--json]                        what nothing uses, with why and how sure
//
// 0 on success, 1 when an error stopped it (reported in the system's words on the error
// stream), 2 on bad usage (the reason on the error stream; the caller prints the usage).

#include <iosfwd>
#include <string>
#include <vector>

namespace zanfor::cli {

int RunDeps(const std::vector<std::string>& args);
int RunUnused(const std::vector<std::string>& args);

int RunDeps(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunUnused(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zanfor::cli
