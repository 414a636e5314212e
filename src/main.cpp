#include "cli/Cli.h"
#include "cli/HugePageHeap.h"

int main(int argc, char** argv) {
    lanthor::restartWithHugePageHeap(argv);
    return lanthor::runCli(argc, argv);
}
