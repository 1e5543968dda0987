// The command line without the desktop program: `springlab run` and
// `springlab replay` as node runs them (the WebAssembly build), with the
// same arguments, output, messages and exit statuses.

#include "cli/cli.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (!cli::isCommand(args)) {
        std::cerr << "springlab-cli: the first argument is run or replay "
                     "(springlab-cli run --help shows the options)\n";
        return cli::kUsage;
    }
    return cli::main(args, std::cout, std::cerr, cli::setUpProcess());
}
