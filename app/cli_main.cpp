#include "cli/cli.h"

int main(int argc, char** argv) {
  return morvela::RunCli(argc, argv);
}
