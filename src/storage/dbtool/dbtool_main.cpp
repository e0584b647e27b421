#include <iostream>
#include <string>
#include <vector>

#include "storage/dbtool/dbtool.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);  // exports can be large; nothing here uses C stdio
  return intra::run_dbtool(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
