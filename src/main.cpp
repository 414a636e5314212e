#include "cli/Cli.h"

int main(int argc, char** argv) {
    return lanthor::runCli(argc, argv);
}
