#include "cli/run.h"

#include <cstdio>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return velmorant::cli::Run(args, stdin, stdout, stderr);
}
