#pragma once
// The whole command: arguments and streams in, exit status out.

#include <cstdio>
#include <span>
#include <string_view>

namespace velmorant::cli {

// kNothingFits: no step brings the code within --fit's limit.
enum ExitStatus : int { kSuccess = 0, kBadInput = 1, kBadUsage = 2, kNothingFits = 3 };

// args excludes the program name. Nothing reaches out unless the whole input was read
// and decoded; the code then goes out in chunks as it is made. Every failure is one
// line on err, never an abort.
int Run(std::span<const std::string_view> args, std::FILE* in, std::FILE* out, std::FILE* err);

} // namespace velmorant::cli
