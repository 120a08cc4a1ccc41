// probex-prose: writes a file of prose about the functions from its template
// and the table of functions, at build time (docs/prose/CMakeLists.txt).
//   probex-prose expand TEMPLATE OUTPUT
//   probex-prose help SKELETON FRAGMENT_FOLDER OUTPUT
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "docs/prose/Prose.h"

namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw prose::ProseError("cannot read " + path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void Write(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out.flush()) throw prose::ProseError("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  try {
    if (mode == "expand" && argc == 4) {
      Write(argv[3],
            prose::Expand(Read(argv[2]), prose::TablePlaceholders(prose::FormatOf(argv[2]))));
    } else if (mode == "help" && argc == 5) {
      Write(argv[4], prose::HelpFile(Read(argv[2]), argv[3]));
    } else {
      std::cerr << "usage: probex-prose expand TEMPLATE OUTPUT\n"
                   "       probex-prose help SKELETON FRAGMENT_FOLDER OUTPUT\n";
      return 64;
    }
  } catch (const std::exception& e) {
    std::cerr << "probex-prose: " << argv[2] << ": " << e.what() << '\n';
    return 1;
  }
  return 0;
}
