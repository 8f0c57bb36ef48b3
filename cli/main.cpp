// pelvaro: runs the filter plug-in through the headless host.
#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return cli::Main(args, std::cout, std::cerr);
}
