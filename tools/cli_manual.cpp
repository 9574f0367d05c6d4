// Writes the manual page of quillmere-cli into the file named: the build makes quillmere-cli.1 with it from the
// reference the program's --help prints.
#include <fstream>
#include <iostream>

#include "cli/man_page.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: cli_manual OUTPUT\n";
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out << qm::cli::ManPage();
  out.close();
  if (!out) {
    std::cerr << "cli_manual: cannot write " << argv[1] << '\n';
    return 1;
  }
  return 0;
}
