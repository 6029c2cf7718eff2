#include "cli.h"

int main(int argc, char* argv[]) {
    return velora::runCli(argc, argv);
}
