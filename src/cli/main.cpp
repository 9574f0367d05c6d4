#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("quillmere-cli %s\n", QM_VERSION);
    return 0;
  }
  std::printf("usage: quillmere-cli [OPTIONS] COMMAND [ARG]\n");
  return argc > 1 && std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
}
