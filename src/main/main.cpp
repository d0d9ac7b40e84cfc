// dtu-config: until the window exists, the program reports what is built.
#include <cstdio>

int main() {
  std::puts("dtu-config: the window is not built yet; the platform and control layers are, see README.md.");
  return 0;
}
